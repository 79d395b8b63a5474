#pragma once
// Where the two lines of a day cell stand. The day number and the text under
// it are placed by the ink of their glyphs, not by the fonts' line boxes, so
// that each day's pair sits close together and clearly apart from the pair
// of the next row.

#include <QString>

class QFont;
class QPainter;
class QRect;

// Ink of a line's glyphs relative to its baseline (top is negative: above).
struct TLineInk {
    int Top = 0;
    int Bottom = 0;
    int Height() const { return Bottom - Top; }
};

// Ink of the day numbers (digits) and of the lunar texts (Chinese characters)
// in their fonts.
struct TDayCellInk {
    TLineInk Day;
    TLineInk Cn;
};

TDayCellInk MeasureDayCellInk(const QFont& dayFont, const QFont& cnFont);

// Baselines of the two lines in a cell `cellHeight` pixels high (cell
// coordinates).
struct TDayCellBaselines {
    int Day = 0;
    int Cn = 0;
};

// The pair is centred in the cell with a small gap between the two inks, at
// most a third of the free height, so the space to the next row's number is
// always the larger one.
TDayCellBaselines PlaceDayCellLines(const TDayCellInk& ink, int cellHeight);

// Draws `text` with its baseline at `baseline`, centred horizontally inside
// `rect`, shortened with an ellipsis when too wide and clipped to `rect`.
void DrawCentredOnBaseline(QPainter& painter, const QRect& rect, int baseline, const QString& text);
