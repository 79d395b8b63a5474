#pragma once
// Moving and resizing windows that draw their own frame. The window manager
// does the work where it can (QWindow::startSystemMove/startSystemResize);
// where it cannot (no window manager, e.g. a bare X server) the mouse events
// are followed by hand, so the window always moves and resizes.

#include <QObject>
#include <QPoint>
#include <QRect>

#include <array>

class QWidget;

namespace qn {

// Dragging any handle with the left button moves the window. The move starts
// once the pointer has gone a few pixels (the system's drag distance) with
// the button held: a click, and the second click of a double-click, stay
// with the handle instead of going to a window manager's move.
class TBorderlessMover : public QObject {
    Q_OBJECT
public:
    explicit TBorderlessMover(QWidget* window);
    void addHandle(QWidget* handle);

    // False while the window manager is not used (tests: the offscreen
    // platform has none); set when a drag starts.
    bool lastPressUsedSystemMove() const { return m_systemMove; }
    // True from the start of a drag to its release.
    bool moving() const { return m_moving; }

signals:
    // A left press landed on a handle (before the move starts).
    void handlePressed(QWidget* handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_pressed = false;  // left button held since a press on a handle
    bool m_moving = false;   // the drag has started
    bool m_systemMove = false;
    QPoint m_pressGlobal;
    QPoint m_startPos;
};

// Edges of the window that the mouse can drag to resize it: eight thin
// invisible grips along the sides and at the corners, kept on top.
class TBorderlessResizer : public QObject {
    Q_OBJECT
public:
    explicit TBorderlessResizer(QWidget* window, int gripWidth = 4);

    // The grip for a side or corner (e.g. Qt::LeftEdge | Qt::TopEdge).
    QWidget* grip(Qt::Edges edges) const;

    // The new geometry when the given edges of start are dragged by delta,
    // held within the window's minimum and maximum size (the opposite edges
    // stay where they are).
    static QRect Resized(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum,
                         const QSize& maximum);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget* m_window;
    int m_gripWidth;
    std::array<QWidget*, 8> m_grips{};
    std::array<Qt::Edges, 8> m_edges{};
    // Hand-followed resizing.
    QWidget* m_activeGrip = nullptr;
    QPoint m_pressGlobal;
    QRect m_startGeometry;
};

}  // namespace qn
