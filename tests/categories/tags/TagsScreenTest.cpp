#include "app/alerts/MessagePopover.h"
#include "categories/CategoriesNotifications.h"
#include "categories/common/NWCategoryCellView.h"
#include "categories/tags/NWTagCellView.h"
#include "categories/tags/NW_TagBgView.h"
#include "categories/tags/TagEditControl.h"
#include "categories/tags/TagEditorPopover.h"
#include "categories/tags/TagsTestSupport.h"
#include "categories/tags/TagsViewController.h"
#include "platform/UserDefaults.h"
#include "records/history/NWCategoryLogsController.h"
#include "support/Appearances.h"
#include "support/DrawnTexts.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "uikit/controls/rows/TableRowView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class TagsScreenTest : public TagsTest {
protected:
    void SetUp() override
    {
        TagsTest::SetUp();
        m_screen = std::make_unique<TagsViewController>();
        m_screen->resize(1000, 600);
        m_screen->show();
        QCoreApplication::processEvents();
        for (QListView* list :
            { m_screen->tableViewTag(), m_screen->tableViewCategoryA(), m_screen->tableViewCategoryL() })
            m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
                list->model(), QAbstractItemModelTester::FailureReportingMode::Warning));
    }
    void TearDown() override
    {
        m_testers.clear();
        m_screen.reset();
        TagsTest::TearDown();
    }

    void select(int row)
    {
        m_screen->tableViewTag()->setCurrentIndex(m_screen->tableViewTag()->model()->index(row, 0));
    }
    QAbstractButton* button(const QString& name) const { return m_screen->findChild<QAbstractButton*>(name); }
    /// The names the detail list shows, read from its row widgets.
    static QStringList shownNames(QListView* list)
    {
        QCoreApplication::processEvents(); // rows in view get their widgets before the next paint
        QStringList names;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            QWidget* widget = list->indexWidget(list->model()->index(row, 0));
            auto* cell = widget ? widget->findChild<NWCategoryCellView*>() : nullptr;
            names.append(cell ? cell->nameField()->text() : u"<no row>"_s);
        }
        return names;
    }
    NWTagCellView* tagCell(int row) const
    {
        QWidget* widget
            = m_screen->tableViewTag()->indexWidget(m_screen->tableViewTag()->model()->index(row, 0));
        return widget ? widget->findChild<NWTagCellView*>() : nullptr;
    }
    void deleteSelectedTag()
    {
        button(u"deleteButton"_s)->click();
        ASSERT_TRUE(m_screen->askDeletePopover()->shown());
        m_screen->askDeletePopover()
            ->contentViewController()
            ->findChild<QPushButton*>(u"okButton"_s)
            ->click();
    }

    std::unique_ptr<TagsViewController> m_screen;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};

TEST_F(TagsScreenTest, TheListShowsEveryTagWithItsColourPicture)
{
    ASSERT_EQ(m_screen->tableViewTag()->model()->rowCount(), 3);
    ASSERT_NE(tagCell(0), nullptr);
    EXPECT_EQ(tagCell(0)->nameField()->text(), u"Home"_s);
    EXPECT_EQ(tagCell(0)->descField()->text(), u"Where we live"_s);
    EXPECT_FALSE(tagCell(0)->tagView()->pixmap().isNull());
    EXPECT_EQ(tagCell(2)->nameField()->text(), u"Savings"_s);
    EXPECT_EQ(button(u"deleteButton"_s)->toolTip(), u"Delete selected tag"_s);
    EXPECT_EQ(button(u"addButton"_s)->toolTip(), u"Add a new tag"_s);
    EXPECT_EQ(button(u"editButton"_s)->toolTip(), u"Edit selected tag"_s);

    // A colour outside the eight shows no picture.
    cars->setHexColorString(u"Red"_s);
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    QCoreApplication::processEvents();
    ASSERT_NE(tagCell(1), nullptr);
    EXPECT_TRUE(tagCell(1)->tagView()->pixmap().isNull());
}

TEST_F(TagsScreenTest, TheDetailListsFollowTheSelectedTag)
{
    EXPECT_FALSE(button(u"editButton"_s)->isEnabled());
    EXPECT_FALSE(button(u"deleteButton"_s)->isEnabled());
    EXPECT_FALSE(m_screen->backgroundView()->RecordSelected());

    select(0);
    EXPECT_EQ(m_screen->selectedTagObject(), home);
    EXPECT_EQ(shownNames(m_screen->tableViewCategoryA()), QStringList { u"House"_s });
    EXPECT_EQ(shownNames(m_screen->tableViewCategoryL()), QStringList { u"Mortgage"_s });
    // The store's own objects, with their side.
    ASSERT_EQ(m_screen->categoryArrayA().size(), 1);
    EXPECT_EQ(m_screen->categoryArrayA().first()->category(), store().appData()->assetscat()->at(1));
    EXPECT_TRUE(m_screen->categoryArrayA().first()->isAsset());
    EXPECT_FALSE(m_screen->categoryArrayL().first()->isAsset());
    EXPECT_TRUE(button(u"editButton"_s)->isEnabled());
    EXPECT_TRUE(button(u"deleteButton"_s)->isEnabled());
    EXPECT_TRUE(m_screen->backgroundView()->RecordSelected());

    select(1); // carried twice by one category: listed once
    EXPECT_EQ(shownNames(m_screen->tableViewCategoryA()), QStringList { u"Car"_s });
    EXPECT_TRUE(shownNames(m_screen->tableViewCategoryL()).isEmpty());
    select(2); // carried by none: both lists empty, the arrows still drawn
    EXPECT_TRUE(m_screen->categoryArrayA().isEmpty());
    EXPECT_TRUE(m_screen->categoryArrayL().isEmpty());
    EXPECT_TRUE(m_screen->backgroundView()->RecordSelected());

    m_screen->tableViewTag()->clearSelection();
    EXPECT_EQ(m_screen->selectedTagObject(), nullptr);
    EXPECT_FALSE(button(u"editButton"_s)->isEnabled());
    EXPECT_FALSE(m_screen->backgroundView()->RecordSelected());
}

TEST_F(TagsScreenTest, TheArrowsEndInTheFirstRowOfEachListAndFollowTheTagRow)
{
    select(1);
    const NW_TagBgView* background = m_screen->backgroundView();
    const QRect rowRect
        = m_screen->tableViewTag()->visualRect(m_screen->tableViewTag()->model()->index(1, 0));
    EXPECT_EQ(background->RecordPosition(), rowRect.top());
    // In y-down terms the asset arrow ends 90 below the top, the liability arrow the
    // liability position further: both inside the first row of their list.
    for (QListView* list : { m_screen->tableViewCategoryA(), m_screen->tableViewCategoryL() }) {
        const int end
            = list == m_screen->tableViewCategoryA() ? 90 : 90 + int(background->LiabilityTablePosition());
        const QRect frame = list->geometry();
        EXPECT_GT(end, frame.top());
        EXPECT_LT(end, frame.top() + NWCategoryCellView::rowHeight);
        EXPECT_EQ(frame.left(), TagsViewController::detailLeft);
    }
    // Drawn there in green and red; nothing is drawn without a selection.
    const QImage drawn = m_screen->backgroundView()->grab().toImage();
    const QColor green = drawn.pixelColor(530, 90);
    const QColor red = drawn.pixelColor(530, 90 + int(background->LiabilityTablePosition()));
    EXPECT_GT(green.green(), green.red() + 20) << green.name().toStdString();
    EXPECT_GT(red.red(), red.green() + 20) << red.name().toStdString();
    m_screen->tableViewTag()->clearSelection();
    const QImage plain = m_screen->backgroundView()->grab().toImage();
    EXPECT_EQ(plain.pixelColor(530, 90), plain.pixelColor(530, 300));
    select(1);
    // The arrows leave within the tag row itself.
    const int rowTop = m_screen->tableViewTag()->geometry().top() + rowRect.top();
    for (int leave : { 75, 95 }) {
        EXPECT_GT(leave + int(background->RecordPosition()), rowTop);
        EXPECT_LT(leave + int(background->RecordPosition()), rowTop + NWTagCellView::rowHeight);
    }
}

TEST_F(TagsScreenTest, DeletingATagRemovesItEverywhereAndSavesIt)
{
    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(NWData::filterIDArrayKey, QStringList { home->ID(), cars->ID() });
    defaults.setValue(NWData::reportTagIDsKey, QStringList { home->ID() });
    store().setSelectedTagIDs({ home->ID(), cars->ID() });
    const QString id = home->ID();
    select(0);
    deleteSelectedTag();

    EXPECT_EVENTUALLY(!m_screen->askDeletePopover()->shown());
    EXPECT_EQ(m_screen->tableViewTag()->model()->rowCount(), 2);
    for (const auto* list : { &store().appData()->assetscat(), &store().appData()->liabilitycat() }) {
        for (const auto& category : **list)
            EXPECT_FALSE(category->tags().value_or(QStringList()).contains(id))
                << category->categoryName().toStdString();
    }
    EXPECT_EQ(store().selectedTagIDs(), QStringList { cars->ID() });
    EXPECT_EQ(defaults.stringList(NWData::filterIDArrayKey), QStringList { cars->ID() });
    EXPECT_EQ(defaults.stringList(NWData::reportTagIDsKey), QStringList());
    // The row stays selected and now holds the next tag, whose categories are shown.
    EXPECT_EQ(m_screen->selectedTagObject(), cars);
    EXPECT_EQ(shownNames(m_screen->tableViewCategoryA()), QStringList { u"Car"_s });

    EXPECT_EVENTUALLY_EQ(posted, QStringList { notifications::dataReFetched });
    const auto saved = modelInFile();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->tags()->size(), 2);
    EXPECT_FALSE(dataFileBytes().contains(id.toUtf8()));
    EXPECT_FALSE(m_screen->messagePopover()->isShown());
}

TEST_F(TagsScreenTest, AFailedDeleteSaysWhyAndTheTagIsBackInTheModelAndTheList)
{
    const QByteArray before = dataFileBytes();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    select(2);
    deleteSelectedTag();
    EXPECT_EVENTUALLY(m_screen->messagePopover()->isShown());
    EXPECT_TRUE(m_screen->messagePopover()->text().startsWith(u"The change could not be saved: "_s))
        << m_screen->messagePopover()->text().toStdString();
    EXPECT_TRUE(m_screen->messagePopover()->text().contains(u"the disk is full"_s));
    EXPECT_EQ(dataFileBytes(), before);
    // The store took the model back to the file's and every screen reloaded from it.
    EXPECT_EQ(posted, QStringList { notifications::dataReFetched });
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_NE(tagNamed(u"Savings"_s), nullptr);
    EXPECT_EQ(m_screen->tableViewTag()->model()->rowCount(), 3);

    // Nothing unsaved is left for an unrelated save to write.
    store().writer().setDeviceFactoryForTesting({});
    ASSERT_EQ(store().saveData(), std::nullopt);
    EXPECT_EQ(modelInFile()->tags()->size(), 3);
}

TEST_F(TagsScreenTest, DeleteAsksFirstAndASecondPressCloses)
{
    button(u"deleteButton"_s)->click(); // nothing selected
    EXPECT_FALSE(m_screen->askDeletePopover()->shown());
    select(1);
    button(u"deleteButton"_s)->click();
    EXPECT_TRUE(m_screen->askDeletePopover()->shown());
    button(u"deleteButton"_s)->click();
    EXPECT_EVENTUALLY(!m_screen->askDeletePopover()->shown());
    m_screen->tagDeleteNotifHandler(); // the question was closed: a late OK deletes nothing more than asked
    EXPECT_EQ(store().appData()->tags()->size(), 2);

    // Cancel keeps everything.
    select(0);
    button(u"deleteButton"_s)->click();
    m_screen->askDeletePopover()
        ->contentViewController()
        ->findChild<QPushButton*>(u"cancelButton"_s)
        ->click();
    EXPECT_EVENTUALLY(!m_screen->askDeletePopover()->shown());
    EXPECT_EQ(store().appData()->tags()->size(), 2);
}

TEST_F(TagsScreenTest, EditorsOpenOnTheRightTagAndCloseOnSaveOrASecondPress)
{
    button(u"editButton"_s)->click(); // nothing selected: nothing opens
    EXPECT_EQ(m_screen->editCategoryPopover(), nullptr);
    button(u"addButton"_s)->click();
    ASSERT_TRUE(m_screen->editCategoryPopover() && m_screen->editCategoryPopover()->shown());
    EXPECT_EQ(tagEditorOf(m_screen->editCategoryPopover())->tagRecord(), nullptr);
    button(u"addButton"_s)->click();
    EXPECT_EQ(m_screen->editCategoryPopover(), nullptr);

    // A double click edits that row's tag.
    QWidget* row = m_screen->tableViewTag()->indexWidget(m_screen->tableViewTag()->model()->index(1, 0));
    ASSERT_NE(row, nullptr);
    QTest::mouseDClick(row, Qt::LeftButton, {}, QPoint(40, 10));
    ASSERT_TRUE(m_screen->editCategoryPopover() && m_screen->editCategoryPopover()->shown());
    TagEditControl* editor = tagEditorOf(m_screen->editCategoryPopover());
    EXPECT_EQ(editor->tagRecord(), cars);
    EXPECT_EQ(m_screen->selectedTagObject(), cars);
    editor->findChild<QLineEdit*>(u"tagNameCtl"_s)->setText(u"Vehicles"_s);
    editor->saveButtonClick();
    EXPECT_EVENTUALLY(!m_screen->editCategoryPopover() || !m_screen->editCategoryPopover()->shown());
    ASSERT_NE(tagCell(1), nullptr);
    EXPECT_EQ(tagCell(1)->nameField()->text(), u"Vehicles"_s);
}

TEST_F(TagsScreenTest, PressingADetailRowOpensItsValueHistoryAndPressingAgainClosesIt)
{
    select(0);
    QCoreApplication::processEvents();
    QWidget* row
        = m_screen->tableViewCategoryL()->indexWidget(m_screen->tableViewCategoryL()->model()->index(0, 0));
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(m_screen->categoryLogPopover() && m_screen->categoryLogPopover()->shown());
    auto* history
        = qobject_cast<NWCategoryLogsController*>(m_screen->categoryLogPopover()->contentViewController());
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->viewCategory(), store().appData()->liabilitycat()->first());
    EXPECT_FALSE(history->showAssetCategory());
    m_screen->showCategoryLogs(false, 0);
    EXPECT_EQ(m_screen->categoryLogPopover(), nullptr);
}

// A screen made in one appearance and switched live to the other draws every text at the
// readability rule: the headings, the descriptions, and the selected tag's description while
// the mouse is over its row.
TEST_F(TagsScreenTest, EveryTextReadsAfterALiveAppearanceSwitch)
{
    for (const auto& category : *store().appData()->assetscat())
        category->setDesc(u"Held in the family's name"_s);
    store().appData()->liabilitycat()->first()->setDesc(u"Paid monthly"_s);
    AppearanceRestorer restore;
    auto& appearance = platform::AppearanceController::instance();
    for (const bool startDark : { true, false }) {
        SCOPED_TRACE(startDark ? "dark to light" : "light to dark");
        appearance.setAppearance(startDark ? platform::Appearance::Dark : platform::Appearance::Light);
        m_screen = std::make_unique<TagsViewController>();
        m_screen->resize(1000, 600);
        m_screen->show();
        select(0);
        QCoreApplication::processEvents();
        QWidget* row = m_screen->tableViewTag()->indexWidget(m_screen->tableViewTag()->model()->index(0, 0));
        ASSERT_TRUE(row);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(row, &enter);
        ASSERT_TRUE(static_cast<TableRowView*>(row)->mouseInside());
        appearance.setAppearance(startDark ? platform::Appearance::Light : platform::Appearance::Dark);
        QCoreApplication::processEvents();
        EXPECT_GE(expectTextsReadable(*m_screen, *m_screen, "tags"), 10);
    }
}

} // namespace
