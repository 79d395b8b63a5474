// Data/FormSize.ini: the main window's size and place between runs.

#include "notes/frame/FormGeometry.h"
#include "tests/support/DialogTestSupport.h"

#include <QFileInfo>
#include <QWidget>

using namespace qn;
using namespace qn::testing;

class FormGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartOn1024x768();
    void readsStoredGeometry();
    void garbledFileIsReportedAndKept_data();
    void garbledFileIsReportedAndKept();
    void unreadableFileIsReportedAndKept();
    void saveWritesBackLineSix_data();
    void saveWritesBackLineSix();
    void offScreenPlaceComesBack_data();
    void offScreenPlaceComesBack();
    void secondScreenPlaceIsKept();
    void hugeSizeIsClampedToTheScreen_data();
    void hugeSizeIsClampedToTheScreen();
    void valuesNearTheIntegerLimits_data();
    void valuesNearTheIntegerLimits();
};

void FormGeometryTest::firstStartOn1024x768()
{
    TestFolder t;
    QWidget window;
    FormGeometry g;
    const FormSizeLoad load = LoadFormSize(&window, g, t.folder(), "6", ScreenLayout::Single(1024, 768));
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Created);
    QCOMPARE(window.size(), QSize(906, 540));
    QCOMPARE(window.pos(), QPoint(59, 99));
    QCOMPARE(t.readBytes("FormSize.ini"), QByteArray("1\r\n906\r\n540\r\n59\r\n99\r\n6\r\n"));
    QVERIFY(RecordedMessages().isEmpty());
    // Line 6 of a file created now was not read: closing writes "4" there.
    QVERIFY(!g.FMonthLine.has_value());
}

void FormGeometryTest::readsStoredGeometry()
{
    TestFolder t;
    t.writeBytes("FormSize.ini", "3\r\n1000\r\n600\r\n20\r\n30\r\n11\r\n");
    QWidget window;
    FormGeometry g;
    const FormSizeLoad load = LoadFormSize(&window, g, t.folder(), "6", ScreenLayout::Single(1280, 1024));
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Read);
    QVERIFY(!load.movedOnScreen);
    QCOMPARE(g.FViewNo, 3);
    QCOMPARE(window.geometry(), QRect(20, 30, 1000, 600));
    QCOMPARE(g.FMonthLine.value_or("none"), QString("11"));
    QCOMPARE(t.readBytes("FormSize.ini"), QByteArray("3\r\n1000\r\n600\r\n20\r\n30\r\n11\r\n"));
}

void FormGeometryTest::garbledFileIsReportedAndKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("viewNoAfter");
    QTest::newRow("letters on line 3") << QByteArray("2\r\n906\r\nabc\r\n1\r\n1\r\n4\r\n") << 2;
    QTest::newRow("only two lines") << QByteArray("2\r\n906\r\n") << 2;
    QTest::newRow("empty file") << QByteArray() << 1;
    QTest::newRow("binary") << QByteArray("\x00\xff\x13\x37\r\n\x01", 6) << 1;
    QTest::newRow("number too big") << QByteArray("1\r\n99999999999\r\n540\r\n0\r\n0\r\n") << 1;
}

void FormGeometryTest::garbledFileIsReportedAndKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, viewNoAfter);
    TestFolder t;
    t.writeBytes("FormSize.ini", bytes);
    QWidget window;
    window.setGeometry(5, 6, 913, 530);  // the design geometry
    FormGeometry g;
    const FormSizeLoad load = LoadFormSize(&window, g, t.folder(), "6", ScreenLayout::Single(1024, 768));
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Garbled);
    QCOMPARE(RecordedMessages().size(), 1);
    QCOMPARE(RecordedMessages().first().first, kApplicationTitle);
    QVERIFY(!RecordedMessages().first().second.isEmpty());
    QCOMPARE(window.geometry(), QRect(5, 6, 913, 530));
    QCOMPARE(g.FViewNo, viewNoAfter);  // what was read before the bad line stays
    QCOMPARE(t.readBytes("FormSize.ini"), bytes);
}

void FormGeometryTest::unreadableFileIsReportedAndKept()
{
    TestFolder t;
    QDir().mkpath(t.data("FormSize.ini"));  // something that is no file
    QWidget window;
    window.setGeometry(5, 6, 913, 530);
    FormGeometry g;
    const FormSizeLoad load = LoadFormSize(&window, g, t.folder(), "6", ScreenLayout::Single(1024, 768));
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Garbled);
    QCOMPARE(RecordedMessages().size(), 1);
    QCOMPARE(window.geometry(), QRect(5, 6, 913, 530));
    QVERIFY(QFileInfo(t.data("FormSize.ini")).isDir());
}

void FormGeometryTest::saveWritesBackLineSix_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("line 6 read") << QByteArray("1\r\n906\r\n540\r\n0\r\n0\r\n9\r\n")
                                 << QByteArray("1\r\n950\r\n560\r\n40\r\n50\r\n9\r\n");
    QTest::newRow("no line 6") << QByteArray("1\r\n906\r\n540\r\n0\r\n0\r\n")
                               << QByteArray("1\r\n950\r\n560\r\n40\r\n50\r\n4\r\n");
    QTest::newRow("no file") << QByteArray() << QByteArray("1\r\n950\r\n560\r\n40\r\n50\r\n4\r\n");
}

void FormGeometryTest::saveWritesBackLineSix()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TestFolder t;
    if (!before.isEmpty())
        t.writeBytes("FormSize.ini", before);
    QWidget window;
    FormGeometry g;
    LoadFormSize(&window, g, t.folder(), "6", ScreenLayout::Single(1024, 768));
    window.setGeometry(40, 50, 950, 560);
    QVERIFY(SaveFormSize(&window, g, t.folder()));
    QCOMPARE(t.readBytes("FormSize.ini"), after);
}

void FormGeometryTest::offScreenPlaceComesBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QPoint>("pos");
    // A 1024 × 768 screen; the window centred like a first start.
    QTest::newRow("far right (monitor gone)") << QByteArray("1\r\n906\r\n540\r\n3000\r\n100\r\n") << QPoint(59, 99);
    QTest::newRow("far left") << QByteArray("1\r\n906\r\n540\r\n-2000\r\n100\r\n") << QPoint(59, 99);
    QTest::newRow("above") << QByteArray("1\r\n906\r\n540\r\n10\r\n-900\r\n") << QPoint(59, 99);
    QTest::newRow("a sliver only") << QByteArray("1\r\n906\r\n540\r\n1020\r\n100\r\n") << QPoint(59, 99);
    QTest::newRow("bigger than the screen") << QByteArray("1\r\n2000\r\n1000\r\n5000\r\n5000\r\n") << QPoint(0, 0);
    QTest::newRow("partly visible stays") << QByteArray("1\r\n906\r\n540\r\n600\r\n500\r\n") << QPoint(600, 500);
}

void FormGeometryTest::offScreenPlaceComesBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QPoint, pos);
    TestFolder t;
    t.writeBytes("FormSize.ini", bytes);
    FormGeometry g;
    const FormSizeLoad load = ReadFormSize(t.folder(), g, "6", ScreenLayout::Single(1024, 768));
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Read);
    QCOMPARE(QPoint(g.FSaveLeft, g.FSaveTop), pos);
    QCOMPARE(load.movedOnScreen, pos != QPoint(600, 500));
    // The file itself is only written by the close button.
    QCOMPARE(t.readBytes("FormSize.ini"), bytes);
}

void FormGeometryTest::secondScreenPlaceIsKept()
{
    TestFolder t;
    t.writeBytes("FormSize.ini", "1\r\n906\r\n540\r\n1300\r\n100\r\n");
    ScreenLayout twoScreens = ScreenLayout::Single(1024, 768);
    twoScreens.screens.append(QRect(1024, 0, 1280, 1024));
    FormGeometry g;
    const FormSizeLoad load = ReadFormSize(t.folder(), g, "6", twoScreens);
    QVERIFY(!load.movedOnScreen);
    QCOMPARE(QPoint(g.FSaveLeft, g.FSaveTop), QPoint(1300, 100));
}

void FormGeometryTest::hugeSizeIsClampedToTheScreen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("clamped");
    // A 1280 × 1024 screen with a 40-pixel panel at the top: 1280 × 984 usable.
    QTest::newRow("100000 × 100000") << QByteArray("1\r\n100000\r\n100000\r\n10\r\n20\r\n4\r\n")
                                     << QRect(0, 40, 1280, 984) << true;
    QTest::newRow("too wide only") << QByteArray("1\r\n5000\r\n600\r\n300\r\n200\r\n") << QRect(0, 200, 1280, 600)
                                   << true;
    QTest::newRow("too high only") << QByteArray("1\r\n1000\r\n1000\r\n100\r\n500\r\n") << QRect(100, 40, 1000, 984)
                                   << true;
    QTest::newRow("fits: kept") << QByteArray("1\r\n1280\r\n984\r\n0\r\n40\r\n") << QRect(0, 40, 1280, 984) << false;
}

void FormGeometryTest::hugeSizeIsClampedToTheScreen()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QRect, geometry);
    QFETCH(bool, clamped);
    TestFolder t;
    t.writeBytes("FormSize.ini", bytes);
    ScreenLayout screen = ScreenLayout::Single(1280, 1024);
    screen.available = {QRect(0, 40, 1280, 984)};
    QWidget window;
    FormGeometry g;
    const FormSizeLoad load = LoadFormSize(&window, g, t.folder(), "6", screen);
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Read);
    QCOMPARE(QRect(g.FSaveLeft, g.FSaveTop, g.FSaveWidth, g.FSaveHeight), geometry);
    QCOMPARE(window.geometry(), geometry);
    QCOMPARE(load.sizeClamped, clamped);
    QVERIFY(RecordedMessages().isEmpty());
    // The file keeps what it holds until the close button writes it.
    QCOMPARE(t.readBytes("FormSize.ini"), bytes);
}

void FormGeometryTest::valuesNearTheIntegerLimits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray max = "2147483647", min = "-2147483648";
    QTest::newRow("all at the maximum") << "1\r\n" + max + "\r\n" + max + "\r\n" + max + "\r\n" + max + "\r\n";
    QTest::newRow("place at the maximum") << "1\r\n906\r\n540\r\n" + max + "\r\n" + max + "\r\n";
    QTest::newRow("place just below the maximum") << QByteArray("1\r\n906\r\n540\r\n2147483000\r\n2147483000\r\n");
    QTest::newRow("place at the minimum") << "1\r\n906\r\n540\r\n" + min + "\r\n" + min + "\r\n";
    QTest::newRow("size at the minimum") << "1\r\n" + min + "\r\n" + min + "\r\n0\r\n0\r\n";
    QTest::newRow("huge size at the minimum place")
        << "1\r\n" + max + "\r\n" + max + "\r\n" + min + "\r\n" + min + "\r\n";
}

void FormGeometryTest::valuesNearTheIntegerLimits()
{
    QFETCH(QByteArray, bytes);
    TestFolder t;
    t.writeBytes("FormSize.ini", bytes);
    const QRect screen(0, 0, 1024, 768);
    FormGeometry g;
    const FormSizeLoad load = ReadFormSize(t.folder(), g, "6", ScreenLayout::Single(1024, 768));
    QCOMPARE(load.outcome, FormSizeLoad::Outcome::Read);
    // The window fits the screen, or at least a good piece of it is on it.
    QVERIFY(g.FSaveWidth <= screen.width() && g.FSaveHeight <= screen.height());
    const QRect seen =
        screen.intersected(QRect(g.FSaveLeft, g.FSaveTop, std::max(1, g.FSaveWidth), std::max(1, g.FSaveHeight)));
    QVERIFY2(seen.width() >= std::min(30, std::max(1, g.FSaveWidth)), qPrintable(QString::number(g.FSaveLeft)));
    QVERIFY(seen.height() >= std::min(20, std::max(1, g.FSaveHeight)));
    QCOMPARE(t.readBytes("FormSize.ini"), bytes);
}

QTEST_MAIN(FormGeometryTest)
#include "FormGeometry_test.moc"
