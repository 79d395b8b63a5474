#pragma once
// The small 休 / 班 mark in the top right corner of a day cell. It stands on
// the day number's line, no taller than the digits and right of them, so it
// never touches the number or the lunar text under it and neither has to
// move. It is drawn as text, so it is sharp at any scale.

#include <QFont>
#include <QRect>

class QColor;
class QPainter;
class QString;

// The mark's font and the box its glyphs ink, relative to the pen position
// on the baseline (top is negative: above the baseline).
struct THolidayMarkStyle {
    QFont Font;
    QRect Ink;
};

// The largest size of `dayFont`'s family, not bold, at which the marks ink no
// more rows than `dayInkHeight` (the height of the day number's digits).
THolidayMarkStyle MeasureHolidayMark(const QFont& dayFont, int dayInkHeight);

// Draws `mark` in a cell `cell` (cell coordinates) with its ink's top on row
// `inkTop` (the top of the day number's ink) and its right edge two pixels
// inside the cell, clear of the selection frame. On the selection's coloured
// ground the mark gets a small white plate, so that red and dark stay
// readable on it.
void DrawHolidayMark(QPainter& painter, const QRect& cell, int inkTop, const THolidayMarkStyle& style,
                     const QString& mark, const QColor& color, bool onSelection);
