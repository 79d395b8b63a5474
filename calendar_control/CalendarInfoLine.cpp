#include "calendar_control/CalendarInfoLine.h"

#include <QFontMetrics>

QString FitInfoLine(const QString& datePart, const QString& lunarPart, const QFontMetrics& metrics, int width)
{
    const QString full = datePart + lunarPart;
    if (metrics.horizontalAdvance(full) <= width)
        return full;
    const int lunarWidth = metrics.horizontalAdvance(lunarPart);
    if (lunarWidth < width) {
        const QString shortDate = metrics.elidedText(datePart, Qt::ElideMiddle, width - lunarWidth);
        const QString line = shortDate + lunarPart;
        if (!shortDate.isEmpty() && metrics.horizontalAdvance(line) <= width)
            return line;
    }
    return metrics.elidedText(full, Qt::ElideRight, width);
}
