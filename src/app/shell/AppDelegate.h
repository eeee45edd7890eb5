#pragma once

#include "app/shell/AppCommandHandlers.h"
#include "app/shell/AppScreens.h"
#include "app/shell/MainView.h"
#include "app/shell/NWDashboardSidebarView.h"
#include "app/shell/ScreenProvider.h"
#include "app/shell/TitleBarLayout.h"
#include "uikit/window/TBWindowButton.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class MessagePopover;
class NWData;
class QAbstractButton;
class QWidget;
class TBAppWindow;

/// The spine of the running application: it owns the main window, starts up (window frame,
/// app-lock check, main window, model, exchange rates, command observers), follows the
/// application's activation for the appearance, switches the screens of the sidebar and
/// writes the window frame when the application quits. Lives as long as the application;
/// main thread only. Its widgets carry object names: "mainView", each screen's view the
/// name of its controller class (`AppScreenInfo::className`), the sidebar buttons
/// "sb<imageStem>Btn" and the title-bar buttons those of `TitleBarLayout::buttons`.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    /// Seconds between two exchange-rate downloads.
    static constexpr int exchangeRateInterval = 600;

    /// Makes the main window (content hidden, 40-point title bar) for `store` (not owned;
    /// the shared store when null).
    explicit AppDelegate(NWData* store = nullptr, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// Replaces the command handlers (the delegate owns them).
    void setCommandHandlers(std::unique_ptr<AppCommandHandlers> handlers);
    AppCommandHandlers& commandHandlers() const { return *m_commands; }
    /// Replaces the maker of the screens; only screens made afterwards come from it.
    void setScreenProvider(std::unique_ptr<ScreenProvider> provider);

    /// Connects to the application's life-cycle signals and runs the launch: restores the
    /// frame, shows the window, then `applicationDidFinishLaunching`.
    void start();

    // Life cycle.
    void applicationWillFinishLaunching();
    void applicationWillBecomeActive();
    void applicationDidFinishLaunching();
    /// After the first successful unlock: builds the window, shows the dashboard and posts
    /// "dataReFetched".
    void initAfterPwdCompleted();
    /// Writes the window frame to "mcmain", stops the timer and waits for pending saves.
    void applicationWillTerminate();

    // Main window (title bar, sidebar, screens).
    void setupMainWindow();
    void setupSidebar();
    void clearAllSidebarButtons();
    void showScreen(AppScreen screen);
    void dashboardBtnHandler();
    void categoryBtnHandler();
    void categoryTagsBtnHandler();
    void lieBtnHandler();
    void pieBtnHandler();
    void barBtnHandler();
    void compareBtnHandler();
    void showDashboardView() { showScreen(AppScreen::Dashboard); }
    void showCategoryView() { showScreen(AppScreen::Category); }
    void showTagsView() { showScreen(AppScreen::Tags); }
    void showChartView() { showScreen(AppScreen::LineChart); }
    void showPieChartView() { showScreen(AppScreen::PieChart); }
    void showAnnualView() { showScreen(AppScreen::Annual); }
    void showCompareView() { showScreen(AppScreen::Compare); }

    /// Shows `text` in the shell's message popover at the title bar's document button; a
    /// second message while it is open replaces the first.
    void showMessage(const QString& text, bool sticky = false);
    /// What the message says of the conflict copies kept.
    static QString conflictMessage(const QStringList& copies);
    /// Opens the product's web page.
    void helpClick();

    // State.
    TBAppWindow* window() const { return m_window.get(); }
    QWidget* windowWidget() const;
    NWData* store() const { return m_store; }
    bool usePasswords() const { return m_usePasswords; }
    bool pwdWinDisplayed() const { return m_pwdWinDisplayed; }
    void setPwdWinDisplayed(bool displayed) { m_pwdWinDisplayed = displayed; }
    bool initializedAfterPwd() const { return m_initializedAfterPwd; }
    bool constraintsSet() const { return m_constraintsSet; }
    bool gettingExchangeRate() const { return m_gettingExchangeRate; }
    void setGettingExchangeRate(bool getting) { m_gettingExchangeRate = getting; }
    QTimer* exRateTimer() const { return m_exRateTimer; }
    /// The store's error text when the data file could not be read at launch.
    const QString& launchLoadError() const { return m_launchLoadError; }
    /// The start-up notice for a data file at `path` that could not be read, for `reason`.
    static QString unreadableDataMessage(const QString& path, const QString& reason);

    QWidget* contentView() const { return m_contentView; }
    QWidget* currentView() const { return m_currentView; }
    const QList<QPointer<QWidget>>& mainViews() const { return m_mainViews; }
    /// A title-bar button; null before the title bar is set up.
    TBWindowButton* titleBarButton(TitleBarLayout::Button button) const;
    TBWindowButton* exportButton() const { return titleBarButton(TitleBarLayout::Button::Document); }
    MessagePopover* messagePopover() const { return m_messagePopover.get(); }
    /// The message popover, made on first use (shared by the commands that show notices).
    MessagePopover& sharedMessagePopover();
    /// In the order of `TitleBarLayout::buttons`; empty before the title bar is set up.
    const QList<TBWindowButton*>& titleBarButtons() const { return m_titleBarButtons; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void awakeFromNib();
    void buildWindowContent();
    /// Title bar, sidebar and dashboard, then the content is shown.
    void buildMainWindow(bool postRefetch);
    void registerCommandObservers();
    void reportLaunchLoadError();
    void placeTitleBarButtons();
    void sidebarButtonPressed(AppScreen screen);
    TBWindowButton* makeTitleBarButton(int index);
    QRect currentFrameForSaving() const;

    NWData* m_store = nullptr;
    std::unique_ptr<AppCommandHandlers> m_commands;
    std::unique_ptr<ScreenProvider> m_screens;
    std::unique_ptr<TBAppWindow> m_window;
    std::unique_ptr<MessagePopover> m_messagePopover;

    QPointer<QWidget> m_titleBarView;
    QPointer<MainView> m_mainView;
    QPointer<QWidget> m_contentView;
    QPointer<QWidget> m_currentView;
    QPointer<NWDashboardSidebarView> m_nwSidebar;
    QList<QPointer<QWidget>> m_mainViews;
    std::array<QPointer<QWidget>, appScreens.size()> m_screenControllers;
    std::array<QPointer<TBWindowButton>, appScreens.size()> m_sidebarButtons;
    QList<TBWindowButton*> m_titleBarButtons;
    QPointer<QTimer> m_exRateTimer;
    QString m_launchLoadError;
    /// The conflict copies the message on screen names.
    QStringList m_conflictCopies;

    bool m_usePasswords = false;
    bool m_pwdWinDisplayed = false;
    bool m_initializedAfterPwd = false;
    bool m_constraintsSet = false;
    bool m_doneHidingTheWindow = false;
    bool m_dbInitialized = false;
    bool m_gettingExchangeRate = false;
    bool m_windowBuilt = false;
    bool m_modelLoaded = false;
    bool m_terminated = false;
};
