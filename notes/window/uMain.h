#pragma once
// The main window TMainFrm: the month calendar on the left and the six note
// boxes of the selected day's week on the right. Creating it loads today's
// week; every change in a box saves the whole week.

#include "calendar/Clock.h"
#include "core/ProgramFolder.h"
#include "notes/board/WeekBoard.h"
#include "notes/frame/FormGeometry.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QTimer;
class QTextEdit;
class QTimer;
class QToolButton;
class TChnCalendar;
class TClickLabel;
class TDM;
class TExportFrm;
class TRestoreFrm;
class TSearchFrm;

namespace qn {
class HolidayUpdater;
class NotebookHolidays;
struct HolidayUpdateResult;
class TCaptionButtons;
class TMiniHangFrm;
class TPageViewer;
class TpwsetFrm;
class TSetTransFrm;
class TWebPanel;
}  // namespace qn

// "今天是 2010年6月1日(二)": the date label's text for a date value.
QString TodayLabelText(double now);

// What the user chose when closing with text the store has not taken.
enum class UnsavedAnswer { RetrySave, Discard, Cancel };

// The dialogs the editing, export and closing commands ask; tests replace them.
struct TMainDialogs {
    // The chosen font, or nothing when cancelled.
    std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)> chooseFont;
    // The chosen colour, or nothing when cancelled.
    std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)> chooseColor;
    // The file name typed for the export, or nothing when cancelled; the
    // dialog opens in startFolder with the proposed name.
    std::function<std::optional<QString>(const QString& startFolder, const QString& proposed, QWidget* parent)>
        chooseExportFile;
    // Closing while notes wait to be stored; reason says why they wait.
    std::function<UnsavedAnswer(const QString& reason, QWidget* parent)> askUnsavedClose;
    // The offer of a backup copy when the check finds the notes file damaged;
    // true to restore it.
    std::function<bool(const QString& text, QWidget* parent)> offerSoundCopy;

    static TMainDialogs Standard();
};

class TMainFrm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 913;
    static constexpr int kDesignHeight = 530;
    static constexpr int kMinWidth = 906;
    static constexpr int kMinHeight = 540;
    static constexpr int kCheckpointPauseMs = TWeekBoard::kCheckpointPauseMs;
    // Once a week has been shown this long, the font pages its loading
    // brought in are given back (core/IdleMemory); a user leafing through
    // weeks does not pay for reading them again.
    static constexpr int kIdleMemoryPauseMs = 5000;

    TMainFrm(TDM& dm, const qn::ProgramFolder& folder, qn::NowSource now, QWidget* parent = nullptr,
             TMainDialogs dialogs = TMainDialogs::Standard());
    ~TMainFrm() override;

    // --- the week board (they forward to it) ---------------------------------------
    void SaveWeekNotes();
    void LoadWeekNotes(double d);
    // The calendar's change event: show the selected day's week and mark its box.
    void chnRiliChange();
    void redt1Exit();
    void ArrangeBoxes();
    void MarkSelectedDay(double d);
    void lblSetClick();

    // What the check of every page of the notes file found (it runs beside
    // the window at start): Ok lets the held saves be written. A damaged
    // file is offered its newest sound backup; anything else, or a refused
    // offer, is reported and ends the program, and the file is never
    // written.
    void WholeFileChecked(qn::StoreStatus status);

    // --- editing commands (they act on the focused box only) ------------------------
    void N1Click();      // 复制
    void N2Click();      // 粘贴
    void N9Click();      // 删除
    void N3Click();      // 剪切
    void V1Click();      // 打V
    void X1Click();      // 打X
    void CtrlZ1Click();  // 撤销
    void N11Click();     // blue marker
    void N12Click();     // red marker
    void N13Click();     // magenta marker
    void imgFontClick();
    void btnGouClick();
    void btnXClick();
    void imgDateClick();
    void imgRedColorClick();

    // --- export -------------------------------------------------------------------------
    void N_DataOutClick();

    // --- the notes: search, export of any range, backups (uMainNotes.cpp) ----------------
    void N_SearchClick();       // 搜索笔记, also Ctrl+F
    void N_ExportNotesClick();  // 导出笔记
    void N_RestoreClick();      // 恢复备份
    // Shows the week of the day with that key, selects the day and, in its
    // box, the first place that holds text.
    void ShowFoundDay(const QString& key, const QString& text);
    TSearchFrm* searchWindow() const { return m_searchFrm; }
    TExportFrm* exportWindow() const { return m_exportFrm; }
    TRestoreFrm* restoreWindow() const { return m_restoreFrm; }
    // The damaged file set aside and its newest sound copy in its place,
    // when the user wants it; true when the notebook goes on with the copy.
    bool OfferSoundCopyOfDamagedFile(const QString& why);

    // --- statutory holidays (uMainHolidays.cpp) ------------------------------------------
    // The first check by itself waits this long after the window is shown,
    // out of the way of the first paint; later ones are looked for hourly
    // while the notebook runs (a check is due at most once a week).
    static constexpr int kFirstHolidayCheckDelayMs = 2000;
    static constexpr int kHolidayCheckPollMs = 60 * 60 * 1000;
    // The table the calendar's marks and the board's headers show.
    qn::NotebookHolidays* holidays() const { return m_holidays; }
    // The updater, made at its first use.
    qn::HolidayUpdater* holidayUpdater();
    void N_UpdateHolidaysClick();             // 更新法定节假日: fetch now, say how it went
    void N_AutoUpdateHolidaysClick(bool on);  // 每周自动更新节假日

    // --- frame, geometry, settings windows, web pages (uMainFrame.cpp) --------------------
    // The windows created after the main window at start-up, which its menu
    // and buttons open.
    void AttachWindows(qn::TpwsetFrm* pwset, qn::TSetTransFrm* setTrans, qn::TMiniHangFrm* miniHang);
    // The login check of the creation; false: not passed, the program ends.
    bool CheckLogin();
    void LoadFormSize();
    bool SaveFormSize();
    void img_close_highlightClick();  // close: store the geometry, end the program
    void img_mini_highlightClick();   // minimise
    void imgAppToDeskClick();         // hand over to the floating window
    void N_BgTransparentClick();
    void N7Click();
    void N_helpClick();
    void N_SubmitClick();
    void N_ExitPrjClick();  // end without storing the geometry
    // Shows the main window again (floating window double-click, second start).
    void ComeBack();
    // Where the end of the program is asked for; tests replace it.
    std::function<void()> requestTermination;
    // The login was not passed: the program ends without showing the window.
    bool FTerminateRequested = false;
    qn::FormGeometry FGeometry;  // FViewNo is kept in the field above
    qn::TWebPanel* webPanel() const { return webLink; }
    qn::TCaptionButtons* captionButtons() const { return FCaptionButtons; }

    TChnCalendar* calendar() const { return chnRili; }
    TWeekBoard* board() const { return m_board; }
    const NoteBoxes& boxes() const { return m_board->boxes(); }
    QMenu* settingsMenu() const { return popSysset; }
    QMenu* boxMenu() const { return pmDeskTopMonCal; }
    // The box that has the keyboard focus, or null.
    QTextEdit* FocusedBox() const;

    int FViewNo = 1;
    QString FMonthText;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildTopBar();
    void BuildLeftPanel();
    void BuildSettingsMenu();
    void AddNotesEntries();
    void BuildBoxMenu();
    void ConfigureCalendar();
    // Loads the holiday table and gives it to the calendar and the board.
    void BuildHolidays();
    void ApplyHolidayTable();
    // A file the table could not use, told once the window is up.
    void TellHolidayWarning();
    void StartDueHolidayCheck();
    void HolidayCheckStarted();
    void HolidayCheckFinished(const qn::HolidayUpdateResult& result);
    // The menu's holiday entries as the stored settings and the last check say.
    void ShowHolidaySettings();
    void PlaceAnchored();
    void BuildFrame();
    void ApplyBoxColour(int transMode);
    // Whether the program may end: true when every note is stored or the
    // user lets the unsaved ones go.
    bool MayClose();
    void InsertText(const QString& text);
    void InsertMarker(const QColor& colour);
    // True when d is the day last selected and its week is the one shown.
    bool ShowsWeekOfSameDay(double d) const;

    TDM& m_dm;
    qn::ProgramFolder m_folder;
    qn::NowSource m_now;
    TMainDialogs m_dialogs;
    QColor m_colorDialogColour;  // ColorDialog1 keeps the last choice

    // Whole window.
    QFrame* shpBG = nullptr;
    QLabel* imgBG = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblDateTime = nullptr;
    TClickLabel* lblSet = nullptr;
    // Toolbar.
    TClickLabel* imgFont = nullptr;
    QToolButton* btnGou = nullptr;
    QToolButton* btnX = nullptr;
    TClickLabel* imgDate = nullptr;
    TClickLabel* imgRedColor = nullptr;
    // Left panel.
    QWidget* pnlLeft = nullptr;
    TChnCalendar* chnRili = nullptr;
    qn::TWebPanel* webLink = nullptr;  // pnlWeb with the browser view inside
    QFrame* shpLeft = nullptr;
    // Right panel: the week board.
    TWeekBoard* m_board = nullptr;
    // Menus.
    QMenu* popSysset = nullptr;
    QMenu* pmDeskTopMonCal = nullptr;
    QAction* N_UpdateHolidays = nullptr;
    QAction* N_AutoUpdateHolidays = nullptr;
    // Statutory holidays.
    qn::NotebookHolidays* m_holidays = nullptr;
    qn::HolidayUpdater* m_holidayUpdater = nullptr;
    QTimer* m_holidayCheckTimer = nullptr;
    bool m_reportHolidayCheck = false;  // the user asked: the outcome is told, whatever it is
    // Frame and the windows it opens.
    qn::TCaptionButtons* FCaptionButtons = nullptr;
    TClickLabel* imgAppToDesk = nullptr;
    qn::TpwsetFrm* pwsetFrm = nullptr;
    qn::TSetTransFrm* SetTransFrm = nullptr;
    qn::TMiniHangFrm* MiniHangFrm = nullptr;
    qn::TPageViewer* m_pageViewer = nullptr;  // the help, when no program opens it
    QTimer* m_idleMemory = nullptr;
    std::string m_selectedDayKey;  // the day the calendar selected last
    // The notes' own windows, made when first asked for.
    TSearchFrm* m_searchFrm = nullptr;
    TExportFrm* m_exportFrm = nullptr;
    TRestoreFrm* m_restoreFrm = nullptr;
};
