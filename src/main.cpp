#include "app/shell/AppDelegate.h"
#include "app/shell/ApplicationSetup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    ApplicationSetup::preferXWaylandOnWayland();

    QApplication app(argc, argv);
    ApplicationSetup::configureApplication();

    AppDelegate delegate;
    delegate.start();
    return app.exec();
}
