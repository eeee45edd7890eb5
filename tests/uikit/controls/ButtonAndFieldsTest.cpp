#include "platform/Appearance.h"
#include "support/Contrast.h"
#include "uikit/controls/KitStyle.h"
#include "uikit/controls/buttons/SBSubtleButton.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/controls/fields/NWTextField.h"
#include "uikit/controls/fields/NW_SecureTextField.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct RecordingDelegate : SBSubtleButtonDelegate {
    std::vector<QEvent::Type> types;
    std::vector<bool> selectedWhenCalled;
    void subtleButtonEvent(QMouseEvent* event, SBSubtleButton* button) override
    {
        types.push_back(event->type());
        selectedWhenCalled.push_back(button->isSelected());
    }
};

TEST(SBSubtleButtonTest, FaceAndRimColoursFollowThePressedState)
{
    SBSubtleButton button;
    button.resize(120, 40);
    QImage image = button.grab().toImage();
    // Rim: grey 195 at the bottom edge; face between 233 (bottom) and 246 (top).
    EXPECT_NEAR(qGray(image.pixel(60, 39)), 195, 3);
    EXPECT_NEAR(qGray(image.pixel(60, 37)), 233, 3);
    EXPECT_NEAR(qGray(image.pixel(60, 3)), 246, 3);
    EXPECT_NEAR(qGray(image.pixel(60, 0)), 210, 3); // two-point rim at the top

    RecordingDelegate delegate;
    button.setDelegate(&delegate);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(60, 20));
    image = button.grab().toImage();
    EXPECT_NEAR(qGray(image.pixel(60, 37)), 184, 3);
    EXPECT_NEAR(qGray(image.pixel(60, 3)), 228, 3);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 20));
    EXPECT_NEAR(qGray(button.grab().toImage().pixel(60, 37)), 233, 3);

    ASSERT_EQ(delegate.types.size(), 2u);
    EXPECT_EQ(delegate.types[0], QEvent::MouseButtonPress);
    EXPECT_EQ(delegate.types[1], QEvent::MouseButtonRelease);
    EXPECT_TRUE(delegate.selectedWhenCalled[0]);
    EXPECT_FALSE(delegate.selectedWhenCalled[1]);

    button.setGradientWithStartColor(Qt::red, Qt::red);
    EXPECT_EQ(button.grab().toImage().pixelColor(60, 20), QColor(Qt::red));
    button.resetGradient();
    EXPECT_EQ(button.startColor(), SBSubtleButton::defaultStartColor());
}

TEST(SBSubtleButtonTest, TitlePositionPerAlignment)
{
    using Align = SBSubtleButton::Alignment;
    EXPECT_EQ(SBSubtleButton::titleX(Align::Left, 200, 50), 15);
    EXPECT_EQ(SBSubtleButton::titleX(static_cast<Align>(9), 200, 50), 15); // unknown: as Left
    EXPECT_EQ(SBSubtleButton::titleX(Align::Right, 200, 50), 135);
    EXPECT_EQ(SBSubtleButton::titleX(Align::Center, 200, 50), 75);
    EXPECT_LT(SBSubtleButton::titleX(Align::Center, 40, 100), 0); // wider than the button: cut on both sides

    SBSubtleButton button;
    button.resize(200, 40);
    button.setTitle(u"Unlock"_s);
    button.setFontAttributesWithFont(std::nullopt, QColor(0, 0, 200), QColor(Qt::black));
    button.setTitleAlignment(SBSubtleButton::Alignment::Right);
    const QImage image = button.grab().toImage();
    int leftInk = 0, rightInk = 0;
    for (int y = 5; y < 35; ++y) {
        for (int x = 3; x < 100; ++x)
            leftInk += image.pixelColor(x, y).blue() > image.pixelColor(x, y).red() + 40;
        for (int x = 100; x < 197; ++x)
            rightInk += image.pixelColor(x, y).blue() > image.pixelColor(x, y).red() + 40;
    }
    EXPECT_EQ(leftInk, 0);
    EXPECT_GT(rightInk, 20);
}

TEST(NWTextFieldTest, OwnSurfaceAndDefaultColoursComeBack)
{
    NWTextField field;
    field.resize(120, 24);
    field.setNwBorderColor(QColor(255, 0, 0));
    field.setNwBackgroundColor(QColor(0, 0, 255));
    QImage image = field.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 12), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(60, 12), QColor(0, 0, 255));

    field.setNwBorderColor(QColor());
    field.setNwBackgroundColor(QColor());
    field.grab();
    EXPECT_EQ(field.nwBorderColor(), NWTextField::defaultBorderColor());
    EXPECT_EQ(field.nwBackgroundColor(), NWTextField::defaultBackgroundColor());
}

TEST(NWTextFieldTest, CtrlShortcutsEditTheFieldAheadOfWindowShortcutsButNotWithShift)
{
    QWidget window;
    auto* field = new NWTextField(&window);
    int windowShortcuts = 0;
    auto* stolen = new QShortcut(QKeySequence(u"Ctrl+A"_s), &window);
    QObject::connect(stolen, &QShortcut::activated, &window, [&windowShortcuts] { ++windowShortcuts; });
    window.show();
    field->setFocus();
    QApplication::setActiveWindow(&window);

    QApplication::clipboard()->setText(u"pasted"_s);
    field->setText(u"net worth"_s);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), u"net worth"_s);
    EXPECT_EQ(windowShortcuts, 0);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), u"net worth"_s);
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field->text(), u""_s);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), u"net worth"_s);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field->text(), u"net worth"_s);
    // The editor's note is user data: markup stays text.
    field->setText(u"<img src=x>"_s);
    EXPECT_EQ(field->displayText(), u"<img src=x>"_s);
}

TEST(NW_SecureTextFieldTest, NeverCopiesAndKeepsItsGreyText)
{
    NW_SecureTextField field;
    field.show();
    field.setFocus();
    field.setText(u"secret"_s);
    QApplication::clipboard()->setText(u"before"_s);
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), u"before"_s);
    EXPECT_EQ(field.text(), u"secret"_s);
    EXPECT_NE(field.displayText(), u"secret"_s);

    QPalette changed = field.palette();
    changed.setColor(QPalette::Text, Qt::red);
    field.setPalette(changed);
    QTest::keyClicks(&field, u"x"_s);
    EXPECT_NE(field.palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
}

TEST(NW_VerticallyCenteredTextFieldCellTest, CentresOnlyWhenTheTextIsLower)
{
    EXPECT_EQ(NW_VerticallyCenteredTextFieldCell::drawingRectForBounds({ 0, 0, 100, 40 }, 16),
        QRectF(0, 12, 100, 16));
    EXPECT_EQ(NW_VerticallyCenteredTextFieldCell::drawingRectForBounds({ 0, 0, 100, 10 }, 16),
        QRectF(0, 0, 100, 10));
    EXPECT_EQ(NW_VerticallyCenteredTextFieldCell::drawingRectForBounds({ 0, 0, 100, 40 }, 16, true),
        QRectF(0, 0, 100, 40));
}

} // namespace

TEST(SegmentedControlTest, TheChosenSegmentStandsOutOnADarkFace)
{
    for (const QPalette& palette :
        { platform::AppearanceController::lightPalette(), platform::AppearanceController::darkPalette() }) {
        SegmentedControl control({ u"System"_s, u"Light"_s, u"Dark"_s });
        control.setPalette(palette);
        control.setSelectedSegment(2);
        control.resize(control.sizeHint());
        const QImage image = control.grab().toImage();
        // The face near each segment's lower edge, below its label.
        const auto face = [&](QWidget* segment) {
            const QPoint at = segment->geometry().bottomLeft() + QPoint(segment->width() / 2, -3);
            return image.pixelColor(at * image.devicePixelRatio());
        };
        auto* chosen = control.findChild<QAbstractButton*>(u"segment2"_s);
        auto* other = control.findChild<QAbstractButton*>(u"segment0"_s);
        ASSERT_TRUE(chosen && other);
        EXPECT_GE(std::abs(face(chosen).lightness() - face(other).lightness()), 12)
            << "chosen " << face(chosen).name().toStdString() << " other "
            << face(other).name().toStdString();
    }
}

TEST(KitStyleTest, LineEditOutlinesStandOutInDarkAndStayFusionsInLight)
{
    KitStyle kit;
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    const auto picture = [](QStyle* style, const QPalette& palette, bool enabled) {
        QLineEdit edit;
        edit.setStyle(style);
        edit.setPalette(palette);
        edit.setEnabled(enabled);
        edit.resize(160, 24);
        return edit.grab().toImage();
    };
    const QPalette dark = platform::AppearanceController::darkPalette();
    for (const bool enabled : { true, false }) {
        SCOPED_TRACE(enabled);
        const QImage image = picture(&kit, dark, enabled);
        const QColor outline = image.pixelColor(0, image.height() / 2);
        const QColor field = image.pixelColor(image.width() / 2, image.height() / 2);
        EXPECT_EQ(field, dark.color(QPalette::Base));
        EXPECT_GE(mervane::test::contrast(outline, field), 3.0) << outline.name().toStdString();
        EXPECT_GE(mervane::test::contrast(outline, dark.color(QPalette::Window)), 3.0);
        EXPECT_EQ(image.pixelColor(image.width() / 2, 0), outline);

        const QPalette light = platform::AppearanceController::lightPalette();
        EXPECT_EQ(picture(&kit, light, enabled), picture(fusion.get(), light, enabled));
    }
}
