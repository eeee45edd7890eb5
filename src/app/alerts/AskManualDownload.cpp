#include "app/alerts/AskManualDownload.h"

#include "app/alerts/AlertLayout.h"
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/PopoverClosing.h"
#include "platform/Strings.h"

AskManualDownload::AskManualDownload(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AskManualDownload"));
    auto* title = AlertLayout::makeTitle(platform::Strings::tr("Mervane documentation"), this);
    auto* message = AlertLayout::makeMessage(
        platform::Strings::tr("Open the Mervane user manual (PDF) from our web site?"), this);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_yesButton = new QPushButton(platform::Strings::tr("Yes"), this);
    m_yesButton->setObjectName(QStringLiteral("yesButton"));
    connect(m_yesButton, &QPushButton::clicked, this, &AskManualDownload::yesClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &AskManualDownload::cancelClick);
    AlertLayout::arrange(this, { title, message }, { m_cancelButton, m_yesButton });
    AlertLayout::fitToWidth(this, 340);
}

void AskManualDownload::yesClick()
{
    // A failure is told at the button that offered the manual, as this panel goes.
    QWidget* anchor = enclosingPopoverAnchor(this);
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
    ExternalLinks::openFrom(ExternalLinks::userManual(), anchor ? anchor : this);
}

void AskManualDownload::cancelClick()
{
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
}
