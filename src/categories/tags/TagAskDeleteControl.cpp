#include "categories/tags/TagAskDeleteControl.h"

#include "app/alerts/AlertLayout.h"
#include "app/alerts/PopoverClosing.h"
#include "categories/CategoriesNotifications.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"

using namespace Qt::Literals::StringLiterals;

TagAskDeleteControl::TagAskDeleteControl(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"TagAskDeleteControl"_s);
    QLabel* title = AlertLayout::makeTitle(platform::Strings::tr("Delete the selected tag?"), this);
    QLabel* message = AlertLayout::makeMessage(
        platform::Strings::tr("The tag is also removed from every category that carries it."), this);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_okButton = new QPushButton(platform::Strings::tr("OK"), this);
    m_okButton->setObjectName(u"okButton"_s);
    connect(m_okButton, &QPushButton::clicked, this, &TagAskDeleteControl::okButtonClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &TagAskDeleteControl::cancelButtonClick);
    AlertLayout::arrange(this, { title, message }, { m_cancelButton, m_okButton });
    AlertLayout::fitToWidth(this, 320);
}

void TagAskDeleteControl::okButtonClick()
{
    platform::NotificationCenter::defaultCenter().post(notifications::tagDelete);
}

void TagAskDeleteControl::cancelButtonClick()
{
    closeEnclosingPopover(this);
}
