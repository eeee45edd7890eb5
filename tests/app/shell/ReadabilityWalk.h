#pragma once

// What the walks over every text of the program share: the household they show, the running
// program with an in-memory keychain, the clicks that reach a popover, and how a screen, popover,
// menu, message or the lock panel is made in one appearance, switched live to the other and
// measured as drawn, enabled and disabled.

#include "ShellTestSupport.h"

#include "app/alerts/MessagePopover.h"
#include "app/commands/AppCommands.h"
#include "app/lock/AppLock.h"
#include "app/lock/PasswordOverlayWindowController.h"
#include "app/lock/PasswordStore.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/AppSettings.h"
#include "platform/FileChooser.h"
#include "platform/Keychain.h"
#include "support/Appearances.h"
#include "support/DrawnTexts.h"
#include "support/QuietCommands.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace mervane::test {

// Two years of records of a household with described, tagged categories.
inline QByteArray householdDocument()
{
    using namespace Qt::Literals::StringLiterals;
    const auto category
        = [](const QString& id, const QString& name, const QString& desc, const QString& tag, int order) {
              return uR"({"ID": "%1", "name": "%2", "desc": "%3", "is_foreign": false, "currency": "USD",
            "tags": ["%4"], "is_depreciable": false, "sort_order": %5, "is_hidden": false})"_s.arg(
                  id, name, desc, tag, QString::number(order));
          };
    QStringList logs;
    for (int month = 24; month >= 1; --month) {
        const int year = 2023 + (month - 1) / 12;
        const int inYear = (month - 1) % 12 + 1;
        const double cash = 5000 + 100 * month;
        const double house = 250000 + 500 * month;
        const double loan = 180000 - 900 * month;
        logs.append(uR"({"year": %1, "month": %2, "assets": %3, "liabilities": %4, "nw": %5,
            "a_logs": [{"cat": "CASH", "year": %1, "month": %2, "value": %6},
                       {"cat": "HOUSE", "year": %1, "month": %2, "value": %7}],
            "l_logs": [{"cat": "LOAN", "year": %1, "month": %2, "value": %4}]})"_s.arg(year)
                        .arg(inYear)
                        .arg(cash + house)
                        .arg(loan)
                        .arg(cash + house - loan)
                        .arg(cash)
                        .arg(house));
    }
    return uR"({"version": "2.1", "base_currency": "USD",
        "tags": [{"ID": "T-HOME", "name": "Home", "desc": "Where we live", "hexColorString": "GREEN"},
                 {"ID": "T-SAVE", "name": "Savings", "desc": "Kept for later", "hexColorString": "BLUE"}],
        "a_cat": [%1, %2], "l_cat": [%3], "nw_logs": [%4]})"_s
        .arg(category(u"CASH"_s, u"Cash"_s, u"Current account"_s, u"T-SAVE"_s, 0),
            category(u"HOUSE"_s, u"House"_s, u"Our home"_s, u"T-HOME"_s, 1),
            category(u"LOAN"_s, u"Mortgage"_s, u"Paid monthly"_s, u"T-HOME"_s, 0), logs.join(u','))
        .toUtf8();
}

inline void waitForPopoversToSettle()
{
    EXPECT_TRUE(QTest::qWaitFor([] { return !PKPopoverController::anyPopoverMoving(); }));
}

class ReadabilityWalk : public ShellTest {
protected:
    // The screens show the application's one store: it holds the household too.
    void loadSharedStore(const QByteArray& document = householdDocument())
    {
        writeDataFile(document);
        ASSERT_EQ(NWData::dataFilePath(), dataFilePath());
        ASSERT_EQ(NWData::shared()->getApplicationData(), std::nullopt);
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        NWData& shared = *NWData::shared();
        shared.waitForPendingWrites();
        shared.setAppData(nullptr);
        shared.sortNWArray({});
    }

    static void setAppearance(bool dark)
    {
        platform::AppearanceController::instance().setAppearance(
            dark ? platform::Appearance::Dark : platform::Appearance::Light);
        QCoreApplication::processEvents();
    }

    // Measures `root` as drawn in `window`, then once more with all of it disabled.
    static int walkEnabledAndDisabled(QWidget& window, QWidget& root, const std::string& where)
    {
        int measured = expectTextsReadable(window, root, where.c_str());
        root.setEnabled(false);
        QCoreApplication::processEvents();
        measured += expectTextsReadable(window, root, (where + " disabled").c_str());
        root.setEnabled(true);
        QCoreApplication::processEvents();
        return measured;
    }

    /// The one popover `open` shows, once it stands still; null (and a failure) when it shows
    /// none or several.
    static QPointer<PKPopoverController> popoverOpenedBy(
        const std::function<void()>& open, const std::string& name)
    {
        const QList<PKPopoverController*> before = PKPopoverController::shownPopovers();
        open();
        QCoreApplication::processEvents();
        QList<PKPopoverController*> opened = PKPopoverController::shownPopovers();
        opened.removeIf([&before](PKPopoverController* popover) { return before.contains(popover); });
        EXPECT_EQ(opened.size(), 1) << name;
        if (opened.size() != 1)
            return nullptr;
        const QPointer<PKPopoverController> popover = opened.first();
        waitForPopoversToSettle();
        return popover;
    }

    /// Measures a shown popover's content as drawn in its window.
    static int walkPopover(const QPointer<PKPopoverController>& popover, const std::string& name)
    {
        EXPECT_TRUE(popover && popover->shown()) << name;
        if (!popover || !popover->shown())
            return 0;
        return walkEnabledAndDisabled(*popover->popoverWindow(), *popover->contentView(), name);
    }

    // At once: its fading out has been seen by the popover tests.
    static void closePopover(const QPointer<PKPopoverController>& popover)
    {
        if (popover) {
            popover->setAnimates(false);
            popover->forceClosePopover();
        }
        waitForPopoversToSettle();
    }

    /// Opens with `open`, in the appearance `madeDark`, the popover it shows, switches live to
    /// the other appearance, measures the popover and closes it.
    static int walkPopoverOpenedBy(bool madeDark, const std::function<void()>& open, const std::string& name)
    {
        setAppearance(madeDark);
        const QPointer<PKPopoverController> popover = popoverOpenedBy(open, name);
        setAppearance(!madeDark);
        const int measured = walkPopover(popover, name);
        closePopover(popover);
        return measured;
    }
};

inline QAbstractButton* buttonWithToolTip(QWidget* root, const QString& toolTip)
{
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (button->toolTip() == toolTip)
            return button;
    }
    ADD_FAILURE() << "no button " << toolTip.toStdString();
    return nullptr;
}

inline void click(QAbstractButton* button)
{
    if (button)
        button->click();
}

inline void clickAt(QWidget* widget, const QPointF& at)
{
    for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

/// The running program, as the walks over its panels, popovers and overlays start it: the real
/// window with the application's own commands, on the household (or `document()`), with an
/// in-memory keychain.
class ReadabilityWalkProgram : public ReadabilityWalk {
protected:
    void SetUp() override
    {
        ReadabilityWalk::SetUp();
        auto keychain = std::make_unique<platform::InMemoryKeychain>();
        m_keychain = keychain.get();
        platform::Keychain::setBackend(std::move(keychain));
        // Popovers that close when the application is inactive stay open while they are read.
        PKPopoverController::setApplicationActiveOverride(true);
        loadSharedStore(document());
    }
    virtual QByteArray document() const { return householdDocument(); }
    void TearDown() override
    {
        m_commands = nullptr;
        m_keychain = nullptr;
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
        platform::FileChooser::clearQueuedAnswers();
        ReadabilityWalk::TearDown();
        platform::Keychain::setBackend(nullptr);
    }

    /// The running program in `dark`: the real window with the application's own commands.
    AppDelegate& startProgram(bool dark)
    {
        setAppearance(dark);
        m_delegate.reset();
        m_delegate = std::make_unique<AppDelegate>(&m_store);
        auto commands = std::make_unique<QuietCommands>(*m_delegate, &m_store);
        m_commands = commands.get();
        m_delegate->setCommandHandlers(std::move(commands));
        m_delegate->start();
        m_delegate->windowWidget()->resize(1300, 800);
        QCoreApplication::processEvents();
        return *m_delegate;
    }

    QAbstractButton* titleBarButton(const char* name) const
    {
        auto* button = m_delegate->windowWidget()->findChild<QAbstractButton*>(QString::fromLatin1(name));
        EXPECT_TRUE(button) << name;
        return button;
    }

    QWidget* showScreen(AppScreen screen)
    {
        m_delegate->showScreen(screen);
        QCoreApplication::processEvents();
        return m_delegate->currentView();
    }

    /// Measures a menu, made in `madeDark` and shown in the other appearance, and hides it.
    static int walkMenu(bool madeDark, QMenu* menu, const std::string& name)
    {
        EXPECT_TRUE(menu && menu->isVisible()) << name;
        if (!menu || !menu->isVisible())
            return 0;
        setAppearance(!madeDark);
        const int measured = walkEnabledAndDisabled(*menu, *menu, name);
        menu->hide();
        setAppearance(madeDark);
        return measured;
    }

    /// The shell's message popover, shown by `open`, as `walkPopoverOpenedBy` walks a popover.
    int walkMessage(bool madeDark, const std::function<void()>& open, const std::string& name)
    {
        setAppearance(madeDark);
        MessagePopover& message = m_delegate->sharedMessagePopover();
        open();
        EXPECT_TRUE(QTest::qWaitFor([&message] { return message.isShown(); })) << name;
        waitForPopoversToSettle();
        setAppearance(!madeDark);
        const QPointer<PKPopoverController> popover = message.popover();
        const int measured = walkPopover(popover, name);
        closePopover(popover);
        return measured;
    }

    /// Keeps `password` and `hint` in the keychain, and sets the lock on.
    static void storePassword(const QString& password, const QString& hint)
    {
        std::optional<platform::MaybeError> stored;
        QObject context;
        PasswordStore::setPasswordAndHint(
            password, hint, &context, [&stored](const platform::MaybeError& error) { stored = error; });
        ASSERT_TRUE(QTest::qWaitFor([&stored] { return stored.has_value(); }));
        ASSERT_EQ(*stored, std::nullopt);
        AppSettings::setAppLockIsSet(true);
    }

    /// Locks the window with the title bar's lock button ("AppLockIsSet" must be on); the lock
    /// panel, or null (and a failure).
    PasswordOverlayWindowController* lockWithButton()
    {
        click(titleBarButton("lockButton"));
        PasswordOverlayWindowController* overlay = m_commands->appLock().passcodeOverlayWindowController();
        EXPECT_TRUE(overlay && m_commands->appLock().modalOverlay().isShown());
        return overlay;
    }

    /// Measures the lock panel, made in `madeDark`, in the other appearance once it stands still
    /// (it slides in, and shakes at each wrong try).
    int walkLockOverlay(bool madeDark, const std::string& name)
    {
        const AppLock& lock = m_commands->appLock();
        PasswordOverlayWindowController* overlay = lock.passcodeOverlayWindowController();
        EXPECT_TRUE(overlay) << name;
        if (!overlay)
            return 0;
        const auto still = [](const QObject* owner) {
            const QList<QAbstractAnimation*> animations = owner->findChildren<QAbstractAnimation*>();
            return std::ranges::none_of(animations, [](const QAbstractAnimation* animation) {
                return animation->state() == QAbstractAnimation::Running;
            });
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return still(&lock.modalOverlay()) && still(overlay); })) << name;
        setAppearance(!madeDark);
        const int measured = walkEnabledAndDisabled(*m_delegate->windowWidget(), *overlay, name);
        setAppearance(madeDark);
        return measured;
    }

    QuietCommands* m_commands = nullptr;
    platform::InMemoryKeychain* m_keychain = nullptr;
};

} // namespace mervane::test
