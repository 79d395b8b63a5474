#pragma once

#include <QFont>

// The windows ask for the Windows font families 宋体, 微软雅黑, 黑体, Arial and
// Arial Black. Where they are not installed, map them to fonts that are, so
// that Chinese text never renders as boxes and the digits keep a similar
// look. Text that asks for no particular family gets a Chinese-capable font too.

// Safe to call more than once; needs a QGuiApplication.
void InstallWindowsFontSubstitutes();

// The font text in `font` is drawn in: where it names a Windows family that
// is not installed, the same font in the family that stands in for it, the
// one Qt would pick through the substitutes above. Qt picks it only after
// asking the font configuration for every font sorted by likeness, for each
// missing name and script, a few milliseconds each: at start that was a
// tenth of the time to the first painting. Fonts that tell their family to
// the user or the notes (the calendar's FontDate, the boxes' text) keep the
// name they were given; only what is measured and drawn uses this.
QFont ShownFont(const QFont& font);
