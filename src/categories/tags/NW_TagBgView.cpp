#include "categories/tags/NW_TagBgView.h"

#include "categories/tags/TagArrowGeometry.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/SaneGeometry.h"
#include "platform/YUpGeometry.h"
#include "uikit/extensions/BezierPathArrowhead.h"

#include <QPainter>

using namespace Qt::Literals::StringLiterals;

NW_TagBgView::NW_TagBgView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NW_TagBgView"_s);
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { update(); });
}

void NW_TagBgView::setRecordPosition(float position)
{
    m_RecordPosition = float(platform::saneCoordinate(position));
}

void NW_TagBgView::setLiabilityTablePosition(float position)
{
    m_LiabilityTablePosition = float(platform::saneCoordinate(position));
}

void NW_TagBgView::paintEvent(QPaintEvent*)
{
    if (!m_RecordSelected)
        return;
    // The whole view is the drawing's space: the arrows hang from its top edge.
    const qreal height = this->height();
    const TagArrowGeometry::Arrows arrows
        = TagArrowGeometry::arrows(height, m_RecordPosition, m_LiabilityTablePosition);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    auto fill = [&](const TagArrowGeometry::Arrow& arrow, const QColor& color) {
        QPainterPath path;
        for (const TagArrowGeometry::Shape& shape : arrow) {
            path.addPath(BezierPathArrowhead::bezierPathWithArrowFromPoint(
                platform::toYDown(shape.from, height), platform::toYDown(shape.to, height),
                TagArrowGeometry::tailWidth, shape.headWidth, shape.headLength));
        }
        // One path, so that the joins of stub, riser and arrow are not filled twice.
        path.setFillRule(Qt::WindingFill);
        painter.fillPath(path.simplified(), color);
    };
    fill(arrows.asset, platform::namedColor(u"GreenConnectArrow"_s));
    fill(arrows.liability, platform::namedColor(u"RedConnectArrow"_s));
}
