#include "platform/Appearance.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBDefensiveWindow.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBTitleBarDoubleClick.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowDelegateProxy.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Records the messages it receives, in order, into a shared log.
class RecordingDelegate : public QObject, public TBWindowDelegate {
public:
    RecordingDelegate(QStringList* log, QString name) : m_log(log), m_name(std::move(name)) { }
    void windowDidResize(QWidget*) override { m_log->append(m_name + u":resize"_s); }
    bool windowShouldClose(QWidget*) override
    {
        m_log->append(m_name + u":shouldClose"_s);
        return allowClose;
    }
    bool allowClose = true;

private:
    QStringList* m_log;
    QString m_name;
};

// A window that also logs the delegate messages it receives itself.
class LoggingWindow : public TBWindow {
public:
    explicit LoggingWindow(QStringList* log) : m_log(log) { }

protected:
    void windowDidResize(QWidget* window) override
    {
        m_log->append(u"window:resize"_s);
        TBWindow::windowDidResize(window);
    }

private:
    QStringList* m_log;
};

QRectF buttonFrame(TBWindow& window, int kind)
{
    return TBGeometry::frame(
        window.standardWindowButton(TBStandardButtons::Kind(kind)), window.titleBarView());
}

} // namespace

TEST(TBWindow, SetUpHidesTheTitleCentresTheButtonsAndHasNoOutsideDelegate)
{
    TBWindow window;
    EXPECT_TRUE(window.hidesTitle());
    EXPECT_TRUE(window.centerTrafficLightButtons());
    EXPECT_EQ(window.titleBarHeight(), 0);
    EXPECT_FALSE(window.titleBarAccessoryHeight());
    EXPECT_EQ(window.delegate(), nullptr);
    EXPECT_TRUE(window.styleMask() & TBWindow::Style::FullSizeContentView);
    ASSERT_EQ(window.standardButtons().size(), 3);
    EXPECT_EQ(window.standardWindowButton(TBStandardButtons::Kind::FullScreen), nullptr);
    EXPECT_EQ(window.titleBarView()->height(), TBWindow::defaultTitleBarHeight());
    EXPECT_EQ(window.trafficLightButtonsLeftMargin(), TBWindow::defaultLeftMargin());
    EXPECT_EQ(buttonFrame(window, 0).x(), TBWindow::defaultLeftMargin());
    EXPECT_EQ(buttonFrame(window, 1).x(), TBWindow::defaultLeftMargin() + 14 + 6);
    // The content view fills the whole window, under the strip.
    EXPECT_EQ(window.contentView()->geometry(), window.rect());
}

TEST(TBWindow, TitleBarHeightGrowsTheWindowDownwardsAndNeverBelowTheDefault)
{
    TBWindow window;
    window.setGeometry(100, 100, 800, 600);
    const double defaultHeight = TBWindow::defaultTitleBarHeight();

    window.setTitleBarHeight(40);
    EXPECT_EQ(window.titleBarHeight(), 40);
    EXPECT_EQ(*window.titleBarAccessoryHeight(), 40 - defaultHeight);
    EXPECT_EQ(window.titleBarView()->height(), 40);
    // The strip grew by 40 - default; so did the window, top edge in place.
    EXPECT_EQ(window.geometry(), QRect(100, 100, 800, 600 + int(40 - defaultHeight)));

    const QRect before = window.geometry();
    window.setTitleBarHeight(40);
    EXPECT_EQ(window.geometry(), before);

    window.setTitleBarHeight(10);
    EXPECT_EQ(window.titleBarHeight(), defaultHeight);
    EXPECT_EQ(*window.titleBarAccessoryHeight(), 0);
    EXPECT_EQ(window.geometry(), QRect(100, 100, 800, 600));
}

TEST(TBWindow, TrafficLightsKeepTheirTopDistanceUnlessCentred)
{
    TBWindow window;
    window.resize(800, 600);
    window.show(); // resizes reach hidden windows only when they are shown
    window.setTitleBarHeight(40);
    window.setCenterTrafficLightButtons(false);
    // 3 points below the top of a 40-point strip, as in a default-height one.
    EXPECT_EQ(buttonFrame(window, 0), QRectF(TBWindow::defaultLeftMargin(), 40 - 16 - 3, 14, 16));
    EXPECT_EQ(TBWindow::defaultTopMargin(), 3);
    window.setCenterTrafficLightButtons(true);
    EXPECT_EQ(buttonFrame(window, 2).y(), 12);

    // A new left margin waits for the next layout.
    window.setTrafficLightButtonsLeftMargin(20);
    EXPECT_EQ(buttonFrame(window, 0).x(), TBWindow::defaultLeftMargin());
    window.resize(900, 600);
    EXPECT_EQ(buttonFrame(window, 0).x(), 20);
}

TEST(TBWindow, DelegateMessagesReachTheWindowFirstThenTheOutsideDelegate)
{
    QStringList log;
    LoggingWindow window(&log);
    window.resize(400, 300);
    window.show();
    log.clear();
    window.resize(401, 300);
    EXPECT_EQ(log, QStringList { u"window:resize"_s }); // no outside delegate: the window hears it directly

    RecordingDelegate outside(&log, u"outside"_s);
    window.setDelegate(&outside);
    EXPECT_EQ(window.delegate(), &outside);
    log.clear();
    window.resize(500, 300);
    EXPECT_EQ(log, (QStringList { u"window:resize"_s, u"outside:resize"_s }));

    // The outside delegate decides whether the window closes.
    outside.allowClose = false;
    EXPECT_FALSE(window.close());
    outside.allowClose = true;
    EXPECT_TRUE(window.close());
}

TEST(TBWindow, AGoneOutsideDelegateIsForgotten)
{
    QStringList log;
    LoggingWindow window(&log);
    window.show();
    {
        RecordingDelegate outside(&log, u"outside"_s);
        window.setDelegate(&outside);
    }
    EXPECT_EQ(window.delegate(), nullptr);
    log.clear();
    window.resize(420, 300);
    EXPECT_EQ(log, QStringList { u"window:resize"_s });
}

TEST(TBWindowDelegateProxy, ForwardsToBothInOrderAndAnswersWithTheLast)
{
    QStringList log;
    RecordingDelegate first(&log, u"first"_s);
    RecordingDelegate second(&log, u"second"_s);
    TBWindowDelegateProxy proxy;
    EXPECT_TRUE(proxy.windowShouldClose(nullptr)); // nobody to ask
    proxy.setFirstDelegate(&first);
    proxy.setSecondaryDelegate(&second);
    second.allowClose = false;
    EXPECT_FALSE(proxy.windowShouldClose(nullptr));
    EXPECT_EQ(log, (QStringList { u"first:shouldClose"_s, u"second:shouldClose"_s }));
}

TEST(TBWindow, ReplacingTheContentViewMovesItsChildren)
{
    TBWindow window;
    window.resize(400, 300);
    QWidget* old = window.contentView();
    auto* label = new QLabel(u"kept"_s, old);
    label->setGeometry(10, 50, 80, 20);
    auto* replacement = window.replaceSubview<QWidget>(old);
    EXPECT_EQ(window.contentView(), replacement);
    EXPECT_EQ(label->parentWidget(), replacement);
    EXPECT_EQ(label->geometry(), QRect(10, 50, 80, 20));
    EXPECT_EQ(replacement->geometry(), window.rect());
}

TEST(TBWindow, TitleBarControlsWithFlexibleLeftMarginFollowTheRightEdge)
{
    TBWindow window;
    window.resize(800, 600);
    window.show();
    window.setTitleBarHeight(40);
    auto* settings = new TBWindowButton(window.titleBarView());
    const double width = window.titleBarView()->width();
    TBGeometry::setFrame(settings, QRectF(width - 50, 8, 23, 23), window.titleBarView());
    settings->setAutoresizingMask(TBGeometry::Autoresizing::MinXMargin);
    window.resize(1000, 600);
    EXPECT_EQ(TBGeometry::frame(settings, window.titleBarView()), QRectF(1000 - 50, 8, 23, 23));
}

TEST(TBWindow, NoMaterialsSoContentAppearanceLeavesTheViewAlone)
{
    TBWindow window;
    QWidget* content = window.contentView();
    EXPECT_FALSE(TBWindow::supportsVibrantAppearances());
    window.setContentViewAppearanceVibrantDark();
    window.setContentViewAppearanceVibrantLight();
    EXPECT_EQ(window.contentView(), content);
    EXPECT_EQ(static_cast<int>(TBWindow::Material::Light), 1);
    EXPECT_EQ(static_cast<int>(TBWindow::Material::Dark), 2);
}

TEST(TBAppWindow, FactoryMakesTheDefensiveWindowOrTheClassicFallback)
{
    ASSERT_TRUE(TBAppWindow::isYosemiteOrGreater());
    auto main = TBAppWindow::create();
    EXPECT_NE(dynamic_cast<TBDefensiveWindow*>(main.get()), nullptr);
    auto classic = TBAppWindow::create(false, nullptr);
    EXPECT_NE(dynamic_cast<TBClassicWindow*>(classic.get()), nullptr);
    EXPECT_NE(classic->standardWindowButton(TBStandardButtons::Kind::FullScreen), nullptr);
    EXPECT_EQ(main->standardWindowButton(TBStandardButtons::Kind::FullScreen), nullptr);
}

TEST(TBDefensiveWindow, ClassicOnlyOperationsChangeNothing)
{
    auto app = TBAppWindow::create();
    auto* window = dynamic_cast<TBDefensiveWindow*>(app.get());
    ASSERT_NE(window, nullptr);
    window->resize(800, 600);
    // The start-up configuration of the application's main window.
    app->setTitleBarHeight(40);
    app->setCenterTrafficLightButtons(false);
    app->setShowsTitle(true);
    app->setHideTitleBarInFullScreen(true);
    app->setCenterFullScreenButton(true);
    app->setFullScreenButtonRightMargin(8);
    EXPECT_TRUE(window->hidesTitle());
    EXPECT_EQ(app->titleBarHeight(), 40);
    EXPECT_EQ(app->titleBarView()->height(), 40);
    EXPECT_EQ(
        TBGeometry::frame(app->standardWindowButton(TBStandardButtons::Kind::Close), app->titleBarView()).y(),
        40 - 16 - 3);
    EXPECT_EQ(window->geometry().size(), QSize(800, 600 + 40 - 22));
}

class TBWindowDoubleClick : public mervane::test::TempHomeTest { };

TEST_F(TBWindowDoubleClick, AnExplicitSettingDecidesAndNoSettingZooms)
{
    using TBTitleBarDoubleClick::Action;
    const QString miniaturize = QString::fromLatin1(TBTitleBarDoubleClick::kMiniaturizeOnDoubleClickKey);
    const QString chosen = QString::fromLatin1(TBTitleBarDoubleClick::kActionOnDoubleClickKey);
    struct Case {
        std::optional<bool> miniaturize;
        QString action;
        Action expected;
    };
    const Case cases[] = {
        { std::nullopt, {}, Action::Zoom },
        { std::nullopt, u"Maximize"_s, Action::Zoom },
        { std::nullopt, u"Minimize"_s, Action::Miniaturize },
        { std::nullopt, u"None"_s, Action::None },
        { true, {}, Action::Miniaturize },
        { true, u"Maximize"_s, Action::Miniaturize },
        { false, {}, Action::None },
        { false, u"Maximize"_s, Action::Zoom },
        { false, u"Minimize"_s, Action::Miniaturize },
    };
    auto& defaults = platform::UserDefaults::standard();
    for (const Case& c : cases) {
        defaults.remove(miniaturize);
        defaults.remove(chosen);
        if (c.miniaturize)
            defaults.setValue(miniaturize, *c.miniaturize);
        if (!c.action.isEmpty())
            defaults.setValue(chosen, c.action);
        EXPECT_EQ(TBTitleBarDoubleClick::action(defaults), c.expected)
            << (c.miniaturize ? (*c.miniaturize ? "true " : "false ") : "unset ") << qPrintable(c.action);
    }
}

TEST_F(TBWindowDoubleClick, OnTheStripZoomsRestoresMiniaturizesOrDoesNothing)
{
    TBWindow window;
    window.setGeometry(40, 60, 400, 300);
    window.setTitleBarHeight(40);
    window.show();
    const QRect normal = window.geometry();
    const QPoint empty(200, 20);
    auto doubleClick = [&] {
        QTest::mouseDClick(window.titleBarView(), Qt::LeftButton, {}, empty);
        QTest::mouseRelease(window.titleBarView(), Qt::LeftButton, {}, empty);
    };

    doubleClick(); // no setting: zoom
    EXPECT_TRUE(window.isMaximized());
    EXPECT_FALSE(window.isMinimized());
    doubleClick(); // and back
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.geometry(), normal);

    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(QString::fromLatin1(TBTitleBarDoubleClick::kActionOnDoubleClickKey), u"None"_s);
    doubleClick();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_FALSE(window.isMinimized());

    defaults.setValue(QString::fromLatin1(TBTitleBarDoubleClick::kActionOnDoubleClickKey), u"Minimize"_s);
    doubleClick();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(window.isMaximized());
}

TEST(TBWindow, ScreenshotsInLightAndDarkAppearance)
{
    // Kept in the build folder for a look by eye; the test checks that the strip painted.
    for (const bool dark : { false, true }) {
        platform::AppearanceController::instance().setAppearance(
            dark ? platform::Appearance::Dark : platform::Appearance::Light);
        TBDefensiveWindow window;
        window.setWindowTitle(u"Mervane"_s);
        window.resize(480, 200);
        window.setTitleBarHeight(40);
        window.setCenterTrafficLightButtons(false);
        window.setHidesTitle(false);
        window.show();
        const QImage shot = window.grab().toImage();
        const QString file = QDir(QStringLiteral(MERVANE_WINDOW_SHOTS))
                                 .filePath(dark ? u"window-dark.png"_s : u"window-light.png"_s);
        QDir().mkpath(QStringLiteral(MERVANE_WINDOW_SHOTS));
        EXPECT_TRUE(shot.save(file));
        // The strip's colour differs between the appearances, and the close button is drawn in it.
        const QColor strip = shot.pixelColor(shot.width() / 4, 5);
        EXPECT_EQ(strip.lightness() < 128, dark) << strip.name().toStdString();
        const QRect close = window.standardWindowButton(TBStandardButtons::Kind::Close)->geometry();
        EXPECT_NE(shot.pixelColor(close.center() * shot.devicePixelRatio()), strip);
    }
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
}

TEST(TBWindow, ReplacingANestedViewTakesItsPlaceInTheLayout)
{
    TBWindow window;
    auto* box = new QWidget(window.contentView());
    auto* layout = new QVBoxLayout(box);
    auto* old = new QLabel(u"old"_s);
    layout->addWidget(new QLabel(u"first"_s));
    layout->addWidget(old);
    QPointer<QWidget> gone(old);
    auto* replacement = new QLabel(u"new"_s);
    window.replaceSubview(old, replacement, false);
    EXPECT_EQ(layout->indexOf(replacement), 1);
    EXPECT_EQ(layout->indexOf(old), -1);
    EXPECT_EQ(replacement->parentWidget(), box);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The old view is the caller's again, not deleted behind its back.
    ASSERT_FALSE(gone.isNull());
    EXPECT_EQ(old->parentWidget(), nullptr);
    EXPECT_TRUE(old->isHidden());
    delete old;
}

TEST(TBWindow, EveryTitleStripStatePaints)
{
    // Both public window classes, through the calls the application and its fallback make.
    for (const bool defensive : { false, true })
        for (const double height : { 0.0, 40.0, 80.0 })
            for (const bool centred : { false, true })
                for (const bool hidesTitle : { false, true })
                    for (const int look : { 0, 1, 2 }) { // standard, light, dark
                        std::unique_ptr<TBWindow> window = defensive ? std::make_unique<TBDefensiveWindow>()
                                                                     : std::make_unique<TBWindow>();
                        window->setWindowTitle(u"Mervane"_s);
                        window->resize(360, 180);
                        if (height > 0)
                            window->setTitleBarHeight(height);
                        window->setCenterTrafficLightButtons(centred);
                        window->setHidesTitle(hidesTitle);
                        if (look == 1)
                            window->setVibrantLightAppearance();
                        if (look == 2)
                            window->setVibrantDarkAppearance();
                        const QImage shot = window->grab().toImage();
                        ASSERT_FALSE(shot.isNull());
                        // The close button lies inside the strip in every state.
                        const QRectF close = buttonFrame(*window, 0);
                        EXPECT_GE(close.y(), 0);
                        EXPECT_LE(close.y() + close.height(), window->titleBarView()->height());
                    }
}
