#pragma once

#include "app/settings/SettingsServices.h"
#include "platform/NotificationCenter.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/popover/PKPopoverController.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class SegmentedControl;

/// The settings popover's content: appearance, welcome form, annual-chart years, exchange
/// rate decimals, the app-lock password, the monthly reminder and the base currency. Made
/// anew for every opening; every control reads its value when the controller is made and
/// writes it back at once. Its controls carry their outlet names as object names. The
/// currency picker, the message line's clearing and the base-currency save belong to the
/// controller: nothing of them runs once it is gone. Main thread only.
class NWSettingsViewController : public QWidget {
    Q_OBJECT
public:
    /// The application passes `SettingsServices::standard()`.
    explicit NWSettingsViewController(SettingsServices services, QWidget* parent = nullptr);
    ~NWSettingsViewController() override;

    /// The popover's will-show step; every control is already filled.
    void setValues() { }

    int maxYearsToShow() const { return m_maxYearsToShow; }
    int maxDecimalPlaces() const { return m_maxDecimalPlaces; }
    int appearanceSelected() const { return m_appearanceSelected; }
    /// The currency picker's popover while one exists.
    PKPopoverController* selectionPopover() const { return m_RBLSelectionPopover; }
    /// Whether a base-currency save runs under the "Saving ..." overlay.
    bool isSaving() const { return !m_overlay.isNull(); }

    // The controls' actions.
    void appearanceChange(int segment);
    void showWelcomePageChanged();
    void annualMaxYearsChanged(int index);
    void numDecimalPlacesChanged(int index);
    void enableNotificationChange();
    void notificationTimeChanged();
    void passCheckChanged();
    void saveAction();
    void currencySegmentChange(int segment);
    void changeBaseCurrencyClicked();
    void closeBtnClick();
    void displayBaseCurrency();

protected:
    void changeEvent(QEvent* event) override;

private:
    /// How a message or caption is coloured; the colour is taken anew from the palette in
    /// effect whenever the appearance changes.
    enum class Tone { Secondary, Unavailable, Warning, Dimmed };
    QColor toneColor(Tone tone) const;
    /// Gives a label the tone's colour as its text colour.
    void colorLabel(QLabel* label, Tone tone) const;
    /// Colours the password message, the currency captions and the currency error again.
    void recolor();
    /// Warnings and the chosen base currency's captions: lighter on the dark panel, where the
    /// light appearance's red would be hard to read.
    static QColor messageRed(bool dark);
    void buildInterface();
    void loadValues();
    void loadPasswordSection();
    void loadAppearance();
    void loadReminder();
    void setPasswordFieldsEnabled(bool enabled);
    /// The checkbox, the save button and (when checked) the fields; off while the keychain
    /// is read or written.
    void setPasswordSectionEnabled(bool enabled);
    void setCurrencyCaptionsChosen(bool chosen);
    void showPasswordMessage(const QString& text, Tone tone);
    void genericSelect_Selected(const platform::Notification& n);
    void genericSelect_Closed(const platform::Notification& n);
    void saveBaseCurrencyChange();
    void baseCurrencySaved(const platform::MaybeError& result);

    SettingsServices m_services;
    int m_maxYearsToShow = 0;
    int m_maxDecimalPlaces = 0;
    int m_appearanceSelected = 0;
    Tone m_passwordMessageTone = Tone::Secondary;
    bool m_currencyChosen = false;

    QCheckBox* m_pwdCheck = nullptr;
    QLineEdit* m_passwordCtl = nullptr;
    QLineEdit* m_password2Ctl = nullptr;
    QLineEdit* m_hintCtl = nullptr;
    QLabel* m_pwdLabel = nullptr;
    QLabel* m_pwd2Label = nullptr;
    QLabel* m_hintLabel = nullptr;
    QLabel* m_errorCtl = nullptr;
    QPushButton* m_saveBtn = nullptr;
    QCheckBox* m_enableNotifications = nullptr;
    QDateTimeEdit* m_notificationTime = nullptr;
    QCheckBox* m_showWelcomePage = nullptr;
    QComboBox* m_annualMaxYearsCtl = nullptr;
    QComboBox* m_numDecimalPlacesCtl = nullptr;
    QLabel* m_baseCurrencyCtl = nullptr;
    QLabel* m_baseCurrencyFlagCtl = nullptr;
    SegmentedControl* m_currencySegment = nullptr;
    QPushButton* m_currencyChangeBtn = nullptr;
    QLabel* m_currencyLabel_1 = nullptr;
    QLabel* m_currencyLabel_2 = nullptr;
    QLabel* m_currencyErrorCtl = nullptr;
    QPushButton* m_closeBtn = nullptr;
    SegmentedControl* m_appearanceSegment = nullptr;

    QPointer<PKPopoverController> m_RBLSelectionPopover;
    QPointer<POProgressOverlay> m_overlay;
    QTimer m_messageClearing;
};
