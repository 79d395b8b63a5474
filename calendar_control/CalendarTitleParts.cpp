#include "calendar_control/CalendarTitleParts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

TCalendarLabel::TCalendarLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
}

void TCalendarLabel::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TCalendarLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit Clicked();
}

TCalendarUpDown::TCalendarUpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), FMin(minimum), FMax(maximum), FPosition(minimum)
{
    resize(kWidth, kHeight);
    setCursor(Qt::ArrowCursor);
}

void TCalendarUpDown::SetPosition(int value) { FPosition = std::clamp(value, FMin, FMax); }

void TCalendarUpDown::StepUp()
{
    SetPosition(FPosition + 1);
    emit Click(true);
}

void TCalendarUpDown::StepDown()
{
    SetPosition(FPosition - 1);
    emit Click(false);
}

void TCalendarUpDown::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(arrows[i], &arrow, &painter, this);
    }
}

void TCalendarUpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (event->position().y() < height() / 2)
        StepUp();
    else
        StepDown();
}
