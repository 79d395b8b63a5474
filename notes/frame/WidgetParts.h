#pragma once
// Small pieces every window of the notebook builds its controls from.

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
