#pragma once

#include <QColor>
#include <QWidget>

/// A pie, or with `annular` a ring, that fills clockwise from the top with the progress.
class PORoundProgressView : public QWidget {
    Q_OBJECT
public:
    explicit PORoundProgressView(QWidget* parent = nullptr);

    bool isAnnular() const { return m_annular; }
    void setAnnular(bool annular);
    /// Clamped to 0..1; non-finite values count as 0.
    qreal progress() const { return m_progress; }
    void setProgress(qreal progress);
    QColor progressTintColor() const { return m_progressTintColor; }
    void setProgressTintColor(const QColor& color);
    QColor backgroundTintColor() const { return m_backgroundTintColor; }
    void setBackgroundTintColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_annular = false;
    qreal m_progress = 0;
    QColor m_progressTintColor = QColor::fromRgbF(1, 1, 1, 1);
    QColor m_backgroundTintColor = QColor::fromRgbF(1, 1, 1, 0.1f);
};
