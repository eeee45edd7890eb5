// The other process of the single-instance and quit tests, in the HOME it is given:
//   hold          takes the data file as the application does, says "acquired" and serves;
//                 says "raise requested" for each later instance that asks
//   lock-only     holds the lock file without answering anyone
//   claim         claims the data file as a later instance and says how that went
//   race          says "ready", claims once a line arrives on its input and says how that
//                 went; the holder serves until it has answered one later instance
//   save-on-term  saves a document whose write is held until the quit path has begun,
//                 says "pending", and quits on SIGTERM or SIGINT as the application does
#include "app/shell/SingleInstance.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "platform/TerminationSignals.h"
#include "support/FailingDevices.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QSemaphore>

#include <cstdio>

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
    if (mode == "save-on-term")
        return saveOnTerm(app);
    return 2;
}
