#include "categories/screen/RBLAskDeleteCategoryViewController.h"

#include "app/alerts/AlertLayout.h"
#include "app/alerts/PopoverClosing.h"
#include "categories/CategoriesNotifications.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"

using namespace Qt::Literals::StringLiterals;

RBLAskDeleteCategoryViewController::RBLAskDeleteCategoryViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"RBLAskDeleteCategoryViewController"_s);
    QLabel* title = AlertLayout::makeTitle(platform::Strings::tr("Delete the selected category?"), this);
    QLabel* message = AlertLayout::makeMessage(
        platform::Strings::tr("Its values leave every record. This cannot be undone."), this);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_okButton = new QPushButton(platform::Strings::tr("OK"), this);
    m_okButton->setObjectName(u"okButton"_s);
    connect(m_okButton, &QPushButton::clicked, this, &RBLAskDeleteCategoryViewController::okButtonClick);
    connect(
        m_cancelButton, &QPushButton::clicked, this, &RBLAskDeleteCategoryViewController::cancelButtonClick);
    AlertLayout::arrange(this, { title, message }, { m_cancelButton, m_okButton });
    AlertLayout::fitToWidth(this, 340);
}

void RBLAskDeleteCategoryViewController::okButtonClick()
{
    platform::NotificationCenter::defaultCenter().post(notifications::categoryDelete);
}

void RBLAskDeleteCategoryViewController::cancelButtonClick()
{
    closeEnclosingPopover(this);
}
