#include "ShellTestSupport.h"

#include <QFile>

namespace mervane::test {

void ShellTest::TearDown()
{
    m_delegate.reset();
    TempHomeTest::TearDown();
}

AppDelegate& ShellTest::makeDelegate(const QString& password)
{
    m_delegate.reset();
    m_delegate = std::make_unique<AppDelegate>(&m_store);
    m_delegate->setCommandHandlers(std::make_unique<RecordingCommands>(&m_calls, password));
    m_delegate->setScreenProvider(std::make_unique<CountingScreens>(&m_screens));
    return *m_delegate;
}

QByteArray ShellTest::twoRecordsDocument()
{
    return R"({"version": "2.1", "a_cat": [], "l_cat": [], "tags": [], "nw_logs": [
        {"year": 2021, "month": 12, "assets": 5, "liabilities": 1, "nw": 4},
        {"year": 2022, "month": 3, "assets": 10, "liabilities": 2, "nw": 8}]})";
}

QString ShellTest::dataFilePath() const
{
    return homePath(QStringLiteral("mervane.json"));
}

void ShellTest::writeDataFile(const QByteArray& bytes)
{
    QFile file(dataFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace mervane::test
