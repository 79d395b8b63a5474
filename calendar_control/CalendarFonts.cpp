#include "calendar_control/CalendarFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QStringList>

namespace {

// Whether a family is installed, by its name in the font database's list
// (any case). Asking QFontDatabase::hasFamily instead runs the whole font
// configuration for every name, which cost a fifth of the start-up; the
// names a configuration would map elsewhere get our own mapping below.
class InstalledFamilies {
public:
    InstalledFamilies()
    {
        const QStringList families = QFontDatabase::families();
        m_known.reserve(families.size());
        for (const QString& family : families)
            m_known.insert(family.toCaseFolded());
    }

    bool Has(const QString& family) const { return m_known.contains(family.toCaseFolded()); }

private:
    QSet<QString> m_known;
};

// Each missing family and the installed family that stands in for it.
QHash<QString, QString>& StandIns()
{
    static QHash<QString, QString> standIns;
    return standIns;
}

void Substitute(InstalledFamilies& installedFamilies, const QString& family, const QStringList& candidates)
{
    if (installedFamilies.Has(family))
        return;
    QStringList installed;
    for (const QString& candidate : candidates) {
        if (installedFamilies.Has(candidate))
            installed << candidate;
    }
    if (!installed.isEmpty()) {
        QFont::insertSubstitutions(family, installed);
        StandIns().insert(family, installed.first());
    }
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

QFont ShownFont(const QFont& font)
{
    const auto standIn = StandIns().constFind(font.family());
    if (standIn == StandIns().constEnd())
        return font;
    QFont shown = font;
    shown.setFamilies({*standIn});
    return shown;
}
