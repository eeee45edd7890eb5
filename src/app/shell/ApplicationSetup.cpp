#include "app/shell/ApplicationSetup.h"

#include "platform/Appearance.h"
#include "platform/ModalPanel.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/KitStyle.h"
#include "uikit/popover/ModalPanelStandIn.h"
#include "uikit/window/TBWindowSystem.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QWindow>

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
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    QWindow* handle = window->windowHandle();
    // Its panels and popovers come forward with it, in the order they were stacked: without a
    // window manager nothing else keeps them above it, and a click meant for one would land
    // on the window.
    QList<QWindow*> above;
    for (QWindow* other : QGuiApplication::topLevelWindows()) {
        if (other != handle && other->isVisible() && other->type() != Qt::ToolTip
            && (other->isModal() || (handle && handle->isAncestorOf(other, QWindow::IncludeTransients))))
            above.append(other);
    }
    above = TBWindowSystem::bottomToTop(above);
    window->raise();
    for (QWindow* other : std::as_const(above))
        other->raise();
    // The keyboard goes back where it was: a panel or popover that had it keeps it.
    QWindow* keyboard = platform::ModalPanel::keyboardWindow();
    TBWindowSystem::activate(keyboard && above.contains(keyboard) ? keyboard : handle);
}

QString presentFileDialog(const platform::FileRequest& request)
{
    // On the heap and watched: the window that owns the dialog may go during its event loop,
    // and then the dialog is cancelled.
    const QString folder = request.directory.isEmpty() ? QDir::homePath() : request.directory;
    const QPointer<QFileDialog> dialog
        = new QFileDialog(modalPanelOwner(request.parent), request.title, folder);
    if (!request.nameFilters.isEmpty())
        dialog->setNameFilters(request.nameFilters);
    switch (request.mode) {
    case platform::FileRequest::Mode::Open:
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        break;
    case platform::FileRequest::Mode::Save:
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        if (!request.suggestedName.isEmpty())
            dialog->selectFile(folder + u'/' + request.suggestedName);
        break;
    case platform::FileRequest::Mode::Directory:
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    const bool chosen = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return {};
    const QStringList files = dialog->selectedFiles();
    delete dialog.data();
    return chosen && !files.isEmpty() ? files.constFirst() : QString();
}

} // namespace ApplicationSetup
