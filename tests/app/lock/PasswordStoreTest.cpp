#include "LockTestSupport.h"

#include "app/lock/PasswordStore.h"
#include "app/shell/AppSettings.h"
#include "platform/Keychain.h"
#include "platform/UserDefaults.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class PasswordStoreTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        auto keychain = std::make_unique<platform::InMemoryKeychain>();
        m_keychain = keychain.get();
        platform::Keychain::setBackend(std::move(keychain));
    }
    void TearDown() override
    {
        platform::Keychain::setBackend(nullptr);
        TempHomeTest::TearDown();
    }

    void expectStored(const QString& password, const QString& hint)
    {
        EXPECT_EQ(m_keychain->items().value(u"UserAccount"_s), password);
        EXPECT_EQ(m_keychain->items().value(u"PasswordHint"_s), hint);
        const auto stored = readAndWait();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->password, password);
        EXPECT_EQ(stored->hint, hint);
    }
    static bool flagStored()
    {
        return platform::UserDefaults::standard().contains(AppSettings::appLockIsSetKey);
    }

    platform::InMemoryKeychain* m_keychain = nullptr;
};

TEST_F(PasswordStoreTest, StoresBothItemsUnderTheirAccountsAndTheFlagFollowsThePassword)
{
    expectStored({}, {});
    EXPECT_FALSE(flagStored());
    EXPECT_EQ(storeAndWait(u"s3cret"_s, u"pet"_s), std::nullopt);
    expectStored(u"s3cret"_s, u"pet"_s);
    EXPECT_TRUE(AppSettings::appLockIsSet());
    // The flag is a plain boolean: nothing of the password reaches the settings file.
    const QByteArray settings = readFile(platform::UserDefaults::standard().filePath());
    EXPECT_FALSE(settings.isEmpty());
    EXPECT_FALSE(settings.contains("s3cret"));
    EXPECT_FALSE(settings.contains("pet"));

    // Removing the password keeps both items, empty, and clears the flag.
    EXPECT_EQ(storeAndWait({}, {}), std::nullopt);
    expectStored({}, {});
    EXPECT_TRUE(m_keychain->items().contains(u"UserAccount"_s));
    EXPECT_TRUE(m_keychain->items().contains(u"PasswordHint"_s));
    EXPECT_TRUE(flagStored());
    EXPECT_FALSE(AppSettings::appLockIsSet());
}

TEST_F(PasswordStoreTest, AFailedWriteLeavesTheOldPasswordAndHint)
{
    ASSERT_EQ(storeAndWait(u"old"_s, u"old hint"_s), std::nullopt);

    // The password's write fails after the hint's went through: the hint goes back.
    m_keychain->failWrites(u"UserAccount"_s, u"Locked by the service"_s);
    const platform::MaybeError passwordFailed = storeAndWait(u"new"_s, u"new hint"_s);
    ASSERT_TRUE(passwordFailed);
    EXPECT_TRUE(passwordFailed->contains(u"Locked by the service"_s)) << passwordFailed->toStdString();
    m_keychain->stopFailing();
    expectStored(u"old"_s, u"old hint"_s);
    EXPECT_TRUE(AppSettings::appLockIsSet());

    // The hint is written first: when it fails, the password is never touched.
    ASSERT_EQ(storeAndWait(u"old"_s, u"old hint"_s), std::nullopt);
    m_keychain->failWrites(u"PasswordHint"_s, u"No room"_s);
    const platform::MaybeError hintFailed = storeAndWait(u"new"_s, u"new hint"_s);
    ASSERT_TRUE(hintFailed);
    EXPECT_TRUE(hintFailed->contains(u"No room"_s));
    m_keychain->stopFailing();
    expectStored(u"old"_s, u"old hint"_s);
}

TEST_F(PasswordStoreTest, AWriteTheKeychainDoesNotKeepIsAFailure)
{
    m_keychain->keepOnWrite(u"UserAccount"_s, u"truncat"_s);
    const platform::MaybeError error = storeAndWait(u"truncated"_s, u"hint"_s);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    // The earlier state (no password) is back, and the lock is still off.
    expectStored({}, {});
    EXPECT_FALSE(AppSettings::appLockIsSet());
}

TEST_F(PasswordStoreTest, AHintTheKeychainDoesNotKeepRollsBackThePasswordAndHintWhole)
{
    // No password yet: the new password must not stay behind a hint that is not the user's.
    m_keychain->keepOnWrite(u"PasswordHint"_s, u"someone else's hint"_s);
    const platform::MaybeError first = storeAndWait(u"s3cret"_s, u"pet"_s);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->contains(u"did not keep"_s)) << first->toStdString();
    expectStored({}, {});
    EXPECT_FALSE(AppSettings::appLockIsSet());

    // With a password: the old password and the old hint are both back, the lock unchanged.
    ASSERT_EQ(storeAndWait(u"old"_s, u"old hint"_s), std::nullopt);
    m_keychain->keepOnWrite(u"PasswordHint"_s, u"someone else's hint"_s);
    ASSERT_TRUE(storeAndWait(u"new"_s, u"new hint"_s));
    expectStored(u"old"_s, u"old hint"_s);
    EXPECT_TRUE(AppSettings::appLockIsSet());
}

TEST_F(PasswordStoreTest, AnOldHintThatCannotBeReadStopsTheStoreBeforeAnythingIsWritten)
{
    ASSERT_EQ(storeAndWait(u"old"_s, u"old hint"_s), std::nullopt);
    m_keychain->failReads(u"PasswordHint"_s, u"Item is locked"_s);
    const platform::MaybeError error = storeAndWait(u"new"_s, u"new hint"_s);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"Item is locked"_s));
    // Only the first store wrote.
    EXPECT_EQ(m_keychain->answered().count(u"write PasswordHint"_s), 1);
    EXPECT_EQ(m_keychain->answered().count(u"write UserAccount"_s), 1);
    m_keychain->stopFailing();
    expectStored(u"old"_s, u"old hint"_s);

    // For the lock, an unreadable hint is an empty one: the password still opens it.
    m_keychain->failReads(u"PasswordHint"_s, u"Item is locked"_s);
    const auto stored = readAndWait();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->password, u"old"_s);
    EXPECT_TRUE(stored->hint.isEmpty());
}

TEST_F(PasswordStoreTest, WithoutAKeychainThereIsNoPasswordAndNothingIsStored)
{
    ASSERT_EQ(storeAndWait(u"s3cret"_s, u"pet"_s), std::nullopt);

    m_keychain->setUnavailable(u"No secret service"_s);
    const auto unreadable = readAndWait();
    ASSERT_FALSE(unreadable);
    EXPECT_EQ(unreadable.error(), u"No secret service"_s);
    const platform::MaybeError error = storeAndWait(u"other"_s, u"hint"_s);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"No secret service"_s));
    EXPECT_TRUE(AppSettings::appLockIsSet());

    m_keychain->setUnavailable(std::nullopt);
    expectStored(u"s3cret"_s, u"pet"_s);
}

TEST_F(PasswordStoreTest, ASlowKeychainFinishesTheStoreAfterItsCallerIsGone)
{
    m_keychain->setAnswering(platform::InMemoryKeychain::Answering::WhenReleased);
    bool answered = false;
    {
        QObject popover;
        PasswordStore::setPasswordAndHint(
            u"s3cret"_s, u"pet"_s, &popover, [&answered](const platform::MaybeError&) { answered = true; });
        // Nothing is answered (or written) before the keychain says so.
        EXPECT_EQ(m_keychain->heldCount(), 1); // the old password's read
        EXPECT_TRUE(m_keychain->items().isEmpty());
    }
    while (m_keychain->heldCount() > 0)
        m_keychain->answerHeld();
    EXPECT_FALSE(answered);
    m_keychain->setAnswering(platform::InMemoryKeychain::Answering::Soon);
    expectStored(u"s3cret"_s, u"pet"_s);
    EXPECT_TRUE(AppSettings::appLockIsSet());
}

} // namespace
