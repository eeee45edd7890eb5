// The main window alone, for the end-to-end check under a real X server: it prints
// what the script cannot see from outside (how many window buttons show their rollover
// image) and quits when its close button closes it.
#include "platform/NotificationCenter.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowButtonGroup.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
    auto window = TBAppWindow::create();
    QWidget* widget = window->widget();
    widget->setWindowTitle(u"Mervane Window Demo"_s);
    widget->setGeometry(200, 150, 600, 400);
    window->setTitleBarHeight(40);
    window->setCenterTrafficLightButtons(false);
    window->setShowsTitle(false);

    TBWindowButton* close = window->standardWindowButton(TBStandardButtons::Kind::Close);
    platform::NotificationCenter::defaultCenter().addObserver(
        widget, QString::fromLatin1(kTBWindowButtonGroupDidUpdateRolloverStateNotification),
        [&window](const platform::Notification&) {
            int showing = 0;
            for (int kind : { 0, 1, 2 }) {
                const TBWindowButton* button = window->standardWindowButton(TBStandardButtons::Kind(kind));
                showing += button->image() == button->rolloverImage() ? 1 : 0;
            }
            std::printf("rollover %d\n", showing);
            std::fflush(stdout);
        },
        QVariant::fromValue<QObject*>(close->group()));

    widget->show();
    return app.exec();
}
