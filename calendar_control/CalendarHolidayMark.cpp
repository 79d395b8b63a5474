#include "calendar_control/CalendarHolidayMark.h"

#include <QColor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace {

constexpr int kSmallestMarkPixels = 6;
// Ink to the cell's right edge: the selection frame's pixel and one free.
constexpr int kEdgeInset = 2;
// The white plate reaches this far beyond the ink.
constexpr int kPlatePadding = 1;

// Pixels covered at least this much count as the glyph's ink; the faint
// edge of smoothing around small glyphs does not.
constexpr int kInkAlpha = 96;

// The box the text inks, relative to the pen on the baseline, found by
// drawing it once: font metrics give the line box, not the glyphs.
QRect InkBounds(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    const int margin = 4;
    const int baseline = metrics.ascent() + margin;
    QImage image(metrics.horizontalAdvance(text) + 2 * margin, metrics.height() + 2 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(margin, baseline, text);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) >= kInkAlpha)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.translated(-margin, -baseline);
}

// Either mark drawn from the same pen position stays inside this box.
QRect MarkInk(const QFont& font)
{
    return InkBounds(font, QStringLiteral("休")) | InkBounds(font, QStringLiteral("班"));
}

}  // namespace

THolidayMarkStyle MeasureHolidayMark(const QFont& dayFont, int dayInkHeight)
{
    QFont font = dayFont;
    font.setBold(false);
    font.setUnderline(false);
    QRect ink;
    for (int pixels = QFontInfo(dayFont).pixelSize(); pixels >= kSmallestMarkPixels; --pixels) {
        font.setPixelSize(pixels);
        ink = MarkInk(font);
        if (ink.height() <= dayInkHeight)
            break;
    }
    return {font, ink};
}

void DrawHolidayMark(QPainter& painter, const QRect& cell, int inkTop, const THolidayMarkStyle& style,
                     const QString& mark, const QColor& color, bool onSelection)
{
    if (mark.isEmpty() || cell.isEmpty())
        return;
    // Where the ink goes: right-aligned in the cell, its top on inkTop.
    const QRect ink(cell.right() + 1 - kEdgeInset - style.Ink.width(), inkTop, style.Ink.width(), style.Ink.height());
    painter.save();
    // Inside the selection frame, which stays whole; the faint smoothing at
    // the glyph's edge never reaches it either.
    const QRect inside = cell.adjusted(1, 1, -1, -1);
    painter.setClipRect(inside, Qt::IntersectClip);
    if (onSelection)
        painter.fillRect(ink.adjusted(-kPlatePadding, -kPlatePadding, kPlatePadding, kPlatePadding) & inside,
                         Qt::white);
    painter.setFont(style.Font);
    painter.setPen(color);
    painter.drawText(QPoint(ink.left() - style.Ink.left(), ink.top() - style.Ink.top()), mark);
    painter.restore();
}
