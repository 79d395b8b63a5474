#include "calendar_control/CalendarCellLines.h"

#include "calendar_control/GlyphInk.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace {

// Every text of the lower line is made of Chinese characters; these reach the
// full height of the em box in common fonts.
const QString kCnSample = QStringLiteral("初一廿正闰腊冬月节春夏秋国庆");
const QString kDaySample = QStringLiteral("0123456789");

// The rows the sample really inks, any pixel it touches counted.
TLineInk InkOf(const QFont& font, const QString& sample)
{
    const QRect ink = GlyphInkBounds(font, sample, 1);
    if (ink.isEmpty())
        return {};
    return {ink.top(), ink.bottom() + 1};
}

}  // namespace

TDayCellInk MeasureDayCellInk(const QFont& dayFont, const QFont& cnFont)
{
    return {InkOf(dayFont, kDaySample), InkOf(cnFont, kCnSample)};
}

TDayCellBaselines PlaceDayCellLines(const TDayCellInk& ink, int cellHeight)
{
    const int free = cellHeight - ink.Day.Height() - ink.Cn.Height();
    int gap = std::clamp(free / 3, 1, 3);
    if (free < gap)
        gap = std::max(0, free);
    const int top = (cellHeight - (ink.Day.Height() + gap + ink.Cn.Height())) / 2;
    return {top - ink.Day.Top, top + ink.Day.Height() + gap - ink.Cn.Top};
}

void DrawCentredOnBaseline(QPainter& painter, const QRect& rect, int baseline, const QString& text)
{
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    const QFontMetricsF metrics = painter.fontMetrics();
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    const qreal x = rect.left() + std::floor((rect.width() - metrics.horizontalAdvance(shown)) / 2);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(QPointF(x, baseline), shown);
    painter.restore();
}
