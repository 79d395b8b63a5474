// The note boxes themselves: what a paste brings in and what the store keeps
// of it, Tab between the boxes, the grid drawn over them, and where a loaded
// note is shown from.

#include "notes/board/NoteBox.h"
#include "notes/rtf/PastedContent.h"
#include "store/NoteStore.h"
#include "tests/support/BoardFixture.h"
#include "tests/support/RtfTestSupport.h"

#include <QClipboard>
#include <QFrame>
#include <QMimeData>
#include <QScrollBar>
#include <QTextCursor>

namespace {

QStringList& Messages()
{
    static QStringList messages;
    return messages;
}

class BoxesTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        Messages().clear();
        qn::SetMessageSink([](const QString&, const QString& text) { Messages().append(text); });
    }
    QString Stored(const char* key) const
    {
        const auto rows = Rows(QStringLiteral("where YearMonthStr = '%1'").arg(QLatin1String(key)));
        return rows.empty() ? QStringLiteral("<none>") : rows.front().contentBak;
    }
    // Another week and back again: the boxes are loaded from the store.
    void ReloadWeek()
    {
        window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 15));
        window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 1));
    }
    void Paste(int n, QMimeData* data)
    {
        QApplication::clipboard()->setMimeData(data);
        Box(n)->setFocus();
        QApplication::processEvents();
        window->N2Click();
    }
};

TEST_F(BoxesTest, PastedRichContentIsShownAsTheStoreKeepsIt)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FocusBox(2, QString(), false);
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral(
        "<h1>标题</h1><p style=\"background-color:#ffff00\">正文 <b>粗体</b></p>"
        "<table border=1><tr><td>甲</td><td>乙</td></tr><tr><td>丙</td><td><font color=red>丁</font></td></tr></table>"
        "<ul><li>第一项</li><li>第二项</li></ul><img src=\"file:///dev/zero\"><p>尾</p>"));
    data->setText(QStringLiteral("the plain flavour"));
    Paste(2, data);
    const rtftest::Runs shown = rtftest::RunsOf(*Box(2)->document());
    EXPECT_EQ(Box(2)->toPlainText(), QStringLiteral("标题\n正文 粗体\n甲\t乙\n丙\t丁\n第一项\n第二项\n尾"));
    const QString stored = QStringLiteral("标题\r\n正文 粗体\r\n甲\t乙\r\n丙\t丁\r\n第一项\r\n第二项\r\n尾");
    EXPECT_EQ(Stored("20100601"), stored);

    ReloadWeek();
    EXPECT_EQ(rtftest::RunsOf(*Box(2)->document()), shown);
    EXPECT_EQ(Stored("20100601"), stored);
    for (const StoredRow& row : Rows())
        EXPECT_FALSE(row.contentBak.contains(QChar(0xFFFC))) << row.key.toStdString();
}

TEST_F(BoxesTest, CopyBetweenBoxesKeepsEveryFormat)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FocusBox(1, QStringLiteral("plain "), false);
    QTextCharFormat special;
    special.setFontFamilies({QStringLiteral("黑体")});
    special.setFontPointSize(10.5);
    special.setFontUnderline(true);
    special.setForeground(QColor(0, 128, 0));
    Box(1)->textCursor().insertText(QStringLiteral("特别"), special);
    Box(1)->selectAll();
    window->N1Click();
    FocusBox(4, QString(), false);
    window->N2Click();
    EXPECT_EQ(rtftest::RunsOf(*Box(4)->document()), rtftest::RunsOf(*Box(1)->document()));
}

TEST_F(BoxesTest, APastePastTheLimitIsRefusedWithAMessage)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FocusBox(3, QStringLiteral("kept"), false);
    auto* data = new QMimeData;
    data->setText(QString(qn::MaxNoteChars - 3, u'字'));
    Paste(3, data);
    EXPECT_EQ(Box(3)->toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(Messages(), QStringList{TNoteBox::PasteTooLongText()});
    EXPECT_EQ(Stored("20100602"), QStringLiteral("kept"));
}

TEST_F(BoxesTest, TabAndShiftTabGoRoundTheSixBoxesAndCtrlTabTypesATab)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FocusBox(1, QString(), false);
    for (int n = 1; n <= 6; ++n) {
        ASSERT_EQ(window->FocusedBox(), Box(n));
        QTest::keyClick(Box(n), Qt::Key_Tab);
    }
    EXPECT_EQ(window->FocusedBox(), Box(1));  // round again from the weekend box
    for (int n : {6, 5, 4, 3, 2, 1}) {
        QTest::keyClick(window->FocusedBox(), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(window->FocusedBox(), Box(n));
    }
    QTest::keyClick(Box(1), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window->FocusedBox(), Box(6));
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(Box(n)->toPlainText(), QString()) << n;

    QTest::keyClicks(Box(6), QStringLiteral("a"));
    QTest::keyClick(Box(6), Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(Box(6), QStringLiteral("b"));
    EXPECT_EQ(Box(6)->toPlainText(), QStringLiteral("a\tb"));
    EXPECT_EQ(window->FocusedBox(), Box(6));
    EXPECT_EQ(Stored("20100605"), QStringLiteral("a\tb"));
}

TEST_F(BoxesTest, GridLinesAreDrawnAboveTheBoxes)
{
    Open(qn::EncodeDate(2010, 6, 1));
    auto* panel = Find<QWidget>("pnlRight");
    const int lowerRow = Box(4)->y() + 20;
    for (const char* name : {"pnl_yearLine0", "pnl_yearLine1", "pnl_yearLine2", "pnl_yearLineREdge"}) {
        auto* line = Find<QFrame>(name);
        for (int y : {Box(1)->y() + 20, lowerRow})
            EXPECT_EQ(panel->childAt(line->x(), y), line) << name << " at y " << y;
    }
    auto* bottom = Find<QFrame>("pnl_buttonline");
    EXPECT_EQ(panel->childAt(Box(5)->x() + 10, bottom->y()), bottom);
    // The boxes keep their places.
    EXPECT_EQ(Box(1)->geometry().right(), Find<QFrame>("pnl_yearLine1")->x() + 1);
}

TEST_F(BoxesTest, EveryLoadShowsTheTopOfEachBox)
{
    // A note much longer than its box, stored before the window opens.
    QTextDocument longNote;
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("第 %1 行").arg(i);
    QTextCursor(&longNote).insertText(lines.join(u'\n'));
    qn::NoteStore& store = dm->Notes();
    const std::vector<qn::DayNote> notes = {NoteFromBox("20100531", longNote), NoteFromBox("20100604", longNote)};
    ASSERT_TRUE(store.WriteDays(notes).ok());

    Open(qn::EncodeDate(2010, 6, 1));
    for (int n : {1, 5}) {
        SCOPED_TRACE(n);
        QScrollBar* bar = Box(n)->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(Box(n)->textCursor().position(), 0);
    }

    // Read to the end, then another week and back: the top again.
    Box(1)->setFocus();
    Box(1)->moveCursor(QTextCursor::End);
    Box(1)->ensureCursorVisible();
    ASSERT_GT(Box(1)->verticalScrollBar()->value(), 0);
    ReloadWeek();
    EXPECT_EQ(Box(1)->verticalScrollBar()->value(), 0);
    EXPECT_EQ(Box(1)->textCursor().position(), 0);
}

}  // namespace

namespace {

TEST_F(BoxesTest, ANoteWithAWordLongerThanAnyBoxWrapsAnywhere)
{
    QTextDocument blob;
    QTextCursor(&blob).insertText(QStringLiteral("see ") + QString(TNoteBox::kLongWord + 1, u'x'));
    qn::NoteStore& store = dm->Notes();
    const std::vector<qn::DayNote> notes = {NoteFromBox("20100531", blob)};
    ASSERT_TRUE(store.WriteDays(notes).ok());
    Open(qn::EncodeDate(2010, 6, 1));
    EXPECT_EQ(Box(1)->wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_EQ(Box(2)->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(Box(1)->toPlainText(), blob.toPlainText());  // the whole note, at once
    EXPECT_GT(Box(1)->verticalScrollBar()->maximum(), 0);

    // Another week's ordinary note wraps at word boundaries again.
    ReloadWeek();
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 15));
    EXPECT_EQ(Box(1)->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    // Such a word pasted or typed in switches the box as well.
    FocusBox(3, QStringLiteral("a"), false);
    auto* data = new QMimeData;
    data->setText(QString(TNoteBox::kLongWord + 1, u'y'));
    Paste(3, data);
    EXPECT_EQ(Box(3)->wordWrapMode(), QTextOption::WrapAnywhere);
}

}  // namespace
