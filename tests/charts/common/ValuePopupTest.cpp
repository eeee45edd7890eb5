#include "charts/common/ValuePopup.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/NSPLotPointAnnotationController.h"
#include "model/values/NWDetailRecordInfo.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "support/Contrast.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBWindowButton.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

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

} // namespace
