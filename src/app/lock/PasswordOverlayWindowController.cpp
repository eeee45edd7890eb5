#include "app/lock/PasswordOverlayWindowController.h"

#include "platform/Appearance.h"
#include "platform/Fonts.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/fields/NW_SecureTextField.h"
#include "uikit/overlay/SASpringAnimation.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <numbers>

using namespace Qt::Literals::StringLiterals;

const QString PasswordOverlayWindowController::unlockGlyph = u"\u2192"_s;
const QString PasswordOverlayWindowController::pressedUnlockGlyph = u"\u21D2"_s;

namespace {

constexpr QSize panelSize(360, 262);
constexpr int lockImageSize = 72;
constexpr int fieldHeight = 40;
constexpr int buttonWidth = 48;
constexpr int margin = 30;

QColor grey(int level)
{
    return QColor(level, level, level);
}

// The light rounded panel that holds the field, the button and the lock; the overlay
// shakes it as a whole.
class LockPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
        painter.fillPath(path, QColor(246, 246, 246, 235));
        painter.setPen(QPen(grey(170), 1));
        painter.drawPath(path);
    }
};

} // namespace

LockImageView::LockImageView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void LockImageView::setRotation(double radians)
{
    if (radians == m_rotation)
        return;
    m_rotation = radians;
    update();
}

void LockImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize side(width(), height());
    const QImage lock = platform::image(u"SafeLock"_s, side, devicePixelRatioF());
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(m_rotation * 180.0 / std::numbers::pi);
    painter.drawImage(QRectF(-width() / 2.0, -height() / 2.0, width(), height()), lock);
}

PasswordOverlayWindowController::PasswordOverlayWindowController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"PasswordOverlayWindowController"_s);
    m_lockView = new LockPanel(this);
    m_lockView->setObjectName(u"lockView"_s);
    m_lockView->resize(panelSize);

    m_safeLockImage = new LockImageView(m_lockView);
    m_safeLockImage->setObjectName(u"safeLockImage"_s);
    m_safeLockImage->setGeometry((panelSize.width() - lockImageSize) / 2, 22, lockImageSize, lockImageSize);

    const int rowTop = 22 + lockImageSize + 22;
    m_pwdEditCtl = new NW_SecureTextField(m_lockView);
    m_pwdEditCtl->setObjectName(u"pwdEditCtl"_s);
    m_pwdEditCtl->setGeometry(margin, rowTop, panelSize.width() - 2 * margin - buttonWidth - 8, fieldHeight);
    // 20 points of the design at scale 1: pixels here, so that the text fits the field.
    QFont placeholderFont(platform::designFontFamilies());
    placeholderFont.setPixelSize(20);
    placeholderFont.setWeight(QFont::Light);
    m_pwdEditCtl->setFont(placeholderFont);
    QPalette palette = m_pwdEditCtl->palette();
    // The lightest grey that still reads on the white field.
    palette.setColor(QPalette::PlaceholderText, grey(110));
    // The panel is light in both appearances; so is its field.
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, QColor(32, 32, 32));
    m_pwdEditCtl->setPalette(palette);
    m_pwdEditCtl->setPlaceholderText(platform::Strings::tr("Enter Your Password"));
    connect(m_pwdEditCtl, &QLineEdit::returnPressed, this, &PasswordOverlayWindowController::unlockBtnPress);

    m_customUnlockButton = new SBSubtleButton(m_lockView);
    m_customUnlockButton->setObjectName(u"customUnlockButton"_s);
    m_customUnlockButton->setGeometry(
        panelSize.width() - margin - buttonWidth, rowTop, buttonWidth, fieldHeight);
    m_customUnlockButton->setGradientWithStartColor(grey(162), grey(208));
    m_customUnlockButton->setHighlightGradientWithStartColor(grey(208), grey(162));
    QFont glyphFont = font();
    glyphFont.setPointSize(25);
    m_customUnlockButton->setFontAttributesWithFont(glyphFont, grey(32), grey(192));
    m_customUnlockButton->setTitle(unlockGlyph);
    m_customUnlockButton->setTitleAlignment(SBSubtleButton::Alignment::Center);
    m_customUnlockButton->setDelegate(this);

    m_hintLabel = new QLabel(m_lockView);
    m_hintLabel->setObjectName(u"hintLabel"_s);
    m_hintLabel->setGeometry(margin, rowTop + fieldHeight + 14, panelSize.width() - 2 * margin, 40);
    m_hintLabel->setWordWrap(true);
    m_hintLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette hintPalette = m_hintLabel->palette();
    hintPalette.setColor(QPalette::WindowText, grey(70));
    m_hintLabel->setPalette(hintPalette);
    m_hintLabel->hide();

    // The hint's place shows the keychain's state until the password is known.
    m_keychainStatus = new QLabel(m_lockView);
    m_keychainStatus->setObjectName(u"keychainStatus"_s);
    m_keychainStatus->setGeometry(m_hintLabel->geometry());
    m_keychainStatus->setWordWrap(true);
    m_keychainStatus->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_keychainStatus->setTextFormat(Qt::PlainText);
    m_keychainStatus->setPalette(hintPalette);
    m_tryAgainButton = new QPushButton(platform::Strings::tr("Try again"), m_lockView);
    m_tryAgainButton->setObjectName(u"tryAgainButton"_s);
    // The panel is light in both appearances; so is its button.
    m_tryAgainButton->setPalette(platform::AppearanceController::lightPalette());
    m_tryAgainButton->setGeometry((panelSize.width() - 140) / 2, rowTop + fieldHeight + 58, 140, 28);
    m_tryAgainButton->hide();
    connect(
        m_tryAgainButton, &QPushButton::clicked, this, &PasswordOverlayWindowController::tryAgainRequested);
    showWaitingForKeychain();

    m_animation = SASpringAnimation::animationWithKeyPath(m_safeLockImage, "rotation", this);
    m_animation->setStiffness(500);
    m_animation->setDamping(90);
    m_animation->setMass(1);
    m_animation->setFromValue(0.0);
    m_animation->setToValue(2 * std::numbers::pi);
    m_animation->setMaxDuration(spinMaxSeconds);
    m_animation->setDuration(spinSeconds);
    connect(
        m_animation, &QAbstractAnimation::finished, this, &PasswordOverlayWindowController::animationDidStop);
}

PasswordOverlayWindowController::~PasswordOverlayWindowController()
{
    // The button must not call back into a half-destroyed controller.
    if (m_customUnlockButton)
        m_customUnlockButton->setDelegate(nullptr);
}

void PasswordOverlayWindowController::setFocusOnPasswordField()
{
    m_pwdEditCtl->clear();
    m_hintLabel->clear();
    m_hintLabel->hide();
    m_safeLockImage->setRotation(0);
    m_pwdEditCtl->setFocus(Qt::OtherFocusReason);
}

void PasswordOverlayWindowController::showWaitingForKeychain()
{
    m_keychainState = KeychainState::Waiting;
    m_password.clear();
    setUnlockEnabled(false);
    m_keychainStatus->setText(platform::Strings::tr("Waiting for the keychain to hand over the password..."));
    m_keychainStatus->show();
    m_tryAgainButton->hide();
    fitKeychainStatus();
}

void PasswordOverlayWindowController::showKeychainFailure(const QString& reason)
{
    m_keychainState = KeychainState::Failed;
    m_password.clear();
    setUnlockEnabled(false);
    m_keychainStatus->setText(
        platform::Strings::tr("Mervane stays locked: the keychain did not hand over the password.") + u'\n'
        + reason);
    m_keychainStatus->show();
    m_tryAgainButton->show();
    fitKeychainStatus();
    m_tryAgainButton->setFocus(Qt::OtherFocusReason);
}

void PasswordOverlayWindowController::fitKeychainStatus()
{
    // The keychain's reason can run to several lines: the panel grows so that all of it shows
    // above the button.
    int bottom = 0;
    if (!m_keychainStatus->isHidden()) {
        QRect status = m_keychainStatus->geometry();
        status.setHeight(std::max(m_hintLabel->height(), m_keychainStatus->heightForWidth(status.width())));
        m_keychainStatus->setGeometry(status);
        bottom = status.bottom() + 1;
    }
    if (!m_tryAgainButton->isHidden()) {
        QRect button = m_tryAgainButton->geometry();
        button.moveTop(bottom + 4);
        m_tryAgainButton->setGeometry(button);
        bottom = button.bottom() + 1;
    }
    m_lockView->resize(panelSize.width(), std::max(panelSize.height(), bottom + 24));
    m_lockView->move((width() - m_lockView->width()) / 2, (height() - m_lockView->height()) / 2);
}

void PasswordOverlayWindowController::showPasswordReady(const QString& password, const QString& hint)
{
    m_keychainState = KeychainState::Ready;
    m_password = password;
    m_passwordHint = hint;
    m_keychainStatus->hide();
    m_tryAgainButton->hide();
    fitKeychainStatus();
    setUnlockEnabled(true);
    setFocusOnPasswordField();
}

void PasswordOverlayWindowController::setUnlockEnabled(bool enabled)
{
    m_pwdEditCtl->setEnabled(enabled);
    m_customUnlockButton->setEnabled(enabled);
    if (!enabled) {
        m_pwdEditCtl->clear();
        m_hintLabel->hide();
    }
}

void PasswordOverlayWindowController::unlockBtnPress()
{
    // A press while the lock spins is the same success again; the spin ends it once.
    if (m_animation->state() == QAbstractAnimation::Running)
        return;
    // Without the keychain's password nothing opens the lock, an empty field least of all.
    if (m_keychainState != KeychainState::Ready || m_password.isEmpty())
        return;
    if (m_pwdEditCtl->text() != m_password) {
        const bool showHint = m_passwordErrorCount >= 1;
        ++m_passwordErrorCount;
        if (showHint) {
            m_hintLabel->setText(platform::Strings::tr("Password hint: %1").arg(m_passwordHint));
            m_hintLabel->show();
        }
        if (m_completion)
            m_completion(false);
        return;
    }
    m_passwordErrorCount = 0;
    m_animation->setMaxDuration(spinMaxSeconds);
    m_animation->start();
}

void PasswordOverlayWindowController::subtleButtonEvent(QMouseEvent* event, SBSubtleButton* button)
{
    if (event->type() == QEvent::MouseButtonPress) {
        button->setTitle(pressedUnlockGlyph);
        unlockBtnPress();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        button->setTitle(unlockGlyph);
    }
}

void PasswordOverlayWindowController::animationDidStop()
{
    if (m_completion)
        m_completion(true);
}

void PasswordOverlayWindowController::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage tile = platform::image(u"PasscodeBgImage3"_s);
    if (tile.isNull())
        painter.fillRect(rect(), grey(60));
    else
        painter.fillRect(rect(), QBrush(tile));
}

void PasswordOverlayWindowController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_lockView->move((width() - m_lockView->width()) / 2, (height() - m_lockView->height()) / 2);
}
