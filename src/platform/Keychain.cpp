#include "platform/Keychain.h"

#include "platform/Strings.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <qt6keychain/keychain.h>

#include <utility>

namespace platform {

Expected<QString> InMemoryKeychain::read(const QString& account)
{
    if (m_unavailable)
        return Unexpected(*m_unavailable);
    return m_items.value(account);
}

MaybeError InMemoryKeychain::write(const QString& account, const QString& text)
{
    if (m_unavailable)
        return m_unavailable;
    if (const auto failing = m_failingWrites.constFind(account); failing != m_failingWrites.cend())
        return *failing;
    if (const auto kept = m_keptOnWrite.constFind(account); kept != m_keptOnWrite.cend()) {
        m_items.insert(account, *kept);
        return std::nullopt;
    }
    m_items.insert(account, text);
    return std::nullopt;
}

namespace {

// Without a session bus the secret service library would try to start one of its own (and
// with it a keyring daemon that waits for a password nobody types).
std::optional<QString> missingSessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return std::nullopt;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus"))))
        return std::nullopt;
    return Strings::tr("No desktop session bus is running, so the keychain cannot be reached.");
}

struct JobOutcome {
    bool finished = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorString;
    QString text;
};

// Waits for `job` at most Keychain::timeout. The job deletes itself when it finishes, also
// after a time-out: deleting it while the service still works on it is not safe.
JobOutcome runJob(QKeychain::Job* job)
{
    JobOutcome outcome;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&outcome, &loop](QKeychain::Job* done) {
        outcome.finished = true;
        outcome.error = done->error();
        outcome.errorString = done->errorString();
        if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(done))
            outcome.text = read->textData();
        loop.quit();
    });
    QTimer::singleShot(Keychain::timeout, &loop, &QEventLoop::quit);
    job->setAutoDelete(true);
    job->start();
    if (!outcome.finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return outcome;
}

QString failureText(const JobOutcome& outcome)
{
    if (!outcome.finished) {
        return Strings::tr("The keychain did not answer within %1 seconds.")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(Keychain::timeout).count());
    }
    if (!outcome.errorString.isEmpty())
        return Strings::tr("The keychain refused: %1").arg(outcome.errorString);
    return Strings::tr("The keychain refused without saying why.");
}

class SecretServiceKeychain : public KeychainBackend {
public:
    Expected<QString> read(const QString& account) override
    {
        if (auto missing = missingSessionBus())
            return Unexpected(*missing);
        auto* job = new QKeychain::ReadPasswordJob(Keychain::serviceName);
        job->setInsecureFallback(false);
        job->setKey(account);
        const JobOutcome outcome = runJob(job);
        if (outcome.finished && outcome.error == QKeychain::EntryNotFound)
            return QString();
        if (!outcome.finished || outcome.error != QKeychain::NoError)
            return Unexpected(failureText(outcome));
        return outcome.text;
    }

    MaybeError write(const QString& account, const QString& text) override
    {
        if (auto missing = missingSessionBus())
            return missing;
        auto* job = new QKeychain::WritePasswordJob(Keychain::serviceName);
        job->setInsecureFallback(false);
        job->setKey(account);
        job->setTextData(text);
        const JobOutcome outcome = runJob(job);
        if (!outcome.finished || outcome.error != QKeychain::NoError)
            return failureText(outcome);
        return std::nullopt;
    }

    std::optional<QString> unavailableReason() override
    {
        // Reading an item that is never written answers "not found" from a working service.
        return read(QStringLiteral("availability-probe")).errorIfAny();
    }
};

std::unique_ptr<KeychainBackend>& currentBackend()
{
    static std::unique_ptr<KeychainBackend> backend;
    return backend;
}

} // namespace

namespace Keychain {

KeychainBackend& backend()
{
    auto& current = currentBackend();
    if (!current)
        current = std::make_unique<SecretServiceKeychain>();
    return *current;
}

void setBackend(std::unique_ptr<KeychainBackend> replacement)
{
    currentBackend() = std::move(replacement);
}

Expected<QString> read(const QString& account)
{
    return backend().read(account);
}

MaybeError write(const QString& account, const QString& text)
{
    return backend().write(account, text);
}

std::optional<QString> unavailableReason()
{
    return backend().unavailableReason();
}

} // namespace Keychain

} // namespace platform
