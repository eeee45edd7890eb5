#include "app/alerts/SimpleAlertViewController.h"

#include <QVBoxLayout>

SimpleAlertViewController::SimpleAlertViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SimpleAlertViewController"));
    m_alertCtl = new QLabel(this);
    m_alertCtl->setObjectName(QStringLiteral("alertCtl"));
    // Messages carry file names and error texts from the system: never rich text.
    m_alertCtl->setTextFormat(Qt::PlainText);
    m_alertCtl->setWordWrap(true);
    m_alertCtl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_alertCtl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(m_alertCtl);
    // The text arrives after the popover is shown, so the size cannot follow it.
    resize(340, 96);
}
