#pragma once

#include "uikit/window/TBGeometry.h"

#include <QAbstractButton>
#include <QImage>
#include <QPointer>
#include <QString>

class TBWindowButtonGroup;

/// An image-only button that shows one of five images according to its window and the
/// mouse: active, active while the window is not key, inactive (disabled), rollover and
/// pressed. Buttons made with a size and group identifier observe their group and show
/// the rollover image together with the group's other buttons; buttons made with the
/// plain constructor belong to the default group and only follow their own mouse events.
/// Setting an image stores it; the shown image changes at the next state change (or
/// through `setImage`). The mouse counts as over the button within `kTrackingMargin`
/// points around it; the parent's mouse moves tell. Main thread only.
class TBWindowButton : public QAbstractButton {
    Q_OBJECT
public:
    /// Button behaviours by their stored numbers: 5 shows the pressed image while held
    /// down; the toggle kinds keep it while switched on.
    enum class ButtonType {
        MomentaryLight = 0,
        PushOnPushOff = 1,
        Toggle = 2,
        Switch = 3,
        Radio = 4,
        MomentaryChange = 5,
        OnOff = 6,
        MomentaryPushIn = 7,
    };
    /// Widget-owned like any child; the group notification ends with the button.
    explicit TBWindowButton(QWidget* parent = nullptr);
    TBWindowButton(const QSizeF& size, const QString& groupIdentifier, QWidget* parent = nullptr);
    ~TBWindowButton() override;

    /// A new button of the given size in the group; the caller (or `parent`) owns it.
    static TBWindowButton* windowButtonWithSize(
        double width, double height, const QString& groupIdentifier, QWidget* parent = nullptr);

    QString groupIdentifier() const { return m_groupIdentifier; }
    void setGroupIdentifier(const QString& identifier) { m_groupIdentifier = identifier; }
    TBWindowButtonGroup* group() const;

    QImage activeImage() const { return m_activeImage; }
    void setActiveImage(const QImage& image) { m_activeImage = image; }
    QImage activeNotKeyWindowImage() const { return m_activeNotKeyWindowImage; }
    void setActiveNotKeyWindowImage(const QImage& image) { m_activeNotKeyWindowImage = image; }
    QImage inactiveImage() const { return m_inactiveImage; }
    void setInactiveImage(const QImage& image) { m_inactiveImage = image; }
    QImage rolloverImage() const { return m_rolloverImage; }
    void setRolloverImage(const QImage& image) { m_rolloverImage = image; }
    /// The alternate image, shown while the button is held down (and while a toggle is on).
    QImage pressedImage() const { return m_pressedImage; }
    void setPressedImage(const QImage& image);

    /// The image shown now (unless the pressed image covers it).
    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    /// What the button draws at this moment.
    QImage displayedImage() const;

    ButtonType buttonType() const { return m_buttonType; }
    void setButtonType(ButtonType type);
    bool isBordered() const { return m_bordered; }
    /// Window buttons never draw a bezel; the flag is kept for callers that read it back.
    void setBordered(bool bordered) { m_bordered = bordered; }
    /// On (1) or off (0), for the toggle kinds.
    int state() const { return isChecked() ? 1 : 0; }
    void setState(int state) { setChecked(state != 0); }

    /// The key that presses the button ("l", ","), combined with the modifier mask.
    void setKeyEquivalent(const QString& key);
    void setKeyEquivalentModifierMask(Qt::KeyboardModifiers modifiers);
    void setAutoresizingMask(TBGeometry::AutoresizingMask mask);

    void updateRollOverImage();
    void updateImage();
    void updateActiveImage();

    /// Reactions to the window; public so that windows of the kit can tell their buttons.
    void windowDidChangeFocus();
    void windowWillEnterFullScreen();
    void windowWillExitFullScreen();
    void windowDidMiniaturize();
    void viewDidEndLiveResize();

    QSize sizeHint() const override;

    /// Points around the bounds in which the mouse counts as over the button, so that
    /// the gap between neighbouring window buttons keeps the group's rollover.
    static constexpr int kTrackingMargin = 4;
    /// The area, in the parent's coordinates, in which the mouse counts as over the button.
    QRect mouseTrackingArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void observeWindow();
    void trackParent();
    void trackParentEvent(QEvent* event);
    void windowEvent(QEvent* event);
    void setMouseInside(bool inside);
    void updateShortcut();
    bool windowIsKey() const;

    QString m_groupIdentifier;
    QImage m_activeImage;
    QImage m_activeNotKeyWindowImage;
    QImage m_inactiveImage;
    QImage m_rolloverImage;
    QImage m_pressedImage;
    QImage m_image;
    ButtonType m_buttonType = ButtonType::MomentaryLight;
    bool m_bordered = true;
    QString m_keyEquivalent;
    Qt::KeyboardModifiers m_keyModifiers;
    QSize m_designSize;
    QPointer<QWidget> m_observedWindow;
    QPointer<QWidget> m_trackedParent;
    bool m_mouseInside = false;
    Qt::WindowStates m_lastWindowState;
};
