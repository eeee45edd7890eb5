// The actions of NWSettingsViewController: each control writes its value back at once.

#include "app/settings/NWSettingsViewController.h"

#include "app/AppNotifications.h"
#include "app/settings/CurrencyPickerRecords.h"
#include "app/shell/AppSettings.h"
#include "charts/common/ChartNotifications.h"
#include "model/ModelNotifications.h"
#include "model/data/MVX_Model.h"
#include "model/format/Flags.h"
#include "model/settings/Preferences.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/overlay/SavingOverlay.h"
#include "uikit/popover/PKPopoverController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

QString flagText(const QString& currencyCode)
{
    return KitDrawing::drawableEmoji(Flags::flagEmoji(currencyCode.left(2)));
}

} // namespace

void NWSettingsViewController::appearanceChange(int segment)
{
    if (segment == m_appearanceSelected || segment < 0 || segment > 2)
        return;
    // The controller tells every screen through its appearanceChanged signal.
    platform::AppearanceController::instance().setAppearance(static_cast<platform::Appearance>(segment));
    m_appearanceSelected = segment;
    AppSettings::setSelectedAppearance(segment);
}

void NWSettingsViewController::showWelcomePageChanged()
{
    Preferences::setShowStartForm(m_showWelcomePage->isChecked());
}

void NWSettingsViewController::annualMaxYearsChanged(int index)
{
    if (index < 0)
        return;
    Preferences::setAnnualYears(index + Preferences::fewestAnnualYears);
    m_maxYearsToShow = Preferences::annualYears();
    platform::NotificationCenter::defaultCenter().post(notifications::annualNotificationChanged);
}

void NWSettingsViewController::numDecimalPlacesChanged(int index)
{
    if (index < 0)
        return;
    m_maxDecimalPlaces = index + 1;
    Preferences::setExchangeRateDecimals(m_maxDecimalPlaces);
}

void NWSettingsViewController::enableNotificationChange()
{
    if (m_enableNotifications->isChecked())
        m_services.reminder.schedule(m_notificationTime->dateTime());
    else
        m_services.reminder.removeFirst();
}

void NWSettingsViewController::notificationTimeChanged()
{
    if (!m_services.reminder.firstScheduledDate())
        return;
    m_services.reminder.removeFirst();
    m_services.reminder.schedule(m_notificationTime->dateTime());
}

void NWSettingsViewController::passCheckChanged()
{
    setPasswordFieldsEnabled(m_pwdCheck->isChecked());
}

void NWSettingsViewController::saveAction()
{
    using platform::Strings;
    m_messageClearing.stop();
    m_errorCtl->clear();
    QString password;
    QString hint;
    if (m_pwdCheck->isChecked()) {
        password = m_passwordCtl->text();
        hint = m_hintCtl->text();
        if (password.isEmpty())
            return showPasswordMessage(Strings::tr("Please enter a password."), Tone::Warning);
        if (password != m_password2Ctl->text())
            return showPasswordMessage(Strings::tr("Passwords don't match!"), Tone::Warning);
        if (hint.isEmpty())
            return showPasswordMessage(Strings::tr("Please enter a password hint."), Tone::Warning);
    }
    // The desktop may first ask the user to unlock (or make) the keyring: wait for it.
    setPasswordSectionEnabled(false);
    showPasswordMessage(Strings::tr("Waiting for the keychain..."), Tone::Secondary);
    m_services.password.setPasswordAndHint(password, hint, this, [this](const platform::MaybeError& failure) {
        setPasswordSectionEnabled(true);
        if (failure) {
            showPasswordMessage(
                Strings::tr("Password information could not be saved.") + u'\n' + *failure, Tone::Warning);
            return;
        }
        showPasswordMessage(Strings::tr("Password information saved successfully."), Tone::Secondary);
        m_messageClearing.start();
    });
}

void NWSettingsViewController::displayBaseCurrency()
{
    NWData& store = *NWData::shared();
    const QString code = store.appData() ? store.appData()->baseCurrency() : QString();
    const bool chosen = !code.isEmpty();
    m_currencySegment->setSelectedSegment(chosen ? 1 : 0);
    m_currencyChangeBtn->setEnabled(chosen);
    setCurrencyCaptionsChosen(chosen);
    if (chosen) {
        const auto row = store.currencyFromCode(code);
        m_baseCurrencyFlagCtl->setText(flagText(code));
        m_baseCurrencyCtl->setText(row ? row->FullName() : code);
        return;
    }
    const QLocale locale = store.getLocale();
    m_baseCurrencyFlagCtl->setText(flagText(locale.currencySymbol(QLocale::CurrencyIsoCode)));
    m_baseCurrencyCtl->setText(u"(%1)"_s.arg(locale.currencySymbol(QLocale::CurrencyDisplayName)));
}

void NWSettingsViewController::currencySegmentChange(int segment)
{
    const bool chosen = segment == 1;
    m_currencyChangeBtn->setEnabled(chosen);
    setCurrencyCaptionsChosen(chosen);
    const auto& model = NWData::shared()->appData();
    if (chosen || !model || model->baseCurrency().isEmpty())
        return;
    model->setBaseCurrency(QString());
    saveBaseCurrencyChange();
}

void NWSettingsViewController::changeBaseCurrencyClicked()
{
    if (PKPopoverController::dropPopover(m_RBLSelectionPopover))
        return;
    auto* picker = m_services.newPicker(currencyPickerRecords(NWData::shared()->supportedCurrencies()),
        platform::Strings::tr("Select currency"));
    m_RBLSelectionPopover = new PKPopoverController(picker, this);
    m_RBLSelectionPopover->setDefaultProperties(true, true, true);
    m_RBLSelectionPopover->showRelativeToRect(
        QRectF(m_currencyChangeBtn->rect()), m_currencyChangeBtn, platform::RectEdge::MaxX);
}

void NWSettingsViewController::genericSelect_Selected(const platform::Notification& n)
{
    if (!m_RBLSelectionPopover)
        return;
    const QVariantList chosen = n.object.toList();
    if (!chosen.isEmpty()) {
        const auto record = chosen.first().value<GenericSelectionRecord>();
        const auto currency = record.obj().value<std::shared_ptr<MVX_Currency>>();
        const auto& model = NWData::shared()->appData();
        if (currency && model) {
            model->setBaseCurrency(currency->ShortName());
            saveBaseCurrencyChange();
        }
    }
    PKPopoverController::dropPopover(m_RBLSelectionPopover);
}

void NWSettingsViewController::genericSelect_Closed(const platform::Notification& n)
{
    static_cast<void>(n);
    PKPopoverController::dropPopover(m_RBLSelectionPopover);
}

void NWSettingsViewController::saveBaseCurrencyChange()
{
    NWData& store = *NWData::shared();
    // Without a base currency the locale's currency is the local one again.
    if (store.appData() && !store.appData()->baseCurrency().isEmpty())
        store.exchangeRateUpdateOnBaseCurrencyChange();
    else
        store.setExchangeRates();
    displayBaseCurrency();
    m_currencyErrorCtl->hide();
    platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateFetchAgain);
    m_overlay = SavingOverlay::saveStore(
        this, [this](const platform::MaybeError& result) { baseCurrencySaved(result); });
}

void NWSettingsViewController::baseCurrencySaved(const platform::MaybeError& result)
{
    m_overlay = nullptr;
    if (result) {
        // The store has gone back to the data file's base currency and rates.
        displayBaseCurrency();
        colorLabel(m_currencyErrorCtl, Tone::Warning);
        m_currencyErrorCtl->setText(*result);
        m_currencyErrorCtl->show();
        return;
    }
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
}

void NWSettingsViewController::closeBtnClick()
{
    platform::NotificationCenter::defaultCenter().post(
        notifications::settingsClosed, QVariant::fromValue(static_cast<QObject*>(this)));
}
