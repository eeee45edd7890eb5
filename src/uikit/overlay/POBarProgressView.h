#pragma once

#include <QColor>
#include <QWidget>

/// A rounded bar that fills from the left with the progress. It draws from its own
/// rectangle, whatever part of it is being repainted.
class POBarProgressView : public QWidget {
    Q_OBJECT
public:
    explicit POBarProgressView(QWidget* parent = nullptr);

    /// Clamped to 0..1; non-finite values count as 0.
    qreal progress() const { return m_progress; }
    void setProgress(qreal progress);
    QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor& color);
    QColor progressRemainingColor() const { return m_progressRemainingColor; }
    void setProgressRemainingColor(const QColor& color);
    QColor progressColor() const { return m_progressColor; }
    void setProgressColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_progress = 0;
    QColor m_lineColor = Qt::white;
    QColor m_progressRemainingColor = Qt::transparent;
    QColor m_progressColor = Qt::white;
};
