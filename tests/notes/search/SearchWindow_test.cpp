// The search window on the main window: Ctrl+F and the menu open it, typing
// refines the days found (newest first, with date, lunar date and the hits
// marked), an input method composes without searching, Enter shows the day
// with the hit selected in its box.

#include "notes/search/SearchResults.h"
#include "notes/search/SearchWindow.h"
#include "notes/store/WeekNotes.h"
#include "tests/support/BoardFixture.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTextDocument>

namespace {

class SearchWindowTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        ASSERT_TRUE(dm->Search().WaitForKeeper(30000));
    }

    void Put(const char* key, const QString& text)
    {
        QTextDocument doc;
        doc.setPlainText(text);
        const qn::DayNote note = NoteFromBox(key, doc);
        ASSERT_TRUE(dm->Notes().WriteDays({&note, 1}).ok());
    }

    TSearchFrm* OpenSearch()
    {
        window->N_SearchClick();
        return window->searchWindow();
    }

    static QStringList Keys(TSearchFrm* frm)
    {
        QStringList keys;
        for (int row = 0; row < frm->results()->rowCount(); ++row)
            keys << QString::fromStdString(frm->results()->KeyAt(row));
        return keys;
    }

    void ExpectShown(const char* key, int box, const QString& selected)
    {
        EXPECT_EQ(qn::DateKey(window->calendar()->DateTime()), key);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Box(box)));
        EXPECT_EQ(Box(box)->textCursor().selectedText(), selected);
    }
};

TEST_F(SearchWindowTest, CtrlFAndTheMenuOpenTheSearchWithTheFieldFocused)
{
    Open(qn::EncodeDate(2010, 6, 1));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Box(1)->setFocus();
    QTest::keyClick(Box(1), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window->searchWindow());
    QTRY_VERIFY(window->searchWindow()->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->searchWindow()->edtSearch));

    window->searchWindow()->hide();
    window->findChild<QAction*>(QStringLiteral("N_Search"))->trigger();
    QTRY_VERIFY(window->searchWindow()->isVisible());
}

TEST_F(SearchWindowTest, TypingRefinesNewestFirstAndEnterShowsTheDayWithTheHitSelected)
{
    Put("20100601", QStringLiteral("上午开会\nMeeting at noon"));
    Put("20100605", QStringLiteral("周末开会"));  // Saturday: the shared weekend box
    Put("20100520", QStringLiteral("开会准备"));
    Put("20100521", QStringLiteral("没有那两个字"));
    Open(qn::EncodeDate(2010, 6, 1));
    TSearchFrm* frm = OpenSearch();

    frm->edtSearch->insert(QStringLiteral("开会"));
    QTRY_COMPARE(Keys(frm), (QStringList{"20100605", "20100601", "20100520"}));
    EXPECT_TRUE(frm->results()->fromIndex());
    const QModelIndex first = frm->results()->index(0);
    EXPECT_EQ(first.data().toString(), QStringLiteral("2010-06-05 星期六/日 四月廿三  周末开会"));
    EXPECT_TRUE(first.data(TSearchResults::HtmlRole).toString().contains(QStringLiteral(">开会</span>")));
    EXPECT_TRUE(frm->lblStatus->text().startsWith(QStringLiteral("找到 3 天")));

    frm->edtSearch->insert(QStringLiteral("准"));
    QTRY_COMPARE(Keys(frm), (QStringList{"20100520"}));
    QTest::keyClick(frm->edtSearch, Qt::Key_Return);
    ExpectShown("20100520", 4, QStringLiteral("开会准"));

    // Latin letters in either case; the hit is selected as the note has it.
    frm->edtSearch->setText(QStringLiteral("MEETING"));
    QTRY_COMPARE(Keys(frm), (QStringList{"20100601"}));
    frm->OpenCurrent();
    ExpectShown("20100601", 2, QStringLiteral("Meeting"));

    // The weekend note is shown on its Saturday, in the sixth box.
    frm->edtSearch->setText(QStringLiteral("周末"));
    QTRY_COMPARE(Keys(frm), (QStringList{"20100605"}));
    emit frm->lstResults->doubleClicked(frm->results()->index(0));
    ExpectShown("20100605", 6, QStringLiteral("周末"));

    frm->edtSearch->setText(QStringLiteral("没有的字"));
    QTRY_VERIFY(frm->lblStatus->text().startsWith(QStringLiteral("没有找到")));
    EXPECT_EQ(frm->results()->rowCount(), 0);
}

TEST_F(SearchWindowTest, TextBeingComposedByAnInputMethodDoesNotSearch)
{
    Put("20100601", QStringLiteral("开会"));
    Put("20100602", QStringLiteral("开会准备"));
    Open(qn::EncodeDate(2010, 6, 1));
    TSearchFrm* frm = OpenSearch();
    frm->edtSearch->setFocus();

    QInputMethodEvent composing(QStringLiteral("kaihui"), {});
    QCoreApplication::sendEvent(frm->edtSearch, &composing);
    frm->RefineNow();
    EXPECT_EQ(frm->edtSearch->text(), QString());
    EXPECT_EQ(frm->results()->rowCount(), 0);

    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("开会"));
    QCoreApplication::sendEvent(frm->edtSearch, &committed);
    QTRY_COMPARE(Keys(frm), (QStringList{"20100602", "20100601"}));

    // Composing the next word while the list shows: the list and the field
    // stay as they are until it is committed.
    QInputMethodEvent more(QStringLiteral("zhun"), {});
    QCoreApplication::sendEvent(frm->edtSearch, &more);
    frm->RefineNow();
    EXPECT_EQ(frm->edtSearch->text(), QStringLiteral("开会"));
    EXPECT_EQ(frm->results()->rowCount(), 2);
    EXPECT_EQ(frm->edtSearch->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    QInputMethodEvent done;
    done.setCommitString(QStringLiteral("准"));
    QCoreApplication::sendEvent(frm->edtSearch, &done);
    QTRY_COMPARE(Keys(frm), (QStringList{"20100602"}));
}

TEST_F(SearchWindowTest, TheListFetchesMoreDaysWhenScrolledToItsEnd)
{
    std::vector<qn::DayNote> notes;
    QTextDocument doc;
    for (int i = 0; i < 60; ++i) {
        doc.setPlainText(QStringLiteral("日记 %1").arg(i));
        notes.push_back(NoteFromBox(qn::DateKey(qn::EncodeDate(2010, 1, 1) + i), doc));
    }
    ASSERT_TRUE(dm->Notes().WriteDays(notes).ok());
    Open(qn::EncodeDate(2010, 6, 1));
    TSearchFrm* frm = OpenSearch();
    frm->edtSearch->insert(QStringLiteral("日记"));
    QTRY_COMPARE(frm->results()->rowCount(), TSearchResults::kPageSize);
    EXPECT_TRUE(frm->results()->hasMore());
    EXPECT_TRUE(frm->lblStatus->text().startsWith(QStringLiteral("找到 50 天以上")));
    frm->lstResults->scrollToBottom();
    QTRY_COMPARE(frm->results()->rowCount(), 60);
    EXPECT_EQ(frm->results()->KeyAt(59), "20100101");
}

}  // namespace
