// The settings as the user sees them: in their popover, through appearance changes made while
// it is open, and with a keychain message of several lines. The same cases run again at
// QT_SCALE_FACTOR=2 (app_settings_scale2).

#include "SettingsTestSupport.h"

#include "platform/Appearance.h"
#include "support/Contrast.h"
#include "support/DrawnTexts.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <QHash>
#include <QImage>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The colour most of an area of a picture has: the ground a widget's text stands on.
QColor groundOf(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb ground = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(ground, most) = std::pair(it.key(), it.value());
    return QColor(ground);
}

class SettingsPopoverTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        m_saved = QApplication::palette();
        platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
        anchorWindow = std::make_unique<QWidget>();
        anchorWindow->setGeometry(40, 40, 900, 700);
        gear = new QPushButton(u"Settings"_s, anchorWindow.get());
        gear->setGeometry(840, 5, 30, 30);
        anchorWindow->show();
    }
    void TearDown() override
    {
        popover.reset();
        anchorWindow.reset();
        platform::AppearanceController::instance().setAppearance(platform::Appearance::System);
        QApplication::setPalette(m_saved);
        SettingsTest::TearDown();
    }
    // The settings in their popover, as the title bar's button shows them.
    NWSettingsViewController* showSettings()
    {
        auto* settings = new NWSettingsViewController(world.services());
        popover = std::make_unique<PKPopoverController>(settings);
        popover->setDefaultProperties_ItemEdit();
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(gear->rect()), gear, platform::RectEdge::MaxY);
        QCoreApplication::processEvents();
        return settings;
    }
    static QLabel* labelWithText(const QWidget& parent, const QString& text)
    {
        for (QLabel* label : parent.findChildren<QLabel*>())
            if (label->text() == text)
                return label;
        ADD_FAILURE() << "no label " << text.toStdString();
        return nullptr;
    }
    // Clicks a segment of the appearance control, as the user does.
    static void chooseAppearance(const QWidget& settings, int segment)
    {
        auto* control = settings.findChild<SegmentedControl*>(u"appearanceSegment"_s);
        ASSERT_TRUE(control);
        auto* button = control->findChild<QAbstractButton*>(u"segment%1"_s.arg(segment));
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<QWidget> anchorWindow;
    QPushButton* gear = nullptr;
    std::unique_ptr<PKPopoverController> popover;

private:
    QPalette m_saved;
};

TEST_F(SettingsPopoverTest, CaptionsAndMessagesFollowAnAppearanceChosenWhileTheSettingsAreOpen)
{
    world.unavailable = u"No keychain."_s;
    NWSettingsViewController* settings = showSettings();
    auto* message = child<QLabel>(*settings, u"errorCtl"_s);
    EXPECT_TRUE(QTest::qWaitFor([message] { return message->text() == u"No keychain."_s; }));
    QLabel* caption = labelWithText(*settings, u"Appearance:"_s);
    ASSERT_TRUE(caption);
    auto* currencyCaption = child<QLabel>(*settings, u"currencyLabel_1"_s);
    const QColor lightMessage = message->palette().color(QPalette::WindowText);
    const QColor lightCurrency = currencyCaption->palette().color(QPalette::WindowText);
    EXPECT_GE(contrast(caption->palette().color(QPalette::WindowText), popover->color()), 4.5);

    for (const bool dark : { true, false }) {
        chooseAppearance(*settings, dark ? 2 : 1);
        ASSERT_EQ(platform::isDarkAppearance(), dark);
        ASSERT_TRUE(popover->shown());
        const QPalette expected = dark ? platform::AppearanceController::darkPalette()
                                       : platform::AppearanceController::lightPalette();
        const QColor background = popover->color();
        EXPECT_EQ(background, expected.color(QPalette::Base)) << dark;
        EXPECT_GE(contrast(caption->palette().color(QPalette::WindowText), background), 4.5) << dark;
        // The coloured labels take their colours from the new palette too; the reason is read,
        // not greyed out.
        if (dark) {
            EXPECT_EQ(message->palette().color(QPalette::WindowText),
                expected.color(QPalette::Disabled, QPalette::WindowText));
        }
        EXPECT_GE(contrast(message->palette().color(QPalette::WindowText), background), 4.5) << dark;
        EXPECT_EQ(currencyCaption->palette().color(QPalette::WindowText) == lightCurrency, !dark) << dark;
        EXPECT_EQ(message->palette().color(QPalette::WindowText) == lightMessage, !dark) << dark;
    }
}

TEST_F(SettingsPopoverTest, AKeychainFailureShowsEveryLineOfItsMessage)
{
    NWSettingsViewController* settings = showSettings();
    auto* save = child<QPushButton>(*settings, u"saveBtn"_s);
    EXPECT_TRUE(QTest::qWaitFor([save] { return save->isEnabled(); }));
    const QSize before = popover->popoverWindow()->size();
    world.storeFailure = u"The keychain refused to store the password: the collection is locked "
                         u"and no prompt could be shown to unlock it."_s;
    QTest::mouseClick(child<QCheckBox>(*settings, u"pwdCheck"_s), Qt::LeftButton);
    child<QLineEdit>(*settings, u"passwordCtl"_s)->setText(u"s3cret"_s);
    child<QLineEdit>(*settings, u"password2Ctl"_s)->setText(u"s3cret"_s);
    child<QLineEdit>(*settings, u"hintCtl"_s)->setText(u"pet"_s);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([save] { return save->isEnabled(); }));
    QCoreApplication::processEvents();

    auto* message = child<QLabel>(*settings, u"errorCtl"_s);
    ASSERT_TRUE(message->text().startsWith(u"Password information could not be saved.\n"_s));
    const QRect needed = message->fontMetrics().boundingRect(
        QRect(0, 0, message->contentsRect().width(), 10000), Qt::TextWordWrap, message->text());
    EXPECT_GE(message->height(), message->heightForWidth(message->width()));
    EXPECT_GE(message->contentsRect().height(), needed.height());
    EXPECT_GE(needed.height(), 3 * message->fontMetrics().lineSpacing()); // the reason wraps
    EXPECT_GT(popover->popoverWindow()->height(), before.height());
    // Inside the panel, above the controls that follow.
    const QWidget* content = popover->contentView();
    EXPECT_LE(message->geometry().bottom(), content->height());
    const QPoint belowMessage = message->mapTo(content, QPoint(0, message->height()));
    EXPECT_LE(belowMessage.y(),
        child<QCheckBox>(*settings, u"enableNotifications"_s)->mapTo(content, QPoint(0, 0)).y());
    EXPECT_LE(child<QPushButton>(*settings, u"closeBtn"_s)->geometry().bottom(), content->height());
}

TEST_F(SettingsPopoverTest, ThePasswordSectionReadsWhenDisabledAndItsMessagesInBothAppearances)
{
    // A hint without a password: the fields and their captions are disabled, the hint shown.
    world.hint = u"pet"_s;
    NWSettingsViewController* settings = showSettings();
    auto* save = child<QPushButton>(*settings, u"saveBtn"_s);
    EXPECT_TRUE(QTest::qWaitFor([save] { return save->isEnabled(); }));
    auto* hint = child<QLineEdit>(*settings, u"hintCtl"_s);
    ASSERT_EQ(hint->text(), u"pet"_s);
    auto* message = child<QLabel>(*settings, u"errorCtl"_s);
    QWidget* window = popover->popoverWindow();
    const auto areaOf = [window](const QWidget* widget) {
        return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
    };
    for (const bool dark : { false, true }) {
        chooseAppearance(*settings, dark ? 2 : 1);
        ASSERT_EQ(platform::isDarkAppearance(), dark);
        QImage shot = window->grab().toImage();
        for (const char16_t* name : { u"pwdLabel", u"pwd2Label", u"hintLabel" }) {
            auto* caption = child<QLabel>(*settings, QString::fromUtf16(name));
            ASSERT_FALSE(caption->isEnabled());
            EXPECT_GE(contrast(caption->palette().color(QPalette::Disabled, QPalette::WindowText),
                          groundOf(shot, areaOf(caption))),
                3.0)
                << dark << " " << qPrintable(caption->text());
        }
        ASSERT_FALSE(hint->isEnabled());
        const QRect inside = areaOf(hint).adjusted(3, 3, -3, -3);
        EXPECT_GE(
            contrast(hint->palette().color(QPalette::Disabled, QPalette::Text), groundOf(shot, inside)), 3.0)
            << dark;

        // Saving shows its outcome in the quieter grey, to be read as well as any text.
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([message] { return !message->text().isEmpty(); }));
        QCoreApplication::processEvents();
        ASSERT_GT(message->height(), 0);
        shot = window->grab().toImage();
        EXPECT_GE(
            contrast(message->palette().color(QPalette::WindowText), groundOf(shot, areaOf(message))), 4.5)
            << dark << " " << qPrintable(message->text());
    }

    // Without a keychain the Save button itself is disabled; its title stays readable.
    popover.reset();
    world.unavailable = u"No keychain."_s;
    settings = showSettings();
    save = child<QPushButton>(*settings, u"saveBtn"_s);
    message = child<QLabel>(*settings, u"errorCtl"_s);
    EXPECT_TRUE(QTest::qWaitFor([message] { return message->text() == u"No keychain."_s; }));
    window = popover->popoverWindow();
    for (const bool dark : { false, true }) {
        chooseAppearance(*settings, dark ? 2 : 1);
        ASSERT_FALSE(save->isEnabled());
        const QImage shot = window->grab().toImage();
        const QRect face = QRect(save->mapTo(window, QPoint(0, 0)), save->size()).adjusted(4, 4, -4, -4);
        EXPECT_GE(
            contrast(save->palette().color(QPalette::Disabled, QPalette::ButtonText), groundOf(shot, face)),
            3.0)
            << dark;
    }
}

// Every caption, button and segment as drawn, the chosen segments included, in the
// appearance chosen while the settings are open.
TEST_F(SettingsPopoverTest, EveryTextReadsInAnAppearanceChosenWhileOpen)
{
    NWSettingsViewController* settings = showSettings();
    for (const bool dark : { true, false }) {
        chooseAppearance(*settings, dark ? 2 : 1);
        ASSERT_EQ(platform::isDarkAppearance(), dark);
        EXPECT_GE(expectTextsReadable(*popover->popoverWindow(), *settings, dark ? "dark" : "light"), 15);
    }
}

} // namespace
