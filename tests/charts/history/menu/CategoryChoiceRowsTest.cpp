#include "charts/history/menu/CategoryChoiceRows.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "support/RecordBuilders.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::category;

namespace {

struct Rows {
    QStringList stored;
    /// What had been stored when each change was announced.
    QList<QStringList> storedAtSignal;
    // Goes first, with the rows, so that nothing is stored into what is gone.
    QListView view;
    CategoryChoiceRows* rows = nullptr;

    explicit Rows(const QString& storedID)
    {
        TableRowHost::prepareView(view, QAbstractItemView::SingleSelection);
        rows = new CategoryChoiceRows(&view,
            MVX_CategoryList { category(u"A-HOME"_s, u"House"_s), nullptr, category(u"A-CAR"_s, u"House"_s) },
            storedID, [this](const QString& id) { stored << id; });
        QObject::connect(rows, &CategoryChoiceRows::chosenCategoryChanged, &view,
            [this](const QString&) { storedAtSignal << stored; });
        view.resize(200, 30); // room for rows 0 and 1 only
        view.show();
        QCoreApplication::processEvents();
    }
    LnChartSettCellView* cell(int row) const
    {
        TableRowView* rowView = rows->host()->ensureRowView(row);
        return rowView ? rowView->findChild<LnChartSettCellView*>() : nullptr;
    }
};

} // namespace

TEST(CategoryChoiceRows, PicksStoreTheRowsOwnCategoryBeforeAnnouncingIt)
{
    Rows list(u"A-CAR"_s);
    QAbstractItemModelTester(list.view.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_TRUE(list.stored.isEmpty()) << "a stored category that exists is not written again";
    EXPECT_EQ(list.rows->markedRow(), 2);
    EXPECT_EQ(list.view.currentIndex().row(), 2);
    EXPECT_TRUE(list.cell(2)->isMarked());

    // A row without a category is no choice: mark and choice stay.
    list.rows->pick(1);
    list.rows->pick(7);
    EXPECT_EQ(list.rows->markedRow(), 2);
    EXPECT_TRUE(list.cell(2)->isMarked());

    // Both rows show "House": the picked row's own ID is taken, stored, then announced.
    list.view.setCurrentIndex(list.view.model()->index(0, 0));
    EXPECT_EQ(list.rows->chosenID(), u"A-HOME"_s);
    EXPECT_EQ(list.stored, QStringList { u"A-HOME"_s });
    EXPECT_EQ(list.storedAtSignal, QList<QStringList> { { u"A-HOME"_s } });
    EXPECT_TRUE(list.cell(0)->isMarked());
    EXPECT_FALSE(list.cell(2)->isMarked());
    list.rows->pick(0);
    EXPECT_EQ(list.stored.size(), 1) << "the chosen category again stores nothing";
}

TEST(CategoryChoiceRows, AGoneCategoryIsReplacedAndStoredAtOnce)
{
    Rows list(u"A-GONE"_s);
    EXPECT_EQ(list.stored, QStringList { u"A-HOME"_s });
    EXPECT_TRUE(list.storedAtSignal.isEmpty()) << "opening announces nothing";
    EXPECT_EQ(list.rows->markedRow(), 0);
}

TEST(CategoryChoiceRows, RowsKeepTheInheritedPaletteUntilGivenAnOpacity)
{
    Rows list(u"A-HOME"_s);
    EXPECT_FALSE(list.cell(0)->categoryNameLabel()->testAttribute(Qt::WA_SetPalette));

    ASSERT_FALSE(list.rows->host()->rowView(2)) << "row 2 is out of view, not made yet";
    list.rows->setTextOpacity(0.2);
    // Dimmed texts are greyed: the palette's disabled colour, the faintest that still reads.
    const QColor greyed = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    const auto textOf = [](const LnChartSettCellView* cell) {
        return cell->categoryNameLabel()->palette().color(QPalette::Active, QPalette::WindowText);
    };
    EXPECT_EQ(textOf(list.cell(0)), greyed) << "a row made before";
    EXPECT_EQ(textOf(list.cell(2)), greyed) << "a row made after";
    ASSERT_TRUE(list.rows->textOpacity());
    EXPECT_EQ(*list.rows->textOpacity(), 0.2);
}
