#pragma once
// Where a text really puts ink, found by drawing it once: font metrics give
// only the line box, and their tight bounds are rounded outwards.

#include <QFont>
#include <QRect>
#include <QString>

// The box of the pixels the text covers at least `minAlpha` (1–255), relative
// to the pen on the baseline; an empty box when it inks nothing.
QRect GlyphInkBounds(const QFont& font, const QString& text, int minAlpha);
