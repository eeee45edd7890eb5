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
#include <QFontMetricsF>
#include <QLabel>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The design's size, which the popup keeps unless its texts need more room.
constexpr QSize kPopupSize(230, 60);
constexpr int kMargin = 12;
constexpr int kAmountTop = 8;
constexpr int kAmountLineHeight = 24;
constexpr int kCaptionGap = 2;
constexpr int kCaptionHeight = 18;
// The room kept right of the texts for the info button, which stands 25 points from the right.
constexpr int kInfoButtonRoom = 28;
constexpr int kInfoButtonFromRight = 25;
// Without a window to fit, the popup stays within what any screen shows.
constexpr int kWidestWithoutLimit = 4000;
// An amount longer than this many lines is not an amount: the rest is in the tooltip.
constexpr int kMostAmountLines = 12;
// The bold 15-point amount is large text, which reads at 3:1; the margin covers its smoothed edges.
constexpr double kReadableContrast = 3.5;
// The info button's frame in the popup, y-up as the popup's layout is drawn.
constexpr QRectF kInfoButtonFrameYUp(205, 35, 14, 14);

// The amount line. Numbers have no spaces to break at: an amount wider than the popup may grow
// goes on over the next lines, broken anywhere.
class AmountLabel : public QLabel {
public:
    using QLabel::QLabel;

    static constexpr int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(contentsRect(), flags, text());
    }
};

void styleLine(QLabel* label, const QString& name, qreal pointSize, bool bold)
{
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // amounts and captions may carry user-named categories
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
}

// A tooltip of user text that wraps: a plain-text one stays one line, wider than the screen.
QString wrappingTip(const QString& text)
{
    return text.isEmpty() ? QString() : u"<p>%1</p>"_s.arg(text.toHtmlEscaped());
}

int widthOf(const QFontMetricsF& metrics, const QString& text)
{
    return int(std::ceil(metrics.size(0, text).width())) + 1;
}

} // namespace

NSPLotPointAnnotationController::NSPLotPointAnnotationController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NSPLotPointAnnotationController"_s);
    m_amountCtl = new AmountLabel(this);
    styleLine(m_amountCtl, u"amountCtl"_s, 15, true);
    m_monthCtl = new QLabel(this);
    styleLine(m_monthCtl, u"monthCtl"_s, 11, false);
    KitColors::setNamedColor(m_monthCtl, u"ChartText"_s);
    layOut();
}

void NSPLotPointAnnotationController::setInfoFlag(bool showInfo)
{
    m_showInfo = showInfo;
    layOut();
}

void NSPLotPointAnnotationController::setShowInfoButton(bool show)
{
    m_showInfoButton = show;
    layOut();
}

void NSPLotPointAnnotationController::setWidthLimit(int width)
{
    m_widthLimit = width;
    layOut();
}

void NSPLotPointAnnotationController::layOut()
{
    const int rightRoom = m_showInfo || m_showInfoButton ? kInfoButtonRoom : kMargin;
    const int limit = std::max(kPopupSize.width(), m_widthLimit > 0 ? m_widthLimit : kWidestWithoutLimit);
    const QFontMetricsF amountMetrics(m_amountCtl->font());
    const QFontMetricsF captionMetrics(m_monthCtl->font());
    const int wanted = kMargin
        + std::max(widthOf(amountMetrics, m_amount), widthOf(captionMetrics, m_caption)) + rightRoom;
    const int width = std::clamp(wanted, kPopupSize.width(), limit);
    const int textWidth = width - kMargin - rightRoom;

    int amountHeight = kAmountLineHeight;
    QString amountTip;
    if (widthOf(amountMetrics, m_amount) > textWidth || m_amount.contains(u'\n')) {
        const qreal lineSpacing = amountMetrics.lineSpacing();
        const qreal needed
            = amountMetrics.boundingRect(QRectF(0, 0, textWidth, 1e6), AmountLabel::flags, m_amount).height();
        const int lines = std::clamp(int(std::ceil(needed / lineSpacing - 0.01)), 1, kMostAmountLines);
        amountHeight += int(std::ceil((lines - 1) * lineSpacing));
        if (needed > lines * lineSpacing + 0.5)
            amountTip = m_amount;
    }
    m_amountCtl->setText(m_amount);
    m_amountCtl->setToolTip(wrappingTip(amountTip));

    const QString caption = captionMetrics.elidedText(m_caption, Qt::ElideRight, textWidth);
    m_monthCtl->setText(caption);
    m_monthCtl->setToolTip(caption == m_caption ? QString() : wrappingTip(m_caption));

    m_amountCtl->setGeometry(kMargin, kAmountTop, textWidth, amountHeight);
    const int captionTop = kAmountTop + amountHeight + kCaptionGap;
    m_monthCtl->setGeometry(kMargin, captionTop, textWidth, kCaptionHeight);
    setFixedSize(width,
        captionTop + kCaptionHeight + kPopupSize.height() - kAmountTop - kAmountLineHeight - kCaptionGap
            - kCaptionHeight);
    if (m_infoABoutButton) {
        // Beside the amount's first line, as the design's frame puts it in a popup of its size.
        const QRect frame = platform::toYDown(kInfoButtonFrameYUp, qreal(kPopupSize.height())).toRect();
        m_infoABoutButton->setGeometry(
            width - kInfoButtonFromRight, frame.y(), frame.width(), frame.height());
    }
}

void NSPLotPointAnnotationController::setAmount(const QString& amount, const QColor& color)
{
    m_amount = amount;
    KitColors::setColor(m_amountCtl, QPalette::WindowText, [color](const QPalette& shownWith) {
        const QColor background = platform::namedColor(u"ValuePopupBg"_s, platform::isDarkPalette(shownWith));
        return platform::readableOn(color, background, kReadableContrast);
    });
}

void NSPLotPointAnnotationController::setCaption(const QString& caption)
{
    m_caption = caption;
    layOut();
}

void NSPLotPointAnnotationController::setValuesWithAmount(
    const QString& amount, const QString& year, const QString& month, const QColor& color)
{
    setAmount(amount, color);
    setCaption(month + u' ' + year);
}

void NSPLotPointAnnotationController::setValuesWithIntAmount(
    const QString& amount, int year, int month, const QColor& color)
{
    setAmount(amount, color);
    m_year = year;
    m_month = month;
    const QString monthName = QLocale().toString(QDate(year, month, 1), u"MMM"_s);
    setCaption(monthName + u' ' + QString::number(year));
}

void NSPLotPointAnnotationController::addInfoButton()
{
    if (!(m_showInfo || m_showInfoButton) || m_infoABoutButton)
        return;
    auto* button = new TBWindowButton(this);
    button->setObjectName(u"infoABoutButton"_s);
    button->resize(kInfoButtonFrameYUp.size().toSize());
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
    m_infoABoutButton = button;
    layOut();
    button->show();
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
