#include "LockTestSupport.h"

#include "model/ModelNotifications.h"
#include "uikit/controls/fields/NW_SecureTextField.h"
#include "uikit/overlay/SASpringAnimation.h"

#include <QTest>

namespace mervane::test {

void LockTest::SetUp()
{
    TempHomeTest::SetUp();
    platform::NotificationCenter::defaultCenter().addObserver(
        &m_listener, notifications::dataReFetched, [this](const platform::Notification&) { ++m_refetches; });
}

void LockTest::TearDown()
{
    platform::NotificationCenter::defaultCenter().removeObserver(&m_listener);
    m_delegate.reset();
    TempHomeTest::TearDown();
}

AppDelegate& LockTest::makeDelegate()
{
    m_delegate.reset();
    m_delegate = std::make_unique<AppDelegate>(&m_store);
    m_delegate->setCommandHandlers(std::make_unique<LockTestCommands>(*m_delegate, &m_store, &m_calls));
    return *m_delegate;
}

AppLock& LockTest::lock() const
{
    return static_cast<AppCommands&>(m_delegate->commandHandlers()).appLock();
}

void LockTest::attempt(const QString& text)
{
    NW_SecureTextField* field = controller()->pwdEditCtl();
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Return);
}

void LockTest::finishSpin()
{
    SASpringAnimation* spin = controller()->animation();
    ASSERT_EQ(spin->state(), QAbstractAnimation::Running);
    spin->setCurrentTime(spin->totalDuration());
}

} // namespace mervane::test
