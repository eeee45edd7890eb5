// The device a one-time body stream is sent through: a rewind that would resend a spent
// stream must get a new one or fail, never succeed with nothing new to read.
#include "SessionTestSupport.h"

#include "net/session/RenewableBodyStream.h"

#include <gtest/gtest.h>

using namespace mervane::test;

namespace {

/// Hands out the given streams, one per question, then none; counts the questions.
struct Renewals {
    QList<std::shared_ptr<QIODevice>> streams;
    int asked = 0;

    net::RenewableBodyStream::Renewal renewal()
    {
        return [this]() -> std::shared_ptr<QIODevice> {
            ++asked;
            return streams.isEmpty() ? nullptr : streams.takeFirst();
        };
    }
};

} // namespace

TEST(RenewableBodyStream, ARewindAfterReadingSendsANewStreamOrFails)
{
    // Nothing read yet: the first stream is still whole, and nobody is asked.
    Renewals renewals;
    net::RenewableBodyStream unread(std::make_shared<OneTimeBody>("first"), renewals.renewal());
    EXPECT_TRUE(unread.reset());
    EXPECT_EQ(renewals.asked, 0);
    EXPECT_EQ(unread.readAll(), QByteArray("first"));

    // Read: the rewind reads on from the new stream, from its start.
    renewals.streams = { std::make_shared<OneTimeBody>("second") };
    net::RenewableBodyStream renewed(std::make_shared<OneTimeBody>("first"), renewals.renewal());
    EXPECT_EQ(renewed.read(3), QByteArray("fir"));
    EXPECT_TRUE(renewed.reset());
    EXPECT_EQ(renewals.asked, 1);
    EXPECT_EQ(renewed.readAll(), QByteArray("second"));

    // No new stream: the rewind fails and says why, however often it is tried.
    for (auto renewal : { renewals.renewal(), net::RenewableBodyStream::Renewal() }) {
        net::RenewableBodyStream spent(std::make_shared<OneTimeBody>("first"), renewal);
        EXPECT_EQ(spent.readAll(), QByteArray("first"));
        EXPECT_FALSE(spent.reset());
        EXPECT_FALSE(spent.reset());
        EXPECT_EQ(spent.errorString(), net::RenewableBodyStream::exhaustedReason());
    }
    EXPECT_EQ(renewals.asked, 3);
}

TEST(RenewableBodyStream, OnlyAStreamNothingWasReadFromIsHandedOn)
{
    Renewals renewals;
    auto second = std::make_shared<OneTimeBody>("second");
    renewals.streams = { second };
    net::RenewableBodyStream stream(std::make_shared<OneTimeBody>("first"), renewals.renewal());
    EXPECT_EQ(stream.read(1), QByteArray("f"));
    EXPECT_FALSE(stream.takeUnread());

    ASSERT_TRUE(stream.reset());
    EXPECT_EQ(stream.takeUnread(), second);
    EXPECT_EQ(second->readAll(), QByteArray("second"));
    // What was handed on is no longer read here.
    EXPECT_TRUE(stream.atEnd());
    EXPECT_EQ(stream.bytesAvailable(), 0);
    EXPECT_TRUE(stream.read(10).isEmpty());
    EXPECT_FALSE(stream.takeUnread());
}
