#include "app/alerts/NoCategoriesWarningViewController.h"

#include "app/alerts/AlertLayout.h"
#include "app/alerts/PopoverClosing.h"
#include "platform/Strings.h"

NoCategoriesWarningViewController::NoCategoriesWarningViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("NoCategoriesWarningViewController"));
    auto* title = AlertLayout::makeTitle(platform::Strings::tr("No categories yet"), this);
    auto* message = AlertLayout::makeMessage(
        platform::Strings::tr("Please add at least one asset or liability category before you add a net "
                              "worth record."),
        this);
    m_closeButton = new QPushButton(platform::Strings::tr("OK"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(m_closeButton, &QPushButton::clicked, this, &NoCategoriesWarningViewController::closeHandler);
    AlertLayout::arrange(this, { title, message }, { m_closeButton });
    AlertLayout::fitToWidth(this, 340);
}

void NoCategoriesWarningViewController::closeHandler()
{
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
}
