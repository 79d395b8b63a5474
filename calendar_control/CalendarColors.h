#pragma once
// Colours of the calendar are kept as 24-bit values 0x00BBGGRR (blue in the
// high byte), the form in which the main window and the defaults give them.
// They become QColor only at the moment of drawing.

#include <QColor>

#include <cstdint>

using TColor = std::uint32_t;

namespace calcolor {
inline constexpr TColor Black = 0;
inline constexpr TColor Red = 255;
inline constexpr TColor Green = 32768;
inline constexpr TColor Blue = 16711680;
inline constexpr TColor Grey = 8421504;
inline constexpr TColor White = 16777215;
}  // namespace calcolor

// 0x00BBGGRR -> QColor (the high byte is ignored).
QColor ColorFromBgr(TColor value);
// QColor -> 0x00BBGGRR.
TColor BgrFromColor(const QColor& color);
