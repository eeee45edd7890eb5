// The other process of the single-instance and quit tests, in the HOME it is given:
//   hold          takes the data file as the application does, says "acquired" and serves;
//                 says "raise requested" for each later instance that asks
//   lock-only     holds the lock file without answering anyone
//   claim         claims the data file as a later instance and says how that went
//   race          says "ready", claims once a line arrives on its input and says how that
//                 went; the holder serves until it has answered one later instance
//   save-linked   holds the data file with the store's writer, as the application does, under a
//                 descriptor limit a little above what it has open; saves 40 times, a hard link
//                 to each version kept in "snapshots", as snapshot tools keep them; says "saved"
//                 and serves as "hold" does
//   save-on-term  saves a document whose write is held until the quit path has begun,
//                 says "pending", and quits on SIGTERM or SIGINT as the application does
#include "app/shell/SingleInstance.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "platform/TerminationSignals.h"
#include "support/FailingDevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QSemaphore>

#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

void say(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Lets no byte through until the quit path opens the gate.
class GatedDevice final : public mervane::test::WrappedDevice {
public:
    GatedDevice(const QString& path, QSemaphore& gate) : WrappedDevice(path), m_gate(gate) { }

    qint64 write(QByteArrayView bytes) override
    {
        m_gate.acquire();
        m_gate.release();
        return WrappedDevice::write(bytes);
    }

private:
    QSemaphore& m_gate;
};

int saveOnTerm(QCoreApplication& app)
{
    auto quitOnSignals = platform::TerminationSignals::install();
    if (!quitOnSignals)
        return 3;
    QSemaphore gate;
    DataFileWriter writer;
    writer.setDeviceFactoryForTesting(
        [&gate](const QString& path) -> std::unique_ptr<platform::AtomicFileDevice> {
            return std::make_unique<GatedDevice>(path, gate);
        });
    bool saved = false;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&] {
        gate.release();
        writer.waitForPendingWrites();
        say(saved ? "saved" : "not saved");
    });
    writer.write(NWData::dataFilePath(), QByteArray(4'000'000, 'w'),
        [&saved](platform::MaybeError error) { saved = !error; });
    say("pending");
    return app.exec();
}

int saveLinked(QCoreApplication& app)
{
    const QString data = NWData::dataFilePath();
    SingleInstance instance(data);
    const auto claim = instance.tryAcquire();
    if (!claim || *claim != SingleInstance::Claim::Acquired)
        return 4;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &app, [] { say("raise requested"); });
    DataFileWriter writer;
    writer.beforeReplacing(data, instance.versionLocker());
    const QString snapshots = QDir::home().filePath(u"snapshots"_s);
    if (!QDir().mkpath(snapshots))
        return 5;

    // New descriptors take the lowest free numbers: a dozen more than are open now.
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 5;
    int opened = 0;
    for (rlim_t file = 0; file < limit.rlim_cur && file < 65536; ++file)
        opened += ::fcntl(int(file), F_GETFD) != -1;
    limit.rlim_cur = rlim_t(opened + 12);
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 5;

    for (int version = 1; version <= 40; ++version) {
        if (const platform::MaybeError error = writer.writeAndWait(data, QByteArray::number(version)))
            std::fprintf(stderr, "save %d: %s\n", version, qPrintable(*error));
        const QByteArray link = QFile::encodeName(QDir(snapshots).filePath(u"%1.json"_s.arg(version)));
        if (::link(QFile::encodeName(data).constData(), link.constData()) != 0)
            return 5;
    }
    say("saved");
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QByteArray mode = argv[1];
    if (mode == "hold") {
        SingleInstance instance(NWData::dataFilePath());
        const auto claim = instance.tryAcquire();
        if (!claim || *claim != SingleInstance::Claim::Acquired)
            return 4;
        QObject::connect(&instance, &SingleInstance::raiseRequested, &app, [] { say("raise requested"); });
        say("acquired");
        return app.exec();
    }
    if (mode == "lock-only") {
        QLockFile lock(SingleInstance::lockFilePath(NWData::dataFilePath()));
        if (!lock.tryLock(0))
            return 4;
        say("locked");
        return app.exec();
    }
    if (mode == "claim") {
        SingleInstance instance(NWData::dataFilePath());
        const auto claim = instance.tryAcquire();
        if (!claim)
            return 4;
        say(*claim == SingleInstance::Claim::Acquired            ? "acquired"
                : *claim == SingleInstance::Claim::OtherAnswered ? "answered"
                                                                 : "silent");
        return 0;
    }
    if (mode == "race") {
        say("ready");
        char line[8];
        if (!std::fgets(line, sizeof line, stdin))
            return 2;
        SingleInstance instance(NWData::dataFilePath());
        const auto claim = instance.tryAcquire();
        if (!claim)
            return 4;
        if (*claim != SingleInstance::Claim::Acquired) {
            say(*claim == SingleInstance::Claim::OtherAnswered ? "answered" : "silent");
            return 0;
        }
        QObject::connect(
            &instance, &SingleInstance::raiseRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        say("acquired");
        return app.exec();
    }
    if (mode == "save-linked")
        return saveLinked(app);
    if (mode == "save-on-term")
        return saveOnTerm(app);
    return 2;
}
