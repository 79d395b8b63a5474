#include "calendar_control/CalendarGrid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>

TCalendarGrid::TCalendarGrid(QWidget* parent) : QWidget(parent)
{
    FColWidths.fill(kDefaultColWidth);
    FRowHeights.fill(kDefaultRowHeight);
    setFocusPolicy(Qt::StrongFocus);
}

void TCalendarGrid::SetColWidth(int col, int width)
{
    FColWidths.at(col) = std::max(0, width);
    update();
}

void TCalendarGrid::SetRowHeight(int row, int height)
{
    FRowHeights.at(row) = std::max(0, height);
    update();
}

QRect TCalendarGrid::CellRect(int col, int row) const
{
    int x = 0;
    for (int c = 0; c < col; ++c)
        x += FColWidths[c];
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += FRowHeights[r];
    return QRect(x, y, FColWidths.at(col), FRowHeights.at(row));
}

bool TCalendarGrid::CellAt(const QPoint& point, int& col, int& row) const
{
    if (point.x() < 0 || point.y() < 0)
        return false;
    int x = 0;
    int foundCol = -1;
    for (int c = 0; c < kColCount; ++c) {
        if (point.x() < x + FColWidths[c]) {
            foundCol = c;
            break;
        }
        x += FColWidths[c];
    }
    int y = 0;
    int foundRow = -1;
    for (int r = 0; r < kRowCount; ++r) {
        if (point.y() < y + FRowHeights[r]) {
            foundRow = r;
            break;
        }
        y += FRowHeights[r];
    }
    if (foundCol < 0 || foundRow < 0)
        return false;
    col = foundCol;
    row = foundRow;
    return true;
}

bool TCalendarGrid::FocusCell(int col, int row)
{
    if (col < 0 || col >= kColCount || row < 0 || row >= kRowCount)
        return false;
    if (FSelectCell && !FSelectCell(col, row))
        return false;
    if (col != FCol || row != FRow) {
        update(CellRect(FCol, FRow));
        FCol = col;
        FRow = row;
        update(CellRect(FCol, FRow));
    }
    return true;
}

void TCalendarGrid::paintEvent(QPaintEvent* event)
{
    if (!FDrawCell)
        return;
    QPainter painter(this);
    const bool focused = hasFocus();
    for (int row = 0; row < kRowCount; ++row) {
        for (int col = 0; col < kColCount; ++col) {
            const QRect rect = CellRect(col, row);
            if (rect.isEmpty() || !event->rect().intersects(rect))
                continue;
            FDrawCell(painter, col, row, rect, col == FCol && row == FRow, focused);
        }
    }
}

void TCalendarGrid::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown();
    if (event->button() != Qt::LeftButton)
        return;
    FLeftPressed = true;
    int col = 0;
    int row = 0;
    if (CellAt(event->position().toPoint(), col, row))
        FocusCell(col, row);
}

void TCalendarGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FLeftPressed)
        return;
    FLeftPressed = false;
    const QPoint pos = event->position().toPoint();
    if (rect().contains(pos))
        emit Clicked(pos);
}

void TCalendarGrid::keyPressEvent(QKeyEvent* event)
{
    int col = FCol;
    int row = FRow;
    switch (event->key()) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    default: QWidget::keyPressEvent(event); return;
    }
    FocusCell(col, row);
}

void TCalendarGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (FPopupMenu)
        FPopupMenu->popup(event->globalPos());
    else
        QWidget::contextMenuEvent(event);
}

void TCalendarGrid::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();  // the selection may depend on the focus
}

void TCalendarGrid::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
