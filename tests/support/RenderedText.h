#pragma once
// Text drawn black on white into an image, for tests that compare what two
// fonts (or two moments of one font) put on screen.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace qn::test {

inline QImage RenderedText(const QFont& font, const QString& text)
{
    QImage image(200, 90, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

}  // namespace qn::test
