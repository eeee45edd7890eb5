#pragma once

// What the walks over every text of the program share: the household they show, and how a
// screen, popover or window is made in one appearance, switched live to the other and measured
// as drawn, enabled and disabled.

#include "ShellTestSupport.h"

#include "support/Appearances.h"
#include "support/DrawnTexts.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>

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
    void loadSharedStore()
    {
        writeDataFile(householdDocument());
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

} // namespace mervane::test
