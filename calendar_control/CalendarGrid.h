#pragma once
// The grid of the calendar: 9 columns by 7 rows of owner-drawn cells with a
// current cell. It draws nothing itself; the owner paints every cell and
// decides whether a cell may become the current one. No scroll bars, no
// border, no grid lines; moving by arrow keys or by a press on a cell.

#include <QWidget>

#include <array>
#include <functional>

class QMenu;

class TCalendarGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColCount = 9;
    static constexpr int kRowCount = 7;
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;

    // Asked before a cell becomes the current one; false keeps the current cell.
    using SelectCellHandler = std::function<bool(int col, int row)>;
    // Paints one cell; `rect` is in grid coordinates.
    using DrawCellHandler =
        std::function<void(QPainter& painter, int col, int row, const QRect& rect, bool selected, bool focused)>;

    explicit TCalendarGrid(QWidget* parent = nullptr);

    int ColWidth(int col) const { return FColWidths.at(col); }
    int RowHeight(int row) const { return FRowHeights.at(row); }
    void SetColWidth(int col, int width);
    void SetRowHeight(int row, int height);

    // Rectangle of a cell in grid coordinates.
    QRect CellRect(int col, int row) const;
    // Cell under a point in grid coordinates; false outside every cell.
    bool CellAt(const QPoint& point, int& col, int& row) const;

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    // Makes (col, row) the current cell if the select-cell handler agrees.
    bool FocusCell(int col, int row);

    void SetSelectCellHandler(SelectCellHandler handler) { FSelectCell = std::move(handler); }
    void SetDrawCellHandler(DrawCellHandler handler) { FDrawCell = std::move(handler); }
    // Menu shown on a right click; nullptr for none.
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    QMenu* PopupMenu() const { return FPopupMenu; }

signals:
    // Any mouse button pressed on the grid, before the grid acts on the press.
    void MouseDown();
    // A left click (press and release on the grid); `pos` in grid coordinates.
    void Clicked(const QPoint& pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::array<int, kColCount> FColWidths{};
    std::array<int, kRowCount> FRowHeights{};
    int FCol = 0;
    int FRow = 0;
    bool FLeftPressed = false;
    SelectCellHandler FSelectCell;
    DrawCellHandler FDrawCell;
    QMenu* FPopupMenu = nullptr;
};
