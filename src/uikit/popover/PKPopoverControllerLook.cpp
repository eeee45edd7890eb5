// The look of PKPopoverController: the panel's colours, border and arrow, and the presets.

#include "uikit/popover/PKPopoverController.h"

#include "uikit/popover/PKPopoverWindow.h"
#include "uikit/popover/PKPopoverWindowFrame.h"
#include "uikit/popover/PopoverColors.h"

QColor PKPopoverController::color() const
{
    return m_popoverWindow->frameView()->color();
}
void PKPopoverController::setColor(const QColor& color)
{
    m_popoverWindow->frameView()->setColor(color);
}
QColor PKPopoverController::borderColor() const
{
    return m_popoverWindow->frameView()->borderColor();
}
void PKPopoverController::setBorderColor(const QColor& color)
{
    m_popoverWindow->frameView()->setBorderColor(color);
}
QColor PKPopoverController::topHighlightColor() const
{
    return m_popoverWindow->frameView()->topHighlightColor();
}
void PKPopoverController::setTopHighlightColor(const QColor& color)
{
    m_popoverWindow->frameView()->setTopHighlightColor(color);
}
qreal PKPopoverController::borderWidth() const
{
    return m_popoverWindow->frameView()->borderWidth();
}
void PKPopoverController::setBorderWidth(qreal width)
{
    m_popoverWindow->frameView()->setBorderWidth(width);
}
qreal PKPopoverController::cornerRadius() const
{
    return m_popoverWindow->frameView()->cornerRadius();
}
void PKPopoverController::setCornerRadius(qreal radius)
{
    m_popoverWindow->frameView()->setCornerRadius(radius);
}
QSizeF PKPopoverController::arrowSize() const
{
    return m_popoverWindow->frameView()->arrowSize();
}
void PKPopoverController::setArrowSize(const QSizeF& size)
{
    m_popoverWindow->frameView()->setArrowSize(size);
}
PKPopoverGeometry::ArrowDirection PKPopoverController::arrowDirection() const
{
    return m_popoverWindow->frameView()->arrowDirection();
}

void PKPopoverController::setDefaultProperties_ItemEdit()
{
    m_popoverWindow->frameView()->setBorderColor(PopoverColors::editEdge());
    m_popoverWindow->frameView()->setColor(PopoverColors::contentFill());
    setBorderWidth(2.0);
    setAnimationType(AnimationType::FadeInOut);
    m_closesWhenEscapeKeyPressed = true;
    m_closesWhenApplicationBecomesInactive = false;
    m_closesWhenPopoverResignsKey = false;
    m_closesWhenParentWindowClicked = false;
}

void PKPopoverController::setDefaultProperties_ItemWarning()
{
    m_popoverWindow->frameView()->setBorderColor(PopoverColors::warningEdge());
    m_popoverWindow->frameView()->setColor(PopoverColors::contentFill());
    setBorderWidth(2.0);
    setAnimationType(AnimationType::FadeInOut);
    m_closesWhenEscapeKeyPressed = true;
    m_closesWhenApplicationBecomesInactive = true;
    m_closesWhenPopoverResignsKey = true;
    m_closesWhenParentWindowClicked = true;
}

void PKPopoverController::setDefaultProperties(bool escape, bool resign, bool /*inactive: not read*/)
{
    setDefaultProperties_ItemEdit();
    m_closesWhenEscapeKeyPressed = escape;
    m_closesWhenApplicationBecomesInactive = resign;
    m_closesWhenPopoverResignsKey = resign;
    m_closesWhenParentWindowClicked = resign;
}
