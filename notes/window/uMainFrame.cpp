// The main window's frame: skin buttons, moving and resizing without a
// system frame, the stored geometry, the floating window, the login check,
// the web pages and the settings windows the menu opens.

#include "core/Messages.h"
#include "notes/dialogs/loginLock.h"
#include "notes/dialogs/untPWSet.h"
#include "notes/dialogs/uSetTrans.h"
#include "notes/frame/BorderlessMove.h"
#include "notes/frame/ClickLabel.h"
#include "notes/frame/FormGeometry.h"
#include "notes/frame/PageViewer.h"
#include "notes/frame/SkinButton.h"
#include "notes/frame/SkinPictures.h"
#include "notes/frame/uMiniHang.h"
#include "notes/frame/WebPanel.h"
#include "notes/window/uMain.h"

#include <QPointer>

#include <QCloseEvent>
#include <QTextEdit>

void TMainFrm::BuildFrame()
{
    // No system caption or border: the window draws its own, and its edges
    // and background still resize and move it.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);

    FCaptionButtons = new qn::TCaptionButtons(this, qn::TCaptionButtons::Buttons::CloseAndMinimise);
    FCaptionButtons->watchBackground(imgBG);
    connect(FCaptionButtons, &qn::TCaptionButtons::closeClicked, this, &TMainFrm::img_close_highlightClick);
    connect(FCaptionButtons, &qn::TCaptionButtons::minimiseClicked, this, &TMainFrm::img_mini_highlightClick);

    imgAppToDesk = new TClickLabel(this);
    imgAppToDesk->setObjectName(QStringLiteral("imgAppToDesk"));
    imgAppToDesk->setPixmap(qn::skin::AppToDesk());
    imgAppToDesk->setGeometry(825, 49, 84, 29);
    imgAppToDesk->setCursor(Qt::PointingHandCursor);
    imgAppToDesk->setFocusPolicy(Qt::NoFocus);
    connect(imgAppToDesk, &TClickLabel::clicked, this, &TMainFrm::imgAppToDeskClick);

    auto* mover = new qn::TBorderlessMover(this);
    mover->addHandle(imgBG);
    new qn::TBorderlessResizer(this);
}

void TMainFrm::AttachWindows(qn::TpwsetFrm* pwset, qn::TSetTransFrm* setTrans, qn::TMiniHangFrm* miniHang)
{
    pwsetFrm = pwset;
    SetTransFrm = setTrans;
    MiniHangFrm = miniHang;
    if (MiniHangFrm)
        connect(MiniHangFrm, &qn::TMiniHangFrm::restoreMainWindow, this, &TMainFrm::ComeBack);
}

bool TMainFrm::CheckLogin()
{
    if (qn::CheckLogin(m_folder, this))
        return true;
    // Before the event loop runs, asking it to end does nothing: the entry
    // point looks at this flag and ends the program instead of showing it.
    FTerminateRequested = true;
    return false;
}

void TMainFrm::LoadFormSize()
{
    qn::LoadFormSize(this, FGeometry, m_folder, FMonthText);
    FViewNo = FGeometry.FViewNo;
}

bool TMainFrm::SaveFormSize()
{
    FGeometry.FViewNo = FViewNo;
    QString error;
    if (qn::SaveFormSize(this, FGeometry, m_folder, &error))
        return true;
    qn::ShowErrorReport(this, error);
    return false;
}

void TMainFrm::img_close_highlightClick()
{
    if (!MayClose())
        return;
    SaveFormSize();
    requestTermination();
}

bool TMainFrm::MayClose()
{
    // The box being typed in is saved first, like any focus change would.
    redt1Exit();
    for (;;) {
        qn::WeekNotesModel* notes = m_board->model();
        notes->Flush();
        if (!notes->HasUnsaved())
            return true;
        switch (m_dialogs.askUnsavedClose(notes->UnsavedReason(), this)) {
        case UnsavedAnswer::RetrySave: continue;
        case UnsavedAnswer::Discard: notes->DiscardUnsaved(); return true;
        case UnsavedAnswer::Cancel: return false;
        }
    }
}

void TMainFrm::closeEvent(QCloseEvent* event)
{
    if (!MayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TMainFrm::img_mini_highlightClick()
{
    // The window stays in the taskbar or window list, which brings it back.
    showMinimized();
    FCaptionButtons->apply(qn::SkinEvent::MinimiseDone);
}

void TMainFrm::imgAppToDeskClick()
{
    // Only with a floating window to come back through.
    if (!MiniHangFrm)
        return;
    hide();
    MiniHangFrm->show();
    MiniHangFrm->raise();
}

void TMainFrm::ComeBack()
{
    if (MiniHangFrm && MiniHangFrm->isVisible())
        MiniHangFrm->hide();
    showNormal();
    raise();
    activateWindow();
}

void TMainFrm::N_BgTransparentClick()
{
    if (!SetTransFrm)
        return;
    SetTransFrm->exec();
    // Whatever button closed it, the look in effect now is applied.
    ApplyBoxColour(SetTransFrm->FTransMode);
}

void TMainFrm::N7Click()
{
    if (pwsetFrm)
        pwsetFrm->exec();
}

void TMainFrm::N_helpClick()
{
    // Without a program for the page, the help shows in our own window.
    QPointer<TMainFrm> self(this);
    qn::OpenHelpPage(m_folder, [self](const QUrl& url) {
        if (!self)
            return;
        if (!self->m_pageViewer)
            self->m_pageViewer = new qn::TPageViewer(qn::WebBaseUrl(self->m_folder), self);
        self->m_pageViewer->ShowPage(url);
    });
}

void TMainFrm::N_SubmitClick()
{
    QPointer<TMainFrm> self(this);
    qn::OpenFeedbackPage(m_folder, [self](const QString& message) {
        if (self)
            qn::ShowPlainMessage(self, message);
    });
}

void TMainFrm::N_ExitPrjClick()
{
    if (MayClose())
        requestTermination();
}

void TMainFrm::ApplyBoxColour(int transMode) { qn::ApplyNoteBoxColour({boxes().begin(), boxes().end()}, transMode); }
