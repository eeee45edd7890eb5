#pragma once

#include <QRectF>
#include <QSizeF>

#include <array>
#include <optional>
#include <vector>

/// Layout rules of the classic title-bar window, in the y-up space of its frame view
/// (the whole window), origin bottom left.
namespace TBClassicLayout {

struct BarFrames {
    QRectF titleBar;
    QRectF bottomBar;
};
/// The title bar along the top of `frameView`, the bottom bar along its bottom.
BarFrames barFrames(const QRectF& frameView, double titleBarHeight, double bottomBarHeight);

/// The content view's frame: between the bars (and below the toolbar), or the whole
/// height when the title bar is hidden in full screen.
QRectF contentFrame(double contentWidth, double frameHeight, double titleBarHeight, double toolbarHeight,
    double bottomBarHeight, bool hidesTitleBar);

struct TrafficLights {
    QRectF container;
    QSizeF close;
    QSizeF minimize;
    QSizeF zoom;
    bool centered = true;
    bool vertical = false;
    double leftMargin = 0;
    double topMargin = 3;
    double separation = 0;
};
/// Frames of close, minimise and zoom, in that order.
std::array<QRectF, 3> trafficLightFrames(const TrafficLights& lights);

/// The right margin a full-screen button at `button` has in a container `containerWidth` wide.
double measuredRightMargin(double containerWidth, const QRectF& button);
QRectF fullScreenButtonFrame(
    const QRectF& container, const QSizeF& size, double rightMargin, bool centered, double topMargin);
/// y of a title text field of height `height`: centred (rounded) or 2 below the top.
double titleFieldY(const QRectF& container, double height, bool verticallyCenterTitle);

struct TitleFrameInput {
    QRectF bounds;
    QSizeF titleSize;
    std::optional<QRectF> documentIcon;
    std::optional<QRectF> versionsButton;
    bool documentEdited = false;
    std::optional<double> dividerX;
    /// The laid-out close, minimise and zoom buttons that exist.
    std::vector<QRectF> buttons;
    std::optional<QRectF> fullScreenButton;
};
/// Where the title goes in the title bar (all rectangles in the title bar's own y-up space).
QRectF titleFrame(const TitleFrameInput& input);

} // namespace TBClassicLayout
