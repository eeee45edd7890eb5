#include "platform/NotificationCenter.h"
#include "uikit/window/TBStandardButtons.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowButtonGroup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QWidget>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNotification = QString::fromLatin1(kTBWindowButtonGroupDidUpdateRolloverStateNotification);

QImage solid(QColor color)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// A button with five distinguishable images.
struct Images {
    QImage active = solid(Qt::green);
    QImage notKey = solid(Qt::gray);
    QImage inactive = solid(Qt::darkGray);
    QImage rollover = solid(Qt::yellow);
    QImage pressed = solid(Qt::red);

    void apply(TBWindowButton* button) const
    {
        button->setActiveImage(active);
        button->setActiveNotKeyWindowImage(notKey);
        button->setInactiveImage(inactive);
        button->setRolloverImage(rollover);
        button->setPressedImage(pressed);
    }
};

void enter(QWidget* widget)
{
    QEnterEvent event(QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)), widget->mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

// Counts the group notifications posted while it lives.
struct NotificationCounter {
    QObject context;
    int count = 0;
    explicit NotificationCounter(TBWindowButtonGroup* group)
    {
        platform::NotificationCenter::defaultCenter().addObserver(
            &context, kNotification, [this](const platform::Notification&) { ++count; },
            QVariant::fromValue<QObject*>(group));
    }
};

QString uniqueGroup()
{
    static int counter = 0;
    return u"test.group.%1"_s.arg(++counter);
}

} // namespace

TEST(TBWindowButtonGroup, RegistryReturnsOneGroupPerIdentifier)
{
    const QString id = uniqueGroup();
    EXPECT_EQ(TBWindowButtonGroup::groupWithIdentifier(id), TBWindowButtonGroup::groupWithIdentifier(id));
    EXPECT_NE(TBWindowButtonGroup::groupWithIdentifier(id),
        TBWindowButtonGroup::groupWithIdentifier(uniqueGroup()));
    EXPECT_EQ(TBWindowButtonGroup::groupWithIdentifier(QString()),
        TBWindowButtonGroup::groupWithIdentifier(TBWindowButtonGroup::defaultIdentifier()));
    EXPECT_EQ(TBWindowButtonGroup::groupWithIdentifier(id)->identifier(), id);
}

TEST(TBWindowButtonGroup, CountNeverNegativeAndOnlyRealChangesPost)
{
    TBWindowButtonGroup* group = TBWindowButtonGroup::groupWithIdentifier(uniqueGroup());
    NotificationCounter posted(group);
    group->didReleaseMousePointer(); // at 0: asks for -1, ignored
    EXPECT_EQ(group->numberOfCaptures(), 0);
    EXPECT_EQ(posted.count, 0);
    group->setNumberOfCaptures(2);
    group->setNumberOfCaptures(2);
    EXPECT_EQ(posted.count, 1);
    EXPECT_TRUE(group->shouldDisplayRollOver());
    group->didReleaseMousePointer();
    group->didCaptureMousePointer();
    EXPECT_EQ(posted.count, 3);
    group->resetMouseCaptures();
    EXPECT_EQ(group->numberOfCaptures(), 0);
    EXPECT_FALSE(group->shouldDisplayRollOver());
    EXPECT_EQ(posted.count, 4);
    group->resetMouseCaptures(); // already 0: no notification
    EXPECT_EQ(posted.count, 4);
}

TEST(TBWindowButton, GroupShowsRolloverOnAllItsButtonsTogether)
{
    const QString id = uniqueGroup();
    QWidget window;
    Images images;
    TBWindowButton* buttons[3];
    for (auto& button : buttons) {
        button = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
        images.apply(button);
        button->updateImage();
    }
    NotificationCounter posted(buttons[0]->group());
    enter(buttons[1]);
    for (TBWindowButton* button : buttons)
        EXPECT_EQ(button->image(), images.rollover);
    EXPECT_EQ(posted.count, 1);

    // Moving to the neighbour keeps the rollover; leaving all of them ends it.
    enter(buttons[2]);
    leave(buttons[1]);
    EXPECT_EQ(buttons[0]->image(), images.rollover);
    leave(buttons[2]);
    for (TBWindowButton* button : buttons)
        EXPECT_EQ(button->image(), images.notKey); // the window is not key
    EXPECT_EQ(buttons[0]->group()->numberOfCaptures(), 0);
}

TEST(TBWindowButton, DisabledButtonNeverShowsRollover)
{
    const QString id = uniqueGroup();
    QWidget window;
    Images images;
    auto* enabled = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
    auto* disabled = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
    images.apply(enabled);
    images.apply(disabled);
    // Disabled in a window that is not key: the inactive image, through the active rule.
    disabled->setEnabled(false);
    EXPECT_EQ(disabled->image(), images.inactive);
    enter(enabled);
    EXPECT_EQ(enabled->image(), images.rollover);
    EXPECT_EQ(disabled->image(), images.notKey);
    leave(enabled);
}

TEST(TBWindowButton, PlainButtonsOnlyFollowTheirOwnMouseEvents)
{
    QWidget window;
    Images images;
    auto* plain = new TBWindowButton(&window);
    auto* other = new TBWindowButton(&window);
    images.apply(plain);
    images.apply(other);
    plain->setImage(images.active);
    other->setImage(images.active);
    TBWindowButtonGroup* defaultGroup = TBWindowButtonGroup::groupWithIdentifier({});
    defaultGroup->resetMouseCaptures();

    enter(plain);
    EXPECT_EQ(plain->image(), images.rollover);
    EXPECT_EQ(other->image(), images.active); // does not listen to the default group
    EXPECT_EQ(defaultGroup->numberOfCaptures(), 1);
    leave(plain);
    EXPECT_EQ(plain->image(), images.notKey);
    EXPECT_EQ(defaultGroup->numberOfCaptures(), 0);
}

TEST(TBWindowButton, FullScreenMiniaturizeAndLiveResizeResetTheGroup)
{
    const QString id = uniqueGroup();
    QWidget window;
    auto* button = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
    TBWindowButtonGroup* group = button->group();
    NotificationCounter posted(group);

    group->setNumberOfCaptures(2);
    button->windowWillEnterFullScreen();
    EXPECT_EQ(group->numberOfCaptures(), 0);
    EXPECT_TRUE(button->isHidden());
    button->windowWillExitFullScreen();
    EXPECT_FALSE(button->isHidden());
    EXPECT_EQ(posted.count, 2);

    group->setNumberOfCaptures(1);
    button->windowDidMiniaturize();
    EXPECT_EQ(group->numberOfCaptures(), 0);
    group->setNumberOfCaptures(1);
    button->viewDidEndLiveResize();
    EXPECT_EQ(group->numberOfCaptures(), 0);
}

TEST(TBWindowButton, ShowsTheActiveImageInTheKeyWindowAndFollowsFocus)
{
    QWidget window;
    Images images;
    auto* button = TBWindowButton::windowButtonWithSize(14, 16, uniqueGroup(), &window);
    images.apply(button);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.isActiveWindow());
    button->updateImage();
    EXPECT_EQ(button->image(), images.active);

    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_EQ(button->image(), images.notKey); // through the window's focus change
}

TEST(TBWindowButton, PressedImageWhileHeldAndWhileAToggleIsOn)
{
    Images images;
    auto button
        = std::unique_ptr<TBWindowButton>(TBWindowButton::windowButtonWithSize(23, 23, uniqueGroup()));
    images.apply(button.get());
    button->setImage(images.active);
    EXPECT_EQ(button->displayedImage(), images.active);
    button->setDown(true);
    EXPECT_EQ(button->displayedImage(), images.pressed);
    button->setDown(false);

    button->setButtonType(TBWindowButton::Toggle);
    button->setState(1);
    EXPECT_EQ(button->displayedImage(), images.pressed);
    button->setState(0);
    EXPECT_EQ(button->displayedImage(), images.active);
}

TEST(TBWindowButton, KeyEquivalentBecomesAShortcut)
{
    TBWindowButton button;
    button.setKeyEquivalent(u","_s);
    button.setKeyEquivalentModifierMask(Qt::ControlModifier);
    EXPECT_EQ(button.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    button.setKeyEquivalentModifierMask(Qt::ControlModifier | Qt::ShiftModifier);
    button.setKeyEquivalent(u"s"_s);
    EXPECT_EQ(button.shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

TEST(TBStandardButtons, FiveDistinctLooksPerKind)
{
    for (int kind : { 0, 1, 2, 7 }) {
        const QImage active = TBStandardButtons::image(kind, TBStandardButtons::Active);
        ASSERT_FALSE(active.isNull());
        EXPECT_NE(active, TBStandardButtons::image(kind, TBStandardButtons::Rollover));
        EXPECT_NE(active, TBStandardButtons::image(kind, TBStandardButtons::ActiveNotKey));
        EXPECT_NE(active, TBStandardButtons::image(kind, TBStandardButtons::Pressed));
    }
    EXPECT_TRUE(TBStandardButtons::image(5, TBStandardButtons::Active).isNull());
}
