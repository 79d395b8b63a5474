#include "calendar_control/CalendarFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>

namespace {

// Whether a family is installed, asked of the font database once per name:
// every question runs the whole font configuration, and the lists below
// name the same fonts many times.
class InstalledFamilies {
public:
    bool Has(const QString& family)
    {
        auto found = m_known.constFind(family);
        if (found == m_known.constEnd())
            found = m_known.insert(family, QFontDatabase::hasFamily(family));
        return *found;
    }

private:
    QHash<QString, bool> m_known;
};

void Substitute(InstalledFamilies& installedFamilies, const QString& family, const QStringList& candidates)
{
    if (installedFamilies.Has(family))
        return;
    QStringList installed;
    for (const QString& candidate : candidates) {
        if (installedFamilies.Has(candidate))
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
    InstalledFamilies installed;
    Substitute(installed, QStringLiteral("宋体"), QStringList{QStringLiteral("SimSun")} + serif);
    Substitute(installed, QStringLiteral("SimSun"), serif);
    Substitute(installed, QStringLiteral("黑体"), QStringList{QStringLiteral("SimHei")} + sans);
    Substitute(installed, QStringLiteral("SimHei"), sans);
    Substitute(installed, QStringLiteral("微软雅黑"), QStringList{QStringLiteral("Microsoft YaHei")} + sans);
    Substitute(installed, QStringLiteral("Microsoft YaHei"), sans);
    Substitute(installed, QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    Substitute(installed, QStringLiteral("Arial Black"),
               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});

    // Widgets that ask for no family still need Chinese glyphs.
    if (installed.Has(sans.first())) {
        QFont base = QGuiApplication::font();
        if (!base.families().contains(sans.first())) {
            base.setFamilies({base.family(), sans.first()});
            QGuiApplication::setFont(base);
        }
    }
}
