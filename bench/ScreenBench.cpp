#include "ScreenBench.h"

#include "model/ModelNotifications.h"
#include "platform/NotificationCenter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

namespace benchscreens {

int run(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

void showAndSettle(QWidget& screen, QSize size)
{
    screen.resize(size);
    screen.show();
    QCoreApplication::processEvents();
}

void reloadAndSettle()
{
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    QCoreApplication::processEvents();
}

} // namespace benchscreens
