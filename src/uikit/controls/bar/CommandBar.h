#pragma once

#include "uikit/controls/noise/NZNoiseLinearGradientView.h"

#include <QList>
#include <QPointer>
#include <QString>

class TBWindowButton;

/// The command bar under a list (records, categories, tags): a noise gradient from the named
/// colour "CommandBarBG1" to "CommandBarBG2", multiplied noise that is stronger on dark, and
/// 23-point image buttons placed in the bar's own y-up frame. The look and the buttons'
/// images follow the appearance.
class CommandBar : public NZNoiseLinearGradientView {
    Q_OBJECT
public:
    static constexpr int barHeight = 41;

    /// One button: its object name, its images (active, rollover, pressed, inactive, which
    /// is also the image in a window without the keyboard) and its tooltip. `x` counts from
    /// the bar's left edge, or from its right edge when negative; `y` from its bottom edge.
    struct ButtonSpec {
        QString name;
        QString normal;
        QString rollover;
        QString pressed;
        QString inactive;
        QString toolTip;
        int x = 0;
        int y = 9;
        int width = 23;
        int height = 23;
    };

    explicit CommandBar(QWidget* parent = nullptr);

    /// A new momentary-change button of the bar (the bar owns it).
    TBWindowButton* addButton(const ButtonSpec& spec);
    /// The bar's colours and the buttons' images for the appearance in effect.
    void updateCommandBarLook();

    /// The images of the add, edit and delete commands every list's bar has.
    static ButtonSpec addSpec(const QString& toolTip, int x);
    static ButtonSpec editSpec(const QString& toolTip, int x);
    static ButtonSpec deleteSpec(const QString& toolTip, int x);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeButtons();

    QList<std::pair<QPointer<TBWindowButton>, ButtonSpec>> m_buttons;
};
