#include "records/cells/HoverTableView.h"
#include "records/cells/NSCategoryLogRowView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWTableTextField.h"

#include "platform/Appearance.h"
#include "support/Contrast.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"

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

// A colour drawn with its alpha over an opaque one.
QColor over(const QColor& top, const QColor& below)
{
    const float a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + below.redF() * (1 - a),
        top.greenF() * a + below.greenF() * (1 - a), top.blueF() * a + below.blueF() * (1 - a));
}

TEST(NWCategoryLogCellViewTest, ValueColourFollowsKindAndCarriedOverMark)
{
    NWCategoryLogCellView cell;
    const bool dark = platform::isDarkPalette(cell.palette());
    const QColor grey = NWCategoryLogCellView::valueTextColor(true, true, dark);
    const QColor green = NWCategoryLogCellView::valueTextColor(true, false, dark);
    const QColor red = NWCategoryLogCellView::valueTextColor(false, false, dark);
    EXPECT_EQ(NWCategoryLogCellView::valueTextColor(false, true, dark), grey);
    EXPECT_NE(green, grey);
    EXPECT_NE(red, grey);
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

TEST(NWCategoryLogCellViewTest, ValuesAndTheEntryMessageReadInBothAppearancesInTheirOwnHues)
{
    // The editor fills its value fields with the window colour of the appearance.
    const QColor grey = QColor::fromRgbF(0.7f, 0.7f, 0.7f);
    const QColor green = QColor::fromRgbF(0.37f, 0.77f, 0.39f);
    const QColor red = QColor::fromRgbF(0.99f, 0.31f, 0.49f);
    const QColor messageRed(0xE0, 0x40, 0x3A);
    for (const bool dark : { false, true }) {
        const QPalette palette = dark ? platform::AppearanceController::darkPalette()
                                      : platform::AppearanceController::lightPalette();
        const QColor field = palette.color(QPalette::Window);
        for (const auto& [asset, carried, given] :
            { std::tuple(true, true, grey), std::tuple(false, true, grey), std::tuple(true, false, green),
                std::tuple(false, false, red) }) {
            const QColor shown = NWCategoryLogCellView::valueTextColor(asset, carried, dark);
            EXPECT_GE(mervane::test::contrast(shown, field), 4.5) << dark << asset << carried;
            EXPECT_NEAR(shown.hslHueF(), given.hslHueF(), 0.01) << dark << asset << carried;
            EXPECT_NEAR(shown.hslSaturationF(), given.hslSaturationF(), 0.03) << dark << asset << carried;
            // A colour that reads as it is stays as it is.
            if (mervane::test::contrast(given, field) >= 4.5) {
                EXPECT_EQ(shown, given) << dark << asset << carried;
            }
        }

        // The message stands on the row itself: plain, under the pointer's glow, selected, or both.
        const QColor glow
            = over(DVGenericTableRowView::namedRowColor(QStringLiteral("RowTracking"), dark), field);
        const QColor selection = DVGenericTableRowView::namedRowColor(QStringLiteral("RowSelectedBg"), dark);
        const QColor message = NWCategoryLogCellView::entryMessageColor(dark);
        for (const QColor& row : { field, glow, over(selection, field), over(selection, glow) })
            EXPECT_GE(mervane::test::contrast(message, row), 4.5) << dark << qPrintable(row.name());
        EXPECT_NEAR(message.hslHueF(), messageRed.hslHueF(), 0.01) << dark;

        NWCategoryLogCellView cell;
        cell.setPalette(palette);
        cell.setPrepulated(false);
        EXPECT_EQ(cell.valueLabel()->palette().color(QPalette::Text),
            NWCategoryLogCellView::valueTextColor(true, false, dark));
        EXPECT_EQ(cell.entryMessageLabel()->palette().color(QPalette::WindowText), message);
    }
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
