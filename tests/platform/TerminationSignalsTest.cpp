#include "platform/TerminationSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <csignal>

namespace {

sighandler_t currentHandler(int signalNumber)
{
    struct sigaction action { };
    sigaction(signalNumber, nullptr, &action);
    return action.sa_handler;
}

TEST(TerminationSignals, TermAndIntQuitTheEventLoopAndTheOldHandlersComeBack)
{
    const sighandler_t termBefore = currentHandler(SIGTERM);
    const sighandler_t intBefore = currentHandler(SIGINT);
    for (const int signalNumber : { SIGTERM, SIGINT }) {
        SCOPED_TRACE(signalNumber);
        auto installed = platform::TerminationSignals::install();
        ASSERT_TRUE(installed) << qPrintable(installed.error());
        std::vector<int> received;
        QObject::connect(installed->get(), &platform::TerminationSignals::received,
            [&received](int number) { received.push_back(number); });
        bool aboutToQuit = false;
        QObject context;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, &context, [&] { aboutToQuit = true; });

        // The signal waits in the socket until the loop runs; a loop nobody quits fails.
        ASSERT_EQ(::raise(signalNumber), 0);
        QTimer::singleShot(30000, &context, [] { QCoreApplication::exit(3); });
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_TRUE(aboutToQuit);
        EXPECT_EQ(received, std::vector<int> { signalNumber });

        installed->reset();
        EXPECT_EQ(currentHandler(SIGTERM), termBefore);
        EXPECT_EQ(currentHandler(SIGINT), intBefore);
    }
}

} // namespace
