#include "records/RecordsNotifications.h"
#include "records/cells/HoverTableView.h"
#include "records/cells/NSCategoryLogRowView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWTableTextField.h"

#include "platform/NotificationCenter.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

struct Posted {
    QString name;
    QObject* object = nullptr;
    QVariantMap userInfo;
};

// A window holding an editing table of `rows` value rows (a row-factory table) and a plain
// line edit to click away to.
class EditingTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 200; ++i)
            model.appendRow(new QStandardItem());
        table = new HoverEditTableView(&window);
        table->setModel(&model);
        table->setRowHeight(30);
        table->rowHost().setRowFactory([this](const QModelIndex& index) {
            auto* row = new NSCategoryLogRowView;
            auto* cell = new NWCategoryLogCellView;
            cell->categoryLabel()->setText(QString::number(index.row()));
            cell->valueLabel()->setReadOnly(readOnlyRows.contains(index.row()));
            row->setCell(cell);
            return row;
        });
        other = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(table);
        layout->addWidget(other);
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QCoreApplication::processEvents();
        for (const QString& name :
            { notifications::categoryValueEditFinished, notifications::tableTextFieldEditFinished })
            platform::NotificationCenter::defaultCenter().addObserver(
                &context, name, [this](const platform::Notification& n) {
                    posts.append({ n.name, n.object.value<QObject*>(), n.userInfo });
                });
    }

    NWTableTextField* field(int row)
    {
        auto* view = qobject_cast<NSCategoryLogRowView*>(table->rowHost().rowView(row));
        return view && view->cell() ? view->cell()->valueLabel() : nullptr;
    }
    int selectedRow() const
    {
        const auto rows = table->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }

    QWidget window;
    QStandardItemModel model;
    QAbstractItemModelTester tester { &model, QAbstractItemModelTester::FailureReportingMode::Warning };
    HoverEditTableView* table = nullptr;
    QLineEdit* other = nullptr;
    QSet<int> readOnlyRows { 2 };
    QObject context;
    QList<Posted> posts;
};

TEST_F(EditingTableTest, EachEndOfEditingPostsOnceWithItsMovement)
{
    ASSERT_TRUE(table->startEditModeForRow(0));
    NWTableTextField* const first = field(0);
    ASSERT_TRUE(first && first->hasFocus());

    QTest::keyClick(first, Qt::Key_Tab);
    QTest::keyClick(first, Qt::Key_Return);
    QTest::keyClick(first, Qt::Key_Enter);
    QTest::keyClick(first, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(posts.size(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(posts.at(i).userInfo, (QVariantMap { { notifications::tabKey, notifications::tabKey } }))
            << i;
    EXPECT_EQ(
        posts.at(3).userInfo, (QVariantMap { { notifications::shiftTabKey, notifications::shiftTabKey } }));
    for (const Posted& post : posts) {
        EXPECT_EQ(post.name, notifications::categoryValueEditFinished);
        EXPECT_EQ(post.object, table);
    }
    // Nobody moved the editing, and Qt's focus chain did not either.
    EXPECT_TRUE(first->hasFocus());

    // Leaving after a Tab does not post again; typing, then leaving, posts once without user info.
    posts.clear();
    other->setFocus();
    EXPECT_TRUE(posts.isEmpty());
    first->setFocus();
    QTest::keyClicks(first, QStringLiteral("5"));
    other->setFocus();
    ASSERT_EQ(posts.size(), 1);
    EXPECT_TRUE(posts.first().userInfo.isEmpty());
    first->setFocus();
    other->setFocus();
    EXPECT_EQ(posts.size(), 2);
}

TEST_F(EditingTableTest, StartEditModeForRowMakesScrollsFocusesAndSelects)
{
    ASSERT_TRUE(table->startEditModeForRow(3));
    EXPECT_EQ(selectedRow(), 3);
    // Out of range changes nothing.
    EXPECT_FALSE(table->startEditModeForRow(200));
    EXPECT_FALSE(table->startEditModeForRow(-1));
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_TRUE(field(3)->hasFocus());

    // A row far below gets its widget now, comes into view and is selected alone.
    ASSERT_EQ(table->rowHost().rowView(150), nullptr);
    ASSERT_TRUE(table->startEditModeForRow(150));
    ASSERT_TRUE(field(150));
    EXPECT_TRUE(field(150)->hasFocus());
    EXPECT_EQ(selectedRow(), 150);
    EXPECT_TRUE(table->viewport()->rect().contains(table->visualRect(model.index(150, 0))));

    // A row whose field cannot be edited is neither focused nor selected.
    EXPECT_FALSE(table->startEditModeForRow(2));
    EXPECT_EQ(selectedRow(), 150);
}

TEST_F(EditingTableTest, AClickOnARowEditsItsValueAndItsFieldSelectsTheRow)
{
    auto* row1 = table->rowHost().rowView(1);
    ASSERT_TRUE(row1);
    QTest::mouseClick(row1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(field(1)->hasFocus());
    EXPECT_EQ(selectedRow(), 1);

    // On a row whose field cannot be edited, the click selects without editing.
    QTest::mouseClick(table->rowHost().rowView(2), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_FALSE(field(2)->hasFocus());

    // A click straight into a field selects its row.
    QTest::mouseClick(field(4), Qt::LeftButton);
    EXPECT_TRUE(field(4)->hasFocus());
    EXPECT_EQ(selectedRow(), 4);
    EXPECT_EQ(field(4)->tableRow(), 4);
}

TEST_F(EditingTableTest, ClickBelowTheLastRowStartsNoEditing)
{
    model.removeRows(3, model.rowCount() - 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(table->yPositionPastLastRow(), 90.0);
    other->setFocus();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(20, 150));
    EXPECT_FALSE(QApplication::focusWidget() && qobject_cast<NWTableTextField*>(QApplication::focusWidget()));
}

TEST_F(EditingTableTest, TheNonTabFieldPostsItselfAtEveryEnd)
{
    auto* row = new NSCategoryLogRowView;
    auto* cell = new NWCategoryLogCellView;
    row->setCell(cell);
    auto* nonTab = new NWNonTabTableTextField(cell);
    table->rowHost().setRowView(model.index(0, 0), row);
    nonTab->setFocus();
    QTest::keyClick(nonTab, Qt::Key_Tab);
    other->setFocus();
    nonTab->setFocus();
    QTest::keyClick(nonTab, Qt::Key_Escape);
    other->setFocus();
    ASSERT_EQ(posts.size(), 2);
    for (const Posted& post : posts) {
        EXPECT_EQ(post.name, notifications::tableTextFieldEditFinished);
        EXPECT_EQ(post.object, table);
        EXPECT_EQ(post.userInfo.value(notifications::objKey).value<QObject*>(), nonTab);
    }
}

} // namespace
