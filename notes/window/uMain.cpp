#include "notes/window/uMain.h"

#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "core/IdleMemory.h"
#include "core/Messages.h"
#include "core/PaintProbe.h"
#include "core/uGlobal.h"
#include "notes/backup/RestoreCopy.h"
#include "notes/dialogs/uSetTrans.h"
#include "notes/frame/WebPanel.h"
#include "notes/store/ExportFileDialog.h"
#include "store/uDM.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

QString TodayLabelText(double now)
{
    static const char* const kWeekdays[] = {"一", "二", "三", "四", "五", "六", "日"};
    const qn::CivilDate d = qn::DecodeDate(now);
    return QStringLiteral("今天是 %1年%2月%3日(%4)")
        .arg(d.year)
        .arg(d.month)
        .arg(d.day)
        .arg(QString::fromUtf8(kWeekdays[qn::IsoWeekday(now) - 1]));
}

TMainDialogs TMainDialogs::Standard()
{
    TMainDialogs d;
    d.chooseFont = [](const QFont& initial, QWidget* parent) -> std::optional<QFont> {
        // The dialog lists sizes in points.
        QFont start = initial;
        if (start.pixelSize() > 0 && parent)
            start.setPointSizeF(start.pixelSize() * 72.0 / parent->logicalDpiY());
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, start, parent);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };
    d.chooseColor = [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(initial, parent);
        return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
    };
    d.chooseExportFile = [](const QString& startFolder, const QString& proposed,
                            QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent);
        dialog.setObjectName(QStringLiteral("svdNoteToTxt"));
        dialog.setNameFilter(QStringLiteral("*.Txt (*.Txt)"));
        return RunExportFileDialog(dialog, startFolder, proposed);
    };
    d.askUnsavedClose = [](const QString& reason, QWidget* parent) {
        QMessageBox box(QMessageBox::Warning, qn::kApplicationTitle,
                        QStringLiteral("有笔记还没有保存（%1）。\n现在退出，这些内容就会丢失。").arg(reason),
                        QMessageBox::NoButton, parent);
        QPushButton* retry = box.addButton(QStringLiteral("重试保存"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QStringLiteral("放弃未保存的内容并退出"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setDefaultButton(retry);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == retry)
            return UnsavedAnswer::RetrySave;
        return box.clickedButton() == discard ? UnsavedAnswer::Discard : UnsavedAnswer::Cancel;
    };
    d.offerSoundCopy = AskWithMessageBox;
    return d;
}

TMainFrm::TMainFrm(TDM& dm, const qn::ProgramFolder& folder, qn::NowSource now, QWidget* parent, TMainDialogs dialogs)
    : QWidget(parent), m_dm(dm), m_folder(folder), m_now(std::move(now)), m_dialogs(std::move(dialogs))
{
    // A dialog the caller left out is the standard one.
    const TMainDialogs standard = TMainDialogs::Standard();
    if (!m_dialogs.askUnsavedClose)
        m_dialogs.askUnsavedClose = standard.askUnsavedClose;
    if (!m_dialogs.offerSoundCopy)
        m_dialogs.offerSoundCopy = standard.offerSoundCopy;
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(qn::kMainWindowTitle);
    m_colorDialogColour = Qt::black;

    requestTermination = [] { QCoreApplication::quit(); };
    m_idleMemory = new QTimer(this);
    m_idleMemory->setSingleShot(true);
    m_idleMemory->setInterval(kIdleMemoryPauseMs);
    connect(m_idleMemory, &QTimer::timeout, this, [] { qn::ReleaseIdleMemory(); });
    BuildTopBar();
    BuildLeftPanel();
    m_board = new TWeekBoard(m_dm, this);
    connect(m_board, &TWeekBoard::boxMenuRequested, this,
            [this](QTextEdit*, const QPoint& at) { pmDeskTopMonCal->popup(at); });
    BuildSettingsMenu();
    BuildBoxMenu();
    BuildFrame();
    // Before the first week is shown: its headers carry the marks at once.
    BuildHolidays();
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kDesignWidth, kMinHeight);
    // A hidden window gets its resize event only when shown; the board must
    // be in place already for the first week's marker.
    PlaceAnchored();
    ArrangeBoxes();

    FormCreate();
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::FormCreate()
{
    FViewNo = 1;

    // The calendar reports the change, so today's week is on screen before
    // anything else asks the user.
    const double now = m_now();
    chnRili->SetDateTime(now);

    if (!CheckLogin())
        return;

    lblDateTime->setText(TodayLabelText(now));
    lblDateTime->adjustSize();
    FMonthText = QString::number(qn::DecodeDate(now).month);

    LoadFormSize();
}

void TMainFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_board->FShown)
        FormShow();
}

void TMainFrm::FormShow()
{
    // The web panel's page loads once the window is on screen, as a
    // browser's page would: its first layout is not the window's to wait for.
    auto* probe = new qn::PaintProbe(this);
    probe->Arm([this, probe] {
        webLink->NavigateStartPage();
        probe->deleteLater();
    });
    // Without the box-look window (a test's bare main window) the full look.
    int transMode = 1;
    if (SetTransFrm) {
        SetTransFrm->LoadTransMode();
        transMode = SetTransFrm->FTransMode;
    }
    ApplyBoxColour(transMode);
    m_board->SetShown();
    // After the first paint: a holiday file that was ignored, and the
    // weekly check when it is switched on and due.
    QTimer::singleShot(0, this, &TMainFrm::TellHolidayWarning);
    QTimer::singleShot(kFirstHolidayCheckDelayMs, this, &TMainFrm::StartDueHolidayCheck);
    m_holidayCheckTimer->start();
    m_idleMemory->start();
}

void TMainFrm::chnRiliChange()
{
    const double selected = chnRili->DateTime();
    // The same day once more (the calendar's first showing selects today
    // again, at a later time of day): its week is on screen already.
    if (!ShowsWeekOfSameDay(selected))
        LoadWeekNotes(selected);
    m_selectedDayKey = qn::DateKey(selected);
    MarkSelectedDay(selected);
    m_idleMemory->start();
}

bool TMainFrm::ShowsWeekOfSameDay(double d) const
{
    if (m_selectedDayKey != qn::DateKey(d) || ShownWeek.size() != 7)
        return false;
    TWeekConArray week(7);
    BuildWeek(week, d);
    return ShownWeek[0].DayKey == week[0].DayKey;
}

void TMainFrm::WholeFileChecked(qn::StoreStatus status)
{
    if (status == qn::StoreStatus::Ok) {
        m_board->WholeFileChecked();
        return;
    }
    if (status == qn::StoreStatus::Corrupt && OfferSoundCopyOfDamagedFile(QStringLiteral("配置文件加载失败，请重试！")))
        return;
    QString text = QStringLiteral("配置文件加载失败，请重试！\n");
    text += status == qn::StoreStatus::Corrupt
        ? QStringLiteral("笔记文件已损坏：%1").arg(QDir::toNativeSeparators(m_dm.databasePath()))
        : QStringLiteral("笔记文件无法检查（%1）：%2")
              .arg(qn::StatusText(status), QDir::toNativeSeparators(m_dm.databasePath()));
    text += QStringLiteral("\n程序没有改动这个文件。");
    if (m_board->model()->HasUnsaved())
        text += QStringLiteral("\n检查期间输入的内容没有保存。");
    qn::ShowPlainMessage(this, text);
    requestTermination();
}

void TMainFrm::SaveWeekNotes() { m_board->SaveWeekNotes(); }
void TMainFrm::LoadWeekNotes(double d) { m_board->LoadWeekNotes(d); }
void TMainFrm::redt1Exit() { m_board->redt1Exit(); }
void TMainFrm::ArrangeBoxes() { m_board->ArrangeBoxes(); }
void TMainFrm::MarkSelectedDay(double d) { m_board->MarkSelectedDay(d); }
QTextEdit* TMainFrm::FocusedBox() const { return m_board->FocusedBox(); }
