// The light and dark palettes are complete and readable: every widget, the standard dialogs
// included, takes all of its colours from them.

#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "support/Contrast.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include <cmath>
#include <utility>

using namespace platform;
using namespace Qt::Literals::StringLiterals;

using mervane::test::contrast;

namespace {

const std::pair<const char*, QPalette> palettes[] = {
    { "light", AppearanceController::lightPalette() },
    { "dark", AppearanceController::darkPalette() },
};

TEST(AppearancePalette, EveryRoleIsSetInEveryGroup)
{
    for (const auto& [name, palette] : palettes) {
        for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
            for (int role = 0; role < QPalette::NColorRoles; ++role) {
                if (role == QPalette::NoRole)
                    continue;
                const auto colorRole = static_cast<QPalette::ColorRole>(role);
                EXPECT_TRUE(palette.isBrushSet(group, colorRole))
                    << name << " group " << group << " role " << role;
                EXPECT_TRUE(palette.color(group, colorRole).isValid()) << name << " role " << role;
            }
        }
    }
}

TEST(AppearancePalette, BackgroundsAreOpaque)
{
    // A translucent background shows black on an X server without a compositor.
    for (const auto& [name, palette] : palettes)
        for (const auto role : { QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
                 QPalette::ToolTipBase, QPalette::Highlight, QPalette::Light, QPalette::Midlight,
                 QPalette::Mid, QPalette::Dark })
            EXPECT_EQ(palette.color(role).alpha(), 255) << name << " role " << role;
}

TEST(AppearancePalette, TextReadsOnItsBackgroundInBothAppearances)
{
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        { QPalette::WindowText, QPalette::Window }, { QPalette::ButtonText, QPalette::Button },
        { QPalette::Text, QPalette::Base }, { QPalette::Text, QPalette::AlternateBase },
        { QPalette::ToolTipText, QPalette::ToolTipBase },
        { QPalette::WindowText, QPalette::Base }, // captions in popovers, which are filled with Base
        { QPalette::Link, QPalette::Base },
        { QPalette::PlaceholderText, QPalette::Base }, // also the small print under a list's names
    };
    for (const auto& [name, palette] : palettes)
        for (const auto group : { QPalette::Active, QPalette::Inactive })
            for (const auto& [text, background] : pairs)
                EXPECT_GE(contrast(palette.color(group, text), palette.color(group, background)), 4.5)
                    << name << " text role " << text << " on role " << background;
    // Selected items: white on a darker accent blue.
    for (const auto& [name, palette] : palettes)
        EXPECT_GE(contrast(palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight)), 4.5)
            << name;
}

// The named text colours, on the window and on a list's ground.
TEST(AppearancePalette, NamedTextColoursReadOnBothGrounds)
{
    for (const bool dark : { false, true })
        for (const QString& text : { u"PrimaryText"_s, u"SecondaryText"_s, u"PieText"_s, u"ChartText"_s })
            for (const QString& ground : { u"WindowBackground"_s, u"ContentBackground"_s })
                EXPECT_GE(contrast(namedColor(text, dark), namedColor(ground, dark)), 4.5)
                    << text.toStdString() << " on " << ground.toStdString() << (dark ? " dark" : " light");
}

TEST(AppearancePalette, DisabledTextIsDimmerThanEnabledText)
{
    for (const auto& [name, palette] : palettes)
        for (const auto role : { QPalette::WindowText, QPalette::ButtonText, QPalette::Text }) {
            const QColor background = palette.color(QPalette::Window);
            EXPECT_LT(contrast(palette.color(QPalette::Disabled, role), background),
                contrast(palette.color(QPalette::Active, role), background))
                << name << " role " << role;
        }
}

TEST(AppearancePalette, DisabledTextStaysReadableOnEveryGround)
{
    for (const auto& [name, palette] : palettes)
        for (const auto text : { QPalette::WindowText, QPalette::ButtonText, QPalette::Text })
            for (const auto ground :
                { QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button })
                EXPECT_GE(contrast(palette.color(QPalette::Disabled, text),
                              palette.color(QPalette::Disabled, ground)),
                    3.0)
                    << name << " text role " << text << " on role " << ground;
}

TEST(AppearancePalette, TheAppliedPaletteIsTheChosenOneAndTellsItsDarkness)
{
    auto& appearance = AppearanceController::instance();
    appearance.setAppearance(Appearance::Dark);
    EXPECT_EQ(QGuiApplication::palette().color(QPalette::Window),
        AppearanceController::darkPalette().color(QPalette::Window));
    EXPECT_TRUE(isDarkPalette(QGuiApplication::palette()));
    appearance.setAppearance(Appearance::Light);
    EXPECT_EQ(QGuiApplication::palette().color(QPalette::ButtonText),
        AppearanceController::lightPalette().color(QPalette::ButtonText));
    EXPECT_FALSE(isDarkPalette(QGuiApplication::palette()));
    appearance.setAppearance(Appearance::System);
}

} // namespace
