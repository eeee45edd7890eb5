#include "SettingsTestSupport.h"

#include "app/AppNotifications.h"
#include "app/shell/AppSettings.h"
#include "charts/common/ChartNotifications.h"
#include "model/settings/Preferences.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include <QAbstractButton>
#include <QCborMap>
#include <QCborValue>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class SettingsControllerTest : public SettingsTest {
protected:
    static void writeSettingsFile(const QCborMap& map)
    {
        const QString path = platform::UserDefaults::standardFilePath();
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(map.toCborValue().toCbor());
    }
    static void choose(QComboBox* popup, int index)
    {
        popup->setCurrentIndex(index);
        Q_EMIT popup->activated(index);
    }
    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

    void fillPassword(
        const QWidget& settings, const QString& password, const QString& repeated, const QString& hint)
    {
        child<QLineEdit>(settings, u"passwordCtl"_s)->setText(password);
        child<QLineEdit>(settings, u"password2Ctl"_s)->setText(repeated);
        child<QLineEdit>(settings, u"hintCtl"_s)->setText(hint);
    }
    /// Saves and waits for the keychain's answer.
    QString saveAndRead(const QWidget& settings)
    {
        auto* save = child<QPushButton>(settings, u"saveBtn"_s);
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([save] { return save->isEnabled(); }));
        return child<QLabel>(settings, u"errorCtl"_s)->text();
    }
};

TEST_F(SettingsControllerTest, AbsentKeysShowTheirFallbacksAndEachControlWritesItsKey)
{
    const auto settings = openSettings();
    auto* years = child<QComboBox>(*settings, u"annualMaxYearsCtl"_s);
    auto* decimals = child<QComboBox>(*settings, u"numDecimalPlacesCtl"_s);
    EXPECT_EQ(years->count(), 45);
    EXPECT_EQ(years->currentText(), u"10"_s);
    EXPECT_EQ(decimals->currentIndex(), 4);
    EXPECT_TRUE(child<QCheckBox>(*settings, u"showWelcomePage"_s)->isChecked());
    EXPECT_FALSE(defaults().contains(Preferences::maxAnnualYearsKey));

    choose(years, 0);
    EXPECT_EQ(defaults().integer(Preferences::maxAnnualYearsKey), 5);
    choose(years, years->count() - 1);
    EXPECT_EQ(defaults().integer(Preferences::maxAnnualYearsKey), 49);
    EXPECT_EQ(settings->maxYearsToShow(), 49);
    EXPECT_EQ(posted.count(notifications::annualNotificationChanged), 2);

    choose(decimals, 0);
    EXPECT_EQ(defaults().integer(Preferences::maxExchangeRateDecimalsKey), 1);
    EXPECT_EQ(settings->maxDecimalPlaces(), 1);
    QTest::mouseClick(child<QCheckBox>(*settings, u"showWelcomePage"_s), Qt::LeftButton);
    EXPECT_FALSE(defaults().boolean(Preferences::showStartFormKey, true));
    EXPECT_EQ(posted.count(notifications::annualNotificationChanged), 2);

    // What was written is on disk: a fresh read of the file finds it.
    platform::UserDefaults::resetStandard();
    EXPECT_EQ(defaults().integer(Preferences::maxAnnualYearsKey), 49);
    const auto reopened = openSettings();
    EXPECT_EQ(child<QComboBox>(*reopened, u"annualMaxYearsCtl"_s)->currentText(), u"49"_s);
    EXPECT_EQ(child<QComboBox>(*reopened, u"numDecimalPlacesCtl"_s)->currentIndex(), 0);
    EXPECT_FALSE(child<QCheckBox>(*reopened, u"showWelcomePage"_s)->isChecked());
}

TEST_F(SettingsControllerTest, AnnualYearsStayWithinFiveToFortyNine)
{
    for (const auto& [stored, shown] : { std::pair { 3, u"5"_s }, std::pair { 80, u"49"_s } }) {
        defaults().setValue(Preferences::maxAnnualYearsKey, stored);
        const auto settings = openSettings();
        EXPECT_EQ(child<QComboBox>(*settings, u"annualMaxYearsCtl"_s)->currentText(), shown);
    }
    Preferences::setAnnualYears(4);
    EXPECT_EQ(defaults().integer(Preferences::maxAnnualYearsKey), 5);
    Preferences::setAnnualYears(50);
    EXPECT_EQ(defaults().integer(Preferences::maxAnnualYearsKey), 49);
    // A popup with nothing chosen writes nothing.
    const auto settings = openSettings();
    settings->annualMaxYearsChanged(-1);
    EXPECT_EQ(defaults().integer(Preferences::maxAnnualYearsKey), 49);
}

TEST_F(SettingsControllerTest, PasswordChecksRunInOrderAndStoreNothingUntilAllPass)
{
    const auto settings = openSettings();
    auto* check = child<QCheckBox>(*settings, u"pwdCheck"_s);
    EXPECT_FALSE(check->isChecked());
    EXPECT_FALSE(child<QLineEdit>(*settings, u"passwordCtl"_s)->isEnabled());
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(*settings, u"passwordCtl"_s)->isEnabled());
    EXPECT_TRUE(child<QLabel>(*settings, u"hintLabel"_s)->isEnabled());

    fillPassword(*settings, {}, {}, {});
    EXPECT_EQ(saveAndRead(*settings), u"Please enter a password."_s);
    fillPassword(*settings, u"secret"_s, u"Secret"_s, {});
    EXPECT_EQ(saveAndRead(*settings), u"Passwords don't match!"_s);
    fillPassword(*settings, u"secret"_s, u"secret"_s, {});
    EXPECT_EQ(saveAndRead(*settings), u"Please enter a password hint."_s);
    EXPECT_TRUE(world.stores.isEmpty());
    EXPECT_EQ(child<QLineEdit>(*settings, u"password2Ctl"_s)->text(), u"secret"_s);

    fillPassword(*settings, u"secret"_s, u"secret"_s, u"the usual"_s);
    EXPECT_EQ(saveAndRead(*settings), u"Password information saved successfully."_s);
    EXPECT_EQ(world.stores, (QList<QPair<QString, QString>> { { u"secret"_s, u"the usual"_s } }));
    EXPECT_EVENTUALLY(child<QLabel>(*settings, u"errorCtl"_s)->text().isEmpty());
}

TEST_F(SettingsControllerTest, UncheckingRemovesThePasswordAndAFailedStoreIsNeverReportedAsSaved)
{
    world.password = u"old"_s;
    world.hint = u"the old one"_s;
    const auto settings = openSettings();
    auto* check = child<QCheckBox>(*settings, u"pwdCheck"_s);
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(child<QLineEdit>(*settings, u"hintCtl"_s)->text(), u"the old one"_s);
    EXPECT_TRUE(child<QLineEdit>(*settings, u"passwordCtl"_s)->text().isEmpty());

    world.storeFailure = u"The keyring is locked."_s;
    fillPassword(*settings, u"new"_s, u"new"_s, u"hint"_s);
    EXPECT_EQ(saveAndRead(*settings), u"Password information could not be saved.\nThe keyring is locked."_s);
    EXPECT_EQ(world.password, u"old"_s);

    world.storeFailure.reset();
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(child<QLineEdit>(*settings, u"hintCtl"_s)->isEnabled());
    EXPECT_EQ(saveAndRead(*settings), u"Password information saved successfully."_s);
    EXPECT_EQ(world.stores, (QList<QPair<QString, QString>> { { QString(), QString() } }));
    EXPECT_TRUE(world.password.isEmpty());
}

TEST_F(SettingsControllerTest, SavingWaitsForTheDesktopsPromptInsteadOfReportingAFailure)
{
    world.holdAnswers = true;
    const auto settings = openSettings();
    auto* check = child<QCheckBox>(*settings, u"pwdCheck"_s);
    auto* save = child<QPushButton>(*settings, u"saveBtn"_s);
    auto* message = child<QLabel>(*settings, u"errorCtl"_s);
    // Until the keychain has said whether a password is set, nothing can be changed.
    EXPECT_EQ(message->text(), u"Reading the keychain..."_s);
    EXPECT_FALSE(check->isEnabled());
    EXPECT_FALSE(save->isEnabled());
    world.answerHeld();
    EXPECT_TRUE(message->text().isEmpty());
    ASSERT_TRUE(check->isEnabled());

    QTest::mouseClick(check, Qt::LeftButton);
    fillPassword(*settings, u"secret"_s, u"secret"_s, u"the usual"_s);
    QTest::mouseClick(save, Qt::LeftButton);
    // The keyring's own prompt is open: the popover waits, and says so.
    QCoreApplication::processEvents();
    EXPECT_EQ(message->text(), u"Waiting for the keychain..."_s);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(*settings, u"passwordCtl"_s)->isEnabled());
    EXPECT_TRUE(world.stores.isEmpty());

    world.answerHeld();
    EXPECT_EQ(message->text(), u"Password information saved successfully."_s);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(*settings, u"passwordCtl"_s)->isEnabled());
    EXPECT_EQ(world.stores, (QList<QPair<QString, QString>> { { u"secret"_s, u"the usual"_s } }));
}

TEST_F(SettingsControllerTest, WithoutAKeychainThePasswordSectionIsDisabledAndSaysWhy)
{
    world.unavailable = u"No keyring service is running."_s;
    const auto settings = openSettings();
    EXPECT_FALSE(child<QCheckBox>(*settings, u"pwdCheck"_s)->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*settings, u"saveBtn"_s)->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(*settings, u"passwordCtl"_s)->isEnabled());
    EXPECT_EQ(child<QLabel>(*settings, u"errorCtl"_s)->text(), u"No keyring service is running."_s);
}

TEST_F(SettingsControllerTest, TheReminderIsOneScheduledNotificationFollowingTheCheckboxAndThePicker)
{
    platform::Clock::setOverride(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
    const auto settings = openSettings();
    platform::Clock::setOverride(std::nullopt);
    auto* enable = child<QCheckBox>(*settings, u"enableNotifications"_s);
    auto* date = child<QDateTimeEdit>(*settings, u"notificationTime"_s);
    EXPECT_FALSE(enable->isChecked());
    EXPECT_EQ(date->dateTime(), QDateTime(QDate(2026, 4, 14), QTime(9, 30)));

    // Moving the date with no reminder only moves the picker.
    date->setDateTime(QDateTime(QDate(2026, 5, 1), QTime(8, 0)));
    EXPECT_TRUE(world.reminders.isEmpty());
    QTest::mouseClick(enable, Qt::LeftButton);
    EXPECT_EQ(world.reminders, (QList<QDateTime> { QDateTime(QDate(2026, 5, 1), QTime(8, 0)) }));
    date->setDateTime(QDateTime(QDate(2026, 6, 2), QTime(7, 0)));
    EXPECT_EQ(world.reminders, (QList<QDateTime> { QDateTime(QDate(2026, 6, 2), QTime(7, 0)) }));

    const auto reopened = openSettings();
    EXPECT_TRUE(child<QCheckBox>(*reopened, u"enableNotifications"_s)->isChecked());
    EXPECT_EQ(child<QDateTimeEdit>(*reopened, u"notificationTime"_s)->dateTime(), world.reminders.first());
    QTest::mouseClick(child<QCheckBox>(*reopened, u"enableNotifications"_s), Qt::LeftButton);
    EXPECT_TRUE(world.reminders.isEmpty());
}

// The settings file is input from disk: numbers no control offers show the nearest choice
// (or the fallback, for what is no number) instead of overflowing the controls.
TEST_F(SettingsControllerTest, NumbersNoChoiceGivesInTheSettingsFileShowTheNearestChoice)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        QVariant decimals, years, appearance;
        int decimalsIndex;
        QString yearsShown;
        int segment;
    };
    for (const Case& stored : {
             Case { qint64(std::numeric_limits<int>::min()), -1e300, qint64(std::numeric_limits<int>::min()),
                 0, u"5"_s, 0 },
             Case { qint64(std::numeric_limits<int>::max()), 1e300, qint64(7), 9, u"49"_s, 0 },
             Case { nan, nan, nan, 4, u"10"_s, 0 },
         }) {
        SCOPED_TRACE(stored.decimals.toString().toStdString());
        platform::UserDefaults::resetStandard();
        QCborMap file;
        file.insert(Preferences::maxExchangeRateDecimalsKey, QCborValue::fromVariant(stored.decimals));
        file.insert(Preferences::maxAnnualYearsKey, QCborValue::fromVariant(stored.years));
        file.insert(AppSettings::selectedAppearanceKey, QCborValue::fromVariant(stored.appearance));
        writeSettingsFile(file);

        const auto settings = openSettings();
        EXPECT_EQ(
            child<QComboBox>(*settings, u"numDecimalPlacesCtl"_s)->currentIndex(), stored.decimalsIndex);
        EXPECT_EQ(settings->maxDecimalPlaces(), stored.decimalsIndex + 1);
        EXPECT_EQ(child<QComboBox>(*settings, u"annualMaxYearsCtl"_s)->currentText(), stored.yearsShown);
        EXPECT_EQ(
            child<SegmentedControl>(*settings, u"appearanceSegment"_s)->selectedSegment(), stored.segment);
        EXPECT_EQ(AppSettings::appearanceToApply(AppSettings::selectedAppearance()), std::nullopt);
    }
}

TEST_F(SettingsControllerTest, TheAppearanceSegmentAppliesAndStoresTheChoice)
{
    const auto settings = openSettings();
    auto* segment = child<SegmentedControl>(*settings, u"appearanceSegment"_s);
    EXPECT_EQ(segment->selectedSegment(), 0);
    QTest::mouseClick(child<QAbstractButton>(*segment, u"segment2"_s), Qt::LeftButton);
    EXPECT_EQ(AppSettings::selectedAppearance(), 2);
    EXPECT_EQ(platform::AppearanceController::instance().appearance(), platform::Appearance::Dark);
    EXPECT_TRUE(platform::isDarkAppearance());
    EXPECT_EQ(settings->appearanceSelected(), 2);

    const auto reopened = openSettings();
    EXPECT_EQ(child<SegmentedControl>(*reopened, u"appearanceSegment"_s)->selectedSegment(), 2);
    QTest::mouseClick(
        child<QAbstractButton>(*child<SegmentedControl>(*reopened, u"appearanceSegment"_s), u"segment0"_s),
        Qt::LeftButton);
    EXPECT_EQ(AppSettings::selectedAppearance(), 0);
    EXPECT_EQ(platform::AppearanceController::instance().appearance(), platform::Appearance::System);
}

TEST_F(SettingsControllerTest, CloseTellsTheOwnerWithTheController)
{
    const auto settings = openSettings();
    QVariant object;
    QObject context;
    platform::NotificationCenter::defaultCenter().addObserver(
        &context, notifications::settingsClosed, [&](const platform::Notification& n) { object = n.object; });
    QTest::mouseClick(child<QPushButton>(*settings, u"closeBtn"_s), Qt::LeftButton);
    EXPECT_EQ(object.value<QObject*>(), settings.get());
}

} // namespace
