#include "notes/board/WeekBoard.h"

#include "calendar/DateValue.h"
#include "calendar_control/CalendarColors.h"
#include "core/uGlobal.h"
#include "notes/board/NoteBox.h"
#include "notes/board/WeekHeaders.h"
#include "notes/frame/MainSkin.h"
#include "notes/frame/WidgetParts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QResizeEvent>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

bool NotesReady = false;

namespace {

using qn::ControlFont;
using qn::PixelFont;

constexpr TColor kGridLine = 0xFFE3DC;  // the lines between the boxes

constexpr TColor kSignColour = 0x0000C0;  // dark red

// Keeps NotesReady false for the lifetime of a load or save, and true again
// afterwards on every path; a load inside a load (a box shown again after a
// retry) leaves it to the outer one.
class NotesBusy {
public:
    NotesBusy()
    {
        ++s_depth;
        NotesReady = false;
    }
    ~NotesBusy()
    {
        if (--s_depth == 0)
            NotesReady = true;
    }
    NotesBusy(const NotesBusy&) = delete;
    NotesBusy& operator=(const NotesBusy&) = delete;

private:
    static inline int s_depth = 0;
};

QFrame* Line(QWidget* parent, const char* name)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, ColorFromBgr(kGridLine));
    line->setPalette(p);
    return line;
}

}  // namespace

const QString TWeekBoard::kUnknownNote = QStringLiteral("读取失败，正在重试…");

TWeekBoard::TWeekBoard(TDM& dm, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlRight"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    ShownWeek.assign(7, TWeekConList{});
    NotesReady = false;

    m_model = new qn::WeekNotesModel(dm, this);
    qn::WeekNotesTiming timing = m_model->Timing();
    timing.checkpointPauseMs = kCheckpointPauseMs;
    m_model->SetTiming(timing);
    connect(m_model, &qn::WeekNotesModel::boxLoaded, this, &TWeekBoard::ShowKnownBox);
    connect(m_model, &qn::WeekNotesModel::boxUnknown, this, &TWeekBoard::ShowUnknownBox);
    connect(m_model, &qn::WeekNotesModel::signChanged, this, &TWeekBoard::ShowSign);

    BuildGrid();
    BuildBoxes();
    RaiseGridLines();
}

void TWeekBoard::BuildGrid()
{
    pnl_yearLine0 = Line(this, "pnl_yearLine0");
    pnl_yearLine1 = Line(this, "pnl_yearLine1");
    pnl_yearLine2 = Line(this, "pnl_yearLine2");
    pnl_yearLineREdge = Line(this, "pnl_yearLineREdge");
    pnl_buttonline = Line(this, "pnl_buttonline");

    auto strip = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setScaledContents(true);
        return label;
    };
    // Header strips first, the highlight strip over them, the labels on top.
    imgtitle_year1 = strip("imgtitle_year1");
    imgtitle_year2 = strip("imgtitle_year2");
    imgtitle_year1->setPixmap(qn::skin::HeaderStrip(QSize(64, 26)));
    imgtitle_year2->setPixmap(qn::skin::HeaderStrip(QSize(64, 26)));
    imgSelColor = strip("imgSelColor");
    imgSelColor->setPixmap(qn::skin::HighlightStrip(QSize(64, 26)));
    imgSelColor->hide();

    static const char* const kLabelNames[6] = {"lblweek1", "lblweek2", "lblweek3", "lblweek4", "lblweek5", "lblweek67"};
    for (size_t i = 0; i < 6; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(kLabelNames[i]));
        label->setFont(ControlFont(QStringLiteral("宋体"), 12));
        label->setAttribute(Qt::WA_TranslucentBackground);
        m_headerLabels[i] = label;
    }

    // The sign is small, red and never in the way: typing goes on.
    lblUnsaved = new QLabel(this);
    lblUnsaved->setObjectName(QStringLiteral("lblUnsaved"));
    lblUnsaved->setFont(ControlFont(QStringLiteral("宋体"), 12));
    lblUnsaved->setAttribute(Qt::WA_TranslucentBackground);
    QPalette red = lblUnsaved->palette();
    red.setColor(QPalette::WindowText, ColorFromBgr(kSignColour));
    lblUnsaved->setPalette(red);
    lblUnsaved->hide();
    ShowHeaders();
}

void TWeekBoard::BuildBoxes()
{
    QFont boxFont = PixelFont(QStringLiteral("宋体"), 15);
    for (size_t i = 0; i < 6; ++i) {
        auto* box = new TNoteBox(this);
        box->setObjectName(QStringLiteral("redt%1").arg(i + 1));
        box->setFont(boxFont);
        box->setFrameShape(QFrame::NoFrame);
        box->setAcceptRichText(true);
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QTextEdit::textChanged, this, &TWeekBoard::redt1Exit);
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](const QPoint& at) {
            box->setFocus(Qt::MouseFocusReason);
            emit boxMenuRequested(box, box->viewport()->mapToGlobal(at));
        });
        connect(box, &TNoteBox::tabOut, this, [this, i](bool forward) { FocusNeighbourBox(i, forward); });
        box->installEventFilter(this);
        m_boxes[i] = box;
    }
    for (size_t i = 1; i < 6; ++i)
        setTabOrder(m_boxes[i - 1], m_boxes[i]);
}

void TWeekBoard::RaiseGridLines()
{
    // The first boxes of each row reach one pixel over the dividers to their
    // right; the lines are drawn above them.
    for (QFrame* line : {pnl_yearLine0, pnl_yearLine1, pnl_yearLine2, pnl_yearLineREdge, pnl_buttonline})
        line->raise();
}

void TWeekBoard::FocusNeighbourBox(size_t from, bool forward)
{
    // The six boxes form a ring: Tab on the weekend box goes on to Monday.
    const size_t to = forward ? (from + 1) % 6 : (from + 5) % 6;
    m_boxes[to]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TWeekBoard::HoldBoxLayouts()
{
    for (QTextEdit* box : m_boxes)
        static_cast<TNoteBox*>(box)->BeginLoad();
}

void TWeekBoard::ShowLoadedBoxes()
{
    for (QTextEdit* box : m_boxes)
        static_cast<TNoteBox*>(box)->EndLoad();
}

void TWeekBoard::SaveWeekNotes()
{
    NotesBusy busy;
    // Only the boxes that changed, or whose rows do not hold them yet, are
    // turned into notes; the model holds them until the store has them.
    std::vector<qn::BoxNote> changed;
    for (int b = 0; b < qn::WeekNotesModel::kBoxes; ++b) {
        QTextDocument* document = m_boxes[static_cast<size_t>(b)]->document();
        if (!m_model->NeedsWrite(b, document->isModified()))
            continue;
        changed.push_back({b, NoteFromBox(m_model->Keys()[static_cast<size_t>(b)], *document)});
        document->setModified(false);
    }
    m_model->Save(std::move(changed));
}

void TWeekBoard::LoadWeekNotes(double d)
{
    NotesBusy busy;
    BuildWeek(ShownWeek, d);
    ShowHeaders();
    qn::WeekNotesModel::WeekKeys keys;
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = ShownWeek[i].DayKey;
    m_loadingWeek = true;
    HoldBoxLayouts();
    m_model->LoadWeek(keys);
    ShowLoadedBoxes();
    m_loadingWeek = false;
}

void TWeekBoard::ShowKnownBox(int box, const std::optional<qn::DayNote>& note)
{
    NotesBusy busy;
    QTextEdit* edit = m_boxes[static_cast<size_t>(box)];
    edit->setReadOnly(false);
    edit->setPlaceholderText(QString());
    // A box read again on its own (a retry) is laid out once, like a week's.
    auto* noteBox = static_cast<TNoteBox*>(edit);
    if (!m_loadingWeek)
        noteBox->BeginLoad();
    ShowNoteInBox(note, *edit);
    if (!m_loadingWeek)
        noteBox->EndLoad();
    edit->document()->setModified(false);
}

// Unknown is not empty: the box shows no text of any week, takes no typing
// and says why.
void TWeekBoard::ShowUnknownBox(int box)
{
    NotesBusy busy;
    QTextEdit* edit = m_boxes[static_cast<size_t>(box)];
    ShowNoteInBox(std::nullopt, *edit);
    edit->setReadOnly(true);
    edit->setPlaceholderText(kUnknownNote);
    edit->document()->setModified(false);
}

void TWeekBoard::ShowSign(const QString& text)
{
    lblUnsaved->setToolTip(text);
    lblUnsaved->setVisible(!text.isEmpty());
    PlaceSign();
}

// At the right end of the upper header strip, over the strip, never over
// Wednesday's header label; a text too long for the room left is shortened
// (the tooltip has all of it).
void TWeekBoard::PlaceSign()
{
    const QString text = lblUnsaved->toolTip();
    const QFontMetrics metrics(lblUnsaved->font());
    const int right = width() - 9;
    const int left = m_headerLabels[2]->geometry().right() + 8;
    const int room = std::max(0, right - left);
    const QString shown =
        metrics.horizontalAdvance(text) <= room ? text : metrics.elidedText(text, Qt::ElideRight, room);
    lblUnsaved->setText(shown);
    const int textWidth = metrics.horizontalAdvance(shown) + 2;
    lblUnsaved->setGeometry(right - textWidth, (26 - metrics.height()) / 2, textWidth, metrics.height());
    lblUnsaved->raise();
}

void TWeekBoard::SetHolidays(std::shared_ptr<const qn::HolidayCalendar> holidays)
{
    m_holidays = std::move(holidays);
    ShowHeaders();
}

QString TWeekBoard::HeaderText(int box) const
{
    return box >= 0 && box < 6 ? m_headerTexts[static_cast<size_t>(box)] : QString();
}

void TWeekBoard::ShowHeaders()
{
    const std::array<qn::WeekBoxHeader, 6> headers = qn::WeekBoxHeaders(ShownWeek, m_holidays.get());
    for (size_t i = 0; i < headers.size(); ++i) {
        m_headerTexts[i] = headers[i].text;
        QLabel* label = m_headerLabels[i];
        // Plain text unless a mark is coloured: a week without marks looks as
        // it always has.
        const bool marked = headers[i].html != headers[i].text;
        label->setTextFormat(marked ? Qt::RichText : Qt::PlainText);
        label->setText(marked ? headers[i].html : headers[i].text);
        label->setToolTip(headers[i].toolTip);
        label->adjustSize();
    }
    // Wednesday's header may have grown under the sign.
    PlaceSign();
}

void TWeekBoard::redt1Exit()
{
    if (FShown && NotesReady)
        SaveWeekNotes();
}

bool TWeekBoard::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving a box saves, but a popup menu over the box is no leaving.
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        for (QTextEdit* box : m_boxes)
            if (watched == box)
                redt1Exit();
    }
    return QWidget::eventFilter(watched, event);
}

QTextEdit* TWeekBoard::FocusedBox() const
{
    const QWidget* focused = QApplication::focusWidget();
    for (QTextEdit* box : m_boxes)
        if (box == focused)
            return box->isReadOnly() ? nullptr : box;  // an unknown box takes no commands
    return nullptr;
}

void TWeekBoard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeBoxes();
}

void TWeekBoard::ArrangeBoxes()
{
    const int W = width();
    const int H = height();
    // The edges of the grid follow the board's size.
    pnl_yearLine0->setGeometry(2, 0, 1, H);
    pnl_yearLineREdge->setGeometry(W - (594 - 591), 0, 1, H);
    pnl_buttonline->setGeometry(2, H - (445 - 440), W - 4, 1);
    imgtitle_year1->setGeometry(4, 0, W - 7, 26);
    imgtitle_year2->resize(W - 7, 26);
    pnl_yearLine1->resize(1, H);
    pnl_yearLine2->resize(1, H);

    pnl_yearLine1->move((W - 4) / 3 + 1, pnl_yearLine1->y());
    pnl_yearLine2->move(2 * ((W - 4) / 3) + 2, pnl_yearLine2->y());
    imgtitle_year2->move(4, (H - 50) / 2 + 18);

    const QFrame* leftLines[3] = {pnl_yearLine0, pnl_yearLine1, pnl_yearLine2};
    const int narrow = (W - 5) / 3;
    const int upperY = imgtitle_year1->y() + 26;
    const int upperH = imgtitle_year2->y() - imgtitle_year1->y() - 26;
    const int lowerY = imgtitle_year2->y() + 26;
    const int lowerH = pnl_buttonline->y() - imgtitle_year2->y() - 26;
    for (int i = 0; i < 6; ++i) {
        const int column = i % 3;
        const bool upper = i < 3;
        const int x = leftLines[column]->x() + 1;
        const int boxWidth = column < 2 ? narrow : narrow - 4;
        m_boxes[static_cast<size_t>(i)]->setGeometry(x, upper ? upperY : lowerY, boxWidth, upper ? upperH : lowerH);
        m_headerLabels[static_cast<size_t>(i)]->move(
            leftLines[column]->x() + 10, upper ? (imgtitle_year1->height() - 12) / 2 : imgtitle_year2->y() + 8);
    }
    PlaceSign();
    if (m_markedDay)
        MarkSelectedDay(*m_markedDay);
}

void TWeekBoard::MarkSelectedDay(double d)
{
    m_markedDay = d;
    imgSelColor->hide();
    if (ShownWeek.size() != 7)
        return;
    const std::string key = qn::DateKey(d);
    for (const TWeekConList& slot : ShownWeek) {
        if (qn::DateKey(slot.DayDate) != key)
            continue;
        const int box = slot.BoxNo;  // 1..6; Saturday and Sunday share box 6
        if (box < 1 || box > 6)
            break;  // a week not built yet
        const int column = (box - 1) % 3;
        const QFrame* lines[4] = {pnl_yearLine0, pnl_yearLine1, pnl_yearLine2, pnl_yearLineREdge};
        const QLabel* header = box <= 3 ? imgtitle_year1 : imgtitle_year2;
        imgSelColor->setGeometry(lines[column]->x() + 1, header->y(), lines[column + 1]->x() - lines[column]->x() - 2,
                                 26);
        imgSelColor->show();
        return;
    }
}
