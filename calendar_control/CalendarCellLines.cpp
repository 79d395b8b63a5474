#include "calendar_control/CalendarCellLines.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace {

// Every text of the lower line is made of Chinese characters; these reach the
// full height of the em box in common fonts.
const QString kCnSample = QStringLiteral("初一廿正闰腊冬月节春夏秋国庆");
const QString kDaySample = QStringLiteral("0123456789");

// The rows the sample really inks, found by drawing it once: font metrics
// only give the line box, and their tight bounds are rounded outwards.
TLineInk InkOf(const QFont& font, const QString& sample)
{
    const QFontMetrics metrics(font);
    const int margin = 4;
    const int baseline = metrics.ascent() + margin;
    QImage image(metrics.horizontalAdvance(sample) + 2 * margin, metrics.height() + 2 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(margin, baseline, sample);
    }
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(line, line + image.width(), [](QRgb pixel) { return qAlpha(pixel) != 0; })) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    if (first < 0)
        return {};
    return {first - baseline, last + 1 - baseline};
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
