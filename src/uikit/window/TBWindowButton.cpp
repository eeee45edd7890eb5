#include "uikit/window/TBWindowButton.h"

#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/SaneGeometry.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBWindowButtonGroup.h"
#include "uikit/window/TBWindowState.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

TBWindowButton::TBWindowButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    trackParent();
}

TBWindowButton::TBWindowButton(const QSizeF& size, const QString& groupIdentifier, QWidget* parent)
    : QAbstractButton(parent)
    , m_groupIdentifier(groupIdentifier)
    , m_designSize(platform::saneSize(size).toSize())
{
    setFocusPolicy(Qt::NoFocus);
    trackParent();
    resize(m_designSize);
    setButtonType(ButtonType::MomentaryChange);
    m_bordered = false;
    platform::NotificationCenter::defaultCenter().addObserver(
        this, QString::fromLatin1(kTBWindowButtonGroupDidUpdateRolloverStateNotification),
        [this](const platform::Notification&) { updateRollOverImage(); },
        QVariant::fromValue<QObject*>(group()));
}

TBWindowButton::~TBWindowButton()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

TBWindowButton* TBWindowButton::windowButtonWithSize(
    double width, double height, const QString& groupIdentifier, QWidget* parent)
{
    return new TBWindowButton(QSizeF(width, height), groupIdentifier, parent);
}

TBWindowButtonGroup* TBWindowButton::group() const
{
    return TBWindowButtonGroup::groupWithIdentifier(m_groupIdentifier);
}

void TBWindowButton::setPressedImage(const QImage& image)
{
    m_pressedImage = image;
    update();
}

void TBWindowButton::setImage(const QImage& image)
{
    m_image = image;
    if (m_designSize.isEmpty())
        updateGeometry();
    update();
}

QImage TBWindowButton::displayedImage() const
{
    const bool showsAlternate = isDown() || (isCheckable() && isChecked());
    if (showsAlternate && !m_pressedImage.isNull() && m_buttonType != ButtonType::MomentaryLight
        && m_buttonType != ButtonType::MomentaryPushIn)
        return m_pressedImage;
    return m_image;
}

void TBWindowButton::setButtonType(ButtonType type)
{
    m_buttonType = type;
    setCheckable(type == ButtonType::PushOnPushOff || type == ButtonType::Toggle || type == ButtonType::Switch
        || type == ButtonType::Radio || type == ButtonType::OnOff);
    update();
}

void TBWindowButton::setKeyEquivalent(const QString& key)
{
    m_keyEquivalent = key;
    updateShortcut();
}

void TBWindowButton::setKeyEquivalentModifierMask(Qt::KeyboardModifiers modifiers)
{
    m_keyModifiers = modifiers;
    updateShortcut();
}

void TBWindowButton::updateShortcut()
{
    const QKeySequence key(m_keyEquivalent);
    if (m_keyEquivalent.isEmpty() || key.isEmpty()) {
        setShortcut({});
        return;
    }
    setShortcut(QKeySequence(QKeyCombination(m_keyModifiers, key[0].key())));
}

void TBWindowButton::setAutoresizingMask(TBGeometry::AutoresizingMask mask)
{
    TBGeometry::setAutoresizingMask(this, mask);
}

void TBWindowButton::updateRollOverImage()
{
    if (group()->shouldDisplayRollOver() && isEnabled())
        setImage(m_rolloverImage);
    else
        updateImage();
}

void TBWindowButton::updateImage()
{
    if (!windowIsKey())
        setImage(m_activeNotKeyWindowImage);
    else
        updateActiveImage();
}

void TBWindowButton::updateActiveImage()
{
    setImage(isEnabled() ? m_activeImage : m_inactiveImage);
}

bool TBWindowButton::windowIsKey() const
{
    const QWidget* top = window();
    return top != this && top->isActiveWindow();
}

void TBWindowButton::windowDidChangeFocus()
{
    updateImage();
}

void TBWindowButton::windowWillEnterFullScreen()
{
    group()->resetMouseCaptures();
    hide();
}

void TBWindowButton::windowWillExitFullScreen()
{
    group()->resetMouseCaptures();
    show();
}

void TBWindowButton::windowDidMiniaturize()
{
    group()->resetMouseCaptures();
}

void TBWindowButton::viewDidEndLiveResize()
{
    group()->resetMouseCaptures();
}

QSize TBWindowButton::sizeHint() const
{
    if (!m_designSize.isEmpty())
        return m_designSize;
    if (!m_image.isNull())
        return (QSizeF(m_image.size()) / m_image.devicePixelRatio()).toSize();
    return { 16, 16 };
}

void TBWindowButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!painter.isActive())
        return; // no device to paint on (a button far larger than any image)
    // Images are set at one ratio; the screen the window is on now may have another. The
    // engine's device is where the pixels go (the backing store, or the image of a render).
    const QImage shown = platform::imageForDevicePixelRatio(
        displayedImage(), painter.paintEngine()->paintDevice()->devicePixelRatioF());
    if (shown.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSizeF size = shown.deviceIndependentSize();
    if (size.width() > width() || size.height() > height())
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    const QRectF target(
        (width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height());
    painter.drawImage(target, shown);
}

QRect TBWindowButton::mouseTrackingArea() const
{
    return geometry().adjusted(-kTrackingMargin, -kTrackingMargin, kTrackingMargin, kTrackingMargin);
}

void TBWindowButton::setMouseInside(bool inside)
{
    if (inside == m_mouseInside)
        return;
    m_mouseInside = inside;
    if (inside)
        group()->didCaptureMousePointer();
    else
        group()->didReleaseMousePointer();
    updateRollOverImage();
}

void TBWindowButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    if (!m_trackedParent)
        setMouseInside(true); // no parent to watch: the button's own bounds
}

void TBWindowButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    if (!m_trackedParent)
        setMouseInside(false);
}

bool TBWindowButton::event(QEvent* event)
{
    const bool handled = QAbstractButton::event(event);
    switch (event->type()) {
    case QEvent::ParentChange:
        trackParent();
        observeWindow();
        break;
    case QEvent::Show:
        observeWindow();
        break;
    case QEvent::Hide:
        // A hidden button has no tracking area: let go of the group, or its count would
        // stay up and keep the rollover on for the other buttons.
        setMouseInside(false);
        break;
    case QEvent::EnabledChange:
        updateActiveImage(); // whoever changed it, as a setter of the enabled flag would
        break;
    default:
        break;
    }
    return handled;
}

void TBWindowButton::trackParent()
{
    QWidget* parent = parentWidget();
    if (parent == m_trackedParent)
        return;
    if (m_trackedParent)
        m_trackedParent->removeEventFilter(this);
    m_trackedParent = parent;
    if (!parent)
        return;
    // Moves over the button reach the parent only when both track the mouse.
    setMouseTracking(true);
    parent->setMouseTracking(true);
    parent->installEventFilter(this);
}

void TBWindowButton::trackParentEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!isHidden())
            setMouseInside(
                mouseTrackingArea().contains(static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    case QEvent::Leave:
        setMouseInside(false);
        break;
    default:
        break;
    }
}

void TBWindowButton::observeWindow()
{
    QWidget* top = window();
    if (top == this)
        top = nullptr;
    if (top == m_observedWindow)
        return;
    if (m_observedWindow)
        m_observedWindow->removeEventFilter(this);
    m_observedWindow = top;
    if (top) {
        m_lastWindowState = top->windowState();
        top->installEventFilter(this);
        updateImage();
    }
}

bool TBWindowButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_trackedParent)
        trackParentEvent(event);
    if (watched == m_observedWindow)
        windowEvent(event);
    return false;
}

void TBWindowButton::windowEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActivationChange:
        windowDidChangeFocus();
        break;
    case QEvent::WindowStateChange: {
        const Qt::WindowStates now = m_observedWindow->windowState();
        const Qt::WindowStates before = m_lastWindowState;
        m_lastWindowState = now;
        const TBWindowState::Transitions changed = TBWindowState::between(before, now);
        if (changed.miniaturized)
            windowDidMiniaturize();
        if (changed.enteredFullScreen)
            windowWillEnterFullScreen();
        else if (changed.exitedFullScreen)
            windowWillExitFullScreen();
        break;
    }
    default:
        break;
    }
}
