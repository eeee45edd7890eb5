#include "categories/filter/TagsFilterController.h"
#include "categories/CategoriesNotifications.h"
#include "categories/filter/NWTagSelectionCellView.h"
#include "categories/filter/TagFilterPopover.h"

#include "model/queries/ModelBuilders.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class TagsFilterTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        home = makeTag(u"T-HOME"_s, u"Home"_s);
        travel = makeTag(u"T-TRAVEL"_s, u"Travel"_s);
        travel->setHexColorString(u"RED"_s);
        kids = makeTag(u"T-KIDS"_s, u"Kids"_s);
        kids->setHexColorString(u"MAUVE"_s); // no image for it
        model->setTags(MVX_TagsList { home, travel, kids });
        store().setAppData(model);
        store().setSelectedTagIDs({ travel->ID(), u"T-GONE"_s });
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_context, notifications::tagFilterChanged, [this](const platform::Notification&) { ++posts; });
    }
    void TearDown() override
    {
        store().setAppData(nullptr);
        store().setSelectedTagIDs({});
        TempHomeTest::TearDown();
    }
    static NWData& store() { return *NWData::shared(); }
    static QStringList storedFilter()
    {
        return platform::UserDefaults::standard().stringList(NWData::filterIDArrayKey, { u"absent"_s });
    }

    /// A shown filter with every row's widget made.
    static std::unique_ptr<TagsFilterController> openFilter()
    {
        auto filter = std::make_unique<TagsFilterController>();
        filter->show();
        QCoreApplication::processEvents();
        return filter;
    }
    static NWTagSelectionCellView* cell(TagsFilterController& filter, int row)
    {
        auto* host = filter.tableView()->findChild<TableRowHost*>();
        EXPECT_TRUE(host);
        QWidget* rowView = host ? host->ensureRowView(row) : nullptr;
        return rowView ? rowView->findChild<NWTagSelectionCellView*>() : nullptr;
    }

    std::shared_ptr<MVX_Tags> home, travel, kids;
    int posts = 0;

private:
    QObject m_context;
};

TEST_F(TagsFilterTest, RowsShowEveryTagTickedByTheStoresFilter)
{
    const auto filter = openFilter();
    QAbstractItemModelTester tester(filter->tableView()->model());
    ASSERT_EQ(filter->tableView()->model()->rowCount(), 3);
    NWTagSelectionCellView* first = cell(*filter, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->tagNameLabel()->text(), u"Home"_s);
    EXPECT_FALSE(first->tagCheckBox()->isChecked());
    EXPECT_FALSE(first->tagImage()->pixmap().isNull());
    EXPECT_TRUE(cell(*filter, 1)->tagCheckBox()->isChecked());
    EXPECT_TRUE(cell(*filter, 2)->tagImage()->pixmap().isNull());
    EXPECT_EQ(filter->tableView()->selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_TRUE(filter->findChild<QLabel*>(u"emptyLabel"_s)->isHidden());
}

TEST_F(TagsFilterTest, WithTheSwitchOffTicksChangeTheFilterAndTheDefaultButPostNothing)
{
    const auto filter = openFilter();
    EXPECT_FALSE(filter->filterAllCtl()->isChecked());
    cell(*filter, 0)->tagCheckBox()->click();
    EXPECT_EQ(store().selectedTagIDs(), (QStringList { travel->ID(), u"T-GONE"_s, home->ID() }));
    EXPECT_EQ(storedFilter(), store().selectedTagIDs());
    cell(*filter, 1)->tagCheckBox()->click();
    EXPECT_EQ(store().selectedTagIDs(), (QStringList { u"T-GONE"_s, home->ID() }));
    EXPECT_EQ(storedFilter(), store().selectedTagIDs());
    EXPECT_EQ(posts, 0);

    // The switch posts once each way and remembers itself.
    filter->filterAllCtl()->click();
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(platform::UserDefaults::standard().boolean(TagsFilterController::tagFilterOnKey, false));
    filter->filterAllCtl()->click();
    EXPECT_EQ(posts, 2);
    EXPECT_FALSE(platform::UserDefaults::standard().boolean(TagsFilterController::tagFilterOnKey, true));
}

TEST_F(TagsFilterTest, WithTheSwitchOnEveryTickPostsOnceAndNoIdIsListedTwice)
{
    const auto filter = openFilter();
    filter->filterAllCtl()->click();
    posts = 0;
    cell(*filter, 2)->tagCheckBox()->click();
    EXPECT_EQ(posts, 1);
    cell(*filter, 2)->tagCheckBox()->click();
    EXPECT_EQ(posts, 2);
    EXPECT_FALSE(store().selectedTagIDs().contains(kids->ID()));

    // Changed elsewhere while shown: a second copy is never added, and an untick takes
    // every copy away.
    store().selectedTagIDs().append(home->ID());
    filter->tagRowCheckHandler(0, true);
    EXPECT_EQ(store().selectedTagIDs().count(home->ID()), 1);
    store().selectedTagIDs().append(home->ID());
    filter->tagRowCheckHandler(0, false);
    EXPECT_FALSE(store().selectedTagIDs().contains(home->ID()));
    EXPECT_EQ(posts, 4);
    // A row the model no longer has does nothing.
    filter->tagRowCheckHandler(3, true);
    filter->tagRowCheckHandler(-1, true);
    EXPECT_EQ(posts, 4);
    EXPECT_EQ(storedFilter(), (QStringList { travel->ID(), u"T-GONE"_s }));
}

TEST_F(TagsFilterTest, TheSwitchAlwaysStartsOffAndWorksWithoutTags)
{
    platform::UserDefaults::standard().setValue(TagsFilterController::tagFilterOnKey, true);
    QWidget anchor;
    anchor.resize(300, 200);
    anchor.show();
    PKPopoverController* popover = newTagFilterPopover(&anchor);
    EXPECT_TRUE(popover->closesWhenEscapeKeyPressed());
    EXPECT_TRUE(popover->closesWhenApplicationBecomesInactive());
    EXPECT_TRUE(popover->closesWhenPopoverResignsKey());
    TagsFilterController* filter = tagFilterOf(popover);
    ASSERT_TRUE(filter);
    EXPECT_FALSE(filter->filterAllCtl()->isChecked());
    EXPECT_EQ(posts, 0);
    delete popover;

    store().appData()->setTags(std::nullopt);
    const auto empty = openFilter();
    EXPECT_FALSE(empty->filterAllCtl()->isChecked());
    EXPECT_EQ(empty->tableView()->model()->rowCount(), 0);
    EXPECT_TRUE(empty->findChild<QLabel*>(u"emptyLabel"_s)->isVisible());
    empty->filterAllCtl()->click();
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(platform::UserDefaults::standard().boolean(TagsFilterController::tagFilterOnKey, false));
}

} // namespace
