#pragma once

#include <QLabel>

/// A link text that shows the pointing hand while the mouse moves over it, but only while
/// its window is the active one.
class NWTrackedHyperlinkView : public QLabel {
    Q_OBJECT
public:
    explicit NWTrackedHyperlinkView(QWidget* parent = nullptr);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
