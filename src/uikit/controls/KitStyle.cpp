#include "uikit/controls/KitStyle.h"

#include "platform/Appearance.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

using namespace Qt::Literals::StringLiterals;

KitStyle::KitStyle() : QProxyStyle(QStyleFactory::create(u"Fusion"_s))
{
}

void KitStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    const bool dark = platform::isDarkPalette(option->palette);
    if (element == PE_FrameLineEdit && dark && !(option->state & State_HasFocus)) {
        // Fusion outlines a field a shade darker than the window, 1.1:1 on a dark field; this
        // grey stands at 3:1 on the field and on the window around it. The geometry is Fusion's.
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(0.5, 0.5);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QColor(0x80, 0x80, 0x80));
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0, 0, -1, -1), 2, 2);
        painter->restore();
        return;
    }
    const bool indicator = element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton;
    if (!indicator || !dark)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    const bool enabled = option->state & State_Enabled;
    painter->setPen(QColor(255, 255, 255, enabled ? 110 : 50));
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -1.5, -1.5);
    if (element == PE_IndicatorRadioButton)
        painter->drawEllipse(box);
    else
        painter->drawRoundedRect(box, 2, 2);
    painter->restore();
}
