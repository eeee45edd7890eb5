#include "charts/common/ValuePopup.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/NSPLotPointAnnotationController.h"
#include "model/data/MVX_Model.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "model/values/NWDetailRecordInfo.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "support/Contrast.h"
#include "support/TempHomeTest.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBWindowButton.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QTest>
#include <QTextDocumentFragment>

#include <limits>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QString caption(const QWidget& popup)
{
    return popup.findChild<QLabel*>(u"monthCtl"_s)->text();
}

QString amount(const QWidget& popup)
{
    return popup.findChild<QLabel*>(u"amountCtl"_s)->text();
}

int infoButtons(const QWidget& popup)
{
    return int(popup.findChildren<TBWindowButton*>().size());
}

void showSeveralTimes(QWidget& popup)
{
    for (int i = 0; i < 3; ++i) {
        popup.show();
        popup.hide();
    }
}

TEST(ValuePopupTest, InfoButtonOnlyWithAFlagAndOnlyOnce)
{
    NSPLotPointAnnotationController plain;
    showSeveralTimes(plain);
    EXPECT_EQ(infoButtons(plain), 0);

    NSPLotPointAnnotationController flagged;
    flagged.setInfoFlag(true);
    showSeveralTimes(flagged);
    EXPECT_EQ(infoButtons(flagged), 1);

    NSPLotPointAnnotationController switched;
    switched.setShowInfoButton(true);
    showSeveralTimes(switched);
    switched.addInfoButton();
    ASSERT_EQ(infoButtons(switched), 1);
    auto* button = switched.findChild<TBWindowButton*>();
    // Frame (205, 35, 14, 14) in the popup's y-up layout, 60 points high.
    EXPECT_EQ(button->geometry(), QRect(205, 11, 14, 14));
    EXPECT_EQ(button->toolTip(), u"Show record details"_s);
}

TEST(ValuePopupTest, CaptionsOfTextsAndOfMonths)
{
    NSPLotPointAnnotationController popup;
    popup.setValuesWithAmount(u"$1,200"_s, QString(), u"Savings <b>"_s, Qt::red);
    EXPECT_EQ(amount(popup), u"$1,200"_s);
    EXPECT_EQ(caption(popup), u"Savings <b> "_s);
    EXPECT_EQ(popup.findChild<QLabel*>(u"monthCtl"_s)->textFormat(), Qt::PlainText);
    EXPECT_EQ(
        popup.findChild<QLabel*>(u"amountCtl"_s)->palette().color(QPalette::WindowText), QColor(Qt::red));

    popup.setValuesWithAmount(u"$5"_s, u"2020"_s, u"Cash"_s, Qt::blue);
    EXPECT_EQ(caption(popup), u"Cash 2020"_s);

    popup.setValuesWithIntAmount(u"($300)"_s, 2019, 3, Qt::darkGreen);
    EXPECT_EQ(caption(popup), u"Mar 2019"_s);
    EXPECT_EQ(amount(popup), u"($300)"_s);
}

TEST(ValuePopupTest, InfoButtonAsksForThePopupsMonth)
{
    NSPLotPointAnnotationController popup;
    popup.setInfoFlag(true);
    popup.setValuesWithIntAmount(u"$1"_s, 2019, 3, Qt::black);
    popup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));

    QObject receiver;
    QList<platform::Notification> posted;
    platform::NotificationCenter::defaultCenter().addObserver(
        &receiver, notifications::showDetails, [&](const platform::Notification& n) { posted << n; });
    QTest::mouseClick(popup.findChild<TBWindowButton*>(), Qt::LeftButton);

    ASSERT_EQ(posted.size(), 1);
    ASSERT_TRUE(posted[0].object.canConvert<NWDetailRecordInfo>());
    const auto info = posted[0].object.value<NWDetailRecordInfo>();
    EXPECT_EQ(info.year(), 2019);
    EXPECT_EQ(info.month(), 3);
}

class ValuePopupShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PKPopoverController::closeAllShownPopovers();
        chart.setGeometry(100, 100, 400, 300);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    void TearDown() override { PKPopoverController::closeAllShownPopovers(); }

    QWidget chart;
    QPointer<PKPopoverController> slot;
};

TEST_F(ValuePopupShowTest, EachShowReplacesThePreviousPopover)
{
    PKPopoverController* first = ValuePopup::show(
        slot, &chart, QPointF(50, 60), ValuePopup::Texts { u"$10"_s, u"Cash"_s, QString(), Qt::red }, false);
    ASSERT_TRUE(first && first->shown());
    QPointer<PKPopoverController> firstAlive = first;

    PKPopoverController* second = ValuePopup::show(
        slot, &chart, QPointF(120.7, 80.9), ValuePopup::MonthPoint { u"$20"_s, 2019, 3, Qt::blue }, true);
    EXPECT_EQ(slot, second);
    EXPECT_EQ(PKPopoverController::shownPopovers(), QList<PKPopoverController*> { second });
    EXPECT_TRUE(!firstAlive || !firstAlive->shown());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // dropped popovers go later
    EXPECT_TRUE(firstAlive.isNull());

    EXPECT_FALSE(second->animates());
    EXPECT_TRUE(second->closesWhenEscapeKeyPressed());
    EXPECT_TRUE(second->closesWhenApplicationBecomesInactive());
    EXPECT_TRUE(second->closesWhenPopoverResignsKey());
    EXPECT_EQ(second->color(), platform::namedColor(u"ValuePopupBg"_s));
    // Anchor (120, 80) y-up: the rectangle (115, 85, 10, 10) y-up is (115, 205, 10, 10) in
    // the 300-point-high view.
    EXPECT_EQ(second->viewRect(), QRectF(115, 205, 10, 10));

    auto* popup = qobject_cast<NSPLotPointAnnotationController*>(second->contentViewController());
    ASSERT_TRUE(popup);
    EXPECT_EQ(amount(*popup), u"$20"_s);
    EXPECT_EQ(caption(*popup), u"Mar 2019"_s);
    EXPECT_EQ(infoButtons(*popup), 1);
}

TEST_F(ValuePopupShowTest, PopupIsFilledWhenThePopoverIsAboutToShow)
{
    PKPopoverController* popover = ValuePopup::show(
        slot, &chart, QPointF(10, 10), ValuePopup::Texts { u"$1"_s, u"Home"_s, u"2021"_s, Qt::red }, false);
    auto* popup = qobject_cast<NSPLotPointAnnotationController*>(popover->contentViewController());
    ASSERT_TRUE(popup);
    EXPECT_EQ(caption(*popup), u"Home 2021"_s);

    // Shown again, the popover fills its popup again from the values it was made with.
    popover->close();
    popup->setValuesWithAmount(u"stale"_s, QString(), u"stale"_s, Qt::black);
    popover->showRelativeToRect(QRectF(0, 0, 10, 10), &chart, platform::RectEdge::MinY);
    EXPECT_EQ(amount(*popup), u"$1"_s);
    EXPECT_EQ(caption(*popup), u"Home 2021"_s);
}

TEST_F(ValuePopupShowTest, AShownPopupTakesTheNewAppearancesBackground)
{
    auto& appearance = platform::AppearanceController::instance();
    const platform::Appearance before = appearance.appearance();
    appearance.setAppearance(platform::Appearance::Light);
    PKPopoverController* popover = ValuePopup::show(
        slot, &chart, QPointF(50, 60), ValuePopup::Texts { u"$10"_s, u"Cash"_s, QString(), Qt::red }, false);
    const QColor light = popover->color();

    appearance.setAppearance(platform::Appearance::Dark);
    EXPECT_EQ(popover->color(), platform::namedColor(u"ValuePopupBg"_s));
    EXPECT_NE(popover->color(), light);
    appearance.setAppearance(before);
}

TEST_F(ValuePopupShowTest, ThePaleChartColoursReadOnThePopupOfEitherAppearanceInTheirHue)
{
    auto& appearance = platform::AppearanceController::instance();
    const platform::Appearance before = appearance.appearance();
    // The annual bars' blue and the translucent trend orange, made for the dark background.
    const QColor blue = QColor::fromRgbF(0.28f, 0.66f, 0.99f, 1.0f);
    const QColor orange = QColor::fromRgbF(1.0f, 0.5f, 0.0f, 0.9f);
    for (const bool dark : { false, true }) {
        appearance.setAppearance(dark ? platform::Appearance::Dark : platform::Appearance::Light);
        for (const QColor& color : { blue, orange }) {
            SCOPED_TRACE(color.name(QColor::HexArgb).toStdString() + (dark ? " dark" : " light"));
            PKPopoverController* popover = ValuePopup::show(slot, &chart, QPointF(50, 60),
                ValuePopup::Texts { u"$10"_s, u"Cash"_s, QString(), color }, false);
            auto* popup = qobject_cast<NSPLotPointAnnotationController*>(popover->contentViewController());
            ASSERT_NE(popup, nullptr);
            const QColor background = platform::namedColor(u"ValuePopupBg"_s);
            const QColor shown
                = popup->findChild<QLabel*>(u"amountCtl"_s)->palette().color(QPalette::WindowText);
            EXPECT_GE(mervane::test::contrast(shown, background), 3.5);
            EXPECT_GE(mervane::test::contrast(
                          popup->findChild<QLabel*>(u"monthCtl"_s)->palette().color(QPalette::WindowText),
                          background),
                4.5);
            EXPECT_NEAR(shown.hslHueF(), color.hslHueF(), 0.01);
            // Where the colour reads already (on the dark popup), it is left as it is.
            if (dark) {
                EXPECT_EQ(shown, color);
            }
        }
    }
    appearance.setAppearance(before);
}

// A popup's lines show their whole texts: the amount, broken anywhere as its line breaks it,
// within its line's box; the caption whole, or elided with the whole caption in its tooltip;
// every line inside the popup, and the popup no wider than `limit`.
void expectWholeTexts(const NSPLotPointAnnotationController& popup, const QString& amountText,
    const QString& captionText, int limit)
{
    const auto* amountLine = popup.findChild<QLabel*>(u"amountCtl"_s);
    const auto* captionLine = popup.findChild<QLabel*>(u"monthCtl"_s);
    EXPECT_EQ(amountLine->text(), amountText);
    EXPECT_TRUE(amountLine->toolTip().isEmpty());
    const QRectF needed = QFontMetricsF(amountLine->font())
                              .boundingRect(QRectF(amountLine->contentsRect()),
                                  Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere, amountText);
    EXPECT_LE(needed.width(), amountLine->contentsRect().width()) << "the amount is cut at the side";
    EXPECT_LE(needed.height(), amountLine->contentsRect().height() + 0.5)
        << "the amount is cut at the bottom";
    const qreal captionWidth = QFontMetricsF(captionLine->font()).horizontalAdvance(captionLine->text());
    EXPECT_LE(captionWidth, captionLine->contentsRect().width()) << "the caption is cut";
    if (captionLine->text() == captionText) {
        EXPECT_TRUE(captionLine->toolTip().isEmpty());
    } else {
        EXPECT_TRUE(captionLine->text().endsWith(QChar(0x2026))) << captionLine->text().toStdString();
        // Rich text, so that it wraps; the name's own markup shown as text.
        EXPECT_EQ(QTextDocumentFragment::fromHtml(captionLine->toolTip()).toPlainText().trimmed(),
            captionText.trimmed());
        EXPECT_GE(popup.width(), limit - 1) << "a caption is elided only where the popup can grow no more";
    }
    for (const QLabel* line : { amountLine, captionLine })
        EXPECT_TRUE(popup.rect().contains(line->geometry())) << line->objectName().toStdString();
    EXPECT_LE(popup.width(), limit);
    EXPECT_GE(popup.width(), 230);
    EXPECT_GE(popup.height(), 60);
}

// The widest amounts the program formats, in the pies' popup form "<amount> (<percent>)", in
// base currencies of several formats (grouping in threes and in the Indian way, symbols before
// and after, none and two fraction digits), with short and long category names.
class ValuePopupAmountsTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        NWData::shared()->setAppData(MVX_Model::makeEmpty());
    }
    void TearDown() override
    {
        PKPopoverController::closeAllShownPopovers();
        NWData::shared()->setAppData(nullptr);
        TempHomeTest::TearDown();
    }
};

TEST_F(ValuePopupAmountsTest, EveryAmountAndCaptionIsShownWhole)
{
    const double widest = std::numeric_limits<double>::max();
    const QString longName = u"Brokerage account at the big bank"_s;
    const QString endlessName
        = u"Retirement savings plan of the employer before last, held in trust "_s.repeated(4);
    // The program's smallest window.
    QWidget window;
    window.resize(800, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const QString& base : { u"USD"_s, u"EUR"_s, u"CHF"_s, u"JPY"_s, u"INR"_s, u"SEK"_s }) {
        NWData::shared()->appData()->setBaseCurrency(base);
        const NWCurrencyFormatter format(0, NWCurrencyFormatter::parenthesesNegativeFormat());
        for (const double value : { 7189577.0, 1e15 + 38000, -1e15, widest, -widest }) {
            const QString amount = u"%1 (100%)"_s.arg(format.stringFromNumber(value));
            for (const QString& name : { u"Cash"_s, longName, endlessName }) {
                SCOPED_TRACE(base.toStdString() + " " + amount.left(40).toStdString() + " "
                    + name.left(20).toStdString());
                QPointer<PKPopoverController> slot;
                PKPopoverController* popover = ValuePopup::show(slot, &window, QPointF(400, 250),
                    ValuePopup::Texts { amount, name, QString(), Qt::darkGreen }, false);
                auto* popup
                    = qobject_cast<NSPLotPointAnnotationController*>(popover->contentViewController());
                ASSERT_NE(popup, nullptr);
                // No wider than the window it points into.
                EXPECT_GT(popup->widthLimit(), 0);
                EXPECT_LE(popup->widthLimit(), window.width());
                expectWholeTexts(*popup, amount, name + u' ', popup->widthLimit());
                // The popover is the popup's size.
                EXPECT_EQ(popover->contentSize(), QSizeF(popup->size()));
                popover->close();
            }
        }
    }
}

// The dashboard's $7,189,577 of one slice, drawn: the amount's ink reaches as far as its text,
// where a line of fixed width would have cut it at "(100".
TEST_F(ValuePopupAmountsTest, ALongAmountIsDrawnToItsEnd)
{
    NWData::shared()->appData()->setBaseCurrency(u"USD"_s);
    const QString amount = u"%1 (100%)"_s.arg(
        NWCurrencyFormatter(0, NWCurrencyFormatter::parenthesesNegativeFormat()).stringFromNumber(7189577));
    NSPLotPointAnnotationController popup;
    popup.setValuesWithAmount(amount, QString(), u"Brokerage account at the big bank"_s, Qt::darkGreen);
    QImage image(popup.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    popup.render(&image);
    const auto* line = popup.findChild<QLabel*>(u"amountCtl"_s);
    const QColor ink = line->palette().color(QPalette::WindowText);
    int right = -1;
    for (int y = line->y(); y < line->y() + line->height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (mervane::test::contrast(image.pixelColor(x, y), ink) < 1.5)
                right = std::max(right, x);
    const qreal textRight = line->x() + QFontMetricsF(line->font()).horizontalAdvance(amount);
    EXPECT_GE(right, textRight - 4) << "the amount's ink ends at " << right << " of " << textRight;
    EXPECT_LT(right, popup.width());
}

// Short texts keep the design's popup; the info button stays by the amount at the right edge
// of a popup widened by its texts.
TEST(ValuePopupTest, ShortTextsKeepTheDesignsSizeAndTheInfoButtonItsCorner)
{
    NSPLotPointAnnotationController popup;
    popup.setInfoFlag(true);
    popup.setValuesWithIntAmount(u"$1,200"_s, 2019, 3, Qt::red);
    popup.show();
    EXPECT_EQ(popup.size(), QSize(230, 60));
    auto* button = popup.findChild<TBWindowButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(205, 11, 14, 14));

    popup.setValuesWithIntAmount(u"$1,000,000,000,000,000,000,000"_s, 2019, 3, Qt::red);
    EXPECT_GT(popup.width(), 230);
    EXPECT_EQ(button->geometry(), QRect(popup.width() - 25, 11, 14, 14));
    const QRect amountLine = popup.findChild<QLabel*>(u"amountCtl"_s)->geometry();
    EXPECT_LE(amountLine.right(), button->x()) << "the amount runs under the info button";
}

} // namespace
