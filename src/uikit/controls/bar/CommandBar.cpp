#include "uikit/controls/bar/CommandBar.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "uikit/window/TBWindowButton.h"

using namespace Qt::Literals::StringLiterals;

CommandBar::CommandBar(QWidget* parent) : NZNoiseLinearGradientView(parent)
{
    setFixedHeight(barHeight);
    updateCommandBarLook();
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, &CommandBar::updateCommandBarLook);
}

TBWindowButton* CommandBar::addButton(const ButtonSpec& spec)
{
    auto* button = new TBWindowButton(this);
    button->setObjectName(spec.name);
    button->setButtonType(TBWindowButton::ButtonType::MomentaryChange);
    button->setBordered(false);
    button->resize(spec.width, spec.height);
    button->setToolTip(spec.toolTip);
    m_buttons.append({ button, spec });
    updateCommandBarLook();
    placeButtons();
    return button;
}

void CommandBar::updateCommandBarLook()
{
    setBackgroundColor(platform::namedColor(u"CommandBarBG1"_s));
    setAlternateBackgroundColor(platform::namedColor(u"CommandBarBG2"_s));
    setNoiseBlendMode(NZNoise::BlendMode::Multiply);
    setNoiseOpacity(platform::isDarkAppearance() ? 0.3 : 0.03);
    // The glyphs have twins for the dark bar.
    for (const auto& [button, spec] : m_buttons) {
        if (!button)
            continue;
        const QSize size(spec.width, spec.height);
        button->setImage(platform::appearanceImage(spec.normal, size));
        button->setActiveImage(platform::appearanceImage(spec.normal, size));
        button->setRolloverImage(platform::appearanceImage(spec.rollover, size));
        button->setPressedImage(platform::appearanceImage(spec.pressed, size));
        button->setInactiveImage(platform::appearanceImage(spec.inactive, size));
        button->setActiveNotKeyWindowImage(platform::appearanceImage(spec.inactive, size));
    }
}

void CommandBar::resizeEvent(QResizeEvent* event)
{
    NZNoiseLinearGradientView::resizeEvent(event);
    placeButtons();
}

void CommandBar::placeButtons()
{
    for (const auto& [button, spec] : m_buttons) {
        if (button)
            button->move(spec.x < 0 ? width() + spec.x : spec.x, height() - spec.y - spec.height);
    }
}

CommandBar::ButtonSpec CommandBar::addSpec(const QString& toolTip, int x)
{
    return { u"addButton"_s, u"AddN"_s, u"AddR"_s, u"AddH"_s, u"AddN"_s, toolTip, x };
}

CommandBar::ButtonSpec CommandBar::editSpec(const QString& toolTip, int x)
{
    return { u"editButton"_s, u"EditN"_s, u"EditR"_s, u"EditH"_s, u"EditI"_s, toolTip, x };
}

CommandBar::ButtonSpec CommandBar::deleteSpec(const QString& toolTip, int x)
{
    return { u"deleteButton"_s, u"DeleteN"_s, u"DeleteR"_s, u"DeleteH"_s, u"DeleteI"_s, toolTip, x };
}
