// The main window's title bar, sidebar and screen switching.
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/MessagePopover.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/ApplicationSetup.h"
#include "app/shell/MainView.h"
#include "app/shell/NWDashboardSidebarView.h"
#include "app/shell/TitleBarLayout.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QEvent>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int sidebarButtonSize = 48;
constexpr int sidebarButtonLeft = (NWDashboardSidebarView::width - sidebarButtonSize) / 2;
constexpr int sidebarButtonTop = 18;
constexpr int sidebarButtonSpacing = 60;

struct ButtonLook {
    QString image;
    QString rollover;
    QString pressed;
    QString inactive;
    QString keyEquivalent;
    Qt::KeyboardModifiers modifiers;
    QString tooltip;
    TBWindowButton::ButtonType type;
};

// The image for the present appearance: an image whose look must turn for the dark
// appearance (the rollover images darken in light, so they lighten in dark) has a "Dark" twin.
QImage namedImage(const QString& name, int size)
{
    return platform::appearanceImage(name, QSize(size, size));
}

void setButtonImages(TBWindowButton* button, const ButtonLook& look, int size)
{
    button->setImage(namedImage(look.image, size));
    button->setActiveImage(namedImage(look.image, size));
    button->setRolloverImage(namedImage(look.rollover, size));
    button->setPressedImage(namedImage(look.pressed, size));
    button->setInactiveImage(namedImage(look.inactive, size));
    button->setActiveNotKeyWindowImage(namedImage(look.inactive, size));
}

ButtonLook titleBarButtonLook(const TitleBarLayout::ButtonSpec& spec)
{
    const Qt::KeyboardModifiers modifiers
        = spec.shift ? (Qt::ControlModifier | Qt::ShiftModifier) : Qt::ControlModifier;
    return { QString::fromLatin1(spec.normalImage), QString::fromLatin1(spec.rolloverImage),
        QString::fromLatin1(spec.pressedImage), QString::fromLatin1(spec.inactiveImage),
        QString::fromLatin1(spec.keyEquivalent), modifiers, platform::localized(spec.tooltip),
        TBWindowButton::ButtonType::MomentaryChange };
}

// One button's look and behaviour, step by step; a missing image leaves that image empty.
void seToolbarButton(TBWindowButton* button, const ButtonLook& look, int size)
{
    button->setButtonType(look.type);
    setButtonImages(button, look, size);
    button->setBordered(false);
    button->setToolTip(look.tooltip);
    if (!look.keyEquivalent.isEmpty())
        button->setKeyEquivalent(look.keyEquivalent);
    if (look.modifiers != Qt::NoModifier)
        button->setKeyEquivalentModifierMask(look.modifiers);
}

} // namespace

void AppDelegate::buildWindowContent()
{
    m_window->widget()->setWindowIcon(ApplicationSetup::applicationIcon());
    QWidget* content = m_window->contentView();
    auto* layout = new QVBoxLayout(content);
    // The title strip lies over the content view's top.
    layout->setContentsMargins(0, qRound(m_window->titleBarHeight()), 0, 0);
    m_mainView = new MainView(content);
    m_mainView->setObjectName(u"mainView"_s);
    layout->addWidget(m_mainView);

    m_nwSidebar = new NWDashboardSidebarView;
    m_mainView->setSidebar(m_nwSidebar, NWDashboardSidebarView::width);
    for (const AppScreenInfo& info : appScreens) {
        const auto index = static_cast<std::size_t>(info.screen);
        auto* button = new TBWindowButton(m_nwSidebar);
        button->setObjectName(u"sb"_s + QString::fromLatin1(info.imageStem) + u"Btn"_s);
        button->setGeometry(sidebarButtonLeft,
            sidebarButtonTop + static_cast<int>(index) * sidebarButtonSpacing, sidebarButtonSize,
            sidebarButtonSize);
        connect(button, &QAbstractButton::clicked, this,
            [this, screen = info.screen] { sidebarButtonPressed(screen); });
        m_sidebarButtons[index] = button;
    }

    // The placeholder shown before the first screen.
    auto* initial = new QWidget;
    initial->setObjectName(u"contentView"_s);
    m_contentView = initial;
    initial->setParent(m_mainView);
    MainView::replaceSubview(m_mainView, initial, initial);
}

void AppDelegate::setupMainWindow()
{
    if (m_windowBuilt)
        return;
    m_windowBuilt = true;
    m_window->setTitleBarHeight(TitleBarLayout::titleBarHeight);
    m_window->setShowsTitle(false);
    if (auto* window = dynamic_cast<TBWindow*>(m_window->widget()))
        window->setHidesTitle(true);
    m_window->setCenterTrafficLightButtons(false);
    m_window->setHideTitleBarInFullScreen(false);
    m_window->setCenterFullScreenButton(true);
    m_window->setFullScreenButtonRightMargin(8);

    for (int i = 0; i < static_cast<int>(TitleBarLayout::buttons.size()); ++i)
        m_titleBarButtons.append(makeTitleBarButton(i));
    m_titleBarView = m_window->titleBarView();
    m_titleBarView->installEventFilter(this);
    placeTitleBarButtons();
    setupSidebar();
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this] {
            for (int i = 0; i < m_titleBarButtons.size(); ++i)
                setButtonImages(m_titleBarButtons[i],
                    titleBarButtonLook(TitleBarLayout::buttons.at(static_cast<std::size_t>(i))),
                    int(TitleBarLayout::buttonSize));
        });
}

TBWindowButton* AppDelegate::makeTitleBarButton(int index)
{
    const TitleBarLayout::ButtonSpec& spec = TitleBarLayout::buttons.at(static_cast<std::size_t>(index));
    auto* button = new TBWindowButton(m_window->titleBarView());
    button->setObjectName(QString::fromLatin1(spec.objectName));
    button->resize(int(TitleBarLayout::buttonSize), int(TitleBarLayout::buttonSize));
    seToolbarButton(button, titleBarButtonLook(spec), int(TitleBarLayout::buttonSize));
    using Command = void (AppCommandHandlers::*)(QAbstractButton*);
    static constexpr std::array<Command, 7> commands {
        &AppCommandHandlers::lockButtonHandler,
        &AppCommandHandlers::showPreferences,
        &AppCommandHandlers::infoABoutButtonHandler,
        &AppCommandHandlers::shareButtonHandler,
        &AppCommandHandlers::exportButtonHandler,
        &AppCommandHandlers::printAction,
        &AppCommandHandlers::helpButtonHandler,
    };
    const Command command = commands.at(static_cast<std::size_t>(spec.button));
    // Nothing behind the lock overlay may be reached, not even by a key equivalent.
    connect(button, &QAbstractButton::clicked, this, [this, command, button] {
        if (!m_pwdWinDisplayed)
            ((*m_commands).*command)(button);
    });
    button->show();
    return button;
}

// The buttons but the lock keep their distance from the right edge; they are placed here
// on every resize of the strip rather than through the kit's autoresizing, so that their
// places never depend on the width they were made at.
void AppDelegate::placeTitleBarButtons()
{
    const QSizeF bar(m_titleBarView->size());
    for (int i = 0; i < m_titleBarButtons.size(); ++i) {
        const auto& spec = TitleBarLayout::buttons.at(static_cast<std::size_t>(i));
        m_titleBarButtons.at(i)->setGeometry(TitleBarLayout::frame(spec.button, bar).toRect());
    }
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (m_titleBarView && watched == m_titleBarView && event->type() == QEvent::Resize)
        placeTitleBarButtons();
    return QObject::eventFilter(watched, event);
}

void AppDelegate::setupSidebar()
{
    for (const AppScreenInfo& info : appScreens) {
        const QString stem = QString::fromLatin1(info.imageStem);
        seToolbarButton(m_sidebarButtons[static_cast<std::size_t>(info.screen)],
            { stem + u"N"_s, stem + u"H"_s, stem + u"S"_s, stem + u"N"_s, QString(), Qt::NoModifier,
                platform::localized(info.tooltip), TBWindowButton::ButtonType::Toggle },
            sidebarButtonSize);
    }
    m_sidebarButtons[0]->setState(1);
}

void AppDelegate::clearAllSidebarButtons()
{
    for (const auto& button : m_sidebarButtons) {
        if (button)
            button->setState(0);
    }
}

void AppDelegate::sidebarButtonPressed(AppScreen screen)
{
    if (!isAppScreen(screen))
        return;
    showScreen(screen);
    clearAllSidebarButtons();
    m_sidebarButtons[static_cast<std::size_t>(screen)]->setState(1);
}

void AppDelegate::dashboardBtnHandler()
{
    sidebarButtonPressed(AppScreen::Dashboard);
}

void AppDelegate::categoryBtnHandler()
{
    sidebarButtonPressed(AppScreen::Category);
}

void AppDelegate::categoryTagsBtnHandler()
{
    sidebarButtonPressed(AppScreen::Tags);
}

void AppDelegate::lieBtnHandler()
{
    sidebarButtonPressed(AppScreen::LineChart);
}

void AppDelegate::pieBtnHandler()
{
    sidebarButtonPressed(AppScreen::PieChart);
}

void AppDelegate::barBtnHandler()
{
    sidebarButtonPressed(AppScreen::Annual);
}

void AppDelegate::compareBtnHandler()
{
    sidebarButtonPressed(AppScreen::Compare);
}

void AppDelegate::showScreen(AppScreen screen)
{
    if (!isAppScreen(screen))
        return;
    const auto index = static_cast<std::size_t>(screen);
    QPointer<QWidget>& controller = m_screenControllers[index];
    // The annual and comparison screens are placed (and redrawn) every time.
    const bool placedEveryTime = screen == AppScreen::Annual || screen == AppScreen::Compare;
    if (!placedEveryTime && controller && m_currentView == controller)
        return;

    auto create = [&] {
        controller = m_screens->createScreen(screen);
        controller->setParent(m_mainView);
        controller->hide();
        m_mainViews.append(controller);
    };
    if (screen == AppScreen::Compare) {
        if (!controller)
            create();
        double netWorth = 0;
        const auto& model = m_store->appData();
        if (model && model->nwLogArray() && !model->nwLogArray()->isEmpty())
            netWorth = model->nwLogArray()->first()->nw().value_or(0.0);
        m_screens->compareWithNetWorth(controller, netWorth);
    }
    if (!controller)
        create();

    MainView::replaceSubview(m_mainView, m_currentView, controller);
    m_currentView = controller;

    if (screen == AppScreen::Dashboard)
        m_constraintsSet = true;
    m_screens->screenPlaced(screen, controller);
}

TBWindowButton* AppDelegate::titleBarButton(TitleBarLayout::Button button) const
{
    const auto index = static_cast<qsizetype>(button);
    return index < m_titleBarButtons.size() ? m_titleBarButtons.at(index) : nullptr;
}

MessagePopover& AppDelegate::sharedMessagePopover()
{
    if (!m_messagePopover)
        m_messagePopover = std::make_unique<MessagePopover>();
    return *m_messagePopover;
}

void AppDelegate::showMessage(const QString& text, bool sticky)
{
    sharedMessagePopover().showMessage(text, exportButton(), sticky);
}

void AppDelegate::helpClick()
{
    ExternalLinks::open(
        ExternalLinks::productPage(), this, [this](const QString& text) { showMessage(text); });
}
