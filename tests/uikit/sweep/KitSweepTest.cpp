#include "KitSweep.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

// Far below what a view 100000 points wide would take: painting renders only this region.
constexpr QSize kCanvas(160, 120);

// Renders the top-left part of `view` the way a window would paint it.
QImage paint(QWidget* view)
{
    QImage image(kCanvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (view)
        view->render(&image, QPoint(), QRegion(QRect(QPoint(), kCanvas)));
    return image;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class KitSweep : public ::testing::TestWithParam<SweepEntry> {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(320, 200);
        host->show();
        windowsBefore = QApplication::topLevelWidgets().size();
    }
    void TearDown() override
    {
        host.reset();
        settle();
    }

    std::unique_ptr<QWidget> host;
    qsizetype windowsBefore = 0;
};

TEST_P(KitSweep, TakesEveryEdgeValuePaintsAtEverySizeAndDiesMidAnimation)
{
    std::unique_ptr<SweepSubject> subject = GetParam().make(host.get());
    ASSERT_NE(subject->view(), nullptr);

    for (const double value : edgeNumbers()) {
        SCOPED_TRACE(value);
        subject->number(value);
        ASSERT_FALSE(paint(subject->view()).isNull());
        // Geometry stays drawable: whatever came in, the view's own size is one a window can take.
        EXPECT_LE(subject->view()->width(), QWIDGETSIZE_MAX);
        EXPECT_GE(subject->view()->width(), 0);
    }
    for (const QString& text : edgeTexts()) {
        subject->text(text);
        ASSERT_FALSE(paint(subject->view()).isNull());
    }
    for (const QSize& size : edgeSizes()) {
        SCOPED_TRACE(size.width());
        subject->view()->resize(size);
        EXPECT_EQ(subject->view()->size(),
            size.expandedTo(subject->view()->minimumSize()).boundedTo(subject->view()->maximumSize()));
        ASSERT_FALSE(paint(subject->view()).isNull());
    }

    subject->view()->resize(320, 200);
    subject->animate();
    // A few frames of every animation, then the object goes while they still run.
    QTest::qWait(40);
    ASSERT_FALSE(paint(subject->view()).isNull());
    subject.reset();
    QTest::qWait(40);
    settle();
    // Nothing the subject made outlives it: no window, no animation still holding it.
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

INSTANTIATE_TEST_SUITE_P(Kit, KitSweep, ::testing::ValuesIn(sweepEntries()),
    [](const ::testing::TestParamInfo<SweepEntry>& info) { return info.param.name; });

} // namespace
