#include "calendar_control/CalendarFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace {

void Substitute(const QString& family, const QStringList& candidates)
{
    if (QFontDatabase::hasFamily(family))
        return;
    QStringList installed;
    for (const QString& candidate : candidates) {
        if (QFontDatabase::hasFamily(candidate))
            installed << candidate;
    }
    if (!installed.isEmpty())
        QFont::insertSubstitutions(family, installed);
}

}  // namespace

void InstallWindowsFontSubstitutes()
{
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    Substitute(QStringLiteral("宋体"), QStringList{QStringLiteral("SimSun")} + serif);
    Substitute(QStringLiteral("SimSun"), serif);
    Substitute(QStringLiteral("黑体"), QStringList{QStringLiteral("SimHei")} + sans);
    Substitute(QStringLiteral("SimHei"), sans);
    Substitute(QStringLiteral("微软雅黑"), QStringList{QStringLiteral("Microsoft YaHei")} + sans);
    Substitute(QStringLiteral("Microsoft YaHei"), sans);
    Substitute(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    Substitute(QStringLiteral("Arial Black"), {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});

    // Widgets that ask for no family still need Chinese glyphs.
    if (QFontDatabase::hasFamily(sans.first())) {
        QFont base = QGuiApplication::font();
        if (!base.families().contains(sans.first())) {
            base.setFamilies({base.family(), sans.first()});
            QGuiApplication::setFont(base);
        }
    }
}
