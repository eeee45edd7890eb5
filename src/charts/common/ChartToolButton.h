#pragma once

#include <QToolButton>

/// A chart screen's small command button (print, copy, settings, tag filter): a glyph of the
/// installed icon font in the secondary text colour, with a soft glow under the mouse. It follows
/// the appearance by itself.
class ChartToolButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr char16_t menuGlyph = 0xf0c9;
    static constexpr char16_t tagsGlyph = 0xf02c;
    static constexpr char16_t printGlyph = 0xf02f;
    static constexpr char16_t copyGlyph = 0xf0c5;
    static constexpr int side = 26;

    ChartToolButton(char16_t glyph, const QString& toolTip, QWidget* parent = nullptr);

private:
    void applyAppearance();
};
