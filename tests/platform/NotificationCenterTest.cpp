#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <QObject>

#include <memory>

using platform::Notification;
using platform::NotificationCenter;

namespace {

TEST(NotificationCenter, DeliversSynchronouslyInRegistrationOrderWithPayload)
{
    NotificationCenter center;
    QObject context;
    QStringList calls;
    QVariantMap seenInfo;
    center.addObserver(&context, QStringLiteral("dataReFetched"),
        [&](const Notification&) { calls << QStringLiteral("first"); });
    center.addObserver(&context, QStringLiteral("other"),
        [&](const Notification&) { calls << QStringLiteral("wrong name"); });
    center.addObserver(&context, QStringLiteral("dataReFetched"), [&](const Notification& n) {
        calls << QStringLiteral("second");
        seenInfo = n.userInfo;
        EXPECT_EQ(n.name, QStringLiteral("dataReFetched"));
        EXPECT_EQ(n.object.toInt(), 42);
    });
    center.addObserver(&context, QString(), [&](const Notification&) { calls << QStringLiteral("any"); });

    center.post(QStringLiteral("dataReFetched"), 42, { { QStringLiteral("x"), 1.5 } });

    EXPECT_EQ(
        calls, (QStringList { QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("any") }));
    EXPECT_EQ(seenInfo.value(QStringLiteral("x")).toDouble(), 1.5);
}

TEST(NotificationCenter, ObserversEndWithTheirContext)
{
    NotificationCenter center;
    int calls = 0;
    auto context = std::make_unique<QObject>();
    center.addObserver(context.get(), QStringLiteral("n"), [&](const Notification&) { ++calls; });
    QObject survivor;
    center.addObserver(&survivor, QStringLiteral("n"), [&](const Notification&) { calls += 10; });
    EXPECT_EQ(center.observerCount(), 2);

    context.reset();
    center.post(QStringLiteral("n"));

    EXPECT_EQ(calls, 10);
    EXPECT_EQ(center.observerCount(), 1);
}

TEST(NotificationCenter, FiltersByObjectAndComparesQObjectsByIdentity)
{
    NotificationCenter center;
    QObject context;
    QObject sender;
    QObject otherSender;
    int fromSender = 0;
    int fromAnyone = 0;
    int byValue = 0;
    center.addObserver(
        &context, QStringLiteral("n"), [&](const Notification&) { ++fromSender; },
        QVariant::fromValue(&sender));
    center.addObserver(&context, QStringLiteral("n"), [&](const Notification&) { ++fromAnyone; });
    center.addObserver(
        &context, QStringLiteral("n"), [&](const Notification&) { ++byValue; }, 3);

    center.post(QStringLiteral("n"), QVariant::fromValue(static_cast<QObject*>(&sender)));
    center.post(QStringLiteral("n"), QVariant::fromValue(&otherSender));
    center.post(QStringLiteral("n"));
    center.post(QStringLiteral("n"), 3);

    EXPECT_EQ(fromSender, 1);
    EXPECT_EQ(fromAnyone, 4);
    EXPECT_EQ(byValue, 1);
}

TEST(NotificationCenter, RemovalDuringDeliveryTakesEffectAtOnce)
{
    NotificationCenter center;
    QObject context;
    auto later = std::make_unique<QObject>();
    int laterCalls = 0;
    int tokenCalls = 0;
    NotificationCenter::Token token = 0;
    center.addObserver(&context, QStringLiteral("n"), [&](const Notification&) {
        later.reset();
        center.removeObserver(token);
    });
    center.addObserver(later.get(), QStringLiteral("n"), [&](const Notification&) { ++laterCalls; });
    token = center.addObserver(&context, QStringLiteral("n"), [&](const Notification&) { ++tokenCalls; });

    center.post(QStringLiteral("n"));
    center.post(QStringLiteral("n"));

    EXPECT_EQ(laterCalls, 0);
    EXPECT_EQ(tokenCalls, 0);
}

TEST(NotificationCenter, RemoveByContextAndNameLeavesTheRest)
{
    NotificationCenter center;
    QObject context;
    int a = 0;
    int b = 0;
    center.addObserver(&context, QStringLiteral("a"), [&](const Notification&) { ++a; });
    center.addObserver(&context, QStringLiteral("b"), [&](const Notification&) { ++b; });

    center.removeObserver(&context, QStringLiteral("a"));
    center.post(QStringLiteral("a"));
    center.post(QStringLiteral("b"));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);

    center.removeObserver(&context);
    center.post(QStringLiteral("b"));
    EXPECT_EQ(b, 1);
    EXPECT_EQ(center.observerCount(), 0);
}

TEST(NotificationCenter, ObserverAddedDuringDeliveryWaitsForTheNextPost)
{
    NotificationCenter center;
    QObject context;
    int added = 0;
    center.addObserver(&context, QStringLiteral("n"), [&](const Notification&) {
        center.addObserver(&context, QStringLiteral("n"), [&](const Notification&) { ++added; });
    });
    center.post(QStringLiteral("n"));
    EXPECT_EQ(added, 0);
    center.post(QStringLiteral("n"));
    EXPECT_EQ(added, 1);
}

} // namespace
