// A shown popover follows the application's palette, shows an edge against white lists, and
// grows with content that needs more room.

#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "support/Contrast.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"
#include "uikit/popover/PKPopoverWindowFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

using mervane::test::contrast;

namespace {

// A parent window with a button and a popover whose content is a caption over a message
// that wraps; the application starts in the light palette and gets its palette back.
class PopoverAppearance : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = QApplication::palette();
        QApplication::setPalette(platform::AppearanceController::lightPalette());
        parent = std::make_unique<QWidget>();
        parent->setGeometry(100, 100, 600, 400);
        button = new QPushButton(u"Open"_s, parent.get());
        button->setGeometry(20, 20, 80, 30);
        parent->show();
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        caption = new QLabel(u"Appearance:"_s, content);
        message = new QLabel(content);
        message->setWordWrap(true);
        layout->addWidget(caption);
        layout->addWidget(message);
        controller = std::make_unique<PKPopoverController>(content);
        controller->setAnimates(false);
    }
    void TearDown() override
    {
        controller.reset();
        parent.reset();
        QApplication::setPalette(m_saved);
    }
    void show() { controller->showRelativeToRect(QRectF(button->rect()), button, platform::RectEdge::MaxY); }
    // The frame as painted, with its border's middle at `inset` from the window's edges.
    QImage paintedFrame() const
    {
        PKPopoverWindowFrame* frame = controller->popoverWindow()->frameView();
        QImage image(frame->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        frame->render(&image);
        return image;
    }

    std::unique_ptr<QWidget> parent;
    QPushButton* button = nullptr;
    QLabel* caption = nullptr;
    QLabel* message = nullptr;
    std::unique_ptr<PKPopoverController> controller;

private:
    QPalette m_saved;
};

TEST_F(PopoverAppearance, AShownEditorFollowsTheAppearanceWithoutReopening)
{
    controller->setDefaultProperties_ItemEdit();
    show();
    const QPalette light = platform::AppearanceController::lightPalette();
    const QPalette dark = platform::AppearanceController::darkPalette();
    EXPECT_EQ(controller->color(), light.color(QPalette::Base));
    EXPECT_GE(contrast(caption->palette().color(QPalette::WindowText), controller->color()), 4.5);

    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());
    EXPECT_EQ(controller->color(), dark.color(QPalette::Base));
    EXPECT_EQ(controller->borderColor(), dark.color(QPalette::Light));
    EXPECT_GE(contrast(caption->palette().color(QPalette::WindowText), controller->color()), 4.5);
    // What is on the screen: the panel's middle is the dark fill.
    const QImage darkFrame = paintedFrame();
    EXPECT_EQ(darkFrame.pixelColor(darkFrame.rect().center()).rgb(), dark.color(QPalette::Base).rgb());

    QApplication::setPalette(light);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->color(), light.color(QPalette::Base));
    EXPECT_GE(contrast(caption->palette().color(QPalette::WindowText), controller->color()), 4.5);
    const QImage lightFrame = paintedFrame();
    EXPECT_EQ(lightFrame.pixelColor(lightFrame.rect().center()).rgb(), light.color(QPalette::Base).rgb());
}

TEST_F(PopoverAppearance, TheEditorsEdgeShowsAgainstAWhiteListInBothAppearances)
{
    controller->setDefaultProperties_ItemEdit();
    show();
    for (const QPalette& palette :
        { platform::AppearanceController::lightPalette(), platform::AppearanceController::darkPalette() }) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        const QColor fill = palette.color(QPalette::Base);
        const QColor edge = controller->borderColor();
        EXPECT_GE(contrast(edge, fill), 1.5) << edge.name().toStdString();
        EXPECT_GE(contrast(edge, Qt::white), 1.5) << edge.name().toStdString();
        // Painted: the first opaque pixels up from the arrow-free bottom edge are the edge's.
        const QImage painted = paintedFrame();
        int y = painted.height() - 1;
        while (y > 0 && painted.pixelColor(painted.width() / 2, y).alpha() < 255)
            --y;
        const QColor seen = painted.pixelColor(painted.width() / 2, y - 1);
        EXPECT_EQ(seen.rgb(), edge.rgb()) << seen.name().toStdString();
    }
}

TEST_F(PopoverAppearance, AWarningKeepsItsHighlightedEdgeAndFixedColoursStayFixed)
{
    controller->setDefaultProperties_ItemWarning();
    show();
    QApplication::setPalette(platform::AppearanceController::darkPalette());
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->borderColor(), platform::namedColor(u"Accent"_s, true));
    EXPECT_EQ(controller->color(), platform::AppearanceController::darkPalette().color(QPalette::Base));

    // A colour an owner sets is its own choice and does not change with the palette.
    controller->setColor(QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(platform::AppearanceController::lightPalette());
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->color(), QColor(0x12, 0x34, 0x56));
}

TEST_F(PopoverAppearance, APopoverWithoutAPresetFollowsTooAndItsTextReads)
{
    // An alert shown in a popover keeps the panel's own look: its text must read on it.
    show();
    for (const QPalette& palette :
        { platform::AppearanceController::darkPalette(), platform::AppearanceController::lightPalette() }) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        const QColor fill = controller->color();
        EXPECT_EQ(platform::isDarkPalette(palette), fill.lightness() < 128) << fill.name().toStdString();
        // The panel's fill is slightly translucent: seen over the window behind it.
        QColor seen = fill;
        seen.setAlpha(255);
        EXPECT_GE(contrast(caption->palette().color(QPalette::WindowText), seen), 4.5);
    }
}

TEST_F(PopoverAppearance, ObserversOfAnAppearanceChangeReadTheNewPaletteFromWidgets)
{
    // Editors recolour their lists from a widget's palette when told of the change.
    controller->setDefaultProperties_ItemEdit();
    show();
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(platform::Appearance::Light);
    QList<QColor> seen;
    const auto connection = QObject::connect(&appearance, &platform::AppearanceController::appearanceChanged,
        caption, [this, &seen](bool) { seen << caption->palette().color(QPalette::Window); });
    appearance.setAppearance(platform::Appearance::Dark);
    appearance.setAppearance(platform::Appearance::Light);
    QObject::disconnect(connection);
    appearance.setAppearance(platform::Appearance::System);
    EXPECT_EQ(seen,
        (QList<QColor> { platform::AppearanceController::darkPalette().color(QPalette::Window),
            platform::AppearanceController::lightPalette().color(QPalette::Window) }));
}

TEST_F(PopoverAppearance, AShownPopoverGrowsWhileItsMessageWrapsAndReturnsToItsSize)
{
    controller->setDefaultProperties_ItemEdit();
    show();
    const QSize first = controller->popoverWindow()->size();
    const QSizeF firstContent = controller->contentSize();

    message->setText(u"Password information could not be saved.\nThe keychain refused to store the password "
                     u"because the collection is locked and no prompt could be shown to unlock it."_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->popoverWindow()->width(), first.width());
    EXPECT_GT(controller->popoverWindow()->height(), first.height());
    // Every line shows: the label has the height its text needs at its width.
    EXPECT_GE(message->height(), message->heightForWidth(message->width()));
    EXPECT_GE(message->height(), 3 * message->fontMetrics().lineSpacing());
    EXPECT_GE(message->geometry().bottom(), caption->geometry().bottom());
    EXPECT_LE(message->geometry().bottom(), controller->contentView()->height());

    message->clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->contentSize(), firstContent);
    EXPECT_EQ(controller->popoverWindow()->size(), first);
}

TEST_F(PopoverAppearance, ContentGivenASizeKeepsIt)
{
    auto* sized = new QWidget;
    auto* layout = new QVBoxLayout(sized);
    auto* text = new QLabel(sized);
    text->setWordWrap(true);
    layout->addWidget(text);
    sized->resize(300, 60);
    controller->setContentViewController(sized);
    show();
    text->setText(u"One\nTwo\nThree\nFour\nFive\nSix"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->contentSize(), QSizeF(300, 60));

    // So does content whose owner set the popover's size.
    controller->setContentSize(QSizeF(320, 80));
    text->setText(u"One\nTwo\nThree\nFour\nFive\nSix\nSeven\nEight"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->contentSize(), QSizeF(320, 80));
}

} // namespace
