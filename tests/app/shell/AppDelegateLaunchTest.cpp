#include "ShellTestSupport.h"

#include "app/alerts/MessagePopover.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/AppSettings.h"
#include "app/shell/TitleBarLayout.h"
#include "app/shell/WindowFrame.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Expected.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "platform/YUpGeometry.h"
#include "support/Eventually.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class AppDelegateLaunch : public mervane::test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_listener, {}, [this](const platform::Notification& n) {
                m_posted.append(n.name);
                if (n.name == notifications::dataReFetched && m_delegate)
                    m_dashboardAtRefetch.push_back(screenView(AppScreen::Dashboard) != nullptr);
            });
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        platform::AppearanceController::instance().setAppearance(platform::Appearance::System);
    }

    static int primaryHeight() { return QGuiApplication::primaryScreen()->geometry().height(); }

    QObject m_listener;
    QStringList m_posted;
    std::vector<bool> m_dashboardAtRefetch;
};

TEST_F(AppDelegateLaunch, WithoutPasswordBuildsTheWindowThenLoadsTheModelThenObserves)
{
    writeDataFile(twoRecordsDocument());
    AppDelegate& delegate = makeDelegate();

    // Nothing is observed before launching ends.
    platform::NotificationCenter::defaultCenter().post(u"DeleteAllMERVANEData"_s);
    EXPECT_TRUE(m_calls.isEmpty());
    m_posted.clear();

    delegate.start();

    // The store's load posts "dataReFetched" once, after the dashboard exists; the
    // delegate itself posts nothing.
    EXPECT_EQ(m_posted, QStringList { notifications::dataReFetched });
    EXPECT_EQ(m_dashboardAtRefetch, std::vector<bool> { true });
    ASSERT_TRUE(m_store.appData() && m_store.appData()->nwLogArray());
    ASSERT_EQ(m_store.appData()->nwLogArray()->size(), 2);
    EXPECT_EQ(m_store.appData()->nwLogArray()->first()->nw(), 8.0);

    EXPECT_FALSE(delegate.usePasswords());
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_TRUE(delegate.constraintsSet());
    EXPECT_TRUE(delegate.windowWidget()->isVisible());
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
    EXPECT_EQ(delegate.currentView(), screenView(AppScreen::Dashboard));
    EXPECT_EQ(delegate.mainViews().size(), 2); // the placeholder, then the dashboard
    EXPECT_EQ(delegate.mainViews().first(), delegate.contentView());
    EXPECT_EQ(titleBarButtons().size(), 7);
    EXPECT_TRUE(delegate.launchLoadError().isEmpty());
    EXPECT_FALSE(delegate.messagePopover() && delegate.messagePopover()->isShown());

    ASSERT_TRUE(delegate.exRateTimer());
    EXPECT_TRUE(delegate.exRateTimer()->isActive());
    EXPECT_EQ(delegate.exRateTimer()->interval(), 600 * 1000);

    // Every command notification reaches its handler, in the order posted.
    m_calls.clear();
    delegate.setGettingExchangeRate(true);
    const std::pair<QString, QString> observed[] = {
        { u"nwPrintClose"_s, u"nwPrintPopupClosed"_s },
        { u"DeleteAllMERVANEData"_s, u"nwDeleteAllData"_s },
        { u"RestoreAllMERVANEData"_s, u"nwRestoreAllData"_s },
        { u"ExchangeRateFetchAgain"_s, u"exchangeRateFetchAGainHandler"_s },
        { u"ExchangeRateParserDone"_s, u"finishedGettingCurrencyExchange"_s },
        { u"CSVImporterClose"_s, u"csvImporterClose"_s },
        { u"CSVImporterImport"_s, u"csvImporterImport"_s },
        { u"SettingsClosed"_s, u"settingsClose"_s },
        { u"PrintNotification"_s, u"printNotificationHandler"_s },
    };
    QStringList expected;
    for (const auto& [name, handler] : observed) {
        platform::NotificationCenter::defaultCenter().post(name);
        expected.append(u"observed %1: %2"_s.arg(handler, name));
    }
    EXPECT_EQ(m_calls, expected);
    EXPECT_FALSE(delegate.gettingExchangeRate());
}

TEST_F(AppDelegateLaunch, DownloadsRatesAtLaunchOnlyForATableCurrency)
{
    writeDataFile(R"({"version": "2.1", "base_currency": "USD", "nw_logs": []})");
    makeDelegate().start();
    EXPECT_TRUE(m_calls.contains(u"retrieveExchangeRates"_s));

    m_delegate.reset();
    m_calls.clear();
    writeDataFile(R"({"version": "2.1", "base_currency": "XTS", "nw_logs": []})");
    AppDelegate& other = makeDelegate();
    other.start();
    EXPECT_FALSE(m_calls.contains(u"retrieveExchangeRates"_s));
    // The repeating download runs whatever the base currency.
    ASSERT_TRUE(other.exRateTimer());
    EXPECT_TRUE(other.exRateTimer()->isActive());
}

TEST_F(AppDelegateLaunch, WithPasswordLoadsBehindTheLockAndBuildsAfterUnlock)
{
    writeDataFile(twoRecordsDocument());
    AppDelegate& delegate = makeDelegate(u"secret"_s);
    delegate.start();

    EXPECT_TRUE(delegate.usePasswords());
    EXPECT_TRUE(m_calls.contains(u"showPwdWindow"_s));
    EXPECT_FALSE(delegate.initializedAfterPwd());
    EXPECT_TRUE(titleBarButtons().isEmpty());
    EXPECT_FALSE(delegate.window()->contentView()->isVisible());
    EXPECT_TRUE(m_screens.created.empty());
    // The model is loaded while the lock is up.
    EXPECT_EQ(m_posted, QStringList { notifications::dataReFetched });
    EXPECT_EQ(m_store.appData()->nwLogArray()->size(), 2);

    m_posted.clear();
    delegate.initAfterPwdCompleted();
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_EQ(titleBarButtons().size(), 7);
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
    // The new screens fill themselves from the model loaded at launch.
    EXPECT_EQ(m_posted, QStringList { notifications::dataReFetched });
    EXPECT_EQ(m_dashboardAtRefetch.back(), true);

    // A later unlock builds nothing twice.
    m_posted.clear();
    delegate.initAfterPwdCompleted();
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(m_screens.created[AppScreen::Dashboard], 1);
    EXPECT_EQ(titleBarButtons().size(), 7);
}

TEST_F(AppDelegateLaunch, UnreadableDataFileIsReportedAndKept)
{
    const QByteArray broken = "{\"nw_logs\": [ this is not JSON";
    writeDataFile(broken);
    AppDelegate& delegate = makeDelegate();
    delegate.start();

    EXPECT_FALSE(delegate.launchLoadError().isEmpty());
    ASSERT_TRUE(delegate.messagePopover());
    EXPECT_TRUE(delegate.messagePopover()->isShown());
    // What happened, the file, what Mervane does about it, then the reader's reason on its own
    // line, as a sentence.
    const QStringList paragraphs = delegate.messagePopover()->text().split(u"\n\n"_s);
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[0].section(u'\n', 1), QDir::toNativeSeparators(dataFilePath()));
    EXPECT_TRUE(paragraphs[1].contains(u"\"mervane.json.unreadable-\""_s)) << qPrintable(paragraphs[1]);
    const QString reason = delegate.launchLoadError();
    EXPECT_EQ(paragraphs[2].mid(1), reason.mid(1) + (reason.endsWith(u'.') ? u""_s : u"."_s));
    EXPECT_TRUE(paragraphs[2].front().isUpper());
    // A lower-case summary of unreadable parts is made a sentence.
    EXPECT_TRUE(AppDelegate::unreadableDataMessage(u"/d/mervane.json"_s, u"2 records could not be read"_s)
                    .endsWith(u"\n\n2 records could not be read."_s));
    EXPECT_TRUE(AppDelegate::unreadableDataMessage(u"/d/mervane.json"_s, u"bad input"_s)
                    .endsWith(u"\n\nBad input."_s));
    EXPECT_EQ(delegate.messagePopover()->popover()->positionView(), delegate.exportButton());
    EXPECT_FALSE(m_posted.contains(notifications::dataReFetched));

    delegate.applicationWillTerminate();
    QFile file(dataFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
}

TEST_F(AppDelegateLaunch, AConflictCopyIsShownWithItsPath)
{
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    const auto kept = [](const QString& copy) {
        platform::NotificationCenter::defaultCenter().post(
            notifications::dataFileConflict, {}, { { notifications::copyPathKey, copy } });
    };
    const QString first = dataFilePath() + u".conflict-20260101-000000"_s;
    const QString second = dataFilePath() + u".conflict-20260101-000001"_s;
    kept(first);
    ASSERT_TRUE(delegate.messagePopover());
    EXPECT_TRUE(delegate.messagePopover()->isShown());
    EXPECT_TRUE(delegate.messagePopover()->text().contains(first))
        << delegate.messagePopover()->text().toStdString();
    // A second copy while the message is up (one save can keep two): both are named.
    kept(second);
    const QString both = delegate.messagePopover()->text();
    EXPECT_TRUE(both.contains(first) && both.contains(second)) << both.toStdString();
    // Once the message was closed, the next one names only its own copy.
    delegate.messagePopover()->close();
    EXPECT_EVENTUALLY(!delegate.messagePopover()->isShown());
    const QString third = dataFilePath() + u".conflict-20260101-000002"_s;
    kept(third);
    const QString alone = delegate.messagePopover()->text();
    EXPECT_TRUE(alone.contains(third) && !alone.contains(first)) << alone.toStdString();
}

TEST_F(AppDelegateLaunch, QuitWritesTheFrameAndTheNextStartRestoresIt)
{
    AppDelegate& first = makeDelegate();
    first.start();
    // Within the test screen's available area, so that it comes back as it was.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame(available.left(), available.top() + 40, WindowFrame::minimumSize.width(),
        std::min(available.height() - 40, 560));
    first.windowWidget()->setGeometry(frame);
    first.applicationWillTerminate();

    const QString saved = platform::UserDefaults::standard().string(u"mcmain"_s);
    EXPECT_EQ(saved, WindowFrame::toText(platform::toYUp(frame, primaryHeight())));

    platform::UserDefaults::resetStandard();
    m_delegate.reset();
    AppDelegate& second = makeDelegate();
    second.start();
    EXPECT_EQ(second.windowWidget()->geometry(), frame);
}

TEST_F(AppDelegateLaunch, QuitWaitsForPendingSaves)
{
    writeDataFile(twoRecordsDocument());
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    m_store.appData()->nwLogArray()->first()->setNw(123456.0);
    bool completed = false;
    m_store.saveDataAsync(&m_listener, [&](const platform::MaybeError& error) {
        completed = true;
        EXPECT_FALSE(error);
    });

    delegate.applicationWillTerminate();
    // Written before quitting goes on, without a turn of the event loop.
    QFile file(dataFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("123456"));
    EXPECT_FALSE(completed);
}

TEST_F(AppDelegateLaunch, UnusableSavedFramesOpenTheDefaultFrame)
{
    const QRect expected = WindowFrame::defaultFrame(QGuiApplication::primaryScreen()->availableGeometry());
    for (const QString& saved : { u"{{0, 0}, {0, 0}}"_s, u"no frame at all"_s, u"{{100, 100}, {40, 30}}"_s,
             u"{{90000, 90000}, {900, 600}}"_s }) {
        AppSettings::setMainWindowFrame(saved);
        AppDelegate& delegate = makeDelegate();
        delegate.start();
        EXPECT_EQ(delegate.windowWidget()->geometry(), expected) << qPrintable(saved);
        m_delegate.reset();
    }
}

TEST_F(AppDelegateLaunch, ASavedFrameOverTheScreensTopEdgeOpensWithItsStripOnTheScreen)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    // 100 points of the frame above the screen, and taller than the screen's available area.
    const QRect above(
        available.left(), available.top() - 100, WindowFrame::minimumSize.width(), available.height() + 50);
    AppSettings::setMainWindowFrame(WindowFrame::toText(platform::toYUp(above, primaryHeight())));
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    EXPECT_EQ(delegate.windowWidget()->geometry(),
        QRect(available.left(), available.top(), WindowFrame::minimumSize.width(), available.height()));
}

TEST_F(AppDelegateLaunch, ActivationAppliesTheChosenAppearance)
{
    auto& appearance = platform::AppearanceController::instance();
    AppDelegate& delegate = makeDelegate();

    delegate.applicationWillBecomeActive(); // absent: unchanged
    EXPECT_EQ(appearance.appearance(), platform::Appearance::System);

    platform::UserDefaults::standard().setValue(AppSettings::selectedAppearanceKey, 2);
    delegate.applicationWillBecomeActive();
    EXPECT_EQ(appearance.appearance(), platform::Appearance::Dark);

    platform::UserDefaults::standard().setValue(AppSettings::selectedAppearanceKey, 1);
    delegate.applicationWillBecomeActive();
    EXPECT_EQ(appearance.appearance(), platform::Appearance::Light);

    // 0 (the system's) and unknown values leave the last choice in place.
    for (int value : { 0, 7 }) {
        platform::UserDefaults::standard().setValue(AppSettings::selectedAppearanceKey, value);
        delegate.applicationWillBecomeActive();
        EXPECT_EQ(appearance.appearance(), platform::Appearance::Light);
    }
}

} // namespace

namespace {

double meanLightness(const QImage& image)
{
    double sum = 0;
    int counted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor c = image.pixelColor(x, y); c.alpha() > 128) {
                sum += c.lightness();
                ++counted;
            }
    return counted ? sum / counted : 0;
}

} // namespace

TEST_F(AppDelegateLaunch, RolloverStandsOutFromTheTitleBarInEitherAppearance)
{
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(platform::Appearance::Light);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    const QList<TBWindowButton*> buttons = titleBarButtons();
    ASSERT_EQ(buttons.size(), 7);
    // Pointing at a button darkens it against the light strip and lightens it against the
    // dark one, also after the appearance changed while the window is open.
    for (const bool dark : { false, true, false }) {
        appearance.setAppearance(dark ? platform::Appearance::Dark : platform::Appearance::Light);
        for (std::size_t i = 0; i < TitleBarLayout::buttons.size(); ++i) {
            // The others point in the accent colour, which stands out in both.
            if (!QByteArray(TitleBarLayout::buttons[i].rolloverImage).endsWith('R'))
                continue;
            const TBWindowButton* button = buttons.at(qsizetype(i));
            const double normal = meanLightness(button->image());
            const double rollover = meanLightness(button->rolloverImage());
            if (dark)
                EXPECT_GT(rollover, normal + 40) << qPrintable(button->objectName());
            else
                EXPECT_LT(rollover, normal - 20) << qPrintable(button->objectName());
        }
    }
}
