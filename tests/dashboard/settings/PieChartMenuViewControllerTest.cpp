#include "dashboard/settings/PieChartMenuViewController.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/PieChartSettings.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using namespace PieChartSettings;

namespace {

class PieChartMenuViewControllerTest : public TempHomeTest {
protected:
    static void clickSegment(SegmentedControl* control, int segment)
    {
        control->findChild<QAbstractButton*>(u"segment%1"_s.arg(segment))->click();
    }

    // What the key held, read from the written file, when each notification arrived.
    struct Seen {
        QString name;
        QVariant stored;
    };
    void observe(const QString& key)
    {
        for (const QString& name :
            { notifications::pieChartSettingsChange, notifications::colorSchemaSettingsChange })
            platform::NotificationCenter::defaultCenter().addObserver(
                &m_context, name, [this, key](const platform::Notification& note) {
                    platform::UserDefaults file(platform::UserDefaults::standardFilePath());
                    m_seen.append({ note.name, file.value(key) });
                });
    }

    QObject m_context;
    QList<Seen> m_seen;
};

} // namespace

TEST_F(PieChartMenuViewControllerTest, OpensWithTheFallbacks)
{
    PieChartMenuViewController menu;
    EXPECT_EQ(menu.pieChartContentTypeCtl()->selectedSegment(), 0);
    EXPECT_EQ(menu.amountDisplayMOdeCtl()->selectedSegment(), 1);
    EXPECT_FALSE(menu.amountDisplayMOdeCtl()->isEnabled());
    // Dimmed by its disabled colours alone: no opacity effect fades them further.
    EXPECT_EQ(menu.amountDisplayMOdeCtl()->graphicsEffect(), nullptr);
    EXPECT_TRUE(menu.displayCategoryNameCtl()->isChecked());
    EXPECT_EQ(menu.colorSchemeCtl()->selectedSegment(), 0);

    setPieDisplayType(PieDisplayType::LiabilityCategories);
    setPieLabelType(PieLabelType::Percentage);
    setNameInLabel(false);
    setColorScheme(ColorScheme::MultiColor);
    PieChartMenuViewController stored;
    EXPECT_EQ(stored.pieChartContentTypeCtl()->selectedSegment(), 2);
    EXPECT_EQ(stored.amountDisplayMOdeCtl()->selectedSegment(), 2);
    EXPECT_TRUE(stored.amountDisplayMOdeCtl()->isEnabled());
    EXPECT_FALSE(stored.displayCategoryNameCtl()->isChecked());
    EXPECT_EQ(stored.colorSchemeCtl()->selectedSegment(), 1);
}

TEST_F(PieChartMenuViewControllerTest, EachControlWritesItsKeyBeforeItsNotification)
{
    PieChartMenuViewController menu;
    observe(pieDisplayTypeKey);
    clickSegment(menu.pieChartContentTypeCtl(), 1);
    ASSERT_EQ(m_seen.size(), 1);
    EXPECT_EQ(m_seen[0].name, notifications::pieChartSettingsChange);
    EXPECT_EQ(m_seen[0].stored, QVariant(1.0));
    EXPECT_TRUE(menu.amountDisplayMOdeCtl()->isEnabled());
    EXPECT_EQ(menu.amountDisplayMOdeCtl()->graphicsEffect(), nullptr);
    clickSegment(menu.pieChartContentTypeCtl(), 0);
    EXPECT_FALSE(menu.amountDisplayMOdeCtl()->isEnabled());
    clickSegment(menu.pieChartContentTypeCtl(), 2);

    m_seen.clear();
    platform::NotificationCenter::defaultCenter().removeObserver(&m_context);
    observe(pieLabelTypeKey);
    clickSegment(menu.amountDisplayMOdeCtl(), 0);
    ASSERT_EQ(m_seen.size(), 1);
    EXPECT_EQ(m_seen[0].stored, QVariant(0.0));

    m_seen.clear();
    platform::NotificationCenter::defaultCenter().removeObserver(&m_context);
    observe(nameInLabelKey);
    menu.displayCategoryNameCtl()->click();
    ASSERT_EQ(m_seen.size(), 1);
    EXPECT_EQ(m_seen[0].name, notifications::pieChartSettingsChange);
    EXPECT_EQ(m_seen[0].stored, QVariant(false));

    // The colour scheme posts only its own notification.
    m_seen.clear();
    platform::NotificationCenter::defaultCenter().removeObserver(&m_context);
    observe(chartColorSchemeKey);
    clickSegment(menu.colorSchemeCtl(), 1);
    ASSERT_EQ(m_seen.size(), 1);
    EXPECT_EQ(m_seen[0].name, notifications::colorSchemaSettingsChange);
    EXPECT_EQ(m_seen[0].stored, QVariant(1.0));
    EXPECT_FALSE(greenOrRedShadeColorScheme());
}
