#pragma once

#include "app/AppNotifications.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "reports/choice/ReportChoiceController.h"
#include "reports/settings/ReportChoiceSettings.h"
#include "support/RecordBuilders.h"
#include "support/TempHomeTest.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListView>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace mervane::test {

/// A household with three asset categories, two liabilities and two tags in the store, and
/// every "PrintNotification" kept with the settings file as another reader found it then.
class ReportChoiceTest : public TempHomeTest {
public:
    struct Post {
        QVariant object;
        /// The whole settings file as read by another reader when the post came.
        QVariantMap onDisk;
    };

protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        model = MVX_Model::makeEmpty();
        model->setAssetscat(MVX_CategoryList { category(QStringLiteral("A-HOME"), QStringLiteral("House")),
            category(QStringLiteral("A-SAVE"), QStringLiteral("Savings")),
            category(QStringLiteral("A-CAR"), QStringLiteral("Car")) });
        model->setLiabilitycat(
            MVX_CategoryList { category(QStringLiteral("L-MORT"), QStringLiteral("Mortgage")),
                category(QStringLiteral("L-CARD"), QStringLiteral("Credit card")) });
        model->setTags(MVX_TagsList { tag(QStringLiteral("T-HOME"), QStringLiteral("Home")),
            tag(QStringLiteral("T-TRAVEL"), QStringLiteral("Travel")) });
        NWData::shared()->setAppData(model);
        platform::NotificationCenter::defaultCenter().addObserver(
            m_context.get(), notifications::print, [this](const platform::Notification& n) {
                posts.append({ n.object, everythingOnDisk() });
            });
    }
    void TearDown() override
    {
        m_context.reset();
        NWData::shared()->setAppData(nullptr);
        TempHomeTest::TearDown();
    }

    static std::shared_ptr<MVX_Tags> tag(const QString& id, const QString& name)
    {
        auto result = std::make_shared<MVX_Tags>();
        result->setID(id);
        result->setName(name);
        result->setHexColorString(QStringLiteral("BLUE"));
        return result;
    }

public:
    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    /// What another reader of the settings file finds there now.
    static QVariantMap everythingOnDisk()
    {
        platform::UserDefaults other(platform::UserDefaults::standardFilePath());
        QVariantMap all;
        for (const QString& key : { ReportChoiceSettings::nameFieldKey, ReportChoiceSettings::includeNameKey,
                 ReportChoiceSettings::includeNWGoalKey, ReportChoiceSettings::selectedMonthKey,
                 ReportChoiceSettings::selectedYearKey, ReportChoiceSettings::fromMonthKey,
                 ReportChoiceSettings::fromYearKey, ReportChoiceSettings::toMonthKey,
                 ReportChoiceSettings::toYearKey, ReportChoiceSettings::assetCategoryKey,
                 ReportChoiceSettings::liabilityCategoryKey, ReportChoiceSettings::tagIDsKey() }) {
            if (other.contains(key))
                all.insert(key, other.value(key));
        }
        return all;
    }

    /// The popover as the print button opens it, shown, with its visible rows made.
    static std::unique_ptr<ReportChoiceController> open()
    {
        auto choice = std::make_unique<ReportChoiceController>();
        choice->show();
        QCoreApplication::processEvents();
        return choice;
    }
    template <typename T> static T* child(const QWidget& view, const QString& name)
    {
        T* found = view.findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    /// Clicks the tab at `index`, as the user does.
    static void clickTab(const ReportChoiceController& choice, int index)
    {
        child<QWidget>(choice, QStringLiteral("segmentedControl"))
            ->findChild<QToolButton*>(QStringLiteral("segment%1").arg(index))
            ->click();
    }
    /// Chooses the item numbered `number` of the pop-up called `name`, as the user does.
    static void choose(const ReportChoiceController& choice, const QString& name, int number)
    {
        auto* box = child<QComboBox>(choice, name);
        const int index = box->findData(number);
        ASSERT_GE(index, 0) << name.toStdString() << " has no item " << number;
        box->setCurrentIndex(index);
    }
    static int chosen(const ReportChoiceController& choice, const QString& name)
    {
        return child<QComboBox>(choice, name)->currentData().toInt();
    }
    static TableRowView* rowOf(const ReportChoiceController& choice, const QString& list, int row)
    {
        auto* host = choice.findChild<QListView*>(list)->findChild<TableRowHost*>();
        return host ? host->ensureRowView(row) : nullptr;
    }
    static bool marked(const ReportChoiceController& choice, const QString& list, int row)
    {
        return rowOf(choice, list, row)->findChild<LnChartSettCellView*>()->isMarked();
    }
    static void pick(const ReportChoiceController& choice, const QString& list, int row)
    {
        auto* view = choice.findChild<QListView*>(list);
        view->setCurrentIndex(view->model()->index(row, 0));
    }

protected:
    std::shared_ptr<MVX_Model> model;
    QList<Post> posts;

private:
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};

} // namespace mervane::test
