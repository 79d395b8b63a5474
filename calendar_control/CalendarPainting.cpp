#include "calendar_control/CalendarPainting.h"

#include "calendar/DateValue.h"
#include "calendar_control/CalendarFonts.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <array>
#include <cmath>

int ClampByte(int value)
{
    if (value < 0)
        return 0;
    if (value > 255)
        return 255;
    return value;
}

namespace {

std::array<int, 3> Channels(TColor color)
{
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

// Round to nearest, halves to even (the default floating-point rounding mode).
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void FillGradient(QPainter& painter, const QRect& rect, int bands, int direction, TColor endColor, TColor startColor)
{
    if (bands < 1)
        return;
    const auto start = Channels(startColor);
    const auto end = Channels(endColor);
    std::array<double, 3> step{};
    for (int c = 0; c < 3; ++c)
        step[c] = static_cast<double>(end[c] - start[c]) / bands;

    // Edges as in a Windows rectangle: left/top inclusive, right/bottom exclusive.
    const double left = rect.left();
    const double top = rect.top();
    const double width = rect.width();
    const double height = rect.height();
    for (int k = 1; k <= bands; ++k) {
        std::array<int, 3> rgb{};
        for (int c = 0; c < 3; ++c)
            rgb[c] = (start[c] + RoundEven(k * step[c])) & 0xFF;
        const QColor color(rgb[0], rgb[1], rgb[2]);
        QRect band;
        if (direction == 0) {
            const int y0 = RoundEven(top + (k - 1) * height / bands);
            const int y1 = RoundEven(top + k * height / bands);
            band = QRect(rect.left(), y0, rect.width(), y1 - y0);
        } else {
            const int x0 = RoundEven(left + (k - 1) * width / bands);
            const int x1 = RoundEven(left + k * width / bands);
            band = QRect(x0, rect.top(), x1 - x0, rect.height());
        }
        if (band.width() > 0 && band.height() > 0)
            painter.fillRect(band, color);
    }
}

void BlendBitmap(QImage& dest, const QImage& source, int x, int y, std::int64_t keyColor, int percentage)
{
    if (dest.isNull() || source.isNull())
        return;
    if (dest.format() != QImage::Format_RGB32)
        dest = dest.convertToFormat(QImage::Format_RGB32);
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);

    const QRgb key = keyColor == kKeyFromSource ? (src.pixel(0, 0) & 0xFFFFFF)
                                                : (ColorFromBgr(static_cast<TColor>(keyColor)).rgb() & 0xFFFFFF);
    // Percentages are taken modulo 100, so 100 shows no picture and 150 mixes half and half.
    const int f = ((percentage % 100) + 100) % 100;
    for (int r = 0; r < src.height(); ++r) {
        const int dy = y + r;
        if (dy < 0 || dy >= dest.height())
            continue;
        const auto* srcLine = reinterpret_cast<const QRgb*>(src.constScanLine(r));
        auto* dstLine = reinterpret_cast<QRgb*>(dest.scanLine(dy));
        for (int c = 0; c < src.width(); ++c) {
            const int dx = x + c;
            if (dx < 0 || dx >= dest.width())
                continue;
            const QRgb s = srcLine[c];
            if ((s & 0xFFFFFF) == key)
                continue;
            const QRgb d = dstLine[dx];
            const int red = ClampByte(((100 - f) * qRed(d) + f * qRed(s)) / 100);
            const int green = ClampByte(((100 - f) * qGreen(d) + f * qGreen(s)) / 100);
            const int blue = ClampByte(((100 - f) * qBlue(d) + f * qBlue(s)) / 100);
            dstLine[dx] = qRgb(red, green, blue);
        }
    }
}

void FitPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight, bool centred, QRect& rect)
{
    // A picture without height has no aspect ratio: keep the rectangle.
    if (pictureHeight <= 0 || pictureWidth < 0)
        return;
    const double ratio = static_cast<double>(pictureWidth) / pictureHeight;
    int width = 0;
    int height = 0;
    if (pictureHeight < pictureWidth) {
        height = static_cast<int>(std::trunc(boxWidth / ratio));
        width = boxWidth;
        if (boxHeight < height) {
            width = static_cast<int>(std::trunc(ratio * boxHeight));
            height = boxHeight;
        }
    } else {
        width = static_cast<int>(std::trunc(ratio * boxHeight));
        height = boxHeight;
        if (boxWidth < width) {
            height = static_cast<int>(std::trunc(boxWidth / ratio));
            width = boxWidth;
        }
    }
    rect = QRect(0, 0, width, height);
    if (centred)
        rect.translate((boxWidth - width) / 2, (boxHeight - height) / 2);
}

QLocale CalendarLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::Chinese)
        return system;
    return QLocale(QLocale::Chinese, QLocale::China);
}

QString WeekDayCaption(int column, bool longName)
{
    if (longName) {
        // Day `column` counted from 30 December 1899: 1 is a Sunday.
        return CalendarLocale().dayName(qn::IsoWeekday(column), QLocale::LongFormat);
    }
    static const QString shortNames[] = {QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"),
                                         QStringLiteral("三"), QStringLiteral("四"), QStringLiteral("五"),
                                         QStringLiteral("六")};
    if (column < 1 || column > 7)
        return {};
    return shortNames[column - 1];
}

QFont PointFont(const QString& family, int points, bool bold, bool underline)
{
    QFont font(family);
    // Points at 96 dpi, rounded like MulDiv(points, 96, 72).
    font.setPixelSize((points * 96 + 36) / 72);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

QFont SongTiFont() { return ShownFont(PointFont(QStringLiteral("宋体"), 9)); }

qreal DeviceScale(const QPainter& painter)
{
    const QTransform t = painter.deviceTransform();
    const qreal scale = std::hypot(t.m11(), t.m12());
    return scale > 0 ? scale : 1.0;
}

QImage DeviceImage(const QSize& logicalSize, qreal ratio, QImage::Format format)
{
    const QSize pixels(static_cast<int>(std::ceil(logicalSize.width() * ratio - 1e-9)),
                       static_cast<int>(std::ceil(logicalSize.height() * ratio - 1e-9)));
    QImage image(pixels, format);
    image.setDevicePixelRatio(ratio);
    return image;
}

void DrawTextLine(QPainter& painter, const QRect& rect, const QString& text, int alignment)
{
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
    // Like DrawText without DT_NOCLIP: nothing is drawn outside the rectangle.
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, alignment | Qt::TextSingleLine, shown);
    painter.restore();
}

void TTextLayerCache::Draw(QPainter& painter, const QRect& rect, const QString& text, const QFont& font, TColor color,
                           int alignment)
{
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    const qreal ratio = DeviceScale(painter);
    const Key key{text,  font.key(),   font.pixelSize(), static_cast<int>(font.weight()),
                  color, rect.width(), rect.height(),    alignment,
                  ratio};
    auto found = FLayers.find(key);
    if (found == FLayers.end()) {
        if (FLayers.size() >= kMaxLayers)
            FLayers.clear();
        QImage layer = DeviceImage(rect.size(), ratio, QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        QPainter layerPainter(&layer);
        layerPainter.setFont(font);
        layerPainter.setPen(ColorFromBgr(color));
        DrawTextLine(layerPainter, QRect(QPoint(0, 0), rect.size()), text, alignment);
        layerPainter.end();
        found = FLayers.emplace(key, std::move(layer)).first;
    }
    painter.drawImage(rect.topLeft(), found->second);
}
