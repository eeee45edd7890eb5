#include "records/list/AskDeleteContentViewController.h"

#include "app/alerts/AlertLayout.h"
#include "app/alerts/PopoverClosing.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "records/RecordsNotifications.h"

using namespace Qt::Literals::StringLiterals;

AskDeleteContentViewController::AskDeleteContentViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"AskDeleteContentViewController"_s);
    QLabel* title = AlertLayout::makeTitle(platform::Strings::tr("Delete the selected record?"), this);
    QLabel* message = AlertLayout::makeMessage(platform::Strings::tr("This cannot be undone."), this);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_okButton = new QPushButton(platform::Strings::tr("OK"), this);
    m_okButton->setObjectName(u"okButton"_s);
    connect(m_okButton, &QPushButton::clicked, this, &AskDeleteContentViewController::okButtonClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &AskDeleteContentViewController::cancelButtonClick);
    AlertLayout::arrange(this, { title, message }, { m_cancelButton, m_okButton });
    AlertLayout::fitToWidth(this, 320);
}

void AskDeleteContentViewController::okButtonClick()
{
    platform::NotificationCenter::defaultCenter().post(notifications::nwRecordDelete);
}

void AskDeleteContentViewController::cancelButtonClick()
{
    closeEnclosingPopover(this);
}
