#include "charts/common/RedavidGraphHost.h"
#include "charts/common/ChartNotifications.h"
#include "charts/kit/Graph.h"
#include "platform/NotificationCenter.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

class RedavidGraphHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PKPopoverController::setApplicationActiveOverride(true);
        host = std::make_unique<RedavidGraphHost>();
        host->setGeometry(100, 100, 400, 300);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        platform::NotificationCenter::defaultCenter().addObserver(&receiver, notifications::redavidMouseHit,
            [this](const platform::Notification& n) { posted << n; });
    }
    void TearDown() override
    {
        host.reset();
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
    }

    void hostAGraph()
    {
        host->setHostedGraph(new chart::Graph);
        QCoreApplication::processEvents();
        ASSERT_FALSE(host->plotAreaFrameRectInView().isEmpty());
    }

    void send(QEvent::Type type, const QPointF& point, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, point, host->viewport()->mapToGlobal(point), button, held, Qt::NoModifier);
        QApplication::sendEvent(host->viewport(), &event);
    }
    void move(const QPointF& point, Qt::MouseButtons held = Qt::NoButton)
    {
        send(QEvent::MouseMove, point, Qt::NoButton, held);
    }

    // The plot-area point of a view point worked out from the graph's own plot area: the graph
    // fills the view, so graph and view coordinates agree; plot-area y grows upwards.
    QPointF expectedPlotPoint(const QPointF& viewPoint) const
    {
        const QRectF plotArea = host->hostedGraph()->plotAreaRect();
        return QPointF(viewPoint.x() - plotArea.left(), plotArea.bottom() - viewPoint.y());
    }

    void expectHit(
        const platform::Notification& hit, const QString& type, const QPointF& viewPoint, int button) const
    {
        EXPECT_EQ(hit.object.value<QObject*>(), host.get());
        EXPECT_EQ(hit.userInfo.value(u"type"_s).toString(), type);
        const QPointF expected = expectedPlotPoint(viewPoint);
        EXPECT_EQ(hit.userInfo.value(u"x"_s).typeId(), QMetaType::Double);
        EXPECT_NEAR(hit.userInfo.value(u"x"_s).toDouble(), expected.x(), 1e-9);
        EXPECT_NEAR(hit.userInfo.value(u"y"_s).toDouble(), expected.y(), 1e-9);
        EXPECT_EQ(hit.userInfo.value(u"button"_s).typeId(), QMetaType::Int);
        EXPECT_EQ(hit.userInfo.value(u"button"_s).toInt(), button);
    }

    QObject receiver;
    std::unique_ptr<RedavidGraphHost> host;
    QList<platform::Notification> posted;
};

TEST_F(RedavidGraphHostTest, PressDragAndReleaseAreReportedInPlotAreaCoordinates)
{
    hostAGraph();
    const QRectF plotArea = host->hostedGraph()->plotAreaRect();
    const QPointF down = plotArea.topLeft() + QPointF(30, 20);
    const QPointF dragged = plotArea.center();
    const QPointF up = plotArea.bottomRight() - QPointF(5, 8);

    send(QEvent::MouseButtonPress, down, Qt::LeftButton, Qt::LeftButton);
    move(dragged, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, up, Qt::LeftButton, Qt::NoButton);

    ASSERT_EQ(posted.size(), 3);
    expectHit(posted[0], u"mouseDown"_s, down, 0);
    expectHit(posted[1], u"mouseDragged"_s, dragged, 0);
    expectHit(posted[2], u"mouseUp"_s, up, 0);
    EXPECT_GT(posted[0].userInfo.value(u"y"_s).toDouble(), posted[2].userInfo.value(u"y"_s).toDouble());

    posted.clear();
    send(QEvent::MouseButtonPress, dragged, Qt::RightButton, Qt::RightButton);
    move(down, Qt::RightButton);
    send(QEvent::MouseButtonRelease, dragged, Qt::MiddleButton, Qt::RightButton);
    ASSERT_EQ(posted.size(), 3);
    expectHit(posted[0], u"mouseDown"_s, dragged, 1);
    expectHit(posted[1], u"mouseDragged"_s, down, 1);
    expectHit(posted[2], u"mouseUp"_s, dragged, 2);
}

TEST_F(RedavidGraphHostTest, MovesCountOnlyOverThePlotAreaFrameWhileActive)
{
    hostAGraph();
    const QRectF frame = host->plotAreaFrameRectInView();
    const QPointF inside = frame.center();
    const QPointF outside(frame.left() - 3, frame.center().y());
    ASSERT_TRUE(host->rect().contains(outside.toPoint()));

    move(outside);
    EXPECT_TRUE(posted.isEmpty());

    move(inside);
    ASSERT_EQ(posted.size(), 1);
    expectHit(posted[0], u"mouseMoved"_s, inside, 0);

    PKPopoverController::setApplicationActiveOverride(false);
    move(inside);
    EXPECT_EQ(posted.size(), 1);
}

TEST_F(RedavidGraphHostTest, HostWithoutAGraphReportsNoMoves)
{
    ASSERT_EQ(host->hostedGraph(), nullptr);
    for (const QPointF point : { QPointF(1, 1), QPointF(200, 150), QPointF(399, 299) })
        move(point);
    EXPECT_TRUE(posted.isEmpty());
}

} // namespace
