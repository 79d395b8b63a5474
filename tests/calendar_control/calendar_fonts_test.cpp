// The Windows font families and the installed ones that stand in for them.

#include "calendar_control/CalendarFonts.h"
#include "calendar_control/CalendarPainting.h"
#include "tests/support/RenderedText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

namespace {

QFont Sized(const QString& family, int pixels, int weight, bool underline = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Weight(weight));
    font.setUnderline(underline);
    return font;
}

}  // namespace

class CalendarFontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void shownFontDrawsWhatTheNamedFamilyDraws_data();
    void shownFontDrawsWhatTheNamedFamilyDraws();
    void installedAndUnknownFamiliesAreLeftAlone();
};

void CalendarFontsTest::initTestCase()
{
    InstallWindowsFontSubstitutes();
    if (QFontDatabase::hasFamily(QStringLiteral("宋体")))
        QSKIP("宋体 is installed here: nothing stands in for it");
}

void CalendarFontsTest::shownFontDrawsWhatTheNamedFamilyDraws_data()
{
    QTest::addColumn<QFont>("font");
    QTest::newRow("宋体 12 px") << Sized(QStringLiteral("宋体"), 12, QFont::Normal);
    QTest::newRow("宋体 15 px underlined") << Sized(QStringLiteral("宋体"), 15, QFont::Normal, true);
    QTest::newRow("黑体 12 px bold") << Sized(QStringLiteral("黑体"), 12, QFont::Bold);
    QTest::newRow("微软雅黑 22 px bold") << Sized(QStringLiteral("微软雅黑"), 22, QFont::Bold);
    QTest::newRow("Arial 32 px bold") << Sized(QStringLiteral("Arial"), 32, QFont::Bold);
    QTest::newRow("Arial Black 64 px black") << Sized(QStringLiteral("Arial Black"), 64, QFont::Black);
}

// The stand-in is the face Qt reaches through the substitutes itself, with
// every attribute kept: the same letters, pixel for pixel.
void CalendarFontsTest::shownFontDrawsWhatTheNamedFamilyDraws()
{
    QFETCH(QFont, font);
    const QFont shown = ShownFont(font);
    QVERIFY(shown.family() != font.family());
    QCOMPARE(QFontInfo(shown).family(), QFontInfo(font).family());
    QCOMPARE(shown.pixelSize(), font.pixelSize());
    QCOMPARE(shown.weight(), font.weight());
    QCOMPARE(shown.underline(), font.underline());
    const QString text = QStringLiteral("周一 2024年 腊月");
    QCOMPARE(qn::test::RenderedText(shown, text), qn::test::RenderedText(font, text));
}

void CalendarFontsTest::installedAndUnknownFamiliesAreLeftAlone()
{
    for (const QString& family : QFontDatabase::families().mid(0, 5)) {
        const QFont font = Sized(family, 13, QFont::Bold);
        QCOMPARE(ShownFont(font), font);
    }
    const QFont unknown = Sized(QStringLiteral("No Such Family"), 13, QFont::Normal);
    QCOMPARE(ShownFont(unknown), unknown);
}

QTEST_MAIN(CalendarFontsTest)
#include "calendar_fonts_test.moc"
