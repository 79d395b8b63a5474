#pragma once
// The pictures of the window skins, painted in code so that they stay crisp
// and consistent: one light palette of soft blues with a red close button.

#include "notes/frame/SkinButton.h"

#include <QColor>
#include <QPixmap>

namespace qn::skin {

// The palette shared by every skin picture and the dialogs.
inline const QColor kAccent(0x3A, 0x78, 0xC9);  // the blue of buttons and titles
inline const QColor kAccentLight(0x8D, 0xB3, 0xEA);
inline const QColor kPaleBlue(0xEA, 0xF1, 0xFD);
inline const QColor kFrame(0x99, 0xA8, 0xCE);  // thin window frames
inline const QColor kGlyph(0x5C, 0x6B, 0x80);  // caption glyphs at rest
inline const QColor kCloseRed(0xE0, 0x4B, 0x43);
inline const QColor kCloseRedDown(0xB0, 0x32, 0x2C);

enum class ButtonKind { Close, Minimise };

QPixmap CaptionButton(ButtonKind kind, SkinState state);  // close 39 × 20, minimise 28 × 20
QPixmap FloatingBadge();                                  // imgBG of the floating window, 50 × 50
QPixmap AppToDesk();                                      // imgAppToDesk, 84 × 29
QPixmap LoginSide();                                      // Image3 of the login window, 99 × 120
QPixmap LoginStrip(const QSize& size, bool top);          // Image1 (top) / Image2 (bottom)
QPixmap LoginHeader();                                    // img1, 140 × 35
QPixmap PasswordTitleStrip(const QSize& size);            // Image1 of the password window
QPixmap PasswordIcon();                                   // Image2, 24 × 24
QPixmap PasswordBody();                                   // Image3, 100 × 110

}  // namespace qn::skin
