#include "support/TempHomeTest.h"

#include "platform/FileChooser.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>

namespace mervane::test {

namespace {
const char* const kVariables[] = { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
    "XDG_STATE_HOME", "XDG_RUNTIME_DIR" };
}

void TempHomeTest::SetUp()
{
    m_home = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_home->isValid());
    const QDir home(m_home->path());
    const std::map<QByteArray, QString> values {
        { "HOME", home.path() },
        { "XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")) },
        { "XDG_DATA_HOME", home.filePath(QStringLiteral(".local/share")) },
        { "XDG_CACHE_HOME", home.filePath(QStringLiteral(".cache")) },
        { "XDG_STATE_HOME", home.filePath(QStringLiteral(".local/state")) },
        // Tests running at once must not see each other's sockets and names there: a start
        // clears the names of holders that are gone, also those a test is about to count.
        { "XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")) },
    };
    for (const char* name : kVariables) {
        m_savedEnvironment[name]
            = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        const QString& value = values.at(name);
        QDir().mkpath(value);
        qputenv(name, value.toLocal8Bit());
    }
    // The runtime folder is the user's alone, or it is not used.
    ASSERT_TRUE(QFile::setPermissions(values.at("XDG_RUNTIME_DIR"),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    platform::UserDefaults::resetStandard();
    platform::FileChooser::clearQueuedAnswers();
}

void TempHomeTest::TearDown()
{
    platform::UserDefaults::resetStandard();
    platform::FileChooser::clearQueuedAnswers();
    for (const auto& [name, value] : m_savedEnvironment) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    m_savedEnvironment.clear();
    m_home.reset();
}

QString TempHomeTest::home() const
{
    return m_home->path();
}

QString TempHomeTest::homePath(const QString& relative) const
{
    return QDir(m_home->path()).filePath(relative);
}

QByteArray TempHomeTest::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace mervane::test
