#pragma once

#include <QTest>

#include <gtest/gtest.h>

// Waiting for the event loop to bring a condition about. Qt's own QTRY_* macros report to
// Qt's test runner, which these tests do not use: a timeout there ends the test silently
// as passed. These wait the same way (up to five seconds) and fail in GoogleTest.
#define EXPECT_EVENTUALLY(condition)                                                                         \
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); })) << "never became true: " #condition
#define EXPECT_EVENTUALLY_WITHIN(condition, milliseconds)                                                    \
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, milliseconds))                              \
        << "not true within " #milliseconds " ms: " #condition
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                                               \
    do {                                                                                                     \
        (void)QTest::qWaitFor([&] { return (actual) == (expected); });                                       \
        EXPECT_EQ(actual, expected);                                                                         \
    } while (false)
