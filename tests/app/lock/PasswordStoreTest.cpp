#include "app/lock/PasswordStore.h"
#include "platform/Keychain.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class PasswordStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto keychain = std::make_unique<platform::InMemoryKeychain>();
        m_keychain = keychain.get();
        platform::Keychain::setBackend(std::move(keychain));
    }
    void TearDown() override { platform::Keychain::setBackend(nullptr); }

    void expectStored(const QString& password, const QString& hint)
    {
        EXPECT_EQ(PasswordStore::getThePassword(), password);
        EXPECT_EQ(PasswordStore::getThePasswordHint(), hint);
    }

    platform::InMemoryKeychain* m_keychain = nullptr;
};

TEST_F(PasswordStoreTest, StoresBothItemsUnderTheirAccountsAndReadsThemBack)
{
    expectStored({}, {});
    EXPECT_EQ(PasswordStore::setPasswordAndHint(u"s3cret"_s, u"pet"_s), std::nullopt);
    expectStored(u"s3cret"_s, u"pet"_s);
    EXPECT_EQ(m_keychain->items().value(u"UserAccount"_s), u"s3cret"_s);
    EXPECT_EQ(m_keychain->items().value(u"PasswordHint"_s), u"pet"_s);

    // Removing the password keeps both items, empty.
    EXPECT_EQ(PasswordStore::setPasswordAndHint({}, {}), std::nullopt);
    expectStored({}, {});
    EXPECT_TRUE(m_keychain->items().contains(u"UserAccount"_s));
    EXPECT_TRUE(m_keychain->items().contains(u"PasswordHint"_s));
}

TEST_F(PasswordStoreTest, AFailedWriteLeavesTheOldPasswordAndHint)
{
    ASSERT_EQ(PasswordStore::setPasswordAndHint(u"old"_s, u"old hint"_s), std::nullopt);

    // The password's write fails after the hint's went through: the hint goes back.
    m_keychain->failWrites(u"UserAccount"_s, u"Locked by the service"_s);
    const platform::MaybeError passwordFailed = PasswordStore::setPasswordAndHint(u"new"_s, u"new hint"_s);
    ASSERT_TRUE(passwordFailed);
    EXPECT_TRUE(passwordFailed->contains(u"Locked by the service"_s)) << passwordFailed->toStdString();
    expectStored(u"old"_s, u"old hint"_s);

    // The hint is written first: when it fails, the password is never touched.
    PasswordStoreTest::SetUp();
    ASSERT_EQ(PasswordStore::setPasswordAndHint(u"old"_s, u"old hint"_s), std::nullopt);
    m_keychain->failWrites(u"PasswordHint"_s, u"No room"_s);
    const platform::MaybeError hintFailed = PasswordStore::setPasswordAndHint(u"new"_s, u"new hint"_s);
    ASSERT_TRUE(hintFailed);
    EXPECT_TRUE(hintFailed->contains(u"No room"_s));
    expectStored(u"old"_s, u"old hint"_s);
}

TEST_F(PasswordStoreTest, AWriteTheKeychainDoesNotKeepIsAFailure)
{
    m_keychain->keepOnWrite(u"UserAccount"_s, u"truncat"_s);
    const platform::MaybeError error = PasswordStore::setPasswordAndHint(u"truncated"_s, u"hint"_s);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
}

TEST_F(PasswordStoreTest, WithoutAKeychainThereIsNoPasswordAndNothingIsStored)
{
    ASSERT_EQ(PasswordStore::setPasswordAndHint(u"s3cret"_s, u"pet"_s), std::nullopt);
    EXPECT_EQ(PasswordStore::unavailableReason(), std::nullopt);

    m_keychain->setUnavailable(u"No secret service"_s);
    EXPECT_EQ(PasswordStore::unavailableReason(), u"No secret service"_s);
    expectStored({}, {});
    const platform::MaybeError error = PasswordStore::setPasswordAndHint(u"other"_s, u"hint"_s);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"No secret service"_s));

    m_keychain->setUnavailable(std::nullopt);
    expectStored(u"s3cret"_s, u"pet"_s);
}

} // namespace
