#include "app/shell/ApplicationSetup.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/KitStyle.h"

#include <QApplication>
#include <QFileDialog>
#include <QIcon>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;

namespace ApplicationSetup {

void preferXWaylandOnWayland()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland"
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if (wayland && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void configureApplication()
{
    QApplication::setApplicationName(u"Mervane"_s);
    QApplication::setOrganizationName(u"Mervane"_s);
    QApplication::setApplicationVersion(QStringLiteral(MERVANE_VERSION));
    QApplication::setDesktopFileName(u"mervane"_s);
    QApplication::setStyle(new KitStyle);
    QApplication::setWindowIcon(applicationIcon());
    platform::installTranslations();
    platform::AppearanceController::instance().setAppearance(platform::Appearance::System);
    platform::FileChooser::setPresenter(presentFileDialog);
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : iconSizes) {
        const QImage image = platform::image(u"mervane"_s, QSize(size, size));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void bringToFront(QWidget* window)
{
    if (!window)
        return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

QString presentFileDialog(const platform::FileRequest& request)
{
    auto* parent = qobject_cast<QWidget*>(request.parent);
    const QString filter = request.nameFilters.join(u";;"_s);
    switch (request.mode) {
    case platform::FileRequest::Mode::Open:
        return QFileDialog::getOpenFileName(parent, request.title, request.directory, filter);
    case platform::FileRequest::Mode::Save: {
        const QString start = request.directory.isEmpty() ? request.suggestedName
                                                          : request.directory + u'/' + request.suggestedName;
        return QFileDialog::getSaveFileName(parent, request.title, start, filter);
    }
    case platform::FileRequest::Mode::Directory:
        return QFileDialog::getExistingDirectory(parent, request.title, request.directory);
    }
    return {};
}

} // namespace ApplicationSetup
