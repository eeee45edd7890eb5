#include "uikit/window/TBWindowButton.h"

#include "platform/NotificationCenter.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBWindowButtonGroup.h"
#include "uikit/window/TBWindowState.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QPainter>

TBWindowButton::TBWindowButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

TBWindowButton::TBWindowButton(const QSizeF& size, const QString& groupIdentifier, QWidget* parent)
    : QAbstractButton(parent), m_groupIdentifier(groupIdentifier), m_designSize(size.toSize())
{
    setFocusPolicy(Qt::NoFocus);
    resize(m_designSize);
    setButtonType(MomentaryChange);
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
    if (showsAlternate && !m_pressedImage.isNull() && m_buttonType != MomentaryLight
        && m_buttonType != MomentaryPushIn)
        return m_pressedImage;
    return m_image;
}

void TBWindowButton::setButtonType(ButtonType type)
{
    m_buttonType = type;
    setCheckable(type == PushOnPushOff || type == Toggle || type == Switch || type == Radio || type == OnOff);
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

void TBWindowButton::setAutoresizingMask(unsigned mask)
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
    const QImage shown = displayedImage();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSizeF size = QSizeF(shown.size()) / shown.devicePixelRatio();
    if (size.width() > width() || size.height() > height())
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    const QRectF target(
        (width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height());
    painter.drawImage(target, shown);
}

void TBWindowButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    group()->didCaptureMousePointer();
    updateRollOverImage();
}

void TBWindowButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    group()->didReleaseMousePointer();
    updateRollOverImage();
}

bool TBWindowButton::event(QEvent* event)
{
    const bool handled = QAbstractButton::event(event);
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        observeWindow();
    else if (event->type() == QEvent::EnabledChange)
        updateActiveImage(); // whoever changed it, as a setter of the enabled flag would

    return handled;
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
    if (watched != m_observedWindow)
        return false;
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
    return false;
}
