#pragma once
// Small helpers shared by the calendar control tests.

#include "calendar/DateValue.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <cmath>

inline double Date(int year, int month, int day) { return qn::EncodeDate(year, month, day); }

inline QString DateText(double value)
{
    const qn::CivilDate d = qn::DecodeDate(value);
    return QStringLiteral("%1-%2-%3").arg(d.year).arg(d.month).arg(d.day);
}

// Colour of row `y` of a `bands`-band vertical gradient `height` pixels high:
// the last band whose rounded edges cover the row wins.
inline QColor GradientRowColor(int y, int height, int bands, QColor start, QColor end)
{
    QColor result;
    for (int k = 1; k <= bands; ++k) {
        const int top = static_cast<int>(std::nearbyint(static_cast<double>(k - 1) * height / bands));
        const int bottom = static_cast<int>(std::nearbyint(static_cast<double>(k) * height / bands));
        if (top <= y && y < bottom) {
            const auto channel = [&](int s, int e) {
                return (s + static_cast<int>(std::nearbyint(k * static_cast<double>(e - s) / bands))) & 0xFF;
            };
            result = QColor(channel(start.red(), end.red()), channel(start.green(), end.green()),
                            channel(start.blue(), end.blue()));
        }
    }
    return result;
}

// Blocks of ratio x ratio device pixels of `image`, one per logical pixel of
// `area`, whose pixels are not all alike: detail finer than a logical pixel,
// which a picture drawn at ratio 1 and scaled up cannot have.
inline int DetailedBlocks(const QImage& image, const QRect& area, int ratio)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb first = image.pixel(x * ratio, y * ratio);
            bool alike = true;
            for (int dy = 0; dy < ratio && alike; ++dy)
                for (int dx = 0; dx < ratio && alike; ++dx)
                    alike = image.pixel(x * ratio + dx, y * ratio + dy) == first;
            count += alike ? 0 : 1;
        }
    }
    return count;
}

// The device pixels of a logical rectangle drawn at `ratio` (edges rounded to
// the nearest device pixel, as a filled rectangle's are).
inline QRect DeviceRect(const QRect& logical, qreal ratio)
{
    const int left = static_cast<int>(std::lround(logical.left() * ratio));
    const int top = static_cast<int>(std::lround(logical.top() * ratio));
    const int right = static_cast<int>(std::lround((logical.left() + logical.width()) * ratio));
    const int bottom = static_cast<int>(std::lround((logical.top() + logical.height()) * ratio));
    return QRect(left, top, right - left, bottom - top);
}

// The smallest box (pixel indices of `area`) holding every pixel where `a`
// and `b` differ; a null rectangle when they are alike there.
inline QRect DifferingBox(const QImage& a, const QImage& b, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
