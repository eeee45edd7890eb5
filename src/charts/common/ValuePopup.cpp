#include "charts/common/ValuePopup.h"

#include "charts/common/NSPLotPointAnnotationController.h"
#include "platform/Appearance.h"
#include "platform/RectEdge.h"
#include "platform/Resources.h"
#include "platform/SaneGeometry.h"
#include "platform/YUpGeometry.h"
#include "uikit/popover/PKPopoverController.h"

#include <cmath>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

using Fill = std::function<void(NSPLotPointAnnotationController*)>;

// What a popover's border and arrow add to its content's width, with a little to spare.
constexpr int kPopoverBorderRoom = 40;

PKPopoverController* showPopup(QPointer<PKPopoverController>& slot, QWidget* controllerView,
    const QPointF& anchorYUp, bool showInfo, Fill fill)
{
    Q_ASSERT(controllerView);
    if (!controllerView)
        return nullptr;
    if (slot) {
        slot->close();
        slot->deleteLater();
    }
    slot = nullptr;

    auto* popup = new NSPLotPointAnnotationController;
    popup->setInfoFlag(showInfo);
    // As wide as its texts, but no wider than the window it points into (less the popover's border).
    popup->setWidthLimit(controllerView->window()->width() - kPopoverBorderRoom);
    // Filled once now so that the popover is made at the popup's size.
    fill(popup);
    auto* popover = new PKPopoverController(popup, controllerView);
    popover->setDefaultProperties_ItemEdit();
    popover->setClosesWhenEscapeKeyPressed(true);
    popover->setClosesWhenApplicationBecomesInactive(true);
    popover->setClosesWhenPopoverResignsKey(true);
    popover->setAnimates(false);
    popover->setColor(platform::namedColor(u"ValuePopupBg"_s));
    // A colour of its own: the popup follows an appearance change while it is shown.
    QObject::connect(&platform::AppearanceController::instance(),
        &platform::AppearanceController::appearanceChanged, popover,
        [popover] { popover->setColor(platform::namedColor(u"ValuePopupBg"_s)); });
    popover->setWillShowBlock([view = QPointer<QWidget>(controllerView), fill = std::move(fill)](
                                  PKPopoverController* controller) {
        auto* content = qobject_cast<NSPLotPointAnnotationController*>(controller->contentViewController());
        if (!view || !content)
            return;
        fill(content);
        if (QSizeF(content->size()) != controller->contentSize())
            controller->setContentSize(content->size());
    });
    slot = popover;

    const QRectF anchor
        = platform::toYDown(ValuePopup::anchorRect(anchorYUp), qreal(controllerView->height()));
    popover->showRelativeToRect(anchor, controllerView, platform::RectEdge::MinY);
    return popover;
}

} // namespace

QRectF ValuePopup::anchorRect(const QPointF& anchorYUp)
{
    const QPointF anchor = platform::sanePoint(anchorYUp);
    const double x = std::trunc(anchor.x());
    const double y = std::trunc(anchor.y());
    return QRectF(x - 5, y + 5, 10, 10);
}

PKPopoverController* ValuePopup::show(QPointer<PKPopoverController>& slot, QWidget* controllerView,
    const QPointF& anchorYUp, const Texts& texts, bool showInfo)
{
    return showPopup(
        slot, controllerView, anchorYUp, showInfo, [texts](NSPLotPointAnnotationController* popup) {
            popup->setValuesWithAmount(texts.amount, texts.year, texts.caption, texts.color);
        });
}

PKPopoverController* ValuePopup::show(QPointer<PKPopoverController>& slot, QWidget* controllerView,
    const QPointF& anchorYUp, const MonthPoint& point, bool showInfo)
{
    return showPopup(
        slot, controllerView, anchorYUp, showInfo, [point](NSPLotPointAnnotationController* popup) {
            popup->setValuesWithIntAmount(point.amount, point.year, point.month, point.color);
        });
}
