#include "tests/support/BoardFixture.h"
#include "tests/support/RtfTestSupport.h"

#include <QClipboard>
#include <QFontInfo>
#include <QSqlQuery>
#include <QTextCharFormat>
#include <QTextCursor>

#include <cmath>

namespace {

class EditingTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        Open(qn::EncodeDateTime(2010, 6, 1, 9, 5, 42));
    }
    QString Stored(const char* key) const
    {
        const auto rows = Rows(QStringLiteral("where YearMonthStr = '%1'").arg(QLatin1String(key)));
        return rows.empty() ? QStringLiteral("<none>") : rows.front().contentBak;
    }
    QColor ColourAt(int n, int position) const
    {
        QTextCursor c(Box(n)->document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color();
    }
};

TEST_F(EditingTest, InsertionsReplaceTheSelectionOrGoInAtTheCaretAndAreSaved)
{
    struct Case {
        void (TMainFrm::*command)();
        bool selectAll;
        const char* expected;
    };
    const Case cases[] = {
        {&TMainFrm::V1Click, true, "√"},
        {&TMainFrm::V1Click, false, "word√"},
        {&TMainFrm::X1Click, true, "×"},
        {&TMainFrm::btnGouClick, false, "word√"},
        {&TMainFrm::btnXClick, false, "word×"},  // the button captioned X writes ×
        {&TMainFrm::imgDateClick, false, "word 09:05 "},
    };
    for (const auto& c : cases) {
        FocusBox(2, QStringLiteral("word"), c.selectAll);
        (window.get()->*c.command)();
        EXPECT_EQ(Box(2)->toPlainText(), QString::fromUtf8(c.expected));
        EXPECT_EQ(Stored("20100601"), QString::fromUtf8(c.expected));
    }
}

TEST_F(EditingTest, MarkersAreBlocksInTheirColourAndTypingGoesOnInIt)
{
    const struct {
        void (TMainFrm::*command)();
        QColor colour;
    } cases[] = {{&TMainFrm::N11Click, QColor(0, 0, 255)},
                 {&TMainFrm::N12Click, QColor(255, 0, 0)},
                 {&TMainFrm::N13Click, QColor(255, 0, 255)}};
    for (const auto& c : cases) {
        FocusBox(4, QStringLiteral("ab"), false);
        (window.get()->*c.command)();
        EXPECT_EQ(Box(4)->toPlainText(), QStringLiteral("ab█"));
        EXPECT_EQ(ColourAt(4, 2), c.colour);
        QTest::keyClicks(Box(4), QStringLiteral("c"));
        EXPECT_EQ(ColourAt(4, 3), c.colour);
        EXPECT_EQ(Stored("20100603"), QStringLiteral("ab█c"));
    }
}

TEST_F(EditingTest, ClipboardCommandsAndUndo)
{
    FocusBox(3, QStringLiteral("hello"), true);
    window->N1Click();  // copy
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hello"));
    EXPECT_EQ(Box(3)->toPlainText(), QStringLiteral("hello"));

    window->N3Click();  // cut
    EXPECT_EQ(Box(3)->toPlainText(), QString());
    EXPECT_EQ(Stored("20100602"), QString());
    window->N2Click();  // paste
    window->N2Click();
    EXPECT_EQ(Box(3)->toPlainText(), QStringLiteral("hellohello"));
    EXPECT_EQ(Stored("20100602"), QStringLiteral("hellohello"));

    QApplication::clipboard()->setText(QStringLiteral("kept"));
    Box(3)->selectAll();
    window->N9Click();  // delete: the clipboard is not touched
    EXPECT_EQ(Box(3)->toPlainText(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));

    window->CtrlZ1Click();
    EXPECT_EQ(Box(3)->toPlainText(), QStringLiteral("hellohello"));
    EXPECT_EQ(Stored("20100602"), QStringLiteral("hellohello"));
}

TEST_F(EditingTest, FontAndColourDialogsApplyTheChoiceAndKeepIt)
{
    FocusBox(1, QStringLiteral("text"), true);
    QFont chosen(QStringLiteral("黑体"));
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    fontAnswer = chosen;
    window->imgFontClick();
    EXPECT_EQ(fontAsked, 1);
    // The dialog opens on the box's own font: 宋体 15 px, as installed here.
    EXPECT_EQ(lastFontOffered.family(), QFontInfo(Box(1)->font()).family());
    EXPECT_EQ(lastFontOffered.pixelSize(), 15);
    QTextCursor c(Box(1)->document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(c.charFormat().fontUnderline());
    EXPECT_EQ(c.charFormat().property(QTextFormat::FontPixelSize).toInt(), 20);
    window->imgFontClick();
    // Then on the chosen font, which the text now has.
    EXPECT_EQ(lastFontOffered.pixelSize(), 20);
    EXPECT_TRUE(lastFontOffered.bold());
    EXPECT_TRUE(lastFontOffered.underline());
    EXPECT_EQ(lastFontOffered.family(), QFontInfo(chosen).family());

    colourAnswer = QColor(0, 128, 0);
    window->imgRedColorClick();
    EXPECT_EQ(ColourAt(1, 1), QColor(0, 128, 0));
    window->imgRedColorClick();
    EXPECT_EQ(lastColourOffered, QColor(0, 128, 0));
}

TEST_F(EditingTest, FontDialogOkWithoutAChangeChangesNothing)
{
    // The real dialog answers with the font it shows: the installed family
    // and the size in whole points.
    fontAnswerFor = [](const QFont& offered) -> std::optional<QFont> {
        QFont shown(offered.family());
        shown.setPointSize(int(std::lround(offered.pixelSize() * 72.0 / 96)));
        shown.setBold(offered.bold());
        shown.setItalic(offered.italic());
        shown.setUnderline(offered.underline());
        shown.setStrikeOut(offered.strikeOut());
        return shown;
    };
    FocusBox(1, QStringLiteral("plain "), false);
    QTextCharFormat arial;
    arial.setFontFamilies({QStringLiteral("Arial")});
    arial.setProperty(QTextFormat::FontPixelSize, 20);
    arial.setFontWeight(QFont::Bold);
    arial.setFontItalic(true);
    arial.setForeground(QColor(200, 0, 0));
    Box(1)->textCursor().insertText(QStringLiteral("arial"), arial);
    const QString key = QStringLiteral("where YearMonthStr = '20100531'");
    const auto runsBefore = rtftest::RunsOf(*Box(1)->document());
    const QByteArray storedBefore = Rows(key).front().content;
    for (int at : {2, 8}) {  // in the box's own font, then in Arial
        SCOPED_TRACE(at);
        QTextCursor c(Box(1)->document());
        c.setPosition(at);
        Box(1)->setTextCursor(c);
        window->imgFontClick();
        if (at == 8) {
            EXPECT_EQ(lastFontOffered.family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
            EXPECT_EQ(lastFontOffered.pixelSize(), 20);
            EXPECT_TRUE(lastFontOffered.bold() && lastFontOffered.italic());
        }
        Box(1)->selectAll();
        window->imgFontClick();
        EXPECT_EQ(rtftest::RunsOf(*Box(1)->document()), runsBefore);
        EXPECT_EQ(Rows(key).front().content, storedBefore);
    }

    // A change of the size alone leaves the family and the styles as they were.
    fontAnswerFor = [](const QFont& offered) -> std::optional<QFont> {
        QFont bigger(offered.family());
        bigger.setPointSize(18);
        bigger.setBold(offered.bold());
        bigger.setItalic(offered.italic());
        return bigger;
    };
    QTextCursor c(Box(1)->document());
    c.setPosition(6);
    c.setPosition(11, QTextCursor::KeepAnchor);
    Box(1)->setTextCursor(c);
    window->imgFontClick();
    const auto runs = rtftest::RunsOf(*Box(1)->document());
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].size(), 2u);
    EXPECT_EQ(runs[0][1].text, QStringLiteral("arial"));
    EXPECT_EQ(runs[0][1].attrs.family, QStringLiteral("Arial"));
    EXPECT_EQ(runs[0][1].attrs.points, 18);
    EXPECT_EQ(runs[0][1].attrs.pixels, 0);
    EXPECT_EQ(runs[0][1].attrs.weight, QFont::Bold);
    EXPECT_EQ(runs[0][1].attrs.color, QStringLiteral("#ffc80000"));
}

TEST_F(EditingTest, CancelledDialogsChangeAndSaveNothing)
{
    FocusBox(5, QStringLiteral("same"), true);
    const QByteArray stored = Rows(QStringLiteral("where YearMonthStr = '20100604'")).front().content;
    window->imgFontClick();
    window->imgRedColorClick();
    EXPECT_EQ(fontAsked, 1);
    EXPECT_EQ(colourAsked, 1);
    EXPECT_EQ(Rows(QStringLiteral("where YearMonthStr = '20100604'")).front().content, stored);
    EXPECT_FALSE(Box(5)->document()->isUndoAvailable() && Box(5)->toPlainText() != QStringLiteral("same"));
}

TEST_F(EditingTest, WithoutAFocusedBoxNothingHappensAndNoDialogShows)
{
    FocusBox(2, QStringLiteral("untouched"), true);
    window->calendar()->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(window->FocusedBox(), nullptr);
    fontAnswer = QFont(QStringLiteral("黑体"));
    colourAnswer = QColor(255, 0, 0);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    for (auto command : {&TMainFrm::N1Click, &TMainFrm::N2Click, &TMainFrm::N9Click, &TMainFrm::N3Click,
                         &TMainFrm::V1Click, &TMainFrm::X1Click, &TMainFrm::CtrlZ1Click, &TMainFrm::N11Click,
                         &TMainFrm::N12Click, &TMainFrm::N13Click, &TMainFrm::imgFontClick, &TMainFrm::btnGouClick,
                         &TMainFrm::btnXClick, &TMainFrm::imgDateClick, &TMainFrm::imgRedColorClick})
        (window.get()->*command)();
    EXPECT_EQ(fontAsked, 0);
    EXPECT_EQ(colourAsked, 0);
    EXPECT_EQ(Box(2)->toPlainText(), QStringLiteral("untouched"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("clip"));
}

TEST_F(EditingTest, ToolbarNeverTakesTheFocusFromTheBox)
{
    FocusBox(6, QString(), false);
    QTest::mouseClick(Find<QWidget>("btnGou"), Qt::LeftButton);
    QTest::mouseClick(Find<QWidget>("btnX"), Qt::LeftButton);
    QTest::mouseClick(Find<QWidget>("imgDate"), Qt::LeftButton);
    EXPECT_EQ(Box(6)->toPlainText(), QStringLiteral("√× 09:05 "));
    EXPECT_EQ(window->FocusedBox(), Box(6));
}

}  // namespace
