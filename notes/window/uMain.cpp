#include "notes/window/uMain.h"

#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "core/Messages.h"
#include "core/uGlobal.h"
#include "notes/dialogs/uSetTrans.h"
#include "notes/frame/WebPanel.h"
#include "store/uDM.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontDialog>
#include <QLabel>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTimer>

bool NotesReady = false;

namespace {

// Keeps NotesReady false for the lifetime of a load or save, and true again
// afterwards on every path.
class NotesBusy {
public:
    NotesBusy() { NotesReady = false; }
    ~NotesBusy() { NotesReady = true; }
    NotesBusy(const NotesBusy&) = delete;
    NotesBusy& operator=(const NotesBusy&) = delete;
};

}  // namespace

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
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial, parent);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };
    d.chooseColor = [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(initial, parent);
        return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
    };
    d.chooseExportFile = [](const QString& proposed, QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent);
        dialog.setObjectName(QStringLiteral("svdNoteToTxt"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(QStringLiteral("*.Txt (*.Txt)"));
        dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        dialog.selectFile(proposed);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    };
    return d;
}

TMainFrm::TMainFrm(TDM& dm, const qn::ProgramFolder& folder, qn::NowSource now, QWidget* parent, TMainDialogs dialogs)
    : QWidget(parent), m_dm(dm), m_folder(folder), m_now(std::move(now)), m_dialogs(std::move(dialogs))
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(qn::kMainWindowTitle);
    m_fontDlgFont = QFont(QStringLiteral("宋体"));
    m_fontDlgFont.setPixelSize(16);
    m_colorDialogColour = Qt::black;

    requestTermination = [] { QCoreApplication::quit(); };
    m_checkpointTimer = new QTimer(this);
    m_checkpointTimer->setSingleShot(true);
    m_checkpointTimer->setInterval(kCheckpointPauseMs);
    connect(m_checkpointTimer, &QTimer::timeout, this, [this] { m_dm.Checkpoint(); });
    BuildTopBar();
    BuildLeftPanel();
    BuildRightPanel();
    BuildSettingsMenu();
    BuildBoxMenu();
    BuildFrame();
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
    ShownWeek.assign(7, TWeekConList{});
    NotesReady = false;
    FShown = false;

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
    if (!FShown)
        FormShow();
}

void TMainFrm::FormShow()
{
    webLink->NavigateStartPage();
    // Without the box-look window (a test's bare main window) the full look.
    int transMode = 1;
    if (SetTransFrm) {
        SetTransFrm->LoadTransMode();
        transMode = SetTransFrm->FTransMode;
    }
    ApplyBoxColour(transMode);
    FShown = true;
}

void TMainFrm::chnRiliChange()
{
    const double selected = chnRili->DateTime();
    LoadWeekNotes(selected);
    MarkSelectedDay(selected);
}

void TMainFrm::redt1Exit()
{
    if (FShown && NotesReady)
        SaveWeekNotes();
}

bool TMainFrm::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving a box saves, but a popup menu over the box is no leaving.
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        for (QTextEdit* box : m_boxes)
            if (watched == box)
                redt1Exit();
    }
    return QWidget::eventFilter(watched, event);
}

void TMainFrm::SaveWeekNotes()
{
    NotesBusy busy;
    SaveWeekBoxes(m_dm, ShownWeek, m_boxes, &m_storeState);
    m_checkpointTimer->start();
}

void TMainFrm::LoadWeekNotes(double d)
{
    NotesBusy busy;
    BuildWeek(ShownWeek, d);
    LoadWeekBoxes(m_dm, ShownWeek, m_boxes, &m_storeState);
}
