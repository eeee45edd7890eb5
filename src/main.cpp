#include "app/commands/AppCommands.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/ApplicationSetup.h"
#include "app/shell/SingleInstance.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "net/operation/KNURLConnectionOperation.h"
#include "platform/Strings.h"
#include "platform/TerminationSignals.h"
#include "platform/UserNotifications.h"

#include <QApplication>
#include <QMessageBox>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    ApplicationSetup::preferXWaylandOnWayland();

    QApplication app(argc, argv);
    ApplicationSetup::configureApplication();

    // Logout and `kill` leave through aboutToQuit, which waits for pending saves.
    const auto quitOnSignals = platform::TerminationSignals::install();
    if (!quitOnSignals)
        qWarning("SIGTERM and SIGINT end Mervane without saving: %s", qPrintable(quitOnSignals.error()));

    // A box shown before the main loop runs ends on SIGTERM and SIGINT as the window would:
    // QCoreApplication::quit() does nothing outside that loop.
    const auto showBox = [&quitOnSignals](QMessageBox::Icon icon, const QString& text) {
        QMessageBox box(icon, u"Mervane"_s, text, QMessageBox::Ok);
        if (quitOnSignals)
            QObject::connect(
                quitOnSignals->get(), &platform::TerminationSignals::received, &box, &QMessageBox::reject);
        box.exec();
    };

    // Two instances on one data file would overwrite each other's saves; this comes before
    // the store loads.
    SingleInstance instance(NWData::dataFilePath());
    const platform::Expected<SingleInstance::Claim> claim = instance.tryAcquire();
    if (!claim) {
        showBox(QMessageBox::Critical, claim.error());
        return 1;
    }
    if (*claim == SingleInstance::Claim::OtherAnswered)
        return 0;
    if (*claim == SingleInstance::Claim::OtherSilent) {
        showBox(QMessageBox::Information, platform::Strings::tr("Mervane is already running."));
        return 0;
    }
    // Every version a save writes is held from before it takes the data file's place, so
    // that a link made to it at any moment leads here.
    NWData::shared()->writer().beforeReplacing(NWData::dataFilePath(), instance.versionLocker());

    // Open transfers end before the application object goes away.
    QObject::connect(
        &app, &QCoreApplication::aboutToQuit, [] { KNURLConnectionOperation::stopNetworkThread(); });

    AppDelegate delegate;
    delegate.setCommandHandlers(std::make_unique<AppCommands>(delegate));
    QObject::connect(&instance, &SingleInstance::raiseRequested, &delegate,
        [&delegate] { ApplicationSetup::bringToFront(delegate.windowWidget()); });
    delegate.start();

    // The monthly reminder: a click on it brings the window forward; one missed while
    // Mervane was not running is shown now.
    auto& reminders = platform::UserNotificationCenter::defaultCenter();
    QObject::connect(&reminders, &platform::UserNotificationCenter::activated, &delegate,
        [&delegate] { ApplicationSetup::bringToFront(delegate.windowWidget()); });
    reminders.start();
    return app.exec();
}
