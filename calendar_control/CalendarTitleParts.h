#pragma once
// Small parts of the calendar title: a label that reports clicks and an
// up-down selector (two arrow buttons stepping a position within a range).

#include <QLabel>
#include <QWidget>

class TCalendarLabel : public QLabel {
    Q_OBJECT
public:
    explicit TCalendarLabel(QWidget* parent = nullptr);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool FPressed = false;
};

class TCalendarUpDown : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 17;
    static constexpr int kHeight = 24;

    TCalendarUpDown(int minimum, int maximum, QWidget* parent = nullptr);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    // Sets the position, kept within Min..Max. Raises nothing.
    void SetPosition(int value);

    // What an arrow click does: one step up or down (within the range), then Click.
    void StepUp();
    void StepDown();

signals:
    // An arrow was clicked; Position already holds the stepped value.
    void Click(bool up);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int FMin;
    int FMax;
    int FPosition;
};
