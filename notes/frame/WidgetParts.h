#pragma once
// Small pieces every window of the notebook builds its controls from.

#include "calendar_control/CalendarFonts.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QString>

namespace qn {

// A font of the given family at a size in pixels (the windows are designed
// for 96 dpi, where their point sizes are these pixel sizes).
inline QFont PixelFont(const QString& family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// PixelFont as it is drawn (ShownFont), for labels and buttons: their family
// is never read back, and a missing one costs a search of every font.
inline QFont ControlFont(const QString& family, int pixels, bool bold = false)
{
    return ShownFont(PixelFont(family, pixels, bold));
}

// A named picture stretched over rect.
inline QLabel* PictureLabel(QWidget* parent, const QString& name, const QPixmap& pixmap, const QRect& rect)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pixmap);
    label->setScaledContents(true);
    label->setGeometry(rect);
    return label;
}

}  // namespace qn
