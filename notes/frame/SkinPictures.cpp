#include "notes/frame/SkinPictures.h"

#include "notes/frame/WidgetParts.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qn::skin {

namespace {

QPixmap Transparent(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QFont UiFont(int pixelSize, bool bold = false) { return ControlFont(QStringLiteral("微软雅黑"), pixelSize, bold); }

// A padlock whose body fills the rect's lower part.
void DrawPadlock(QPainter& p, const QRectF& rect, const QColor& body, const QColor& hole)
{
    const qreal w = rect.width();
    const qreal h = rect.height();
    const QRectF bodyRect(rect.left(), rect.top() + h * 0.42, w, h * 0.58);
    QPen shackle(body.darker(115), w * 0.13, Qt::SolidLine, Qt::RoundCap);
    p.setPen(shackle);
    p.setBrush(Qt::NoBrush);
    const QRectF arc(rect.left() + w * 0.2, rect.top() + w * 0.065, w * 0.6, h * 0.7);
    QPainterPath path;
    path.moveTo(arc.left(), bodyRect.top());
    path.lineTo(arc.left(), arc.top() + arc.width() / 2);
    path.arcTo(QRectF(arc.left(), arc.top(), arc.width(), arc.width()), 180, -180);
    path.lineTo(arc.right(), bodyRect.top());
    p.drawPath(path);

    QLinearGradient fill(bodyRect.topLeft(), bodyRect.bottomLeft());
    fill.setColorAt(0, body.lighter(112));
    fill.setColorAt(1, body.darker(108));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(bodyRect, w * 0.12, w * 0.12);

    const QPointF centre(bodyRect.center().x(), bodyRect.top() + bodyRect.height() * 0.42);
    p.setBrush(hole);
    p.drawEllipse(centre, w * 0.09, w * 0.09);
    p.drawRoundedRect(QRectF(centre.x() - w * 0.035, centre.y(), w * 0.07, bodyRect.height() * 0.3), 1, 1);
}

}  // namespace

QPixmap CaptionButton(ButtonKind kind, SkinState state)
{
    const QSize size = kind == ButtonKind::Close ? QSize(39, 20) : QSize(28, 20);
    QPixmap pixmap = Transparent(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QColor background = Qt::transparent;
    QColor glyph = kGlyph;
    if (kind == ButtonKind::Close) {
        if (state == SkinState::Highlight)
            background = kCloseRed;
        else if (state == SkinState::Down)
            background = kCloseRedDown;
    } else {
        if (state == SkinState::Highlight)
            background = QColor(0xD6, 0xE4, 0xF5);
        else if (state == SkinState::Down)
            background = QColor(0xB4, 0xCB, 0xEA);
    }
    if (kind == ButtonKind::Close && state != SkinState::Normal)
        glyph = Qt::white;
    else if (state != SkinState::Normal)
        glyph = kAccent.darker(120);

    if (background.alpha() > 0) {
        // Rounded at the bottom only: the buttons hang from the top edge.
        QPainterPath shape;
        const QRectF r(0.5, -4, size.width() - 1, size.height() + 3.5);
        shape.addRoundedRect(r, 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(background);
        p.drawPath(shape.intersected([&] {
            QPainterPath clip;
            clip.addRect(0, 0, size.width(), size.height());
            return clip;
        }()));
    }

    p.setPen(QPen(glyph, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(size.width() / 2.0, size.height() / 2.0 + (state == SkinState::Down ? 0.5 : 0.0));
    if (kind == ButtonKind::Close) {
        const qreal d = 4.0;
        p.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
        p.drawLine(QPointF(c.x() - d, c.y() + d), QPointF(c.x() + d, c.y() - d));
    } else {
        p.drawLine(QPointF(c.x() - 5, c.y() + 3), QPointF(c.x() + 5, c.y() + 3));
    }
    return pixmap;
}

QPixmap FloatingBadge()
{
    QPixmap pixmap = Transparent(QSize(50, 50));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF tile(2, 2, 46, 46);
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, QColor(0x6A, 0xA5, 0xEC));
    fill.setColorAt(1, QColor(0x2F, 0x69, 0xBA));
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(tile, 11, 11);

    // A small page with two binding rings: the notebook.
    const QRectF page(12, 13, 26, 25);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(page, 3, 3);
    p.setBrush(kCloseRed);
    p.drawRoundedRect(QRectF(page.left(), page.top(), page.width(), 7), 3, 3);
    p.drawRect(QRectF(page.left(), page.top() + 4, page.width(), 3));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 10), QPointF(19, 15));
    p.drawLine(QPointF(31, 10), QPointF(31, 15));

    p.setPen(kAccent.darker(115));
    p.setFont(UiFont(13, true));
    p.drawText(QRectF(page.left(), page.top() + 7, page.width(), page.height() - 7), Qt::AlignCenter,
               QStringLiteral("周"));
    return pixmap;
}

QPixmap AppToDesk()
{
    QPixmap pixmap = Transparent(QSize(84, 29));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(0.5, 3.5, 83, 22);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(0xFA, 0xFC, 0xFF));
    fill.setColorAt(1, QColor(0xE3, 0xED, 0xFA));
    p.setPen(QPen(kAccentLight, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 11, 11);

    // A tiny floating tile on the left.
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(8, 9, 11, 11), 3, 3);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10.5, 12.5, 6, 5));

    p.setPen(kAccent.darker(125));
    p.setFont(UiFont(12));
    p.drawText(QRectF(22, 3, 60, 23), Qt::AlignCenter, QStringLiteral("悬浮桌面"));
    return pixmap;
}

QPixmap LoginSide()
{
    QPixmap pixmap(QSize(99, 120));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient fill(0, 0, 0, 120);
    fill.setColorAt(0, kPaleBlue);
    fill.setColorAt(1, QColor(0xD2, 0xE1, 0xF8));
    p.fillRect(pixmap.rect(), fill);

    // Soft circles behind the lock.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(49.5, 42), 32, 32);
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(49.5, 42), 24, 24);
    DrawPadlock(p, QRectF(36, 20, 27, 37), kAccent, QColor(0xEA, 0xF1, 0xFD));

    p.setPen(kAccent.darker(120));
    p.setFont(UiFont(12));
    p.drawText(QRectF(0, 76, 99, 18), Qt::AlignCenter, QStringLiteral("安全登录"));
    return pixmap;
}

QPixmap LoginStrip(const QSize& size, bool top)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient fill(0, 0, size.width(), 0);
    fill.setColorAt(0, kAccent);
    fill.setColorAt(1, kAccentLight);
    p.fillRect(pixmap.rect(), kPaleBlue);
    const int band = std::max(2, size.height() / 3);
    p.fillRect(QRect(0, top ? 0 : size.height() - band, size.width(), band), fill);
    return pixmap;
}

QPixmap LoginHeader()
{
    QPixmap pixmap(QSize(140, 35));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient fill(0, 0, 140, 0);
    fill.setColorAt(0, kAccent);
    fill.setColorAt(1, kAccentLight);
    p.fillRect(pixmap.rect(), fill);
    p.fillRect(QRect(0, 33, 140, 2), QColor(255, 255, 255, 120));

    // A person outline: the user of the notebook.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(17, 13), 4.5, 4.5);
    QPainterPath shoulders;
    shoulders.moveTo(9, 26);
    shoulders.cubicTo(9, 18, 25, 18, 25, 26);
    shoulders.closeSubpath();
    p.drawPath(shoulders);

    p.setPen(Qt::white);
    p.setFont(UiFont(15, true));
    p.drawText(QRectF(32, 0, 104, 35), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("用户登录"));
    return pixmap;
}

QPixmap PasswordTitleStrip(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0xF4, 0xF8, 0xFE));
    fill.setColorAt(1, QColor(0xDD, 0xE8, 0xF8));
    p.fillRect(pixmap.rect(), fill);
    p.fillRect(QRect(0, size.height() - 1, size.width(), 1), kAccentLight);
    return pixmap;
}

QPixmap PasswordIcon()
{
    QPixmap pixmap = Transparent(QSize(24, 24));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A key: a ring and a bit.
    p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 12), 4.5, 4.5);
    p.drawLine(QPointF(12.5, 12), QPointF(21, 12));
    p.drawLine(QPointF(18, 12), QPointF(18, 16));
    p.drawLine(QPointF(21, 12), QPointF(21, 15));
    return pixmap;
}

QPixmap PasswordBody()
{
    QPixmap pixmap = Transparent(QSize(100, 110));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A shield with a padlock on it.
    QPainterPath shield;
    shield.moveTo(50, 6);
    shield.cubicTo(66, 15, 80, 16, 90, 16);
    shield.cubicTo(90, 60, 78, 88, 50, 104);
    shield.cubicTo(22, 88, 10, 60, 10, 16);
    shield.cubicTo(20, 16, 34, 15, 50, 6);
    QLinearGradient fill(0, 6, 0, 104);
    fill.setColorAt(0, QColor(0x7F, 0xAE, 0xEC));
    fill.setColorAt(1, QColor(0x2F, 0x69, 0xBA));
    p.setPen(QPen(QColor(255, 255, 255, 220), 3));
    p.setBrush(fill);
    p.drawPath(shield);
    DrawPadlock(p, QRectF(36, 30, 28, 40), Qt::white, QColor(0x3A, 0x78, 0xC9));
    return pixmap;
}

}  // namespace qn::skin
