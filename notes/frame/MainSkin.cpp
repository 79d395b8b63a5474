#include "notes/frame/MainSkin.h"

#include "notes/frame/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace qn::skin {

namespace {

QPixmap Blank(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap MainBackground(int width)
{
    // A soft band behind the top bar that fades into white, so the window
    // reads as one sheet of paper with a header. Only the band is a
    // picture: below it the window's own white shows, and a window-sized
    // picture would hold megabytes for nothing.
    QPixmap pixmap(std::max(1, width), kBandHeight);
    QPainter p(&pixmap);
    QLinearGradient band(0, 0, 0, kBandHeight);
    band.setColorAt(0, QColor(0xE4, 0xEE, 0xFC));
    band.setColorAt(1, QColor(0xFA, 0xFC, 0xFF));
    p.fillRect(pixmap.rect(), band);
    p.setPen(QColor(0xD8, 0xE3, 0xF3));
    p.drawLine(0, kBandHeight - 1, pixmap.width(), kBandHeight - 1);
    return pixmap;
}

QPixmap MainLogo() { return QPixmap(QStringLiteral(":/skin/logo.png")); }

QPixmap HeaderStrip(const QSize& size)
{
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0xF7, 0xFA, 0xFF));
    g.setColorAt(1, QColor(0xE6, 0xEE, 0xFB));
    p.fillRect(pixmap.rect(), g);
    p.setPen(QColor(0xDC, 0xE3, 0xFF));
    p.drawLine(0, size.height() - 1, size.width(), size.height() - 1);
    return pixmap;
}

QPixmap HighlightStrip(const QSize& size)
{
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0xD4, 0xE6, 0xFF));
    g.setColorAt(1, QColor(0xB2, 0xD0, 0xF8));
    p.fillRect(pixmap.rect(), g);
    p.fillRect(QRect(0, size.height() - 3, size.width(), 3), kAccent);
    return pixmap;
}

QPixmap FontIcon() { return QPixmap(QStringLiteral(":/skin/font-size.png")); }

QPixmap TimeIcon() { return QPixmap(QStringLiteral(":/skin/insert-time.png")); }

QPixmap ColorIcon()
{
    QPixmap pixmap = Blank(QSize(20, 11));
    QPainter p(&pixmap);
    const QColor colours[] = {QColor(0xE0, 0x4B, 0x43), QColor(0xF2, 0xA5, 0x3A), QColor(0x4C, 0xAF, 0x50), kAccent};
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRect(i * 5, 0, 5, 11), colours[i]);
    p.setPen(kFrame);
    p.drawRect(QRect(0, 0, 19, 10));
    return pixmap;
}

}  // namespace qn::skin
