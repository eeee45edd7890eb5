#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

/// The content of every one-message popover: a single wrapped message. The owner shows the
/// popover, then sets the text on `alertCtl()`.
class SimpleAlertViewController : public QWidget {
    Q_OBJECT
public:
    explicit SimpleAlertViewController(QWidget* parent = nullptr);

    QLabel* alertCtl() const { return m_alertCtl; }

private:
    QPointer<QLabel> m_alertCtl;
};
