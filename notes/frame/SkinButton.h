#pragma once
// Skin buttons of the borderless windows: three pictures stacked at one place
// (normal, highlight, down), exactly one of them visible at a time.

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>

class QLabel;

namespace qn {

enum class SkinState { Normal, Highlight, Down };

// The events that switch the pictures of a window's close and minimise
// buttons, and which picture of each is visible afterwards.
enum class SkinEvent {
    MoveOverCloseNormal,  // mouse moves over img_close_normal
    PressCloseHighlight,  // button pressed on img_close_highlight
    MoveOverMiniNormal,   // mouse moves over img_mini_normal
    PressMiniHighlight,   // button pressed on img_mini_highlight
    MoveOverBackground,   // mouse moves over the window's background
    MinimiseDone,         // the minimise action has run
};

struct CaptionSkinStates {
    SkinState close = SkinState::Normal;
    SkinState minimise = SkinState::Normal;
    friend bool operator==(const CaptionSkinStates&, const CaptionSkinStates&) = default;
};

CaptionSkinStates SkinStatesAfter(SkinEvent event);

class TSkinButton : public QWidget {
    Q_OBJECT
public:
    // baseName names the pictures: baseName + "_normal", "_highlight", "_down"
    // (for example "img_close"). The widget takes the size of the pictures.
    TSkinButton(const QString& baseName, const QPixmap& normal, const QPixmap& highlight, const QPixmap& down,
                QWidget* parent);

    SkinState state() const { return m_state; }
    void setState(SkinState state);

    // The picture label for one state (visible only while it is the state).
    QLabel* picture(SkinState state) const;
    // Places one picture inside the button (the minimise button's normal
    // picture sits one pixel right of the other two).
    void setPictureGeometry(SkinState state, const QRect& rect);

signals:
    // The mouse moved over the button while the normal picture showed.
    void normalMouseMove();
    // A left press landed on the highlight picture.
    void highlightMouseDown();
    // Pressed and released over the button: perform its action.
    void clicked();
    // The pointer left the button without a press held, or a press was
    // released away from it: the normal pictures show again.
    void pointerLeft();

protected:
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::array<QLabel*, 3> m_pictures{};
    SkinState m_state = SkinState::Normal;
    bool m_pressed = false;
};

// The close and (optionally) minimise buttons of a borderless window, kept at
// its top right corner, switching pictures by the table of SkinStatesAfter.
class TCaptionButtons : public QObject {
    Q_OBJECT
public:
    enum class Buttons { CloseOnly, CloseAndMinimise };
    TCaptionButtons(QWidget* window, Buttons buttons);

    TSkinButton* closeButton() const { return m_close; }
    TSkinButton* minimiseButton() const { return m_minimise; }  // null for CloseOnly

    // Mouse moves over these widgets show the normal pictures again.
    void watchBackground(QWidget* background);
    void apply(SkinEvent event);

signals:
    void closeClicked();
    void minimiseClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget* m_window;
    TSkinButton* m_close = nullptr;
    TSkinButton* m_minimise = nullptr;
    QList<QObject*> m_backgrounds;
};

}  // namespace qn
