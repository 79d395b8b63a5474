// The main window's ways to all of the notes: search, export of any range of
// days and the backups. Their entries follow the week's own export in the
// settings menu, because they too work on the notes rather than on the
// window.

#include "notes/window/uMain.h"

#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "core/DayTexts.h"
#include "core/Messages.h"
#include "notes/backup/RestoreCopy.h"
#include "notes/backup/RestoreWindow.h"
#include "notes/export/ExportWindow.h"
#include "notes/search/SearchWindow.h"
#include "store/SearchText.h"
#include "store/SqliteStatement.h"
#include "store/uDM.h"

#include <QAction>
#include <QMenu>
#include <QTextEdit>

namespace {

QDate QDateOf(double date)
{
    const qn::CivilDate d = qn::DecodeDate(date);
    return {d.year, d.month, d.day};
}

// Selects the first place in the box that holds text (as the search
// matches it: Latin letters in either case).
void SelectFirstHit(QTextEdit& box, QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The document's plain text has one character per paragraph break, as
    // the cursor counts them.
    const int at = qn::FirstHit(box.document()->toPlainText(), text);
    if (at < 0)
        return;
    QTextCursor cursor(box.document());
    cursor.setPosition(at);
    cursor.setPosition(at + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    box.ensureCursorVisible();
}

}  // namespace

void TMainFrm::AddNotesEntries()
{
    auto item = [this](const char* name, const char* caption) {
        QAction* action = popSysset->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QAction* search = item("N_Search", "搜索笔记");
    search->setShortcut(QKeySequence::Find);
    search->setShortcutContext(Qt::WindowShortcut);
    // The menu is not on screen: the window carries the shortcut.
    addAction(search);
    connect(search, &QAction::triggered, this, &TMainFrm::N_SearchClick);
    connect(item("N_ExportNotes", "导出笔记"), &QAction::triggered, this, &TMainFrm::N_ExportNotesClick);
    connect(item("N_Restore", "恢复备份"), &QAction::triggered, this, &TMainFrm::N_RestoreClick);
}

void TMainFrm::N_SearchClick()
{
    if (!m_searchFrm) {
        m_searchFrm = new TSearchFrm(m_dm.Search(), this);
        connect(m_searchFrm, &TSearchFrm::dayChosen, this, &TMainFrm::ShowFoundDay);
    }
    m_searchFrm->ShowSearch();
}

void TMainFrm::ShowFoundDay(const QString& key, const QString& text)
{
    const std::optional<double> date = qn::DateOfKey(key.toStdString());
    if (!date)
        return;
    if (!isVisible() || isMinimized())
        ComeBack();
    // The calendar reports the change: the week is loaded and the day marked.
    chnRili->SetDateTime(*date);
    if (qn::DateKey(chnRili->DateTime()) != key.toStdString())
        return;  // a day outside the calendar's years
    const int box = std::min(qn::IsoWeekday(*date), 6) - 1;
    QTextEdit* edit = boxes()[static_cast<size_t>(box)];
    activateWindow();
    edit->setFocus(Qt::OtherFocusReason);
    SelectFirstHit(*edit, text);
}

bool TMainFrm::OfferSoundCopyOfDamagedFile(const QString& why)
{
    QString error;
    const SoundCopyOffer offer = OfferSoundCopy(m_dm, this, m_dialogs.offerSoundCopy, true, why, &error);
    if (offer == SoundCopyOffer::Failed)
        qn::ShowPlainMessage(this, error);
    if (offer != SoundCopyOffer::Restored)
        return false;
    // The copy passed the integrity check: the week is read from it, and
    // it takes the notes typed meanwhile.
    chnRiliChange();
    m_board->WholeFileChecked();
    return true;
}

void TMainFrm::N_ExportNotesClick()
{
    delete m_exportFrm;
    m_exportFrm = new TExportFrm([this] { return qn::SqliteHandle(m_dm.AdoCon()); }, QDateOf(chnRili->DateTime()),
                                 m_folder, this);
    m_exportFrm->open();
}

void TMainFrm::N_RestoreClick()
{
    delete m_restoreFrm;
    m_restoreFrm = new TRestoreFrm(m_dm, this);
    // Notes still waiting for the store are stored first; a restore waits
    // while any cannot be.
    m_restoreFrm->beforeRestore = [this] { m_board->model()->Flush(); };
    // The notes changed under the window: the shown week is read again.
    connect(m_restoreFrm, &TRestoreFrm::restored, this, &TMainFrm::chnRiliChange);
    m_restoreFrm->open();
}
