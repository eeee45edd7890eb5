#pragma once

#include <QProgressBar>

/// A plain progress bar drawn with a muted tint over white.
class POSpinnerProgressView : public QProgressBar {
    Q_OBJECT
public:
    explicit POSpinnerProgressView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
