#pragma once

#include "uikit/window/TBStandardButtons.h"
#include "uikit/window/TBWindowDelegate.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class TBWindowBorderView;
class TBWindowButton;
class TBWindowDelegateProxy;
class TBWindowResizeGrip;
class TBWindowTitleBarView;

/// A frameless window whose content view fills the whole frame, title strip included,
/// and whose title strip (`titleBarView`) can be made taller than the default. It lays
/// out its own close, minimise and zoom buttons, can hide its title, moves when its
/// strip is dragged and resizes by its edges. A delegate proxy lets the window hear its
/// own delegate messages while an outside delegate still receives all of them.
/// Geometry of the window itself (`frame`, `setFrame`) is in Qt's screen coordinates.
class TBWindow : public QWidget, protected TBWindowDelegate {
    Q_OBJECT
public:
    /// Style bits kept from the design; only the ones this window reports.
    enum class Style : unsigned {
        Titled = 1,
        Closable = 2,
        Miniaturizable = 4,
        Resizable = 8,
        Textured = 0x100,
        FullScreenMask = 1U << 14,
        FullSizeContentView = 0x8000,
    };
    Q_DECLARE_FLAGS(StyleMask, Style)
    /// Content-view materials by their stored numbers: the two the window asks for.
    enum class Material : int { Light = 1, Dark = 2 };

    explicit TBWindow(QWidget* parent = nullptr);
    ~TBWindow() override;

    /// Whether translucent materials for the content view exist; there are none here.
    static bool supportsVibrantAppearances();
    /// The height of a standard title strip, in points.
    static float defaultTitleBarHeight();
    /// Where the last set-up of any window found its close button: its x, and the
    /// distance from the top of the strip to the top of the button.
    static float defaultLeftMargin();
    static float defaultTopMargin();

    /// Never lower than `defaultTitleBarHeight` nor higher than `platform::maximumGeometry`
    /// (NaN counts as 0); keeps the window's top edge in place.
    void setTitleBarHeight(double height);
    /// The height last set; 0 before the first `setTitleBarHeight`.
    double titleBarHeight() const { return m_titleBarHeight; }
    /// Height of the filler that makes the strip taller than the default; none before
    /// the first `setTitleBarHeight`.
    std::optional<double> titleBarAccessoryHeight() const { return m_accessoryHeight; }
    /// The strip that holds the window buttons; callers add their own title-bar controls
    /// to it. Owned by the window; after `replaceSubview` of the strip, the replacement.
    /// Null once a caller deleted it.
    QWidget* titleBarView() const;

    bool centerTrafficLightButtons() const { return m_centerTrafficLightButtons; }
    void setCenterTrafficLightButtons(bool center);
    bool hidesTitle() const { return m_hidesTitle; }
    void setHidesTitle(bool hides);
    double trafficLightButtonsLeftMargin() const { return m_trafficLightButtonsLeftMargin; }
    /// Takes effect at the next layout (resize, show, frame or centring change). Clamped to
    /// a coordinate (`platform::saneCoordinate`).
    void setTrafficLightButtonsLeftMargin(double margin);
    /// There is no separate full-screen button on this window.
    void setCenterFullScreenButton(bool center) { Q_UNUSED(center); }

    /// Close, minimise and zoom, in that order; a button a caller deleted is left out.
    QList<TBWindowButton*> standardButtons() const;
    /// Close, minimise or zoom; null for any other kind and for a deleted button.
    TBWindowButton* standardWindowButton(TBStandardButtons::Kind kind) const;

    /// Titled, closable, miniaturizable, resizable, full-size content, and the full-screen
    /// bit while full screen (`QWidget::isFullScreen`).
    StyleMask styleMask() const;

    /// No effect without translucent materials (`supportsVibrantAppearances`).
    void setContentViewAppearance(Material material);
    void setContentViewAppearanceVibrantDark() { setContentViewAppearance(Material::Dark); }
    void setContentViewAppearanceVibrantLight() { setContentViewAppearance(Material::Light); }
    /// The window's own palette: dark, light, or the standard light one.
    void setVibrantDarkAppearance();
    void setVibrantLightAppearance();
    void setAquaAppearance();

    /// The view filling the window. The kit's ownership rule (uikit/ViewOwnership.h): the
    /// window owns the view it is given; the view it replaces is handed back to the caller
    /// (hidden, without parent), unless the window made it itself, which it deletes later.
    /// A null view is refused.
    QWidget* contentView() const { return m_contentView; }
    void setContentView(QWidget* view);
    /// Puts `replacement` where `old` was: same frame when `resizing`, `old`'s children
    /// moved over with their frames. `old` follows the ownership rule of `setContentView`;
    /// replacing the title strip makes `replacement` the strip. A null `replacement` is
    /// refused.
    void replaceSubview(QWidget* old, QWidget* replacement, bool resizing);
    /// A new view of class T with `old`'s frame in its place; returns it.
    template <typename T> T* replaceSubview(QWidget* old)
    {
        auto* replacement = new T();
        replaceSubview(old, replacement, true);
        return replacement;
    }

    /// The outside delegate; null until `setDelegate`. Not owned.
    TBWindowDelegate* delegate() const;
    void setDelegate(TBWindowDelegate* delegate);
    TBWindowDelegateProxy* delegateProxy() const { return m_delegateProxy.get(); }

    QRect frame() const { return geometry(); }
    void setFrame(const QRect& frame, bool display);
    /// Shows the window in front of the others.
    void orderFront();

    void performClose();
    void performMiniaturize();
    void performZoom();

    /// Places the window buttons by the traffic-light rule.
    void layoutTrafficLights();

protected:
    void windowDidResize(QWidget* window) override;

    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void setUp();
    void layoutChrome();
    TBWindowDelegate* currentDelegate() const { return m_superDelegate; }
    void liveResizeEnded();

    bool m_centerTrafficLightButtons = false;
    bool m_hidesTitle = false;
    double m_titleBarHeight = 0;
    double m_trafficLightButtonsLeftMargin = 0;
    std::optional<double> m_accessoryHeight;
    std::unique_ptr<TBWindowDelegateProxy> m_delegateProxy;
    TBWindowDelegate* m_superDelegate = nullptr;
    /// Lets `old` go by the ownership rule: deleted later when the window made it.
    void releaseReplaced(QWidget* old);

    // Callers may delete or replace any of these children; the window must not dangle.
    QList<QPointer<TBWindowButton>> m_standardButtons;
    QPointer<QWidget> m_contentView;
    QPointer<QWidget> m_titleBarView;
    QList<QPointer<QWidget>> m_madeViews;
    QList<QPointer<TBWindowResizeGrip>> m_grips;
    QPointer<TBWindowBorderView> m_border;
    Qt::WindowStates m_lastState;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TBWindow::StyleMask)
