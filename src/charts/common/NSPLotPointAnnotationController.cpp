#include "charts/common/NSPLotPointAnnotationController.h"

#include "charts/common/ChartNotifications.h"
#include "model/values/NWDetailRecordInfo.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "platform/YUpGeometry.h"
#include "uikit/controls/KitColors.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBWindowButton.h"

#include <QDate>
#include <QLabel>
#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize kPopupSize(230, 60);
// The bold 15-point amount is large text, which reads at 3:1; the margin covers its smoothed edges.
constexpr double kReadableContrast = 3.5;
// The info button's frame in the popup, y-up as the popup's layout is drawn.
constexpr QRectF kInfoButtonFrameYUp(205, 35, 14, 14);

QLabel* lineLabel(QWidget* parent, const QString& name, qreal pointSize, bool bold, const QRect& frame)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // amounts and captions may carry user-named categories
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setGeometry(frame);
    return label;
}

} // namespace

NSPLotPointAnnotationController::NSPLotPointAnnotationController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NSPLotPointAnnotationController"_s);
    setFixedSize(kPopupSize);
    m_amountCtl = lineLabel(this, u"amountCtl"_s, 15, true, QRect(12, 8, 190, 24));
    m_monthCtl = lineLabel(this, u"monthCtl"_s, 11, false, QRect(12, 34, 190, 18));
    KitColors::setNamedColor(m_monthCtl, u"ChartText"_s);
}

void NSPLotPointAnnotationController::setAmount(const QString& amount, const QColor& color)
{
    m_amountCtl->setText(amount);
    KitColors::setColor(m_amountCtl, QPalette::WindowText, [color](const QPalette& shownWith) {
        const QColor background = platform::namedColor(u"ValuePopupBg"_s, platform::isDarkPalette(shownWith));
        return platform::readableOn(color, background, kReadableContrast);
    });
}

void NSPLotPointAnnotationController::setValuesWithAmount(
    const QString& amount, const QString& year, const QString& month, const QColor& color)
{
    setAmount(amount, color);
    m_monthCtl->setText(month + u' ' + year);
}

void NSPLotPointAnnotationController::setValuesWithIntAmount(
    const QString& amount, int year, int month, const QColor& color)
{
    setAmount(amount, color);
    m_year = year;
    m_month = month;
    const QString monthName = QLocale().toString(QDate(year, month, 1), u"MMM"_s);
    m_monthCtl->setText(monthName + u' ' + QString::number(year));
}

void NSPLotPointAnnotationController::addInfoButton()
{
    if (!(m_showInfo || m_showInfoButton) || m_infoABoutButton)
        return;
    auto* button = new TBWindowButton(this);
    button->setObjectName(u"infoABoutButton"_s);
    button->setGeometry(platform::toYDown(kInfoButtonFrameYUp, qreal(height())).toRect());
    button->setButtonType(TBWindowButton::ButtonType::MomentaryChange);
    const QSize size = button->size();
    const QImage normal = platform::image(u"InfoNSmall"_s, size);
    button->setImage(normal);
    button->setActiveImage(normal);
    button->setInactiveImage(normal);
    button->setActiveNotKeyWindowImage(normal);
    button->setRolloverImage(platform::image(u"InfoRSmall"_s, size));
    button->setPressedImage(platform::image(u"InfoHSmall"_s, size));
    button->setBordered(false);
    button->setAutoresizingMask(TBGeometry::Autoresizing::MinXMargin);
    button->setToolTip(platform::Strings::tr("Show record details"));
    connect(
        button, &QAbstractButton::clicked, this, &NSPLotPointAnnotationController::infoABoutButtonHandler);
    button->show();
    m_infoABoutButton = button;
}

void NSPLotPointAnnotationController::showEvent(QShowEvent* event)
{
    addInfoButton();
    QWidget::showEvent(event);
}

void NSPLotPointAnnotationController::infoABoutButtonHandler()
{
    NWDetailRecordInfo info;
    info.setYear(m_year);
    info.setMonth(m_month);
    platform::NotificationCenter::defaultCenter().post(notifications::showDetails, QVariant::fromValue(info));
}
