// Who deletes what the kit is given, and geometry refused or clamped where it enters.

#include "uikit/controls/avatar/DVAvatarImageView.h"
#include "uikit/controls/views/BVBlurredView.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"
#include "uikit/popover/PopoverLimits.h"
#include "uikit/popover/PopoverShape.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBWindow.h"
#include "uikit/window/TBWindowButton.h"

#include "platform/SaneGeometry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QWindow>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QImage paintTopLeft(QWidget& view)
{
    QImage image(QSize(200, 120), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(0, 0, 200, 120));
    return image;
}

TEST(TBWindowOwnership, ReplacedTitleStripAndDeletedButtonsLeaveNothingDangling)
{
    TBWindow window;
    window.resize(400, 200);
    auto* replacement = new QWidget;
    window.replaceSubview(window.titleBarView(), replacement, true);
    // The buttons moved over with their frames: the replacement is the strip now.
    EXPECT_EQ(window.titleBarView(), replacement);
    ASSERT_EQ(window.standardButtons().size(), 3);
    EXPECT_EQ(window.standardButtons().first()->parentWidget(), replacement);

    delete window.standardWindowButton(TBStandardButtons::Kind::Close);
    EXPECT_EQ(window.standardWindowButton(TBStandardButtons::Kind::Close), nullptr);
    EXPECT_EQ(window.standardButtons().size(), 2);
    window.setTitleBarHeight(60);
    window.resize(500, 300);
    window.setCenterTrafficLightButtons(false);
    window.setHidesTitle(false);
    EXPECT_EQ(window.titleBarView()->height(), 60);

    // Even the strip itself may go.
    delete window.titleBarView();
    EXPECT_EQ(window.titleBarView(), nullptr);
    window.setTitleBarHeight(80);
    window.setWindowTitle(u"still here"_s);
    window.layoutTrafficLights();
    window.resize(300, 150);
    EXPECT_FALSE(paintTopLeft(window).isNull());
}

TEST(TBWindowOwnership, AReplacedContentViewIsHandedBackUnlessTheWindowMadeIt)
{
    TBWindow window;
    QPointer<QWidget> made = window.contentView();
    auto* given = new QLabel(u"given"_s);
    window.setContentView(given);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(made.isNull()); // the window's own view goes

    auto* next = new QLabel(u"next"_s);
    window.replaceSubview(given, next, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.contentView(), next);
    EXPECT_EQ(given->parent(), nullptr); // the caller's view comes back to the caller
    EXPECT_TRUE(given->isHidden());
    given->setText(u"still usable"_s);
    delete given;

    // The window cannot be put inside itself, nor a view in place of its own ancestor.
    window.replaceSubview(next, &window, true);
    EXPECT_EQ(window.contentView(), next);
}

TEST(TBWindowOwnership, TheClassicWindowHandsBackTheViewsItWasGiven)
{
    TBClassicWindow window;
    window.resize(300, 200);
    QPointer<QWidget> madeBar = window.titleBarView();
    auto* bar = new QWidget;
    window.setTitleBarView(bar);
    auto* content = new QLabel(u"content"_s);
    window.setContentView(content);
    window.setContentView(new QWidget);
    window.setTitleBarView(new QWidget);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(madeBar.isNull());
    EXPECT_EQ(bar->parent(), nullptr);
    EXPECT_EQ(content->parent(), nullptr);
    content->setText(u"still usable"_s);
    delete bar;
    delete content;
}

TEST(TBWindowOwnership, NullViewsAreRefusedWithAnAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            TBWindow window;
            window.setContentView(nullptr);
        },
        "view");
    EXPECT_DEATH(
        {
            TBWindow window;
            window.replaceSubview(window.contentView(), nullptr, true);
        },
        "replacement");
}

TEST(TBAppWindowOwnership, AParentThatGoesFirstLeavesTheWindowToItsOwner)
{
    for (const bool modern : { true, false }) {
        auto* parent = new QWidget;
        std::unique_ptr<TBAppWindow> window = TBAppWindow::create(modern, parent);
        QPointer<QWidget> widget = window->widget();
        // The window stays above its parent without being its child.
        ASSERT_NE(widget->windowHandle(), nullptr);
        EXPECT_EQ(widget->windowHandle()->transientParent(), parent->windowHandle());
        EXPECT_EQ(widget->parent(), nullptr);
        delete parent;
        ASSERT_FALSE(widget.isNull());
        window->setTitleBarHeight(40);
        EXPECT_EQ(window->titleBarHeight(), 40);
        window.reset(); // one delete, by its owner
        EXPECT_TRUE(widget.isNull());
    }
}

TEST(POProgressOverlayOwnership, AReplacedCustomViewIsHandedBackAndNeverDeleted)
{
    QWidget host;
    host.resize(300, 200);
    auto* overlay = new POProgressOverlay(&host);
    auto* first = new QLabel(u"first"_s);
    overlay->setCustomView(first);
    overlay->setMode(POProgressOverlay::Mode::CustomView);
    overlay->show(false);
    EXPECT_EQ(first->parent(), overlay);
    EXPECT_FALSE(first->isHidden());

    QPointer<QLabel> second = new QLabel(u"second"_s);
    overlay->setCustomView(second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(first->parent(), nullptr);
    EXPECT_TRUE(first->isHidden());
    EXPECT_EQ(second->parent(), overlay);
    EXPECT_FALSE(second->isHidden());

    // Other modes hide it; the overlay still owns it and deletes it with itself.
    overlay->setMode(POProgressOverlay::Mode::Indeterminate);
    overlay->setMode(POProgressOverlay::Mode::Determinate);
    EXPECT_FALSE(second.isNull());
    EXPECT_TRUE(second->isHidden());
    // The caller may take it back, or reuse the first again.
    overlay->setCustomView(first);
    overlay->setMode(POProgressOverlay::Mode::CustomView);
    EXPECT_EQ(second->parent(), nullptr);
    delete second.data();
    EXPECT_EQ(first->parent(), overlay);
    // A custom view the caller deletes leaves the overlay drawing without it.
    delete first;
    overlay->setMargin(30);
    EXPECT_FALSE(paintTopLeft(*overlay).isNull());
    // Values outside the enumerations change nothing.
    overlay->setMode(POProgressOverlay::Mode(17));
    EXPECT_EQ(overlay->mode(), POProgressOverlay::Mode::CustomView);
    delete overlay;
}

TEST(PKPopoverControllerOwnership, ReplacedContentStaysTheCallersAndUsable)
{
    auto* first = new QLabel(u"first"_s);
    auto controller = std::make_unique<PKPopoverController>(first);
    auto* second = new QLabel(u"second"_s);
    controller->setContentViewController(second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // What a message panel that kept its first content does next: change its text, resize.
    first->setText(u"changed after the content was replaced"_s);
    controller->setContentSize(QSizeF(first->sizeHint()));
    EXPECT_EQ(first->parent(), nullptr);
    EXPECT_EQ(controller->contentView(), second);
    delete first;
    controller.reset(); // deletes the content it owns
}

TEST(KitGeometry, AbsurdValuesAreClampedWhereTheyEnter)
{
    TBWindow window;
    window.resize(200, 100);
    window.setTitleBarHeight(1e9);
    EXPECT_EQ(window.titleBarHeight(), platform::maximumGeometry);
    window.setTitleBarHeight(kNaN);
    EXPECT_EQ(window.titleBarHeight(), TBWindow::defaultTitleBarHeight());
    window.setTrafficLightButtonsLeftMargin(-kInf);
    EXPECT_EQ(window.trafficLightButtonsLeftMargin(), -platform::maximumGeometry);

    PKPopoverController popover(new QLabel(u"content"_s));
    popover.setContentSize(QSizeF(1e9, 1e9));
    EXPECT_EQ(popover.contentSize(), QSizeF(PopoverLimits::maximumContent, PopoverLimits::maximumContent));
    popover.setContentSize(QSizeF(kNaN, -5));
    EXPECT_EQ(popover.contentSize(), QSizeF(0, 0));
    popover.setBorderWidth(kInf);
    EXPECT_EQ(popover.borderWidth(), PopoverLimits::maximumDecoration);
    popover.setArrowSize(QSizeF(kNaN, 1e9));
    EXPECT_EQ(popover.arrowSize(), QSizeF(0, PopoverLimits::maximumDecoration));

    BVBlurredView blurred;
    blurred.setBlurRadius(1e30f);
    EXPECT_LE(blurred.blurRadius(), 500.0f);
    blurred.setBlurRadius(float(kNaN));
    EXPECT_EQ(blurred.blurRadius(), 0.0f);
    blurred.setSaturationFactor(float(kNaN));
    EXPECT_EQ(blurred.saturationFactor(), 1.0f);
    QImage image(QSize(8, 8), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    BVBlurredView::gaussianBlur(image, std::numeric_limits<float>::max());
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::red));

    QWidget host;
    host.resize(300, 200);
    POProgressOverlay overlay(&host);
    overlay.setMargin(kNaN);
    overlay.setYOffset(kInf);
    overlay.setMinSize(QSizeF(1e9, kNaN));
    overlay.show(false);
    const QRectF box = overlay.boxRect();
    EXPECT_TRUE(std::isfinite(box.x()) && std::isfinite(box.y()));
    EXPECT_LE(box.width(), platform::maximumGeometry);
}

TEST(KitGeometry, AShapeTooLargeToAllocateCutsNothing)
{
    QPainterPath outline;
    outline.addRect(0, 0, 10, 10);
    const QSize huge(20000, 20000);
    const QRegion region = PopoverShape::maskRegion(outline, huge, 1);
    EXPECT_EQ(region.boundingRect(), QRect(QPoint(0, 0), huge));
}

TEST(KitGeometry, ATitleBarButtonFarLargerThanItsImagePaints)
{
    std::unique_ptr<TBWindowButton> button(TBWindowButton::windowButtonWithSize(1e9, kNaN, u"g"_s));
    EXPECT_EQ(button->size(), QSize(int(platform::maximumGeometry), 0));
    button->resize(23, 23);
    EXPECT_FALSE(paintTopLeft(*button).isNull());
}

TEST(DVAvatarDragOut, AnEmptyOrRelativeDestinationIsRefusedAndNothingIsWritten)
{
    QTemporaryDir working;
    ASSERT_TRUE(working.isValid());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working.path()));
    DVAvatarImageView view;
    QImage image(QSize(20, 20), QImage::Format_ARGB32);
    image.fill(Qt::blue);
    view.setImage(image);
    QFile plain(working.filePath(u"plain.txt"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& destination :
        { QString(), u""_s, u"."_s, u"relative"_s, working.filePath(u"missing"_s), plain.fileName() }) {
        const auto written = view.namesOfPromisedFilesDroppedAtDestination(destination);
        EXPECT_FALSE(written.hasValue()) << destination.toStdString();
    }
    EXPECT_EQ(QDir(working.path()).entryList(QDir::Files), QStringList { u"plain.txt"_s });
    // A real folder still gets the image.
    QTemporaryDir target;
    EXPECT_EQ(view.namesOfPromisedFilesDroppedAtDestination(target.path()).valueOr(QStringList()),
        QStringList { u"Avatar.png"_s });
    QDir::setCurrent(before);
}

} // namespace
