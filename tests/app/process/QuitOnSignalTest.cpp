#include "ProcessTestSupport.h"

#include <QFile>

#include <csignal>

namespace {

class QuitOnSignalTest : public mervane::test::ProcessTest { };

// The child's save is held until its quit path has begun, so only a quit that runs
// aboutToQuit and waits for the writer leaves the new document on disk.
TEST_F(QuitOnSignalTest, TermAndIntQuitThroughTheNormalPathAndThePendingSaveFinishes)
{
    for (const int signalNumber : { SIGTERM, SIGINT }) {
        SCOPED_TRACE(signalNumber);
        const QByteArray old = "{\"version\": \"2.1\"}";
        {
            QFile file(dataFilePath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(file.write(old), old.size());
        }
        QProcess* child = startChild(QStringLiteral("save-on-term"), "pending");
        ASSERT_TRUE(child);
        ASSERT_EQ(::kill(pid_t(child->processId()), signalNumber), 0);
        EXPECT_TRUE(waitForLine(*child, "saved"));
        ASSERT_TRUE(child->waitForFinished(30000));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0);

        QFile file(dataFilePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray now = file.readAll();
        EXPECT_EQ(now.size(), 4'000'000);
        EXPECT_EQ(now, QByteArray(4'000'000, 'w'));
    }
}

} // namespace
