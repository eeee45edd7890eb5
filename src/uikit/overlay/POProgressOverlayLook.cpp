// The look of POProgressOverlay: the box's geometry, colour and timing, each brought into range
// where it enters.

#include "uikit/overlay/POProgressOverlay.h"

#include "platform/SaneGeometry.h"

void POProgressOverlay::setDimBackground(bool dim)
{
    m_dimBackground = dim;
    update();
}
void POProgressOverlay::setSquare(bool square)
{
    m_square = square;
    layoutSubviews();
}
void POProgressOverlay::setOpacity(qreal opacity)
{
    m_opacityValue = platform::saneValue(opacity, 0.0, 1.0, 0.8);
    update();
}
void POProgressOverlay::setColor(const QColor& color)
{
    m_color = color;
    update();
}
void POProgressOverlay::setXOffset(qreal offset)
{
    m_xOffset = platform::saneCoordinate(offset);
    layoutSubviews();
}
void POProgressOverlay::setYOffset(qreal offset)
{
    m_yOffset = platform::saneCoordinate(offset);
    layoutSubviews();
}
void POProgressOverlay::setMargin(qreal margin)
{
    m_margin = platform::saneLength(margin);
    layoutSubviews();
}
void POProgressOverlay::setCornerRadius(qreal radius)
{
    m_cornerRadius = platform::saneLength(radius);
    update();
}
void POProgressOverlay::setSpinsize(qreal size)
{
    m_spinsize = platform::saneLength(size);
}
void POProgressOverlay::setMinSize(const QSizeF& size)
{
    m_minSize = platform::saneSize(size);
    layoutSubviews();
}
void POProgressOverlay::setAnimationType(AnimationType type)
{
    if (type >= AnimationType::Fade && type <= AnimationType::ZoomIn)
        m_animationType = type;
}
void POProgressOverlay::setGraceTime(double seconds)
{
    m_graceTime = platform::saneValue(seconds, 0.0, 86400.0);
}
void POProgressOverlay::setMinShowTime(double seconds)
{
    m_minShowTime = platform::saneValue(seconds, 0.0, 86400.0);
}
