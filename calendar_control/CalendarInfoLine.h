#pragma once
// The info line under the grid must stay inside the control. A long era text
// (some emperors' names fill half the line) is shortened in its middle, so
// that the dynasty, the era year and the whole lunar date stay readable.

#include <QString>

class QFontMetrics;

// `datePart` is the date or the era text, `lunarPart` the lunar date that
// follows it (" 农历…"). Returns both joined when they fit in `width`
// pixels; otherwise the date part elided in its middle; and only when even
// the lunar date alone does not fit, the whole line elided at its end.
QString FitInfoLine(const QString& datePart, const QString& lunarPart, const QFontMetrics& metrics, int width);
