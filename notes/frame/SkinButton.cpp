#include "notes/frame/SkinButton.h"

#include "notes/frame/SkinPictures.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace qn {

CaptionSkinStates SkinStatesAfter(SkinEvent event)
{
    using S = SkinState;
    switch (event) {
    case SkinEvent::MoveOverCloseNormal: return {S::Highlight, S::Normal};
    case SkinEvent::PressCloseHighlight: return {S::Down, S::Normal};
    case SkinEvent::MoveOverMiniNormal: return {S::Normal, S::Highlight};
    case SkinEvent::PressMiniHighlight: return {S::Normal, S::Down};
    case SkinEvent::MoveOverBackground: return {S::Normal, S::Normal};
    case SkinEvent::MinimiseDone: return {S::Normal, S::Normal};
    }
    return {};
}

TSkinButton::TSkinButton(const QString& baseName, const QPixmap& normal, const QPixmap& highlight, const QPixmap& down,
                         QWidget* parent)
    : QWidget(parent)
{
    setObjectName(baseName);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    const QPixmap* pixmaps[] = {&normal, &highlight, &down};
    const char* suffixes[] = {"_normal", "_highlight", "_down"};
    QSize size;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(baseName + QLatin1String(suffixes[i]));
        label->setPixmap(*pixmaps[i]);
        label->setGeometry(QRect(QPoint(0, 0), pixmaps[i]->deviceIndependentSize().toSize()));
        // The button handles the mouse; the pictures only show.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        size = size.expandedTo(label->size());
        m_pictures[i] = label;
    }
    resize(size);
    setState(SkinState::Normal);
}

void TSkinButton::setState(SkinState state)
{
    m_state = state;
    for (int i = 0; i < 3; ++i)
        m_pictures[i]->setVisible(i == static_cast<int>(state));
}

QLabel* TSkinButton::picture(SkinState state) const { return m_pictures[static_cast<int>(state)]; }

void TSkinButton::setPictureGeometry(SkinState state, const QRect& rect) { picture(state)->setGeometry(rect); }

void TSkinButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    // Also when the pointer leaves the whole window over the button: no
    // move over the background would reset it then.
    if (!m_pressed)
        emit pointerLeft();
}

void TSkinButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_state == SkinState::Normal && !m_pressed)
        emit normalMouseMove();
    event->accept();
}

void TSkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A press without a move before it (a touch, a tablet) still counts as
    // a press on the highlight picture.
    if (m_state == SkinState::Normal)
        emit normalMouseMove();
    m_pressed = true;
    emit highlightMouseDown();
    event->accept();
}

void TSkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    else
        emit pointerLeft();
}

TCaptionButtons::TCaptionButtons(QWidget* window, Buttons buttons) : QObject(window), m_window(window)
{
    using skin::ButtonKind;
    using skin::CaptionButton;
    m_close = new TSkinButton(QStringLiteral("img_close"), CaptionButton(ButtonKind::Close, SkinState::Normal),
                              CaptionButton(ButtonKind::Close, SkinState::Highlight),
                              CaptionButton(ButtonKind::Close, SkinState::Down), window);
    m_close->setToolTip(QStringLiteral("关闭"));
    connect(m_close, &TSkinButton::normalMouseMove, this, [this] { apply(SkinEvent::MoveOverCloseNormal); });
    connect(m_close, &TSkinButton::highlightMouseDown, this, [this] { apply(SkinEvent::PressCloseHighlight); });
    connect(m_close, &TSkinButton::clicked, this, &TCaptionButtons::closeClicked);
    connect(m_close, &TSkinButton::pointerLeft, this, [this] { apply(SkinEvent::MoveOverBackground); });

    if (buttons == Buttons::CloseAndMinimise) {
        m_minimise = new TSkinButton(QStringLiteral("img_mini"), CaptionButton(ButtonKind::Minimise, SkinState::Normal),
                                     CaptionButton(ButtonKind::Minimise, SkinState::Highlight),
                                     CaptionButton(ButtonKind::Minimise, SkinState::Down), window);
        // The highlight and down pictures sit one pixel left of the normal one.
        m_minimise->resize(29, 20);
        m_minimise->setPictureGeometry(SkinState::Normal, QRect(1, 0, 28, 20));
        m_minimise->setPictureGeometry(SkinState::Highlight, QRect(0, 0, 28, 20));
        m_minimise->setPictureGeometry(SkinState::Down, QRect(0, 0, 28, 20));
        m_minimise->setToolTip(QStringLiteral("最小化"));
        connect(m_minimise, &TSkinButton::normalMouseMove, this, [this] { apply(SkinEvent::MoveOverMiniNormal); });
        connect(m_minimise, &TSkinButton::highlightMouseDown, this, [this] { apply(SkinEvent::PressMiniHighlight); });
        connect(m_minimise, &TSkinButton::clicked, this, &TCaptionButtons::minimiseClicked);
        connect(m_minimise, &TSkinButton::pointerLeft, this, [this] { apply(SkinEvent::MoveOverBackground); });
    }
    window->installEventFilter(this);
    place();
}

void TCaptionButtons::watchBackground(QWidget* background)
{
    background->setMouseTracking(true);
    m_backgrounds.append(background);
    if (background != m_window)
        background->installEventFilter(this);
}

void TCaptionButtons::apply(SkinEvent event)
{
    const CaptionSkinStates states = SkinStatesAfter(event);
    m_close->setState(states.close);
    if (m_minimise)
        m_minimise->setState(states.minimise);
}

bool TCaptionButtons::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        place();
    if (event->type() == QEvent::MouseMove && m_backgrounds.contains(watched))
        apply(SkinEvent::MoveOverBackground);
    return QObject::eventFilter(watched, event);
}

void TCaptionButtons::place()
{
    // Anchored to the top right corner, one pixel in from the edges.
    const int closeLeft = m_window->width() - m_close->width() - 1;
    m_close->move(closeLeft, 1);
    m_close->raise();
    if (m_minimise) {
        m_minimise->move(closeLeft - m_minimise->width(), 1);
        m_minimise->raise();
    }
}

}  // namespace qn
