#include "app/alerts/AskDeleteAllData.h"

#include "app/AppNotifications.h"
#include "app/alerts/AlertLayout.h"
#include "app/alerts/PopoverClosing.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kWidth = 380;
} // namespace

AskDeleteAllData::AskDeleteAllData(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"AskDeleteAllData"_s);
    m_titleCtl
        = AlertLayout::makeTitle(platform::Strings::tr("Confirm deleting of all application data"), this);
    m_messageCtl = AlertLayout::makeMessage(
        platform::Strings::tr("This action will delete all of your records, categories and tags. "
                              "It cannot be undone."),
        this);
    m_titleCtl->setObjectName(u"titleCtl"_s);
    m_messageCtl->setObjectName(u"messageCtl"_s);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_okButton = new QPushButton(platform::Strings::tr("OK"), this);
    m_okButton->setObjectName(u"okButton"_s);
    connect(m_okButton, &QPushButton::clicked, this, &AskDeleteAllData::okActionClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &AskDeleteAllData::cancelActionClick);
    AlertLayout::arrange(this, { m_titleCtl, m_messageCtl }, { m_cancelButton, m_okButton });
    AlertLayout::fitToWidth(this, kWidth);
}

void AskDeleteAllData::changeWarningType(bool restore)
{
    if (!restore)
        return;
    m_showRestoreWarning = true;
    m_titleCtl->setText(platform::Strings::tr("Confirm restoring of all application data"));
    m_messageCtl->setText(
        platform::Strings::tr("This action will delete all of your current records and replace "
                              "them with records saved in a previously saved backup file."));
    // Asked just before the popover shows: it is placed at the new height at once.
    AlertLayout::fitToWidth(this, kWidth);
}

void AskDeleteAllData::okActionClick()
{
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
    // Posted once this click has been handled: what answers it opens modal panels, in whose
    // event loops this confirmation and its popover go.
    const QString name = m_showRestoreWarning ? notifications::restoreAllData : notifications::deleteAllData;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [name] { platform::NotificationCenter::defaultCenter().post(name); },
        Qt::QueuedConnection);
}

void AskDeleteAllData::cancelActionClick()
{
    Q_EMIT closeRequested();
    closeEnclosingPopover(this);
}
