#include "CalendarFonts.h"

#include <QFont>
#include <QFontDatabase>
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

void InstallCalendarFontSubstitutes()
{
    Substitute(QStringLiteral("宋体"), {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    Substitute(QStringLiteral("黑体"), {QStringLiteral("SimHei"), QStringLiteral("Noto Sans CJK SC"),
                                      QStringLiteral("WenQuanYi Micro Hei")});
    Substitute(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    Substitute(QStringLiteral("Arial Black"), {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}
