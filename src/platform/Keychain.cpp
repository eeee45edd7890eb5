#include "platform/Keychain.h"

#include "platform/Dispatch.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <qt6keychain/keychain.h>

#include <utility>

namespace platform {

InMemoryKeychain::InMemoryKeychain() = default;
InMemoryKeychain::~InMemoryKeychain() = default;

void InMemoryKeychain::schedule(std::function<void()> answer)
{
    switch (m_answering) {
    case Answering::Soon:
        QMetaObject::invokeMethod(&m_poster, std::move(answer), Qt::QueuedConnection);
        break;
    case Answering::WhenReleased:
        m_held.append(std::move(answer));
        break;
    case Answering::Never:
        break;
    }
}

void InMemoryKeychain::answerHeld()
{
    const QList<std::function<void()>> held = std::exchange(m_held, {});
    for (const auto& answer : held)
        answer();
}

void InMemoryKeychain::read(const QString& account, QObject* context, ReadDone done)
{
    schedule([this, account, guard = QPointer<QObject>(context), done = std::move(done)] {
        m_answered.append(QStringLiteral("read ") + account);
        Expected<QString> result = m_items.value(account);
        if (m_unavailable)
            result = Unexpected(*m_unavailable);
        else if (m_failingReads.contains(account))
            result = Unexpected(m_failingReads.value(account));
        if (guard)
            done(result);
    });
}

void InMemoryKeychain::write(const QString& account, const QString& text, QObject* context, WriteDone done)
{
    schedule([this, account, text, guard = QPointer<QObject>(context), done = std::move(done)] {
        m_answered.append(QStringLiteral("write ") + account);
        MaybeError result;
        if (m_unavailable) {
            result = m_unavailable;
        } else if (const auto failing = m_failingWrites.constFind(account);
                   failing != m_failingWrites.cend()) {
            result = *failing;
        } else if (m_keptOnWrite.contains(account)) {
            m_items.insert(account, m_keptOnWrite.take(account));
        } else {
            m_items.insert(account, text);
        }
        if (guard)
            done(result);
    });
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

QString failureText(const QKeychain::Job& job)
{
    if (!job.errorString().isEmpty())
        return Strings::tr("The keychain refused: %1").arg(job.errorString());
    return Strings::tr("The keychain refused without saying why.");
}

// The job deletes itself once it has finished, however late; it is never deleted while
// the service still works on it. Its answer is dropped when `context` is gone by then.
void runJob(QKeychain::Job* job, QObject* context, std::function<void(const QKeychain::Job&)> finished)
{
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    QObject::connect(job, &QKeychain::Job::finished, context,
        [finished = std::move(finished)](QKeychain::Job* done) { finished(*done); });
    job->start();
}

class SecretServiceKeychain : public KeychainBackend {
public:
    void read(const QString& account, QObject* context, ReadDone done) override
    {
        if (auto missing = missingSessionBus()) {
            runLater(context, [done = std::move(done), reason = *missing] { done(Unexpected(reason)); });
            return;
        }
        auto* job = new QKeychain::ReadPasswordJob(Keychain::serviceName);
        job->setKey(account);
        runJob(job, context, [done = std::move(done)](const QKeychain::Job& finished) {
            if (finished.error() == QKeychain::EntryNotFound)
                return done(QString());
            if (finished.error() != QKeychain::NoError)
                return done(Unexpected(failureText(finished)));
            done(static_cast<const QKeychain::ReadPasswordJob&>(finished).textData());
        });
    }

    void write(const QString& account, const QString& text, QObject* context, WriteDone done) override
    {
        if (auto missing = missingSessionBus()) {
            runLater(context, [done = std::move(done), missing] { done(missing); });
            return;
        }
        auto* job = new QKeychain::WritePasswordJob(Keychain::serviceName);
        job->setKey(account);
        job->setTextData(text);
        runJob(job, context, [done = std::move(done)](const QKeychain::Job& finished) {
            done(finished.error() == QKeychain::NoError ? MaybeError() : MaybeError(failureText(finished)));
        });
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

void read(const QString& account, QObject* context, KeychainBackend::ReadDone done)
{
    backend().read(account, context, std::move(done));
}

void write(const QString& account, const QString& text, QObject* context, KeychainBackend::WriteDone done)
{
    backend().write(account, text, context, std::move(done));
}

} // namespace Keychain

} // namespace platform
