#include "app/alerts/AskManualDownload.h"

#include "app/alerts/AlertLayout.h"
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/PopoverClosing.h"
#include "platform/Strings.h"

AskManualDownload::AskManualDownload(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AskManualDownload"));
    auto* title = AlertLayout::makeTitle(platform::localized("Mervane documentation"), this);
    auto* message = AlertLayout::makeMessage(
        platform::localized("Open the Mervane user manual (PDF) from our web site?"), this);
    m_cancelButton = new QPushButton(platform::localized("Cancel"), this);
    m_yesButton = new QPushButton(platform::localized("Yes"), this);
    connect(m_yesButton, &QPushButton::clicked, this, &AskManualDownload::yesClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &AskManualDownload::cancelClick);
    AlertLayout::arrange(this, { title, message }, { m_cancelButton, m_yesButton });
    resize(340, 120);
}

void AskManualDownload::yesClick()
{
    ExternalLinks::open(ExternalLinks::userManual());
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
}

void AskManualDownload::cancelClick()
{
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
}
