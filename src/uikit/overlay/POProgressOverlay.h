#pragma once

#include "platform/Expected.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class POProgressOverlay;
class QAbstractAnimation;
class QGraphicsOpacityEffect;
class QLabel;

class POProgressOverlayDelegate {
public:
    virtual ~POProgressOverlayDelegate() = default;
    virtual void hudWasHidden(POProgressOverlay*) { }
    virtual void hudWasHiddenAfterDelay(POProgressOverlay*) { }
    virtual void hudWasTapped(POProgressOverlay*) { }
};

/// Covers a view while work runs, with a translucent rounded box holding an indicator, a label
/// and a details label. The work runs on the background pool; the completion runs exactly
/// once on the main thread after the overlay is gone and receives the work's error text (an
/// exception escaping the work becomes its error text). Built for one use.
class POProgressOverlay : public QWidget {
    Q_OBJECT
public:
    /// Returns an error text, or none on success. Runs off the main thread.
    using Work = std::function<platform::MaybeError()>;
    using Completion = std::function<void(const platform::MaybeError& error)>;

    enum class Mode {
        Indeterminate = 0,
        Determinate = 1,
        DeterminateHorizontalBar = 2,
        AnnularDeterminate = 3,
        CustomView = 4,
        Text = 5
    };
    /// How the box appears and goes: a plain fade, or a fade while it shrinks or grows.
    enum class AnimationType {
        Fade = 0,
        ZoomOut = 1, // from 1.5 to its size, then away to 0.5
        ZoomIn = 2, // from 0.5 to its size, then away to 1.5
    };

    /// Covers `view` (sized to it) as its child.
    explicit POProgressOverlay(QWidget* view);
    ~POProgressOverlay() override;

    /// A new overlay shown over `view`, which owns it (as its child).
    static POProgressOverlay* showHUDAddedTo(QWidget* view, bool animated);
    static bool hideHUDForView(QWidget* view, bool animated);
    static int hideAllHUDsForView(QWidget* view, bool animated);
    /// The topmost overlay of `view`, or null.
    static POProgressOverlay* HUDForView(QWidget* view);
    static QList<POProgressOverlay*> allHUDsForView(QWidget* view);

    void show(bool animated);
    void hide(bool animated);
    void hide(bool animated, double delaySeconds);
    /// Shows the overlay while `work` runs on the background pool, then hides it and runs
    /// `completion` (may be empty) on the main thread with the work's result.
    void showAnimated(bool animated, Work work, Completion completion = {});

    bool isFinished() const { return m_isFinished; }
    bool taskInProgress() const { return m_taskInProgress; }
    /// Whether the box is up (shown and not yet hidden).
    bool isShowing() const { return m_showStarted.isValid(); }
    /// The alpha of the whole overlay.
    qreal alpha() const;

    /// Texts may be set from any thread; they reach the labels on the main thread.
    QString labelText() const;
    void setLabelText(const QString& text);
    QString detailsLabelText() const;
    void setDetailsLabelText(const QString& text);
    void setLabelFont(const QFont& font);
    void setLabelColor(const QColor& color);
    void setDetailsLabelFont(const QFont& font);
    void setDetailsLabelColor(const QColor& color);
    Mode mode() const { return m_mode; }
    /// Values outside the enumeration are ignored.
    void setMode(Mode mode);
    /// The indicator of `Mode::CustomView`. The overlay owns the view it is given; the view it
    /// replaces is handed back to the caller, hidden and without parent (uikit/ViewOwnership.h).
    QWidget* customView() const { return m_customView; }
    void setCustomView(QWidget* view);
    /// Clamped to 0..1; may be set from any thread.
    qreal progress() const { return m_progress; }
    void setProgress(qreal progress);

    void setCompletionBlock(Completion completion);
    POProgressOverlayDelegate* delegate() const { return m_delegate; }
    void setDelegate(POProgressOverlayDelegate* delegate) { m_delegate = delegate; }

    AnimationType animationType() const { return m_animationType; }
    /// Values outside the enumeration are ignored.
    void setAnimationType(AnimationType type);
    double graceTime() const { return m_graceTime; }
    /// Seconds; NaN and negative values mean none, and waits are capped at a day.
    void setGraceTime(double seconds);
    double minShowTime() const { return m_minShowTime; }
    void setMinShowTime(double seconds);
    const QTimer& graceTimer() const { return m_graceTimer; }
    const QTimer& minShowTimer() const { return m_minShowTimer; }
    bool removeFromSuperViewOnHide() const { return m_removeFromSuperViewOnHide; }
    void setRemoveFromSuperViewOnHide(bool remove) { m_removeFromSuperViewOnHide = remove; }
    bool isDismissible() const { return m_dismissible; }
    void setDismissible(bool dismissible) { m_dismissible = dismissible; }
    bool dimBackground() const { return m_dimBackground; }
    void setDimBackground(bool dim);
    bool isSquare() const { return m_square; }
    void setSquare(bool square);
    // Geometry is clamped by platform/SaneGeometry.h: lengths to 0..maximumGeometry,
    // offsets to plus or minus it, the opacity to 0..1.
    void setOpacity(qreal opacity);
    void setColor(const QColor& color);
    void setXOffset(qreal offset);
    void setYOffset(qreal offset);
    void setMargin(qreal margin);
    void setCornerRadius(qreal radius);
    void setSpinsize(qreal size);
    void setMinSize(const QSizeF& size);
    /// The box, as laid out last, in Qt coordinates of the overlay.
    QRectF boxRect() const { return m_box; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Completer;
    void updateIndicators();
    void showUsingAnimation(bool animated);
    void hideUsingAnimation(bool animated);
    void cleanUp(const platform::MaybeError& error);
    void done();
    void layoutSubviews();
    void setAlpha(qreal alpha);
    /// Alpha to `endAlpha` and the box's zoom from `fromScale` to `toScale`, replacing a
    /// running animation.
    QAbstractAnimation* animate(qreal endAlpha, qreal fromScale, qreal toScale);
    void setTextOf(QLabel* label, const QString& text);

    QLabel* m_label = nullptr;
    QLabel* m_detailsLabel = nullptr;
    QPointer<QWidget> m_indicator;
    QPointer<QWidget> m_customView;
    QPointer<QAbstractAnimation> m_animation;
    QGraphicsOpacityEffect* m_opacity = nullptr;
    QTimer m_graceTimer;
    QTimer m_minShowTimer;
    QTimer m_hideDelayTimer;
    QDateTime m_showStarted;
    std::shared_ptr<Completer> m_completer;
    POProgressOverlayDelegate* m_delegate = nullptr;
    bool m_useAnimation = false;
    bool m_isFinished = false;
    bool m_taskInProgress = false;
    bool m_hiddenReported = false;
    bool m_workDone = false;
    platform::MaybeError m_workResult;
    bool m_square = false;
    bool m_dimBackground = false;
    bool m_dismissible = false;
    bool m_removeFromSuperViewOnHide = false;
    AnimationType m_animationType = AnimationType::Fade;
    Mode m_mode = Mode::Indeterminate;
    qreal m_opacityValue = 0.8;
    qreal m_xOffset = 0;
    qreal m_yOffset = 0;
    qreal m_spinsize = 60;
    qreal m_margin = 20;
    qreal m_cornerRadius = 10;
    double m_graceTime = 0;
    double m_minShowTime = 0;
    qreal m_progress = 0;
    qreal m_scale = 1;
    QColor m_color;
    QSizeF m_minSize;
    QRectF m_box;
};
