#include "platform/NotificationCenter.h"
#include "uikit/window/TBStandardButtons.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowButtonGroup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
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

// The mouse moves to `pos` in `parent` without a button held.
void hover(QWidget* parent, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), parent->mapToGlobal(QPointF(pos)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(parent, &move);
}

void hover(TBWindowButton* button)
{
    hover(button->parentWidget(), button->geometry().center());
}

// The mouse leaves `parent` altogether.
void leave(QWidget* parent)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(parent, &event);
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
    window.resize(200, 40);
    Images images;
    TBWindowButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
        buttons[i]->move(7 + i * 20, 12);
        images.apply(buttons[i]);
        buttons[i]->updateImage();
    }
    TBWindowButtonGroup* group = buttons[0]->group();
    NotificationCounter posted(group);
    hover(buttons[1]);
    for (TBWindowButton* button : buttons)
        EXPECT_EQ(button->image(), images.rollover);
    EXPECT_EQ(posted.count, 1);

    // The tracking areas reach 4 points past each button, so crossing the 6-point gap
    // between neighbours never lets the rollover go.
    for (int x = 27; x <= 61; ++x) {
        hover(&window, QPoint(x, 20));
        EXPECT_TRUE(group->shouldDisplayRollOver()) << "at x " << x;
    }
    hover(&window, QPoint(24, 20)); // inside both the close and the minimise areas
    EXPECT_EQ(group->numberOfCaptures(), 2);
    hover(&window, QPoint(24, 2)); // above them, outside every area
    EXPECT_EQ(group->numberOfCaptures(), 0);
    for (TBWindowButton* button : buttons)
        EXPECT_EQ(button->image(), images.notKey); // the window is not key

    // Leaving the parent altogether ends the rollover too.
    hover(buttons[2]);
    EXPECT_EQ(group->numberOfCaptures(), 1);
    leave(&window);
    EXPECT_EQ(group->numberOfCaptures(), 0);
    EXPECT_EQ(buttons[2]->image(), images.notKey);
}

TEST(TBWindowButton, HidingAHoveredButtonLetsGoOfTheGroup)
{
    QWidget window;
    window.resize(200, 40);
    auto* button = TBWindowButton::windowButtonWithSize(14, 16, uniqueGroup(), &window);
    button->move(10, 10);
    window.show();
    hover(button);
    EXPECT_EQ(button->group()->numberOfCaptures(), 1);
    button->hide();
    EXPECT_EQ(button->group()->numberOfCaptures(), 0);
    hover(&window, QPoint(12, 12)); // a hidden button tracks nothing
    EXPECT_EQ(button->group()->numberOfCaptures(), 0);
}

TEST(TBWindowButton, DisabledButtonNeverShowsRollover)
{
    const QString id = uniqueGroup();
    QWidget window;
    window.resize(200, 40);
    Images images;
    auto* enabled = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
    auto* disabled = TBWindowButton::windowButtonWithSize(14, 16, id, &window);
    enabled->move(10, 10);
    disabled->move(100, 10);
    images.apply(enabled);
    images.apply(disabled);
    // Disabled in a window that is not key: the inactive image, through the active rule.
    disabled->setEnabled(false);
    EXPECT_EQ(disabled->image(), images.inactive);
    hover(enabled);
    EXPECT_EQ(enabled->image(), images.rollover);
    EXPECT_EQ(disabled->image(), images.notKey);
    leave(&window);
}

TEST(TBWindowButton, PlainButtonsOnlyFollowTheirOwnMouseEvents)
{
    QWidget window;
    window.resize(200, 40);
    Images images;
    auto* plain = new TBWindowButton(&window);
    auto* other = new TBWindowButton(&window);
    plain->setGeometry(10, 10, 23, 23);
    other->setGeometry(100, 10, 23, 23);
    images.apply(plain);
    images.apply(other);
    plain->setImage(images.active);
    other->setImage(images.active);
    TBWindowButtonGroup* defaultGroup = TBWindowButtonGroup::groupWithIdentifier({});
    defaultGroup->resetMouseCaptures();

    hover(plain);
    EXPECT_EQ(plain->image(), images.rollover);
    EXPECT_EQ(other->image(), images.active); // does not listen to the default group
    EXPECT_EQ(defaultGroup->numberOfCaptures(), 1);
    leave(&window);
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

    button->setButtonType(TBWindowButton::ButtonType::Toggle);
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
        const QImage active
            = TBStandardButtons::image(TBStandardButtons::Kind(kind), TBStandardButtons::Look::Active);
        ASSERT_FALSE(active.isNull());
        EXPECT_NE(active,
            TBStandardButtons::image(TBStandardButtons::Kind(kind), TBStandardButtons::Look::Rollover));
        EXPECT_NE(active,
            TBStandardButtons::image(TBStandardButtons::Kind(kind), TBStandardButtons::Look::ActiveNotKey));
        EXPECT_NE(active,
            TBStandardButtons::image(TBStandardButtons::Kind(kind), TBStandardButtons::Look::Pressed));
    }
    EXPECT_TRUE(
        TBStandardButtons::image(TBStandardButtons::Kind(5), TBStandardButtons::Look::Active).isNull());
}
