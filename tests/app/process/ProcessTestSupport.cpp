#include "ProcessTestSupport.h"

#include "model/store/NWData.h"

#include <QProcessEnvironment>

namespace mervane::test {

void ProcessTest::TearDown()
{
    for (const auto& child : m_children) {
        if (child->state() != QProcess::NotRunning) {
            child->kill();
            child->waitForFinished(30000);
        }
    }
    m_children.clear();
    TempHomeTest::TearDown();
}

QProcess* ProcessTest::startChild(const QString& mode, const QByteArray& line)
{
    auto child = std::make_unique<QProcess>();
    // The environment of this moment: the test's own HOME and XDG folders.
    child->setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QStringLiteral(MERVANE_PROCESS_CHILD), { mode });
    QProcess* started = child.get();
    m_children.push_back(std::move(child));
    if (!started->waitForStarted(30000) || !waitForLine(*started, line))
        return nullptr;
    return started;
}

bool ProcessTest::waitForLine(QProcess& child, const QByteArray& line)
{
    const QByteArray wanted = line + '\n';
    // What a child said just before it exited is read once more after the last wait.
    for (bool more = true;; more = child.waitForReadyRead(30000)) {
        while (child.canReadLine()) {
            if (child.readLine() == wanted)
                return true;
        }
        if (!more)
            return false;
    }
}

QString ProcessTest::dataFilePath() const
{
    return NWData::dataFilePath();
}

} // namespace mervane::test
