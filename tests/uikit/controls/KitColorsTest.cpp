// Colours a widget keeps in its own palette follow the palette it is shown with: an
// appearance switch reaches named colours, greyed texts and the rows' own colours.

#include "uikit/controls/KitColors.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "support/Appearances.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using platform::Appearance;

namespace {

QColor text(const QWidget& widget, QPalette::ColorGroup group = QPalette::Active)
{
    return widget.palette().color(group, QPalette::WindowText);
}

std::string hex(const QColor& color)
{
    return color.name(QColor::HexArgb).toStdString();
}

TEST(KitColors, ANamedColourFollowsEverySwitchAndLeavesTheOtherGroupsInherited)
{
    AppearanceRestorer restore;
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(Appearance::Dark);
    QWidget window;
    auto* all = new QLabel(u"all"_s, &window);
    auto* enabledOnly = new QLabel(u"enabled"_s, &window);
    KitColors::setNamedColor(all, u"SecondaryText"_s, { QPalette::WindowText, QPalette::Text });
    KitColors::setNamedColor(
        enabledOnly, u"ChartText"_s, { QPalette::WindowText }, { QPalette::Active, QPalette::Inactive });
    for (const Appearance choice : { Appearance::Light, Appearance::Dark, Appearance::Light }) {
        appearance.setAppearance(choice);
        QCoreApplication::processEvents();
        const bool dark = choice == Appearance::Dark;
        SCOPED_TRACE(dark ? "dark" : "light");
        EXPECT_EQ(text(*all), platform::namedColor(u"SecondaryText"_s, dark));
        EXPECT_EQ(all->palette().color(QPalette::Text), platform::namedColor(u"SecondaryText"_s, dark));
        EXPECT_EQ(text(*enabledOnly, QPalette::Inactive), platform::namedColor(u"ChartText"_s, dark));
        // What is not given follows the application's palette.
        EXPECT_EQ(text(*enabledOnly, QPalette::Disabled),
            QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
        EXPECT_EQ(all->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
    }
}

TEST(KitColors, GreyedTextsTakeTheDisabledColourOfEachPaletteAndGiveItBack)
{
    AppearanceRestorer restore;
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(Appearance::Light);
    QWidget window;
    auto* control = new SegmentedControl({ u"Amounts"_s, u"Percent"_s }, &window);
    auto* segment = control->findChild<QAbstractButton*>(u"segment0"_s);
    ASSERT_TRUE(segment);
    EXPECT_FALSE(KitColors::isGreyed(segment));
    KitColors::setGreyed(control, true);
    EXPECT_TRUE(KitColors::isGreyed(segment)) << "a child of a greyed widget is greyed";
    EXPECT_TRUE(control->isEnabled());
    for (const Appearance choice : { Appearance::Dark, Appearance::Light }) {
        appearance.setAppearance(choice);
        QCoreApplication::processEvents();
        const QPalette& shown = segment->palette();
        EXPECT_EQ(shown.color(QPalette::Active, QPalette::ButtonText),
            QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
    }
    KitColors::setGreyed(control, false);
    EXPECT_FALSE(KitColors::isGreyed(segment));
    appearance.setAppearance(Appearance::Dark);
    QCoreApplication::processEvents();
    EXPECT_EQ(segment->palette().color(QPalette::Active, QPalette::ButtonText),
        QApplication::palette().color(QPalette::Active, QPalette::ButtonText));
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetPalette)) << "no role of its own is left";
}

// A widget shown with a palette of its own (as a light button on a dark overlay) takes its
// colours from that palette, not from the application's.
TEST(KitColors, RulesAreWorkedOutForThePaletteTheWidgetIsShownWith)
{
    AppearanceRestorer restore;
    auto& appearance = platform::AppearanceController::instance();
    QWidget window;
    auto* label = new QLabel(u"named"_s, &window);
    auto* control = new SegmentedControl({ u"Amounts"_s, u"Percent"_s }, &window);
    auto* segment = control->findChild<QAbstractButton*>(u"segment0"_s);
    ASSERT_TRUE(segment);
    KitColors::setNamedColor(label, u"SecondaryText"_s);
    KitColors::setGreyed(control, true);
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark in light" : "light in dark");
        appearance.setAppearance(dark ? Appearance::Light : Appearance::Dark);
        const QPalette own = dark ? platform::AppearanceController::darkPalette()
                                  : platform::AppearanceController::lightPalette();
        window.setPalette(own);
        QCoreApplication::processEvents();
        EXPECT_EQ(hex(text(*label)), hex(platform::namedColor(u"SecondaryText"_s, dark)));
        EXPECT_EQ(hex(segment->palette().color(QPalette::Active, QPalette::ButtonText)),
            hex(own.color(QPalette::Disabled, QPalette::ButtonText)));
    }
}

TEST(KitColors, RowsTakeTheNewAppearancesColoursExceptThoseGivenThem)
{
    AppearanceRestorer restore;
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(Appearance::Dark);
    QWidget list;
    auto* plain = new DVGenericTableRowView(&list);
    auto* tinted = new DVGenericTableRowView(&list);
    tinted->setSelectionBorderWidth(1.5f);
    tinted->setRowTrackingBgColor(Qt::blue);
    appearance.setAppearance(Appearance::Light);
    QCoreApplication::processEvents();
    for (const DVGenericTableRowView* row : { plain, tinted }) {
        EXPECT_EQ(row->selectionFillColor(), DVGenericTableRowView::namedRowColor(u"RowSelectedBg"_s, false));
        EXPECT_EQ(
            row->selectionStrokeColor(), DVGenericTableRowView::namedRowColor(u"RowSelectedStroke"_s, false));
    }
    EXPECT_EQ(plain->rowTrackingBgColor(), DVGenericTableRowView::namedRowColor(u"RowTracking"_s, false));
    EXPECT_EQ(tinted->rowTrackingBgColor(), QColor(Qt::blue));
    EXPECT_EQ(tinted->selectionBorderWidth(), 1.5f);
}

} // namespace
