#include <gtest/gtest.h>

#ifdef MERVANE_TEST_WIDGETS
#include "uikit/popover/ModalPanelStandIn.h"

#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include "platform/Strings.h"

#include <QLocale>

int main(int argc, char** argv)
{
    // Unit tests never open a real window; ctest sets these too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", "UTC");

    TestApplication app(argc, argv);
    TestApplication::setApplicationName(QStringLiteral("Mervane"));
    TestApplication::setOrganizationName(QStringLiteral("Mervane"));
    TestApplication::setApplicationVersion(QStringLiteral(MERVANE_VERSION));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // As the application does: the English forms of the texts about counts.
    platform::installTranslations();
#ifdef MERVANE_TEST_WIDGETS
    // Answers queued for file and print panels come after a modal window of their own.
    installModalPanelStandIn();
#endif

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
