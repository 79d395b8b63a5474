#pragma once
// The main window's pictures, painted in code in the same light palette as
// the dialogs: background, logo, header strips, highlight strip and the
// toolbar icons.

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
