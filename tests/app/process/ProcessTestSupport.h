#pragma once

#include "support/TempHomeTest.h"

#include <QProcess>
#include <QString>

#include <memory>

namespace mervane::test {

/// Starts the tests' other process (ProcessChild.cpp) in this test's HOME and reads what it
/// says. Children still running when the test ends are killed.
class ProcessTest : public TempHomeTest {
protected:
    void TearDown() override;

    /// Starts the child in `mode` and waits until it has said `line`; null when it did not
    /// (it exited, or said nothing for half a minute).
    QProcess* startChild(const QString& mode, const QByteArray& line);
    /// Waits until `child` says `line`.
    static bool waitForLine(QProcess& child, const QByteArray& line);
    /// "$HOME/mervane.json" of this test.
    QString dataFilePath() const;

private:
    std::vector<std::unique_ptr<QProcess>> m_children;
};

} // namespace mervane::test
