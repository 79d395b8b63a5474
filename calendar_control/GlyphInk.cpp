#include "calendar_control/GlyphInk.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

QRect GlyphInkBounds(const QFont& font, const QString& text, int minAlpha)
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
    int left = image.width(), right = -1, top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < minAlpha)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    if (top < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(-margin, -baseline);
}
