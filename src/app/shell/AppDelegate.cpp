#include "app/shell/AppDelegate.h"

#include "app/AppNotifications.h"
#include "app/alerts/MessagePopover.h"
#include "app/shell/AppSettings.h"
#include "app/shell/WindowFrame.h"
#include "model/ModelNotifications.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Expected.h"
#include "platform/FileIO.h"
#include "platform/ModalPanel.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "platform/YUpGeometry.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowState.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QShortcut>

#include <exception>

using namespace Qt::Literals::StringLiterals;

AppDelegate::AppDelegate(NWData* store, QObject* parent)
    : QObject(parent)
    , m_store(store ? store : NWData::shared())
    , m_commands(std::make_unique<AppCommandHandlers>())
    , m_screens(std::make_unique<ScreenProvider>())
{
    awakeFromNib();
}

AppDelegate::~AppDelegate()
{
    // The window's teardown sends events to its strip; none may reach a half-destroyed window.
    if (m_titleBarView)
        m_titleBarView->removeEventFilter(this);
    m_messagePopover.reset();
    m_window.reset();
}

void AppDelegate::setCommandHandlers(std::unique_ptr<AppCommandHandlers> handlers)
{
    m_commands = handlers ? std::move(handlers) : std::make_unique<AppCommandHandlers>();
}

void AppDelegate::setScreenProvider(std::unique_ptr<ScreenProvider> provider)
{
    m_screens = provider ? std::move(provider) : std::make_unique<ScreenProvider>();
}

QWidget* AppDelegate::windowWidget() const
{
    return m_window ? m_window->widget() : nullptr;
}

void AppDelegate::start()
{
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            applicationWillBecomeActive();
    });
    // Closing the main window quits the application.
    QGuiApplication::setQuitOnLastWindowClosed(true);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
    // Without a window manager nothing else hands the keyboard back to the main window when a
    // panel closes, and Ctrl+Q would do nothing until a click.
    platform::ModalPanel::returnFocusAfterPanels();

    applicationWillBecomeActive();
    applicationWillFinishLaunching();
    applicationDidFinishLaunching();
}

void AppDelegate::applicationWillFinishLaunching()
{
    QWidget* window = windowWidget();
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());

    const QString saved = AppSettings::mainWindowFrame();
    const std::optional<QRect> frame = saved.isNull()
        ? std::nullopt
        : WindowFrame::restorableFrame(saved, platform::screenFlipHeight(), screens);
    const QRect placed = frame
        ? *frame
        : WindowFrame::defaultFrame(primary ? primary->availableGeometry() : QRect(0, 0, 1280, 800));
    // On a screen smaller than the usual minimum (a small laptop, a large scale factor) the
    // minimum gives way, or the window would reach past the screen's edges.
    const QScreen* screen = QGuiApplication::screenAt(placed.center());
    if (!screen)
        screen = primary;
    if (screen)
        window->setMinimumSize(WindowFrame::minimumSize.boundedTo(screen->availableGeometry().size()));
    window->setGeometry(placed);

    window->show();
    window->raise();
    window->activateWindow();
}

void AppDelegate::applicationWillBecomeActive()
{
    if (const auto appearance = AppSettings::appearanceToApply(AppSettings::selectedAppearance()))
        platform::AppearanceController::instance().setAppearance(*appearance);
}

void AppDelegate::applicationDidFinishLaunching()
{
    m_dbInitialized = false;
    m_usePasswords = true;
    m_pwdWinDisplayed = false;
    m_constraintsSet = false;

    try {
        m_initializedAfterPwd = false;
        // The lock may decide only once the keychain has answered; until then the content
        // stays hidden (or the lock panel is up).
        m_commands->lockAtLaunch([this] {
            m_usePasswords = false;
            if (m_modelLoaded)
                initAfterPwdCompleted();
            else
                buildMainWindow(false);
        });

        // Loaded in both cases, so that the model is there when the lock opens.
        if (const platform::MaybeError error = m_store->getApplicationData())
            m_launchLoadError = *error;
        m_modelLoaded = true;
        if (m_initializedAfterPwd)
            reportLaunchLoadError();

        if (m_store->supportsForeignCurrencies())
            m_commands->retrieveExchangeRates();

        if (m_exRateTimer)
            m_exRateTimer->deleteLater();
        m_exRateTimer = new QTimer(this);
        m_exRateTimer->setInterval(exchangeRateInterval * 1000);
        connect(m_exRateTimer, &QTimer::timeout, this,
            [this] { m_commands->retrieveAndUpdateExchangeRateTimerHandler(); });
        m_exRateTimer->start();
    } catch (const std::exception& e) {
        // The launch goes on to its observers: the window must answer its commands.
        qWarning("Start-up step failed: %s", e.what());
    }

    registerCommandObservers();
}

void AppDelegate::registerCommandObservers()
{
    using Handler = std::function<void(const platform::Notification&)>;
    // The handler is looked up when the notification arrives: handlers may be replaced later.
    const auto forward = [this](void (AppCommandHandlers::*handler)(const platform::Notification&)) {
        return Handler([this, handler](const platform::Notification& n) { ((*m_commands).*handler)(n); });
    };
    // A command of the user's is refused while the lock overlay is shown.
    const auto forwardUnlocked = [this](void (AppCommandHandlers::*handler)(const platform::Notification&)) {
        return Handler([this, handler](const platform::Notification& n) {
            if (!m_pwdWinDisplayed)
                ((*m_commands).*handler)(n);
        });
    };
    const struct {
        const QString& name;
        Handler handler;
    } observers[] = {
        { notifications::printClose, forward(&AppCommandHandlers::nwPrintPopupClosed) },
        { notifications::deleteAllData, forwardUnlocked(&AppCommandHandlers::nwDeleteAllData) },
        { notifications::restoreAllData, forwardUnlocked(&AppCommandHandlers::nwRestoreAllData) },
        { notifications::exchangeRateFetchAgain,
            forward(&AppCommandHandlers::exchangeRateFetchAGainHandler) },
        { notifications::exchangeRateParserDone,
            [this](const platform::Notification& n) {
                m_gettingExchangeRate = false;
                m_commands->finishedGettingCurrencyExchange(n);
            } },
        { notifications::csvImporterClose, forward(&AppCommandHandlers::csvImporterClose) },
        { notifications::csvImporterImport, forwardUnlocked(&AppCommandHandlers::csvImporterImport) },
        { notifications::settingsClosed, forward(&AppCommandHandlers::settingsClose) },
        { notifications::print, forwardUnlocked(&AppCommandHandlers::printNotificationHandler) },
    };
    auto& center = platform::NotificationCenter::defaultCenter();
    for (const auto& observer : observers)
        center.addObserver(this, observer.name, observer.handler);
    // The store saved over another program's version of the data file; the user must know
    // where that version went. One save can keep two (the one found before it and one moved
    // in during it): while the message is up, it names every copy kept since it came up.
    center.addObserver(this, notifications::dataFileConflict, [this](const platform::Notification& n) {
        const MessagePopover* shown = messagePopover();
        if (!shown || !shown->isShown() || shown->text() != conflictMessage(m_conflictCopies))
            m_conflictCopies.clear();
        m_conflictCopies.append(
            QDir::toNativeSeparators(n.userInfo.value(notifications::copyPathKey).toString()));
        showMessage(conflictMessage(m_conflictCopies), true);
    });
}

QString AppDelegate::conflictMessage(const QStringList& copies)
{
    if (copies.size() == 1)
        return platform::Strings::tr("Another program changed your data file after Mervane read it. "
                                     "That version is kept as \"%1\"; Mervane saved its own data in "
                                     "the data file.")
            .arg(copies.first());
    return platform::Strings::tr("Other programs changed your data file after Mervane read it. "
                                 "Their versions are kept as \"%1\"; Mervane saved its own data in "
                                 "the data file.")
        .arg(copies.join(u"\", \""_s));
}

void AppDelegate::initAfterPwdCompleted()
{
    if (m_windowBuilt)
        return;
    buildMainWindow(true);
    reportLaunchLoadError();
}

void AppDelegate::buildMainWindow(bool postRefetch)
{
    setupMainWindow();
    m_mainViews.clear();
    m_currentView = m_contentView;
    m_mainViews.append(m_contentView);
    showDashboardView();
    m_initializedAfterPwd = true;
    // After an unlock the model was loaded before these screens existed.
    if (postRefetch)
        platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    m_window->contentView()->show();
}

void AppDelegate::reportLaunchLoadError()
{
    // The store keeps the unreadable file aside before any save replaces it; the user must
    // know why the window is empty.
    if (!m_launchLoadError.isEmpty())
        showMessage(unreadableDataMessage(NWData::dataFilePath(), m_launchLoadError), true);
}

QString AppDelegate::unreadableDataMessage(const QString& path, const QString& reason)
{
    // What happened and what Mervane does about it first, in whole sentences; the reader's
    // own wording comes last, on its own line, for whoever looks into the file.
    const QString copyName
        = QFileInfo(platform::keptCopyPrefix(path, DataFileWriter::unreadableKind)).fileName();
    QString details = reason.trimmed();
    if (!details.isEmpty()) {
        details[0] = details[0].toUpper();
        if (!details.endsWith(u'.'))
            details += u'.';
    }
    return platform::Strings::tr("Mervane could not read all of your data file:") + u'\n'
        + QDir::toNativeSeparators(path) + u"\n\n"_s
        + platform::Strings::tr("The file is kept unchanged. Before Mervane saves anything, it puts a "
                                "copy of this file in the same folder, named \"%1\" followed by the "
                                "date and time.")
              .arg(copyName)
        + u"\n\n"_s + details;
}

void AppDelegate::applicationWillTerminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    if (m_window) {
        const QRect frame = currentFrameForSaving();
        if (!frame.isEmpty())
            AppSettings::setMainWindowFrame(
                WindowFrame::toText(platform::screenToYUp(QRectF(frame)).toRect()));
    }
    if (m_exRateTimer)
        m_exRateTimer->stop();
    m_store->waitForPendingWrites();
}

QRect AppDelegate::currentFrameForSaving() const
{
    return TBWindowState::normalFrame(windowWidget());
}

void AppDelegate::awakeFromNib()
{
    if (m_doneHidingTheWindow)
        return;
    m_doneHidingTheWindow = true;
    m_window = TBAppWindow::create();
    QWidget* window = m_window->widget();
    window->setWindowTitle(u"Mervane"_s);
    window->setMinimumSize(WindowFrame::minimumSize);
    m_window->setTitleBarHeight(40);
    buildWindowContent();
    m_window->contentView()->hide();

    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window);
    quit->setContext(Qt::ApplicationShortcut);
    // Quitting and closing stay possible behind the lock: they reveal nothing.
    quit->setProperty(MOModalOverlay::reachableBehindOverlayProperty, true);
    for (const auto kind : { TBStandardButtons::Kind::Close, TBStandardButtons::Kind::Miniaturize })
        if (TBWindowButton* button = m_window->standardWindowButton(kind))
            button->setProperty(MOModalOverlay::reachableBehindOverlayProperty, true);
    connect(quit, &QShortcut::activated, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
