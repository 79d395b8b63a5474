#include "FontMapping.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace qn {

void MapWindowsFonts()
{
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                              QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList heavyLatin = {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), serif);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), serif);
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"), sans);
    QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei"), sans);
    QFont::insertSubstitutions(QStringLiteral("黑体"), sans);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial Black"), heavyLatin);

    // Text in widgets that ask for no particular font still needs Chinese glyphs.
    if (QFontDatabase::families().contains(sans.first())) {
        QFont base = QGuiApplication::font();
        base.setFamilies({QStringLiteral("DejaVu Sans"), sans.first()});
        QGuiApplication::setFont(base);
    }
}

}  // namespace qn
