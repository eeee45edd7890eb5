#include "LockTestSupport.h"

#include "model/ModelNotifications.h"
#include "uikit/controls/fields/NW_SecureTextField.h"
#include "uikit/overlay/SASpringAnimation.h"

#include <QTest>

#include <optional>

namespace mervane::test {

namespace {

constexpr int answerMilliseconds = 20000;

template <typename T> T waitFor(const std::function<void(QObject*, std::function<void(const T&)>)>& call)
{
    QObject context;
    std::optional<T> answer;
    call(&context, [&answer](const T& value) { answer = value; });
    EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, answerMilliseconds))
        << "the keychain did not answer";
    return answer ? *answer : T(platform::Unexpected(QStringLiteral("no answer")));
}

} // namespace

platform::MaybeError storeAndWait(const QString& password, const QString& hint)
{
    QObject context;
    std::optional<platform::MaybeError> answer;
    PasswordStore::setPasswordAndHint(
        password, hint, &context, [&answer](const platform::MaybeError& error) { answer = error; });
    EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, answerMilliseconds))
        << "the keychain did not answer";
    return answer ? *answer : platform::MaybeError(QStringLiteral("no answer"));
}

platform::Expected<PasswordStore::Stored> readAndWait()
{
    return waitFor<platform::Expected<PasswordStore::Stored>>(
        [](QObject* context, auto done) { PasswordStore::read(context, done); });
}

platform::Expected<QString> readItemAndWait(const QString& account)
{
    return waitFor<platform::Expected<QString>>(
        [account](QObject* context, auto done) { platform::Keychain::read(account, context, done); });
}

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

void InMemoryLockTest::SetUp()
{
    LockTest::SetUp();
    auto keychain = std::make_unique<platform::InMemoryKeychain>();
    m_keychain = keychain.get();
    platform::Keychain::setBackend(std::move(keychain));
}

void InMemoryLockTest::TearDown()
{
    LockTest::TearDown();
    platform::Keychain::setBackend(nullptr);
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

void LockTest::waitUntilReady()
{
    ASSERT_NE(controller(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            return controller()->keychainState() == PasswordOverlayWindowController::KeychainState::Ready;
        },
        answerMilliseconds))
        << "the lock never got the password: " << controller()->keychainStatus()->text().toStdString();
}

void LockTest::finishSpin()
{
    SASpringAnimation* spin = controller()->animation();
    ASSERT_EQ(spin->state(), QAbstractAnimation::Running);
    spin->setCurrentTime(spin->totalDuration());
}

} // namespace mervane::test
