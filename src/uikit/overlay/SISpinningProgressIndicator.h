#pragma once

#include <QColor>
#include <QList>
#include <QTimer>
#include <QWidget>

/// A round activity indicator of twelve fins whose lit fin travels clockwise while the
/// others fade; stopped, it fades out and stays as a dim still image or hides. Its
/// determinate form is a pie filled with `doubleValue / maxValue`.
///
/// Frames always come from a timer on the main thread, where all painting happens; the
/// `usesThreadedAnimation` flag is kept for callers but changes nothing about threads.
class SISpinningProgressIndicator : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNumberOfFins = 12;
    static constexpr int kFrameMilliseconds = 50;

    explicit SISpinningProgressIndicator(QWidget* parent = nullptr);
    ~SISpinningProgressIndicator() override;

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_isAnimating; }
    bool isFadingOut() const { return m_isFadingOut; }

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    bool drawsBackground() const { return m_drawsBackground; }
    void setDrawsBackground(bool draws);
    bool isDisplayedWhenStopped() const { return m_displayedWhenStopped; }
    void setDisplayedWhenStopped(bool displayed);
    bool usesThreadedAnimation() const { return m_usesThreadedAnimation; }
    void setUsesThreadedAnimation(bool threaded);
    bool isIndeterminate() const { return m_indeterminate; }
    void setIndeterminate(bool indeterminate);
    double doubleValue() const { return m_doubleValue; }
    void setDoubleValue(double value);
    double maxValue() const { return m_maxValue; }
    void setMaxValue(double value);

    /// One frame: the lit fin moves on and every fin fades a little.
    void updateFrame();
    /// The fin lit next.
    int position() const { return m_position; }
    /// The current alpha of each fin.
    QList<qreal> finAlphas() const { return m_finAlphas; }
    /// Whether the frame timer runs.
    bool isTicking() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void actuallyStartAnimation();
    void actuallyStopAnimation();
    qreal minimumAlpha() const { return m_displayedWhenStopped ? 0.15 : 0.01; }

    int m_position = 0;
    QList<qreal> m_finAlphas;
    bool m_isAnimating = false;
    bool m_isFadingOut = false;
    QTimer m_timer;
    QColor m_color = Qt::black;
    QColor m_backgroundColor = Qt::transparent;
    bool m_drawsBackground = false;
    bool m_displayedWhenStopped = true;
    bool m_usesThreadedAnimation = true;
    bool m_indeterminate = true;
    double m_doubleValue = 0;
    double m_maxValue = 100;
};
