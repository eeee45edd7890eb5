#include "platform/Appearance.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/NWTableRowView.h"
#include "uikit/controls/rows/TableRowDrawing.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QItemDelegate>
#include <QListView>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>

namespace {

// A row drawn over a white background, so colours with alpha come out as opaque pixels.
QImage render(TableRowView& row)
{
    QImage image(row.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    row.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TEST(TableRowDrawingTest, FadeGradientStops)
{
    const QGradientStops stops = FadeGradientWithColor(QColor(10, 20, 30, 200));
    ASSERT_EQ(stops.size(), 4);
    EXPECT_EQ(stops[0].first, 0.0);
    EXPECT_EQ(stops[1].first, 0.35);
    EXPECT_EQ(stops[2].first, 0.65);
    EXPECT_EQ(stops[3].first, 1.0);
    EXPECT_EQ(stops[0].second.alpha(), 0);
    EXPECT_EQ(stops[0].second.rgb(), QColor(10, 20, 30).rgb()); // same hue, only alpha 0
    EXPECT_EQ(stops[1].second, QColor(10, 20, 30, 200));
    EXPECT_EQ(stops[3].second.alpha(), 0);
}

TEST(TableRowDrawingTest, SeparatorFadesTowardsBothEnds)
{
    QImage image(200, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawSeparatorInRect(painter, QRectF(0, 0, 200, 1));
    painter.end();
    EXPECT_NEAR(qGray(image.pixel(100, 0)), 204, 2); // grey 0.8 on the plateau
    EXPECT_NEAR(qGray(image.pixel(75, 0)), 204, 2);
    EXPECT_GT(qGray(image.pixel(1, 0)), 245); // nearly clear at the ends
    EXPECT_GT(qGray(image.pixel(198, 0)), 245);

    // On a dark window the line stays faint.
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Dark);
    image.fill(QColor(30, 30, 30));
    QPainter dark(&image);
    DrawSeparatorInRect(dark, QRectF(0, 0, 200, 1));
    dark.end();
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    EXPECT_NEAR(qGray(image.pixel(100, 0)), 77, 2); // grey 0.3
}

TEST(NWTableRowViewTest, HoverGlowSeparatorOnTheBottomEdgeAndSelection)
{
    NWTableRowView row;
    row.resize(200, 20);
    row.setBackgroundColor(Qt::white);
    QImage image = render(row);
    EXPECT_EQ(image.pixelColor(100, 10), QColor(Qt::white));
    EXPECT_NEAR(qGray(image.pixel(100, 19)), 204, 2); // separator on the bottom edge only
    EXPECT_EQ(image.pixelColor(100, 18), QColor(Qt::white));
    EXPECT_EQ(row.separatorRect(), QRect(0, 19, 200, 1));

    row.setMouseInside(true);
    image = render(row);
    // 0.99, 0.99, 0.8 at alpha 0.35 over white: blue drops to about 0.93.
    const QColor glow = image.pixelColor(100, 10);
    EXPECT_NEAR(glow.blue(), 238, 3);
    EXPECT_GE(glow.red(), 252);
    EXPECT_GT(image.pixelColor(2, 10).blue(), 250); // fades out at the ends

    row.setMouseInside(false);
    row.setSelected(true);
    image = render(row);
    EXPECT_NEAR(qGray(image.pixel(100, 10)), 240, 3); // grey 0.82 at alpha 0.3
    row.setSelectionHighlightStyle(TableRowView::SelectionHighlightStyle::None);
    EXPECT_EQ(render(row).pixelColor(100, 10), QColor(Qt::white));
}

TEST(NWTableRowViewTest, DateRowPeaksInTheMiddle)
{
    NWDateRowView row;
    row.resize(200, 20);
    row.setBackgroundColor(Qt::white);
    row.setMouseInside(true);
    const QImage image = render(row);
    EXPECT_LT(image.pixelColor(100, 10).blue(), image.pixelColor(70, 10).blue()); // no plateau
    EXPECT_NEAR(qGray(image.pixel(100, 19)), 229, 3); // separator grey 0.8 at alpha 0.5
}

TEST(DVGenericTableRowViewTest, NoSeparatorAndSelectionWithItsOwnMetrics)
{
    DVGenericTableRowView row;
    row.resize(200, 20);
    row.setBackgroundColor(Qt::white);
    QImage image = render(row);
    EXPECT_EQ(image.pixelColor(100, 19), QColor(Qt::white));
    EXPECT_EQ(row.separatorRect(), QRect(0, 19, 200, 1));

    row.setMouseInside(true);
    image = render(row);
    // Repeated locations keep their last colour: full on the left, clear on the right.
    EXPECT_LT(image.pixelColor(1, 10).blue(), 245);
    EXPECT_GT(image.pixelColor(198, 10).blue(), 252);

    row.setMouseInside(false);
    row.setSelectionStrokeColor(QColor(255, 0, 0));
    row.setSelectionFillColor(QColor(0, 0, 255));
    row.setSelectionBorderWidth(4);
    row.setSelected(true);
    image = render(row);
    EXPECT_EQ(image.pixelColor(100, 10), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(100, 1), QColor(255, 0, 0)); // a 4-point stroke, 2 inside
    EXPECT_EQ(image.pixelColor(100, 18), QColor(255, 0, 0));
}

TEST(TableRowHostTest, RowsFollowTheSelectionAndHover)
{
    QStandardItemModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    for (int i = 0; i < 3; ++i)
        model.appendRow(new QStandardItem());
    QListView view;
    view.setModel(&model);
    view.resize(200, 120);
    QAbstractItemDelegate* plain = view.itemDelegate();
    TableRowHost host(&view);
    // The rows draw themselves: the view's plain item painting is replaced...
    EXPECT_NE(view.itemDelegate(), plain);
    QListView own;
    auto* delegate = new QItemDelegate(&own);
    own.setItemDelegate(delegate);
    TableRowHost ownHost(&own);
    EXPECT_EQ(own.itemDelegate(), delegate); // ...but a view's own delegate stays
    for (int i = 0; i < 3; ++i)
        host.setRowView(model.index(i, 0), new DVGenericTableRowView);
    view.show();

    view.selectionModel()->select(model.index(1, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_FALSE(host.rowView(0)->isSelected());
    EXPECT_TRUE(host.rowView(1)->isSelected());

    Q_EMIT host.rowView(2)->pressed();
    EXPECT_TRUE(host.rowView(2)->isSelected());
    EXPECT_FALSE(host.rowView(1)->isSelected());
    EXPECT_EQ(view.currentIndex().row(), 2);

    view.setSelectionMode(QAbstractItemView::NoSelection);
    host.synchronize();
    EXPECT_EQ(host.rowView(0)->selectionHighlightStyle(), TableRowView::SelectionHighlightStyle::None);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(host.rowView(0), &enter);
    EXPECT_TRUE(host.rowView(0)->mouseInside());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(host.rowView(0), &leave);
    EXPECT_FALSE(host.rowView(0)->mouseInside());
}

TEST(TableRowHostTest, FactoryMakesRowsOnlyAsTheyComeIntoView)
{
    QStandardItemModel model;
    for (int i = 0; i < 1000; ++i) {
        auto* item = new QStandardItem();
        item->setSizeHint(QSize(100, 20));
        model.appendRow(item);
    }
    QListView view;
    view.setModel(&model);
    view.setUniformItemSizes(true);
    view.resize(200, 200);
    TableRowHost host(&view);
    QList<int> made;
    host.setRowFactory([&made](const QModelIndex& index) {
        made.append(index.row());
        return new DVGenericTableRowView;
    });
    view.show();
    QCoreApplication::processEvents();
    // Ten rows fit (the eleventh may peek in); nothing further down is made.
    EXPECT_GE(made.size(), 10);
    EXPECT_LE(made.size(), 11);
    EXPECT_EQ(made.first(), 0);
    EXPECT_EQ(host.rowView(500), nullptr);

    view.scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_NE(host.rowView(999), nullptr);
    EXPECT_EQ(host.rowView(500), nullptr);
    EXPECT_LE(made.size(), 22);

    ASSERT_NE(host.ensureRowView(500), nullptr);
    EXPECT_EQ(host.ensureRowView(500), host.rowView(500)); // made once
    EXPECT_EQ(made.count(500), 1);
    EXPECT_EQ(host.ensureRowView(1000), nullptr);

    // A reset drops the old widgets; the rows in view get new ones.
    made.clear();
    model.clear();
    for (int i = 0; i < 3; ++i)
        model.appendRow(new QStandardItem());
    QCoreApplication::processEvents();
    EXPECT_EQ(made, (QList<int> { 0, 1, 2 }));
}

} // namespace
