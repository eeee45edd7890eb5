#include "uikit/extensions/AlertSynchronousSheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

int AlertSynchronousSheet::runModalSheetForWindow(QMessageBox& alert, QWidget* window)
{
    if (window == &alert)
        window = nullptr;
    QWidget* const previousParent = alert.parentWidget();
    const Qt::WindowFlags flags = alert.windowFlags();
    if (window)
        alert.setParent(window, flags | Qt::Sheet);
    alert.setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    alert.exec();
    const QList<QAbstractButton*> buttons = alert.buttons();
    const qsizetype index = buttons.indexOf(alert.clickedButton());
    if (window)
        alert.setParent(previousParent, flags);
    return index < 0 ? 0 : static_cast<int>(1000 + index);
}

int AlertSynchronousSheet::runModalSheet(QMessageBox& alert)
{
    return runModalSheetForWindow(alert, QApplication::activeWindow());
}
