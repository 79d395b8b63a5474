#pragma once
// The main window's pictures in the same light palette as the dialogs:
// background, logo, header strips, highlight strip and the toolbar icons.
// The pictures with lettering (the logo, the font and time icons) are PNG
// files (pictures/): drawing their letters at start loaded five faces of
// their own, a sixth of the time to the first painting. The others are
// painted in code to the size they are shown at.

#include <QPixmap>
#include <QSize>

namespace qn::skin {

QPixmap MainBackground(int width);  // imgBG: the band behind the top bar, kBandHeight high
constexpr int kBandHeight = 80;
QPixmap MainLogo();                         // imgLogo, 210 × 56
QPixmap HeaderStrip(const QSize& size);     // imgtitle_year1/2, 26 high
QPixmap HighlightStrip(const QSize& size);  // imgSelColor, 26 high
QPixmap FontIcon();                         // imgFont, 20 × 17
QPixmap TimeIcon();                         // imgDate, 37 × 21
QPixmap ColorIcon();                        // imgRedColor, 20 × 11

}  // namespace qn::skin
