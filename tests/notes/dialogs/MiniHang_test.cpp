// The floating window and Data/mincfg.ini.

#include "notes/frame/uMiniHang.h"
#include "tests/support/DialogTestSupport.h"

#include <QLabel>
#include <QSignalSpy>

using namespace qn;
using namespace qn::testing;

class MiniHangTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartOn1024x768();
    void readsThePosition_data();
    void readsThePosition();
    void doubleClickBringsTheMainWindowBack();
    void lostPlaceComesBackOnScreen();
    void placeNearTheIntegerLimits_data();
    void placeNearTheIntegerLimits();
    void looksAsDesigned();
};

void MiniHangTest::firstStartOn1024x768()
{
    TestFolder t;
    TMiniHangFrm mini(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    QCOMPARE(mini.FPosLeft, 963);
    QCOMPARE(mini.FPosTop, 10);
    QCOMPARE(t.readBytes("mincfg.ini"), QByteArray("963\r\n10\r\n"));
    mini.show();
    QCOMPARE(mini.pos(), QPoint(963, 10));
    QCOMPARE(mini.size(), QSize(51, 50));
    QCOMPARE(mini.imgBG->geometry(), mini.rect());
}

void MiniHangTest::readsThePosition_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QPoint>("pos");
    QTest::newRow("both") << QByteArray("100\r\n200\r\n") << QPoint(100, 200);
    QTest::newRow("left only") << QByteArray("100\r\n") << QPoint(100, 0);
    QTest::newRow("bad left stops at once") << QByteArray("x\r\n200\r\n") << QPoint(0, 0);
    QTest::newRow("bad top") << QByteArray("100\r\ny\r\n") << QPoint(100, 0);
    QTest::newRow("empty") << QByteArray() << QPoint(0, 0);
    QTest::newRow("binary") << QByteArray("\xff\x00\x01", 3) << QPoint(0, 0);
}

void MiniHangTest::readsThePosition()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QPoint, pos);
    TestFolder t;
    t.writeBytes("mincfg.ini", bytes);
    TMiniHangFrm mini(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    QCOMPARE(QPoint(mini.FPosLeft, mini.FPosTop), pos);
    QCOMPARE(t.readBytes("mincfg.ini"), bytes);  // never rewritten on reading
    QVERIFY(RecordedMessages().isEmpty());
}

void MiniHangTest::doubleClickBringsTheMainWindowBack()
{
    TestFolder t;
    TMiniHangFrm mini(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    QSignalSpy restore(&mini, &TMiniHangFrm::restoreMainWindow);
    mini.show();
    mini.move(300, 400);  // dragged there
    QTest::mouseDClick(mini.imgBG, Qt::LeftButton);
    QVERIFY(!mini.isVisible());
    QCOMPARE(restore.size(), 1);
    QCOMPARE(QPoint(mini.FPosLeft, mini.FPosTop), QPoint(300, 400));
    QCOMPARE(t.readBytes("mincfg.ini"), QByteArray("300\r\n400\r\n"));
    // Within the run it shows where it was; the next run reads the file.
    mini.show();
    QCOMPARE(mini.pos(), QPoint(300, 400));
    TMiniHangFrm nextRun(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    QCOMPARE(QPoint(nextRun.FPosLeft, nextRun.FPosTop), QPoint(300, 400));
}

void MiniHangTest::lostPlaceComesBackOnScreen()
{
    TestFolder t;
    t.writeBytes("mincfg.ini", "2500\r\n10\r\n");  // on a monitor that is gone
    TMiniHangFrm mini(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    mini.show();
    QCOMPARE(mini.pos(), QPoint(963, 10));
    QCOMPARE(t.readBytes("mincfg.ini"), QByteArray("2500\r\n10\r\n"));
}

void MiniHangTest::placeNearTheIntegerLimits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("maximum") << QByteArray("2147483647\r\n2147483647\r\n");
    QTest::newRow("just below the maximum") << QByteArray("2147483600\r\n2147483600\r\n");
    QTest::newRow("minimum") << QByteArray("-2147483648\r\n-2147483648\r\n");
}

void MiniHangTest::placeNearTheIntegerLimits()
{
    QFETCH(QByteArray, bytes);
    TestFolder t;
    t.writeBytes("mincfg.ini", bytes);
    TMiniHangFrm mini(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    mini.show();
    QCOMPARE(mini.pos(), QPoint(963, 10));
    QCOMPARE(t.readBytes("mincfg.ini"), bytes);
}

void MiniHangTest::looksAsDesigned()
{
    TestFolder t;
    TMiniHangFrm mini(t.folder(), nullptr, ScreenLayout::Single(1024, 768));
    QCOMPARE(mini.windowTitle(), QString("悬浮窗"));
    QVERIFY(mini.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(mini.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(mini.minimumWidth(), 51);
    QCOMPARE(mini.maximumWidth(), 132);
    QVERIFY(!mini.imgBG->pixmap().isNull());
    QCOMPARE(mini.imgBG->pixmap().size(), QSize(50, 50));
}

QTEST_MAIN(MiniHangTest)
#include "MiniHang_test.moc"
