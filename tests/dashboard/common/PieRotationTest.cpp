#include "dashboard/common/BigPieChartView.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/NWColoredRotationView.h"
#include "dashboard/common/NWColoredRotationViews.h"
#include "dashboard/common/PieDragRotation.h"
#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QTest>

#include <numbers>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double pi = std::numbers::pi;

// Counts the posts of each pie notification, with their objects.
class Recorder : public QObject {
public:
    Recorder()
    {
        for (const QString& name :
            { notifications::pieRotation, notifications::pieRotationNW, notifications::pieRotationA,
                notifications::pieRotationL, notifications::bigPieChartViewResized })
            platform::NotificationCenter::defaultCenter().addObserver(
                this, name, [this](const platform::Notification& note) {
                    posts.append({ note.name, note.object });
                });
    }
    int count(const QString& name) const
    {
        return int(
            std::count_if(posts.begin(), posts.end(), [&](const auto& post) { return post.first == name; }));
    }
    QList<QPair<QString, QVariant>> posts;
};

bool rotate(QWidget* target, double degrees)
{
    QNativeGestureEvent event(Qt::RotateNativeGesture, QPointingDevice::primaryPointingDevice(), 2,
        QPointF(5, 5), QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), degrees, QPointF());
    QApplication::sendEvent(target, &event);
    return event.isAccepted();
}

} // namespace

TEST(PieDragRotationTest, DragTurnsByTheSweptAngle)
{
    const QPointF centre = PieDragRotation::pieCentre(QSizeF(400, 300), QPointF(0.5, 0.5));
    EXPECT_EQ(centre, QPointF(200, 150));
    PieDragRotation drag;
    // From right of the centre to straight above it: a quarter turn counter-clockwise.
    EXPECT_EQ(drag.handle(u"mouseDown"_s, QPointF(300, 150), centre), 0.0);
    EXPECT_NEAR(drag.handle(u"mouseDragged"_s, QPointF(200, 250), centre), pi / 2, 1e-12);
    EXPECT_NEAR(drag.lastAngle(), pi / 2, 1e-12);
    EXPECT_NEAR(drag.handle(u"mouseDragged"_s, QPointF(300, 150), centre), -pi / 2, 1e-12);
    drag.handle(u"mouseMoved"_s, QPointF(7, 8), centre);
    EXPECT_EQ(drag.lastMousePosition(), QPointF(7, 8));
    EXPECT_NEAR(drag.lastAngle(), 0.0, 1e-12);
    // Crossing the far side (just above to just below the negative x axis) is a small step.
    drag.mouseDown(QPointF(100, 151), centre);
    EXPECT_NEAR(drag.mouseDragged(QPointF(100, 149), centre), 2 * std::atan(0.01), 1e-9);
    EXPECT_NEAR(PieDragRotation::radiansFromDegrees(90), pi / 2, 1e-12);
}

TEST(PieRotationViewsTest, EachViewPostsItsOwnName)
{
    Recorder recorder;
    NWColoredRotationView dashboard;
    NWColoredRotationView_NW netWorth;
    NWColoredRotationView_A assets;
    NWColoredRotationView_L liabilities;

    EXPECT_TRUE(rotate(&assets, 90));
    ASSERT_EQ(recorder.posts.size(), 1);
    EXPECT_EQ(recorder.posts[0].first, notifications::pieRotationA);
    EXPECT_EQ(recorder.posts[0].second.toDouble(), 90.0);
    rotate(&liabilities, -12.5);
    rotate(&netWorth, 3);
    rotate(&dashboard, 45);
    EXPECT_EQ(recorder.count(notifications::pieRotationL), 1);
    EXPECT_EQ(recorder.count(notifications::pieRotationNW), 1);
    EXPECT_EQ(recorder.count(notifications::pieRotation), 1);
    EXPECT_EQ(recorder.posts[1].second.toDouble(), -12.5);

    // A gesture over a child that does not take it reaches the rotation view behind it.
    auto* child = new QWidget(&assets);
    child->resize(50, 50);
    rotate(child, 10);
    EXPECT_EQ(recorder.count(notifications::pieRotationA), 2);

    // Other native gestures are not rotations.
    QNativeGestureEvent zoom(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, QPointF(),
        QPointF(), QPointF(), 0.5, QPointF());
    QApplication::sendEvent(&assets, &zoom);
    EXPECT_EQ(recorder.posts.size(), 5);
}

TEST(PieRotationViewsTest, BigPieViewReportsFirstDrawingAndResizes)
{
    Recorder recorder;
    QWidget window;
    window.resize(700, 500);
    BigPieChartView view(&window);
    view.resize(600, 400);
    EXPECT_EQ(recorder.count(notifications::bigPieChartViewResized), 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    view.repaint();
    EXPECT_EQ(recorder.count(notifications::bigPieChartViewResized), 1);
    EXPECT_FALSE(view.initialDraw());
    view.repaint();
    EXPECT_EQ(recorder.count(notifications::bigPieChartViewResized), 1);

    // A drag of the window edge: one post per resize, and one more once the resizes stop.
    view.resize(610, 400);
    view.resize(620, 410);
    EXPECT_EQ(recorder.count(notifications::bigPieChartViewResized), 3);
    EXPECT_TRUE(view.inLiveResize());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view.inLiveResize(); }, 5000));
    EXPECT_EQ(recorder.count(notifications::bigPieChartViewResized), 4);

    // A rotate gesture over the page itself is the dashboard's notification.
    rotate(&view, 30);
    EXPECT_EQ(recorder.count(notifications::pieRotation), 1);
    EXPECT_EQ(recorder.count(notifications::pieRotationA), 0);
}
