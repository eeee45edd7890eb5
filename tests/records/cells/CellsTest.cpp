#include "records/cells/HoverTableView.h"
#include "records/cells/NSCategoryLogRowView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWTableTextField.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QColor valueColor(const NWCategoryLogCellView& cell)
{
    return cell.valueLabel()->palette().color(QPalette::Text);
}

TEST(NWCategoryLogCellViewTest, ValueColourFollowsKindAndCarriedOverMark)
{
    const QColor grey = QColor::fromRgbF(0.7f, 0.7f, 0.7f);
    const QColor green = QColor::fromRgbF(0.37f, 0.77f, 0.39f);
    const QColor red = QColor::fromRgbF(0.99f, 0.31f, 0.49f);
    NWCategoryLogCellView cell;
    // A cell made in code starts as a carried-over asset.
    EXPECT_TRUE(cell.isAsset());
    EXPECT_TRUE(cell.isPrePopulated());
    EXPECT_EQ(valueColor(cell), grey);
    cell.setAsAsset(false);
    EXPECT_EQ(valueColor(cell), grey); // carried over shows grey whatever its kind
    cell.setPrepulated(false);
    EXPECT_EQ(valueColor(cell), red);
    cell.setAsAsset(true);
    EXPECT_EQ(valueColor(cell), green);

    // The plain setters only store.
    cell.setIsPrePopulated(true);
    cell.setIsAsset(false);
    EXPECT_EQ(valueColor(cell), green);
    EXPECT_TRUE(cell.isPrePopulated());
    EXPECT_FALSE(cell.isAsset());

    // The rate is shown, never typed; the entry message appears only with a text.
    EXPECT_TRUE(cell.exchangeRateField()->isReadOnly());
    EXPECT_TRUE(cell.entryMessageLabel()->isHidden());
    cell.setEntryMessage(QStringLiteral("Not a number: kept 1"));
    EXPECT_FALSE(cell.entryMessageLabel()->isHidden());
    cell.setEntryMessage({});
    EXPECT_TRUE(cell.entryMessageLabel()->isHidden());

    NWCategoryLogCellViewEx twin;
    EXPECT_TRUE(twin.valueLabel2() && twin.valueLabelDiff());
    EXPECT_TRUE(twin.isAncestorOf(twin.valueLabelDiff()));
}

TEST(HoverTableViewTest, EmptyRowLinesRuleTheAreaBelowTheLastRow)
{
    // No rows: the first line lies one row height from the top.
    auto lines = HoverTableView::emptyRowLines(0, 20, 100, 75);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QRectF(0, 20, 100, 1));
    EXPECT_EQ(lines.at(2), QRectF(0, 60, 100, 1));
    EXPECT_TRUE(HoverTableView::emptyRowLines(60, 20, 100, 80).isEmpty());
    EXPECT_EQ(HoverTableView::emptyRowLines(10, 20, 100, 31).size(), 1);

    HoverTableView view;
    EXPECT_EQ(view.yPositionPastLastRow(), 0.0);
}

TEST(NSCategoryLogRowViewTest, TheFirstSeparatorColourIsSharedByEveryRow)
{
    NSCategoryLogRowView first;
    first.resize(100, 20);
    NSCategoryLogRowView second;
    second.resize(100, 20);
    // Without a colour nothing is drawn and nothing is fixed yet.
    QImage image(100, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    first.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(50, 19).alpha(), 0);
    ASSERT_FALSE(NSCategoryLogRowView::sharedSeparatorColor());

    first.setSeparatorColor(Qt::blue);
    first.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(50, 19).blue(), 255);
    second.setSeparatorColor(Qt::red);
    image.fill(Qt::transparent);
    second.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(50, 19).blue(), 255);
    EXPECT_EQ(image.pixelColor(50, 19).red(), 0);
    EXPECT_EQ(NSCategoryLogRowView::sharedSeparatorColor(), QColor(Qt::blue));

    // The cell covers the row above its separator.
    auto* cell = new NWCategoryLogCellView;
    first.setCell(cell);
    EXPECT_EQ(cell->parentWidget(), &first);
    EXPECT_EQ(cell->geometry(), QRect(0, 0, 100, 19));
}

} // namespace
