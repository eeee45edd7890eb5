#include "uikit/tabs/CustomizableTabView.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/tabs/TabGeometry.h"

#include <QSignalSpy>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

SegmentedControl* control(const CustomizableTabView& view)
{
    return view.findChild<SegmentedControl*>(u"segmentedControl"_s);
}

std::unique_ptr<CustomizableTabView> threeItems(int width)
{
    auto view = std::make_unique<CustomizableTabView>();
    view->resize(width, 300);
    view->addTabViewItem(u"a"_s, u"Statement"_s);
    view->addTabViewItem(u"b"_s, u"Assets"_s);
    view->addTabViewItem(u"c"_s, u"Tags"_s);
    return view;
}

TEST(CustomizableTabView, ReworkedControlIsSeventyPerItemCappedAndCentred)
{
    auto wide = threeItems(400);
    EXPECT_EQ(control(*wide)->geometry(), QRect(89, 0, 222, 32));
    auto narrow = threeItems(200);
    EXPECT_EQ(control(*narrow)->geometry(), QRect(16, 0, 168, 32));
}

TEST(CustomizableTabView, DrawingFitsTheControlToItsNaturalSize)
{
    auto view = threeItems(400);
    const QSize natural = control(*view)->sizeHint();
    EXPECT_EQ(view->maxWidth(), natural.width());
    view->grab();
    const QRect drawn = control(*view)->geometry();
    EXPECT_EQ(drawn.width(), std::min(natural.width(), 400 - 32));
    EXPECT_EQ(drawn.height(), natural.height());
    EXPECT_EQ(drawn.y(), 0);
    EXPECT_NEAR(drawn.center().x(), 200, 1);

    // Narrower than the natural width: capped at the width minus 32.
    view->resize(natural.width(), 300);
    view->grab();
    EXPECT_EQ(control(*view)->width(), natural.width() - 32);
}

TEST(CustomizableTabView, GeometryOfBezelAndBacking)
{
    const QRectF bounds(0, 0, 400, 300);
    EXPECT_EQ(TabGeometry::bezelRect(bounds), QRectF(8, 10, 384, 284));
    EXPECT_EQ(TabGeometry::controlBackingRect(QRectF(89, 0, 222, 32)), QRectF(91, 2, 218, 27));
    const QRectF content = TabGeometry::contentRect(bounds, QRectF(89, 0, 222, 32));
    EXPECT_TRUE(TabGeometry::bezelRect(bounds).contains(content));
    EXPECT_GE(content.top(), 32);
    // A rounded path stays inside its rectangle and cuts its corners.
    const QPainterPath path = TabGeometry::roundedRectPath(QRectF(0, 0, 100, 50), 8);
    EXPECT_EQ(path.boundingRect(), QRectF(0, 0, 100, 50));
    EXPECT_FALSE(path.contains(QPointF(0.5, 0.5)));
    EXPECT_TRUE(path.contains(QPointF(50, 25)));
}

TEST(CustomizableTabView, EmptyViewAndDefaultItems)
{
    CustomizableTabView empty;
    EXPECT_EQ(control(empty)->segmentCount(), 0);
    EXPECT_EQ(empty.indexOfSelectedTabViewItem(), -1);
    EXPECT_EQ(empty.bezelColor(), QColor(Qt::darkGray));

    std::unique_ptr<CustomizableTabView> made(CustomizableTabView::makeWithDefaultItems());
    EXPECT_EQ(made->numberOfTabViewItems(), 2);
    EXPECT_EQ(made->identifierAt(0), u"1"_s);
    EXPECT_EQ(control(*made)->labelForSegment(1), u"View"_s);
}

TEST(CustomizableTabView, ClicksReportTheSegmentAndCodeSelectionDoesNot)
{
    auto view = threeItems(400);
    QSignalSpy changed(view.get(), &CustomizableTabView::selectedTabChanged);

    control(*view)->findChild<QToolButton*>(u"segment2"_s)->click();
    EXPECT_EQ(view->indexOfSelectedTabViewItem(), 2);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 2);

    view->selectTabViewItemAtIndex(1);
    EXPECT_EQ(control(*view)->selectedSegment(), 1);
    view->selectTabViewItemWithIdentifier(u"a"_s);
    EXPECT_EQ(control(*view)->selectedSegment(), 0);
    EXPECT_EQ(view->indexOfSelectedTabViewItem(), 0);
    EXPECT_EQ(changed.count(), 1);
}

TEST(CustomizableTabView, AddingAndRemovingRebuildsAndKeepsTheSelection)
{
    auto view = threeItems(600);
    view->setBezelColor(Qt::red);
    view->selectTabViewItemAtIndex(1);
    SegmentedControl* before = control(*view);

    view->addTabViewItem(u"d"_s, u"Liabilities"_s);
    EXPECT_NE(control(*view), before);
    EXPECT_EQ(control(*view)->segmentCount(), 4);
    EXPECT_EQ(control(*view)->labelForSegment(3), u"Liabilities"_s);
    EXPECT_EQ(control(*view)->selectedSegment(), 1);
    EXPECT_EQ(view->bezelColor(), QColor(Qt::red));

    // Removing an item before the selected one keeps the same item selected.
    QWidget* selected = view->viewAt(1);
    view->removeTabViewItem(0);
    EXPECT_EQ(view->viewAt(view->indexOfSelectedTabViewItem()), selected);
    EXPECT_EQ(control(*view)->selectedSegment(), 0);
    view->removeTabViewItem(0);
    view->removeTabViewItem(0);
    view->removeTabViewItem(0);
    EXPECT_EQ(view->indexOfSelectedTabViewItem(), -1);
    EXPECT_EQ(control(*view)->segmentCount(), 0);
}

TEST(CustomizableTabView, LabelsThatDoNotFitAreDrawnElided)
{
    const QString longLabel = u"Statements and balances"_s;
    auto view = std::make_unique<CustomizableTabView>();
    view->resize(600, 300);
    view->addTabViewItem(u"a"_s, longLabel);
    view->addTabViewItem(u"b"_s, u"Assets"_s);
    view->grab();
    EXPECT_EQ(control(*view)->shownLabelForSegment(0), longLabel);
    EXPECT_EQ(control(*view)->shownLabelForSegment(1), u"Assets"_s);
    EXPECT_TRUE(control(*view)->shownLabelForSegment(2).isNull());

    view->resize(140, 300);
    view->grab();
    auto* segment = control(*view)->findChild<QToolButton*>(u"segment0"_s);
    ASSERT_NE(segment, nullptr);
    const QString shown = control(*view)->shownLabelForSegment(0);
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_GT(shown.size(), 2);
    EXPECT_TRUE(longLabel.startsWith(shown.chopped(1)));
    EXPECT_LT(segment->fontMetrics().horizontalAdvance(shown), segment->width());
    EXPECT_EQ(control(*view)->labelForSegment(0), longLabel);

    // The segment paints exactly what a button labelled with the elided text paints.
    QToolButton reference;
    reference.setCheckable(true);
    reference.setChecked(segment->isChecked());
    reference.setText(shown);
    reference.resize(segment->size());
    const auto pixels
        = [](QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32); };
    EXPECT_EQ(pixels(*segment), pixels(reference));
}

} // namespace
