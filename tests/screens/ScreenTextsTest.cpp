// What the screens put before the user (labels, buttons, tool tips, accessible names, tab and
// chart titles) is in the user's words: the design's stand-in word for net worth stays in
// identifiers, object names and stored keys only.

#include "app/shell/AppScreens.h"
#include "app/shell/ScreenProvider.h"
#include "charts/history/menu/LnChartMenuViewController.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "dashboard/settings/PieChartMenuViewController.h"
#include "reports/choice/ReportChoiceController.h"
#include "screens/SweepSupport.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/tabs/CustomizableTabView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test::sweep;

namespace {

using ScreenTexts = ScreenSweepTest;

// Every text of `root` and its children a user can see or hear, each with where it was found.
QStringList shownTexts(QWidget& root)
{
    QStringList texts;
    const auto add = [&texts](const QObject* where, const QString& kind, const QString& text) {
        if (!text.isEmpty())
            texts.append(u"%1 %2 (%3): %4"_s.arg(
                QString::fromLatin1(where->metaObject()->className()), where->objectName(), kind, text));
    };
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : widgets) {
        add(widget, u"tool tip"_s, widget->toolTip());
        add(widget, u"window title"_s, widget->windowTitle());
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget)) {
            add(widget, u"accessible name"_s, accessible->text(QAccessible::Name));
            add(widget, u"accessible description"_s, accessible->text(QAccessible::Description));
        }
        if (auto* label = qobject_cast<QLabel*>(widget))
            add(widget, u"text"_s, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            add(widget, u"text"_s, button->text());
        if (auto* field = qobject_cast<QLineEdit*>(widget))
            add(widget, u"placeholder"_s, field->placeholderText());
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            for (int index = 0; index < box->count(); ++index)
                add(widget, u"item"_s, box->itemText(index));
        }
        if (auto* tabs = qobject_cast<CustomizableTabView*>(widget)) {
            for (int index = 0; index < tabs->numberOfTabViewItems(); ++index)
                add(widget, u"tab"_s, tabs->labelAt(index));
        }
        if (auto* segments = qobject_cast<SegmentedControl*>(widget)) {
            for (int index = 0; index < segments->segmentCount(); ++index)
                add(widget, u"segment"_s, segments->labelForSegment(index));
        }
        if (auto* host = qobject_cast<chart::GraphHostingView*>(widget); host && host->hostedGraph())
            add(widget, u"chart title"_s, host->hostedGraph()->title());
        for (const QAction* action : widget->actions()) {
            add(action, u"action"_s, action->text());
            add(action, u"action tool tip"_s, action->toolTip());
        }
    }
    return texts;
}

TEST_F(ScreenTexts, noScreenOrPopoverShowsTheDesignsWordForNetWorth)
{
    install(edgeHousehold(3, 26));
    ScreenProvider provider;
    QStringList texts;
    for (const AppScreenInfo& info : appScreens) {
        std::unique_ptr<QWidget> view(provider.createScreen(info.screen));
        showInHost(*view);
        view->resize(1100, 700);
        provider.screenPlaced(info.screen, view.get());
        settle();
        texts += shownTexts(*view);
    }
    // The popovers the screens open: the history and pie settings, the report choice.
    LnChartMenuViewController historySettings;
    PieChartMenuViewController pieSettings;
    ReportChoiceController reportChoice;
    for (QWidget* popover :
        std::initializer_list<QWidget*> { &historySettings, &pieSettings, &reportChoice }) {
        showInHost(*popover);
        settle();
        texts += shownTexts(*popover);
    }

    for (const QString& text : texts)
        EXPECT_FALSE(text.section(u": "_s, 1).contains(u"RidIrevu"_s, Qt::CaseInsensitive))
            << text.toStdString();
    // The walk reaches the texts that held it: the history chart's title and the record buttons.
    const auto found = [&texts](const QString& text) {
        return std::any_of(
            texts.cbegin(), texts.cend(), [&](const QString& shown) { return shown.endsWith(text); });
    };
    EXPECT_TRUE(found(u"(chart title): Net Worth History"_s));
    EXPECT_TRUE(found(u"(tool tip): Add a new net worth record"_s));
    EXPECT_TRUE(found(u"(tool tip): Delete selected net worth record"_s));
    EXPECT_TRUE(found(u"(accessible description): Edit selected net worth record"_s));
}

} // namespace
