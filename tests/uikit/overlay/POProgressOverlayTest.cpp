#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/overlay/POBarProgressView.h"
#include "uikit/overlay/PORoundProgressView.h"
#include "uikit/overlay/SISpinningProgressIndicator.h"

#include "platform/Clock.h"

#include "support/Eventually.h"
#include "support/TempHomeTest.h"

#include <QAbstractAnimation>
#include <QCoreApplication>
#include <QFile>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <memory>
#include <stdexcept>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Delegate : POProgressOverlayDelegate {
    int hidden = 0;
    int tapped = 0;
    int hiddenAfterDelay = 0;
    void hudWasHidden(POProgressOverlay*) override { ++hidden; }
    void hudWasHiddenAfterDelay(POProgressOverlay*) override { ++hiddenAfterDelay; }
    void hudWasTapped(POProgressOverlay*) override { ++tapped; }
};

class ProgressOverlayTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        view = std::make_unique<QWidget>();
        view->resize(400, 300);
        view->show();
    }
    std::unique_ptr<QWidget> view;
    Delegate delegate;
};

TEST_F(ProgressOverlayTest, CompletionRunsOnceOnTheMainThreadAfterTheWorkWroteItsFile)
{
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setLabelText(u"Saving ..."_s);
    overlay->setDelegate(&delegate);
    const QString path = homePath(u"saved.json"_s);
    int calls = 0;
    bool sawFile = false, onMain = false;
    platform::MaybeError received = u"unset"_s;
    overlay->showAnimated(
        true,
        [path]() -> platform::MaybeError {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write("{}") != 2)
                return u"could not write"_s;
            return std::nullopt;
        },
        [&](const platform::MaybeError& error) {
            ++calls;
            received = error;
            sawFile = QFile::exists(path);
            onMain = QThread::currentThread() == QCoreApplication::instance()->thread();
        });
    EXPECT_TRUE(overlay->taskInProgress());
    EXPECT_EQ(overlay->size(), view->size());
    EXPECT_EQ(overlay->labelText(), u"Saving ..."_s);
    EXPECT_EVENTUALLY_EQ(calls, 1);
    EXPECT_EQ(received, std::nullopt);
    EXPECT_TRUE(sawFile);
    EXPECT_TRUE(onMain);
    EXPECT_TRUE(overlay->isFinished());
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_EQ(delegate.hidden, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
}

TEST_F(ProgressOverlayTest, ASecondWorkOnAFinishedOverlayStillCompletes)
{
    auto* overlay = new POProgressOverlay(view.get());
    int first = 0, second = 0;
    overlay->showAnimated(
        false, [] { return platform::MaybeError(); }, [&](const platform::MaybeError&) { ++first; });
    EXPECT_EVENTUALLY_EQ(first, 1);
    overlay->showAnimated(
        false, [] { return platform::MaybeError(u"again"_s); },
        [&](const platform::MaybeError& e) {
            ++second;
            EXPECT_EQ(e, u"again"_s);
        });
    EXPECT_EVENTUALLY_EQ(second, 1);
    EXPECT_EQ(first, 1);
}

TEST_F(ProgressOverlayTest, ErrorsAndExceptionsReachTheCompletionAsText)
{
    platform::MaybeError first, second;
    int calls = 0;
    auto* failing = new POProgressOverlay(view.get());
    failing->showAnimated(
        false, [] { return platform::MaybeError(u"disk full"_s); },
        [&](const platform::MaybeError& e) { first = e, ++calls; });
    auto* throwing = new POProgressOverlay(view.get());
    throwing->showAnimated(
        false, []() -> platform::MaybeError { throw std::runtime_error("broken pipe"); },
        [&](const platform::MaybeError& e) { second = e, ++calls; });
    EXPECT_EVENTUALLY_EQ(calls, 2);
    EXPECT_EQ(first, u"disk full"_s);
    EXPECT_EQ(second, u"broken pipe"_s);
}

TEST_F(ProgressOverlayTest, CompletionStillRunsWhenTheOverlayIsGoneBeforeTheWorkEnds)
{
    QSemaphore release;
    int calls = 0;
    auto* overlay = new POProgressOverlay(view.get());
    overlay->showAnimated(
        false,
        [&release]() -> platform::MaybeError {
            release.acquire();
            return u"late"_s;
        },
        [&](const platform::MaybeError& e) {
            ++calls;
            EXPECT_EQ(e, u"late"_s);
        });
    delete overlay;
    release.release();
    EXPECT_EVENTUALLY_EQ(calls, 1);
}

TEST_F(ProgressOverlayTest, GraceTimeHidesShortWorkEntirely)
{
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setGraceTime(60);
    bool completed = false;
    overlay->showAnimated(
        true, [] { return platform::MaybeError(); }, [&](const platform::MaybeError&) { completed = true; });
    EXPECT_TRUE(overlay->graceTimer().isActive());
    EXPECT_FALSE(overlay->isShowing());
    EXPECT_EVENTUALLY(completed);
    EXPECT_FALSE(overlay->graceTimer().isActive());
    EXPECT_TRUE(overlay->isFinished());
    EXPECT_FALSE(overlay->isVisible());
}

TEST_F(ProgressOverlayTest, GraceTimeShowsLongWork)
{
    QSemaphore release;
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setGraceTime(0.01);
    bool completed = false;
    overlay->showAnimated(
        false,
        [&release] {
            release.acquire();
            return platform::MaybeError();
        },
        [&](const platform::MaybeError&) { completed = true; });
    EXPECT_EVENTUALLY(overlay->isShowing());
    EXPECT_TRUE(overlay->isVisible());
    release.release();
    EXPECT_EVENTUALLY(completed);
}

TEST_F(ProgressOverlayTest, MinimumShowTimeDelaysTheHideByTheRemainder)
{
    const QDateTime start(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
    platform::ScopedClock clock(start);
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setMinShowTime(0.2);
    overlay->setDelegate(&delegate);
    overlay->show(false);
    EXPECT_TRUE(overlay->isShowing());
    EXPECT_EQ(overlay->alpha(), 1.0);
    overlay->hide(false);
    EXPECT_TRUE(overlay->minShowTimer().isActive());
    EXPECT_LE(overlay->minShowTimer().interval(), 200);
    EXPECT_FALSE(overlay->isFinished());
    EXPECT_EVENTUALLY(overlay->isFinished());
    EXPECT_EQ(delegate.hidden, 1);

    auto* later = new POProgressOverlay(view.get());
    later->setMinShowTime(0.2);
    later->show(false);
    platform::Clock::setOverride(start.addSecs(10)); // shown long enough already
    later->hide(false);
    EXPECT_TRUE(later->isFinished());
}

TEST_F(ProgressOverlayTest, DelayedHideTellsTheDelegateAndAnImmediateHideCancelsIt)
{
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setDelegate(&delegate);
    overlay->show(false);
    overlay->hide(false, 0.01);
    EXPECT_FALSE(overlay->isFinished());
    EXPECT_EVENTUALLY(overlay->isFinished());
    EXPECT_EQ(delegate.hiddenAfterDelay, 1);
    EXPECT_EQ(delegate.hidden, 1);

    auto* other = new POProgressOverlay(view.get());
    other->setDelegate(&delegate);
    other->show(false);
    other->hide(false, 60);
    other->hide(false);
    EXPECT_TRUE(other->isFinished());
    QCoreApplication::processEvents();
    EXPECT_EQ(delegate.hiddenAfterDelay, 1);
}

TEST_F(ProgressOverlayTest, FadesInAndOutAndAHideDuringTheFadeInWins)
{
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setDelegate(&delegate);
    overlay->setAnimationType(POProgressOverlay::AnimationType::ZoomOut);
    overlay->show(true);
    EXPECT_LT(overlay->alpha(), 1.0);
    EXPECT_EVENTUALLY_EQ(overlay->alpha(), 1.0);
    overlay->hide(true);
    EXPECT_FALSE(overlay->isFinished());
    EXPECT_EVENTUALLY(overlay->isFinished());
    EXPECT_EQ(overlay->alpha(), 0.0);

    auto* quick = new POProgressOverlay(view.get());
    quick->show(true);
    quick->hide(false); // while still fading in
    EXPECT_TRUE(quick->isFinished());
    EXPECT_EQ(quick->alpha(), 0.0);
    // No fade-in is left running to raise the alpha again.
    for (const QAbstractAnimation* animation : quick->findChildren<QAbstractAnimation*>())
        EXPECT_NE(animation->state(), QAbstractAnimation::Running);
}

TEST_F(ProgressOverlayTest, LayoutCentresTheBoxAndLabels)
{
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setMode(POProgressOverlay::Mode::Text);
    overlay->setLabelText(u"Saving ..."_s);
    overlay->show(false);
    const QRectF box = overlay->boxRect();
    EXPECT_NEAR(box.center().x(), 200, 1);
    EXPECT_NEAR(box.center().y(), 150, 1);
    overlay->setYOffset(30); // positive moves the box down
    EXPECT_NEAR(overlay->boxRect().center().y(), 180, 1);
    view->resize(600, 500); // keeps covering its view
    EXPECT_EQ(overlay->size(), QSize(600, 500));
    EXPECT_NEAR(overlay->boxRect().center().x(), 300, 1);
}

TEST_F(ProgressOverlayTest, ModesChooseTheIndicatorAndProgressIsClamped)
{
    auto* overlay = new POProgressOverlay(view.get());
    overlay->show(false);
    auto* spinner = overlay->findChild<SISpinningProgressIndicator*>(u"indicator"_s);
    ASSERT_NE(spinner, nullptr);
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(spinner->color(), QColor(Qt::white));
    EXPECT_EQ(spinner->size(), QSize(60, 60));

    overlay->setMode(POProgressOverlay::Mode::AnnularDeterminate);
    auto* round = overlay->findChild<PORoundProgressView*>(u"indicator"_s);
    ASSERT_NE(round, nullptr);
    EXPECT_TRUE(round->isAnnular());
    overlay->setProgress(1.7);
    EXPECT_EQ(round->progress(), 1.0);

    overlay->setMode(POProgressOverlay::Mode::DeterminateHorizontalBar);
    auto* bar = overlay->findChild<POBarProgressView*>(u"indicator"_s);
    ASSERT_NE(bar, nullptr);
    QSemaphore done;
    std::thread worker([&] {
        overlay->setProgress(0.5); // from a worker: reaches the view on the main thread
        done.release();
    });
    worker.join();
    EXPECT_EVENTUALLY_EQ(bar->progress(), 0.5);

    overlay->setMode(POProgressOverlay::Mode::Text);
    EXPECT_EQ(overlay->findChild<QWidget*>(u"indicator"_s), nullptr);

    // The design's numbers for the modes and animations.
    EXPECT_EQ(static_cast<int>(POProgressOverlay::Mode::Indeterminate), 0);
    EXPECT_EQ(static_cast<int>(POProgressOverlay::Mode::AnnularDeterminate), 3);
    EXPECT_EQ(static_cast<int>(POProgressOverlay::Mode::Text), 5);
    EXPECT_EQ(static_cast<int>(POProgressOverlay::AnimationType::ZoomOut), 1);
    EXPECT_EQ(static_cast<int>(POProgressOverlay::AnimationType::ZoomIn), 2);
}

TEST_F(ProgressOverlayTest, ClassOperationsFindAndHideTheOverlaysOfAView)
{
    EXPECT_FALSE(POProgressOverlay::hideHUDForView(view.get(), false));
    EXPECT_EQ(POProgressOverlay::hideAllHUDsForView(view.get(), false), 0);
    auto* first = POProgressOverlay::showHUDAddedTo(view.get(), false);
    auto* second = POProgressOverlay::showHUDAddedTo(view.get(), false);
    EXPECT_EQ(POProgressOverlay::HUDForView(view.get()), second);
    EXPECT_EQ(POProgressOverlay::allHUDsForView(view.get()), QList<POProgressOverlay*>({ first, second }));
    EXPECT_EQ(POProgressOverlay::hideAllHUDsForView(view.get(), false), 2);
    EXPECT_EVENTUALLY(POProgressOverlay::allHUDsForView(view.get()).isEmpty());
}

TEST_F(ProgressOverlayTest, DismissibleClickHidesButTheCompletionWaitsForTheWork)
{
    QSemaphore release;
    int calls = 0;
    platform::MaybeError received;
    auto* overlay = new POProgressOverlay(view.get());
    overlay->setDismissible(true);
    overlay->setDelegate(&delegate);
    overlay->showAnimated(
        false,
        [&release] {
            release.acquire();
            return platform::MaybeError(u"failed"_s);
        },
        [&](const platform::MaybeError& e) { received = e, ++calls; });
    QTest::mouseClick(overlay, Qt::LeftButton);
    EXPECT_TRUE(overlay->isFinished());
    EXPECT_EQ(delegate.tapped, 1);
    EXPECT_EQ(calls, 0);
    release.release();
    EXPECT_EVENTUALLY_EQ(calls, 1);
    EXPECT_EQ(received, u"failed"_s);
    EXPECT_EQ(delegate.hidden, 1);
}

} // namespace
