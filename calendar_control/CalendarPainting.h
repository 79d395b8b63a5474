#pragma once
// Drawing helpers of the calendar: gradient bands, blending of the background
// picture, fitting a picture into a box, weekday captions and one-line text.
// They work on QImage/QPainter and know nothing of the control.

#include "calendar_control/CalendarColors.h"

#include <QFont>
#include <QLocale>
#include <QRect>
#include <QString>

#include <QImage>

#include <cstdint>
#include <map>
#include <tuple>

class QImage;
class QPainter;

// Clamps to 0..255.
int ClampByte(int value);

// Fills `rect` with `bands` bands of colour running from `startColor` to
// `endColor`: direction 0 gives horizontal bands from top to bottom, 1
// vertical bands from left to right. Band k (1..bands) gets start + round(k *
// step) per channel, step = (end - start) / bands. Nothing is drawn for
// bands < 1.
void FillGradient(QPainter& painter, const QRect& rect, int bands, int direction, TColor endColor, TColor startColor);

// Key colour value meaning "the source's top-left pixel".
inline constexpr std::int64_t kKeyFromSource = -1;

// Mixes `source` into `dest` at (x, y): every source pixel whose colour is not
// `keyColor` (0x00BBGGRR, or kKeyFromSource) becomes
// ((100 - f) * dest + f * source) / 100 per channel with f = percentage % 100.
// Both images are brought to 32-bit RGB first.
void BlendBitmap(QImage& dest, const QImage& source, int x, int y, std::int64_t keyColor, int percentage);

// The largest rectangle of the picture's aspect ratio inside a bw x bh box,
// optionally centred. Leaves `rect` unchanged when the picture has no size.
void FitPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight, bool centred, QRect& rect);

// The locale for weekday and month names: the system's when it is Chinese,
// Simplified Chinese otherwise (the whole interface is Chinese).
QLocale CalendarLocale();

// Weekday caption for grid column `column` (1 = Sunday .. 7 = Saturday):
// the locale's full weekday name when `longName`, else one character.
QString WeekDayCaption(int column, bool longName);

// A font sized in points as on a 96 dpi screen (9 pt = 12 pixels).
QFont PointFont(const QString& family, int points, bool bold = false, bool underline = false);
// 宋体 9 pt, the small text of the calendar, as drawn (ShownFont).
QFont SongTiFont();

// Device pixels per logical pixel of what `painter` draws on: the screen's
// ratio for a widget, the image's when a widget is rendered into an image.
qreal DeviceScale(const QPainter& painter);

// An image of `logicalSize` to be drawn at `ratio` device pixels per logical
// pixel: that many device pixels (rounded up), marked with the ratio.
QImage DeviceImage(const QSize& logicalSize, qreal ratio, QImage::Format format);

// Draws `text` on one line inside `rect`, shortened with an ellipsis when too
// wide, aligned by `alignment` (horizontal and vertical flags).
void DrawTextLine(QPainter& painter, const QRect& rect, const QString& text, int alignment);

// Large one-line texts (the year and month watermarks) are slow to draw from
// their outlines. The cache keeps each drawn text as a transparent layer the
// size of its rectangle (in device pixels) and reuses it while text, font, colour and size stay.
class TTextLayerCache {
public:
    // Draws like DrawTextLine(painter, rect, text, alignment) in `color`.
    void Draw(QPainter& painter, const QRect& rect, const QString& text, const QFont& font, TColor color,
              int alignment);

private:
    using Key = std::tuple<QString, QString, int, int, TColor, int, int, int, qreal>;
    static constexpr std::size_t kMaxLayers = 32;
    std::map<Key, QImage> FLayers;
};
