#include "calendar_control/CalendarColors.h"

QColor ColorFromBgr(TColor value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

TColor BgrFromColor(const QColor& color)
{
    return static_cast<TColor>(color.red()) | (static_cast<TColor>(color.green()) << 8)
        | (static_cast<TColor>(color.blue()) << 16);
}
