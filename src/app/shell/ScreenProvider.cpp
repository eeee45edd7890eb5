#include "app/shell/ScreenProvider.h"

#include "app/shell/DashboardController.h"
#include "categories/screen/CategoryViewController.h"
#include "categories/tags/TagsViewController.h"
#include "app/shell/ScreenPlaceholder.h"
#include "platform/Strings.h"
#include "records/list/TableBaseViewController.h"

QWidget* ScreenProvider::createScreen(AppScreen screen)
{
    const AppScreenInfo& info = appScreenInfo(screen);
    QWidget* view = nullptr;
    if (screen == AppScreen::Dashboard) {
        view = new DashboardController(new TableBaseViewController,
            new ScreenPlaceholder(platform::Strings::tr("Net Worth Totals")),
            new ScreenPlaceholder(platform::Strings::tr("Line Chart")));
    } else if (screen == AppScreen::Category) {
        view = new CategoryViewController;
    } else if (screen == AppScreen::Tags) {
        view = new TagsViewController;
    } else {
        view = new ScreenPlaceholder(platform::localized(info.tooltip));
    }
    view->setObjectName(QString::fromLatin1(info.className));
    return view;
}

void ScreenProvider::screenPlaced(AppScreen screen, QWidget* view)
{
    static_cast<void>(screen);
    static_cast<void>(view);
}

void ScreenProvider::compareWithNetWorth(QWidget* view, double netWorth)
{
    static_cast<void>(view);
    static_cast<void>(netWorth);
}
