#include "notes/frame/MainSkin.h"

#include "notes/frame/SkinPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

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

QPixmap MainLogo()
{
    QPixmap pixmap = Blank(QSize(210, 56));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A small desk calendar: blue top, two rings, the page.
    const QRectF page(6, 10, 38, 38);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 5, 5);
    QPainterPath top;
    top.addRoundedRect(QRectF(6, 10, 38, 12), 5, 5);
    p.fillPath(top, kAccent);
    p.fillRect(QRectF(6, 17, 38, 5), kAccent);
    p.setPen(QPen(kFrame, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(page, 5, 5);
    p.setPen(QPen(kGlyph, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 6), QPointF(16, 14));
    p.drawLine(QPointF(34, 6), QPointF(34, 14));
    QFont dayFont(QStringLiteral("黑体"));
    dayFont.setPixelSize(17);
    dayFont.setBold(true);
    p.setFont(dayFont);
    p.setPen(kAccent);
    p.drawText(QRectF(6, 22, 38, 26), Qt::AlignCenter, QStringLiteral("周"));

    QFont title(QStringLiteral("微软雅黑"));
    title.setPixelSize(22);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x2B, 0x4F, 0x86));
    p.drawText(QRectF(54, 6, 156, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QN周记事本"));
    QFont sub(QStringLiteral("微软雅黑"));
    sub.setPixelSize(11);
    p.setFont(sub);
    p.setPen(kGlyph);
    p.drawText(QRectF(56, 34, 154, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("一周一页 · 农历相伴"));
    return pixmap;
}

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

QPixmap FontIcon()
{
    QPixmap pixmap = Blank(QSize(20, 17));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x2B, 0x4F, 0x86));
    p.drawText(QRect(0, 0, 13, 17), Qt::AlignCenter, QStringLiteral("A"));
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(kAccent);
    p.drawText(QRect(11, 4, 9, 13), Qt::AlignCenter, QStringLiteral("a"));
    return pixmap;
}

QPixmap TimeIcon()
{
    QPixmap pixmap = Blank(QSize(37, 21));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccent, 1.6));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 2.5, 16, 16));
    p.setPen(QPen(QColor(0x2B, 0x4F, 0x86), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 10.5), QPointF(9.5, 5.5));
    p.drawLine(QPointF(9.5, 10.5), QPointF(13, 12.5));
    QFont f(QStringLiteral("微软雅黑"));
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(0x2B, 0x4F, 0x86));
    p.drawText(QRect(19, 0, 18, 21), Qt::AlignCenter, QStringLiteral("时"));
    return pixmap;
}

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
