// A secret service that takes every call and never answers one: it owns the service's
// name on the session bus, prints "ready" once it does and "call <member>" for each call.
// Ending it makes the bus fail the calls still waiting for it.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

class SilentObject : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        std::printf("call %s\n", qPrintable(message.member()));
        std::fflush(stdout);
        return true; // taken, and never answered
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    SilentObject silent;
    if (!bus.isConnected()
        || !bus.registerVirtualObject(QStringLiteral("/"), &silent, QDBusConnection::SubPath)
        || !bus.registerService(QStringLiteral("org.freedesktop.secrets"))) {
        std::fprintf(
            stderr, "cannot own org.freedesktop.secrets: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
