#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class MOModalOverlay;

/// The dimming view of the modal overlay. A click on it asks the overlay to close when the
/// overlay allows background clicks.
class MOOverlayView : public QWidget {
    Q_OBJECT
public:
    explicit MOOverlayView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    MOModalOverlay* modalOverlay() const { return m_modalOverlay; }
    void setModalOverlay(MOModalOverlay* overlay) { m_modalOverlay = overlay; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_backgroundColor;
    QPointer<MOModalOverlay> m_modalOverlay;
};

/// The modal overlay's root: a child of the window covering all of it, title strip included,
/// rounded like the window, so that every click lands on the overlay.
class MOModalOverlayView : public QWidget {
    Q_OBJECT
public:
    explicit MOModalOverlayView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
