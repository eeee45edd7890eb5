#include "app/selection/GenericSelBgView.h"

#include "platform/Appearance.h"
#include "uikit/extensions/ColorHex.h"

#include <QPaintEvent>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

GenericSelBgView::GenericSelBgView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"GenericSelBgView"_s);
}

QColor GenericSelBgView::fillColor()
{
    if (platform::isDarkAppearance())
        return QPalette().color(QPalette::Active, QPalette::Window);
    return ColorHex::colorFromHex(u"#FEFEFEff");
}

void GenericSelBgView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), fillColor());
}
