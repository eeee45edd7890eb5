#pragma once

#include <QLabel>
#include <QPointer>
#include <QSize>
#include <QWidget>

class QScrollArea;

/// The content of every one-message popover: a single wrapped message. The owner shows the
/// popover, then sets the text on `alertCtl()` and gives the popover `fittingSize()`.
class SimpleAlertViewController : public QWidget {
    Q_OBJECT
public:
    /// The message wraps at this width; the height follows the text up to `maximumHeight`,
    /// beyond which the message scrolls.
    static constexpr int fixedWidth = 340;
    static constexpr int minimumHeight = 48;
    static constexpr int maximumHeight = 320;

    explicit SimpleAlertViewController(QWidget* parent = nullptr);

    QLabel* alertCtl() const { return m_alertCtl; }
    /// The size that shows the whole current text, or `maximumHeight` with a scroll bar.
    QSize fittingSize() const;

private:
    QPointer<QLabel> m_alertCtl;
    QScrollArea* m_scroll = nullptr;
};
