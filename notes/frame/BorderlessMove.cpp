#include "notes/frame/BorderlessMove.h"

#include "notes/frame/SkinButton.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace qn {

TBorderlessMover::TBorderlessMover(QWidget* window) : QObject(window), m_window(window) { }

void TBorderlessMover::addHandle(QWidget* handle) { handle->installEventFilter(this); }

bool TBorderlessMover::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        emit handlePressed(qobject_cast<QWidget*>(watched));
        m_pressed = true;
        m_moving = false;
        m_systemMove = false;
        m_pressGlobal = mouse->globalPosition().toPoint();
        m_startPos = m_window->pos();
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_pressed)
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint delta = mouse->globalPosition().toPoint() - m_pressGlobal;
        if (!m_moving) {
            if (delta.manhattanLength() < QGuiApplication::styleHints()->startDragDistance())
                return true;
            m_moving = true;
            QWindow* handle = m_window->windowHandle();
            m_systemMove = handle && handle->startSystemMove();
            if (m_systemMove) {
                // The window manager follows the pointer to the release.
                m_pressed = false;
                m_moving = false;
                return true;
            }
        }
        m_window->move(m_startPos + delta);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_pressed && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_pressed = false;
            m_moving = false;
            return true;
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

TBorderlessResizer::TBorderlessResizer(QWidget* window, int gripWidth)
    : QObject(window), m_window(window), m_gripWidth(gripWidth)
{
    const Qt::Edges edges[8] = {Qt::LeftEdge,
                                Qt::RightEdge,
                                Qt::TopEdge,
                                Qt::BottomEdge,
                                Qt::LeftEdge | Qt::TopEdge,
                                Qt::RightEdge | Qt::TopEdge,
                                Qt::LeftEdge | Qt::BottomEdge,
                                Qt::RightEdge | Qt::BottomEdge};
    for (int i = 0; i < 8; ++i) {
        auto* grip = new QWidget(window);
        grip->setObjectName(QStringLiteral("resizeGrip%1").arg(i));
        grip->setAttribute(Qt::WA_NoSystemBackground);
        grip->setMouseTracking(true);
        const Qt::Edges e = edges[i];
        Qt::CursorShape shape = Qt::SizeHorCursor;
        if (e == Qt::TopEdge || e == Qt::BottomEdge)
            shape = Qt::SizeVerCursor;
        else if (e == (Qt::LeftEdge | Qt::TopEdge) || e == (Qt::RightEdge | Qt::BottomEdge))
            shape = Qt::SizeFDiagCursor;
        else if (e == (Qt::RightEdge | Qt::TopEdge) || e == (Qt::LeftEdge | Qt::BottomEdge))
            shape = Qt::SizeBDiagCursor;
        grip->setCursor(shape);
        grip->installEventFilter(this);
        m_grips[i] = grip;
        m_edges[i] = e;
    }
    window->installEventFilter(this);
    place();
}

QWidget* TBorderlessResizer::grip(Qt::Edges edges) const
{
    for (int i = 0; i < 8; ++i)
        if (m_edges[i] == edges)
            return m_grips[i];
    return nullptr;
}

QRect TBorderlessResizer::Resized(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum,
                                  const QSize& maximum)
{
    QRect r = start;
    const int minW = std::max(1, minimum.width());
    const int minH = std::max(1, minimum.height());
    const int maxW = std::max(minW, maximum.width());
    const int maxH = std::max(minH, maximum.height());
    if (edges & Qt::LeftEdge) {
        const int width = std::clamp(start.width() - delta.x(), minW, maxW);
        r.setLeft(start.right() + 1 - width);
    }
    if (edges & Qt::RightEdge)
        r.setWidth(std::clamp(start.width() + delta.x(), minW, maxW));
    if (edges & Qt::TopEdge) {
        const int height = std::clamp(start.height() - delta.y(), minH, maxH);
        r.setTop(start.bottom() + 1 - height);
    }
    if (edges & Qt::BottomEdge)
        r.setHeight(std::clamp(start.height() + delta.y(), minH, maxH));
    return r;
}

bool TBorderlessResizer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show || event->type() == QEvent::ChildAdded
            || event->type() == QEvent::ChildPolished)
            place();
        return QObject::eventFilter(watched, event);
    }

    const auto it = std::find(m_grips.begin(), m_grips.end(), watched);
    if (it == m_grips.end())
        return QObject::eventFilter(watched, event);
    const Qt::Edges edges = m_edges[std::distance(m_grips.begin(), it)];

    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        QWindow* handle = m_window->windowHandle();
        if (handle && handle->startSystemResize(edges))
            return true;
        m_activeGrip = *it;
        m_pressGlobal = mouse->globalPosition().toPoint();
        // Frame and client coincide for a window without a frame.
        m_startGeometry = m_window->geometry();
        return true;
    }
    case QEvent::MouseMove:
        if (m_activeGrip == *it) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint delta = mouse->globalPosition().toPoint() - m_pressGlobal;
            m_window->setGeometry(
                Resized(m_startGeometry, edges, delta, m_window->minimumSize(), m_window->maximumSize()));
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_activeGrip == *it) {
            m_activeGrip = nullptr;
            return true;
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void TBorderlessResizer::place()
{
    const int w = m_window->width();
    const int h = m_window->height();
    const int g = m_gripWidth;
    const QRect rects[8] = {QRect(0, g, g, h - 2 * g), QRect(w - g, g, g, h - 2 * g),
                            QRect(g, 0, w - 2 * g, g), QRect(g, h - g, w - 2 * g, g),
                            QRect(0, 0, g, g),         QRect(w - g, 0, g, g),
                            QRect(0, h - g, g, g),     QRect(w - g, h - g, g, g)};
    for (int i = 0; i < 8; ++i) {
        m_grips[i]->setGeometry(rects[i]);
        m_grips[i]->raise();
    }
    // The caption buttons hang from the top edge: a press on them must
    // reach the button, not the grip above it.
    for (QObject* child : m_window->children())
        if (auto* button = qobject_cast<TSkinButton*>(child))
            button->raise();
}

}  // namespace qn
