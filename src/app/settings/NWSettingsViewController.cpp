#include "app/settings/NWSettingsViewController.h"

#include "app/AppNotifications.h"
#include "app/shell/AppSettings.h"
#include "model/settings/Preferences.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/extensions/NamedWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int messageClearingMilliseconds = 2000;

QLabel* caption(const QString& text, const QString& name, QWidget* parent)
{
    return named(new QLabel(text, parent), name);
}

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

NWSettingsViewController::NWSettingsViewController(SettingsServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services))
{
    setObjectName(u"NWSettingsViewController"_s);
    m_messageClearing.setSingleShot(true);
    m_messageClearing.setInterval(messageClearingMilliseconds);
    connect(&m_messageClearing, &QTimer::timeout, this, [this] { m_errorCtl->clear(); });
    buildInterface();
    loadValues();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::genericSelectSelected,
        [this](const platform::Notification& n) { genericSelect_Selected(n); });
    center.addObserver(this, notifications::genericSelectClosed,
        [this](const platform::Notification& n) { genericSelect_Closed(n); });
}

NWSettingsViewController::~NWSettingsViewController() = default;

QColor NWSettingsViewController::messageRed(bool dark)
{
    return dark ? QColor(0xff, 0x6b, 0x61) : QColor(0xd0, 0x2b, 0x2b);
}

void NWSettingsViewController::buildInterface()
{
    using platform::Strings;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    int row = 0;

    m_appearanceSegment = named(new SegmentedControl(this), u"appearanceSegment"_s);
    m_appearanceSegment->setSegmentCount(3);
    m_appearanceSegment->setLabel(Strings::tr("System"), 0);
    m_appearanceSegment->setLabel(Strings::tr("Light"), 1);
    m_appearanceSegment->setLabel(Strings::tr("Dark"), 2);
    connect(m_appearanceSegment, &SegmentedControl::segmentClicked, this,
        &NWSettingsViewController::appearanceChange);
    grid->addWidget(new QLabel(Strings::tr("Appearance:"), this), row, 0);
    grid->addWidget(m_appearanceSegment, row++, 1, Qt::AlignLeft);

    m_showWelcomePage
        = named(new QCheckBox(Strings::tr("Show the welcome page at start"), this), u"showWelcomePage"_s);
    connect(m_showWelcomePage, &QCheckBox::clicked, this, &NWSettingsViewController::showWelcomePageChanged);
    grid->addWidget(m_showWelcomePage, row++, 1);

    m_annualMaxYearsCtl = named(new QComboBox(this), u"annualMaxYearsCtl"_s);
    for (int years = Preferences::fewestAnnualYears; years <= Preferences::mostAnnualYears; ++years)
        m_annualMaxYearsCtl->addItem(QString::number(years));
    connect(
        m_annualMaxYearsCtl, &QComboBox::activated, this, &NWSettingsViewController::annualMaxYearsChanged);
    grid->addWidget(new QLabel(Strings::tr("Years in the annual chart:"), this), row, 0);
    grid->addWidget(m_annualMaxYearsCtl, row++, 1, Qt::AlignLeft);

    m_numDecimalPlacesCtl = named(new QComboBox(this), u"numDecimalPlacesCtl"_s);
    for (int decimals = Preferences::fewestExchangeRateDecimals;
         decimals <= Preferences::mostExchangeRateDecimals; ++decimals)
        m_numDecimalPlacesCtl->addItem(QString::number(decimals));
    connect(m_numDecimalPlacesCtl, &QComboBox::activated, this,
        &NWSettingsViewController::numDecimalPlacesChanged);
    grid->addWidget(new QLabel(Strings::tr("Exchange rate decimals:"), this), row, 0);
    grid->addWidget(m_numDecimalPlacesCtl, row++, 1, Qt::AlignLeft);

    grid->addWidget(separator(this), row++, 0, 1, 2);
    m_pwdCheck
        = named(new QCheckBox(Strings::tr("Lock the application with a password"), this), u"pwdCheck"_s);
    connect(m_pwdCheck, &QCheckBox::clicked, this, &NWSettingsViewController::passCheckChanged);
    grid->addWidget(m_pwdCheck, row++, 1);
    const auto passwordRow = [&](QLineEdit*& field, QLabel*& label, const QString& text,
                                 const QString& fieldName, const QString& labelName, bool secret) {
        label = caption(text, labelName, this);
        field = named(new QLineEdit(this), fieldName);
        if (secret)
            field->setEchoMode(QLineEdit::Password);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    };
    passwordRow(m_passwordCtl, m_pwdLabel, Strings::tr("Password:"), u"passwordCtl"_s, u"pwdLabel"_s, true);
    passwordRow(m_password2Ctl, m_pwd2Label, Strings::tr("Repeat password:"), u"password2Ctl"_s,
        u"pwd2Label"_s, true);
    passwordRow(m_hintCtl, m_hintLabel, Strings::tr("Password hint:"), u"hintCtl"_s, u"hintLabel"_s, false);
    m_errorCtl = named(new QLabel(this), u"errorCtl"_s);
    m_errorCtl->setTextFormat(Qt::PlainText);
    m_errorCtl->setWordWrap(true);
    m_saveBtn = named(new QPushButton(Strings::tr("Save"), this), u"saveBtn"_s);
    connect(m_saveBtn, &QPushButton::clicked, this, &NWSettingsViewController::saveAction);
    // The message gets the whole width: a keychain's reason can be a sentence.
    grid->addWidget(m_saveBtn, row++, 1, Qt::AlignRight);
    grid->addWidget(m_errorCtl, row++, 0, 1, 2);

    grid->addWidget(separator(this), row++, 0, 1, 2);
    m_enableNotifications
        = named(new QCheckBox(Strings::tr("Remind me every month from"), this), u"enableNotifications"_s);
    connect(m_enableNotifications, &QCheckBox::clicked, this,
        &NWSettingsViewController::enableNotificationChange);
    m_notificationTime = named(new QDateTimeEdit(this), u"notificationTime"_s);
    m_notificationTime->setCalendarPopup(true);
    m_notificationTime->setDisplayFormat(u"d MMM yyyy  HH:mm"_s);
    connect(m_notificationTime, &QDateTimeEdit::dateTimeChanged, this,
        &NWSettingsViewController::notificationTimeChanged);
    grid->addWidget(m_enableNotifications, row, 0);
    grid->addWidget(m_notificationTime, row++, 1, Qt::AlignLeft);

    grid->addWidget(separator(this), row++, 0, 1, 2);
    m_currencyLabel_1 = caption(Strings::tr("Base currency:"), u"currencyLabel_1"_s, this);
    m_currencySegment = named(new SegmentedControl(this), u"currencySegment"_s);
    m_currencySegment->setSegmentCount(2);
    m_currencySegment->setLabel(Strings::tr("Local"), 0);
    m_currencySegment->setLabel(Strings::tr("Chosen"), 1);
    connect(m_currencySegment, &SegmentedControl::segmentClicked, this,
        &NWSettingsViewController::currencySegmentChange);
    m_currencyChangeBtn = named(new QPushButton(Strings::tr("Change..."), this), u"currencyChangeBtn"_s);
    connect(m_currencyChangeBtn, &QPushButton::clicked, this,
        &NWSettingsViewController::changeBaseCurrencyClicked);
    auto* currencyRow = new QHBoxLayout;
    currencyRow->addWidget(m_currencySegment);
    currencyRow->addWidget(m_currencyChangeBtn);
    currencyRow->addStretch(1);
    grid->addWidget(m_currencyLabel_1, row, 0);
    grid->addLayout(currencyRow, row++, 1);
    m_baseCurrencyFlagCtl = named(new QLabel(this), u"baseCurrencyFlagCtl"_s);
    m_baseCurrencyCtl = named(new QLabel(this), u"baseCurrencyCtl"_s);
    m_baseCurrencyCtl->setTextFormat(Qt::PlainText);
    m_currencyLabel_2 = caption(Strings::tr("Totals are shown in:"), u"currencyLabel_2"_s, this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_baseCurrencyFlagCtl);
    nameRow->addWidget(m_baseCurrencyCtl, 1);
    grid->addWidget(m_currencyLabel_2, row, 0);
    grid->addLayout(nameRow, row++, 1);
    m_currencyErrorCtl = named(new QLabel(this), u"currencyErrorCtl"_s);
    m_currencyErrorCtl->setTextFormat(Qt::PlainText);
    m_currencyErrorCtl->setWordWrap(true);
    m_currencyErrorCtl->hide();
    grid->addWidget(m_currencyErrorCtl, row++, 1);

    m_closeBtn = named(new QPushButton(Strings::tr("Close"), this), u"closeBtn"_s);
    connect(m_closeBtn, &QPushButton::clicked, this, &NWSettingsViewController::closeBtnClick);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->addLayout(grid);
    outer->addWidget(m_closeBtn, 0, Qt::AlignRight);
}

void NWSettingsViewController::loadValues()
{
    loadPasswordSection();
    loadAppearance();
    m_showWelcomePage->setChecked(Preferences::showStartForm());
    loadReminder();
    m_maxYearsToShow = Preferences::annualYears();
    m_annualMaxYearsCtl->setCurrentIndex(m_maxYearsToShow - Preferences::fewestAnnualYears);
    m_maxDecimalPlaces = Preferences::exchangeRateDecimals();
    m_numDecimalPlacesCtl->setCurrentIndex(m_maxDecimalPlaces - 1);
    displayBaseCurrency();
}

void NWSettingsViewController::loadPasswordSection()
{
    m_passwordCtl->clear();
    m_password2Ctl->clear();
    m_pwdCheck->setChecked(false);
    setPasswordSectionEnabled(false);
    showPasswordMessage(platform::Strings::tr("Reading the keychain..."), Tone::Secondary);
    m_services.password.read(
        this, [this](const platform::Expected<SettingsServices::Password::Stored>& stored) {
            if (!stored) {
                // No keychain: nothing here could be kept.
                showPasswordMessage(stored.error(), Tone::Unavailable);
                return;
            }
            m_errorCtl->clear();
            m_hintCtl->setText(stored->hint);
            m_pwdCheck->setChecked(stored->hasPassword);
            setPasswordSectionEnabled(true);
        });
}

void NWSettingsViewController::loadAppearance()
{
    const auto stored = AppSettings::selectedAppearance();
    if (!stored) {
        m_appearanceSegment->setSelectedSegment(0);
        return;
    }
    m_appearanceSelected = static_cast<int>(*stored);
    int segment = m_appearanceSelected;
    // The segment shows what is in effect, which the desktop may have changed since.
    const bool dark = platform::isDarkAppearance();
    if (segment == 2 && !dark)
        segment = 1;
    else if (segment == 1 && dark)
        segment = 2;
    m_appearanceSegment->setSelectedSegment(segment);
}

void NWSettingsViewController::loadReminder()
{
    const auto scheduled = m_services.reminder.firstScheduledDate();
    const QSignalBlocker quiet(m_notificationTime);
    m_enableNotifications->setChecked(scheduled.has_value());
    m_notificationTime->setDateTime(scheduled ? *scheduled : platform::Clock::now().addMonths(1));
}

void NWSettingsViewController::setPasswordSectionEnabled(bool enabled)
{
    m_pwdCheck->setEnabled(enabled);
    m_saveBtn->setEnabled(enabled);
    setPasswordFieldsEnabled(enabled && m_pwdCheck->isChecked());
}

void NWSettingsViewController::setPasswordFieldsEnabled(bool enabled)
{
    for (QWidget* widget : std::initializer_list<QWidget*> {
             m_passwordCtl, m_password2Ctl, m_hintCtl, m_pwdLabel, m_pwd2Label, m_hintLabel })
        widget->setEnabled(enabled);
}

void NWSettingsViewController::showPasswordMessage(const QString& text, Tone tone)
{
    m_passwordMessageTone = tone;
    colorLabel(m_errorCtl, tone);
    m_errorCtl->setText(text);
}

void NWSettingsViewController::setCurrencyCaptionsChosen(bool chosen)
{
    m_currencyChosen = chosen;
    for (QLabel* label : { m_currencyLabel_1, m_currencyLabel_2 })
        colorLabel(label, chosen ? Tone::Warning : Tone::Dimmed);
}

QColor NWSettingsViewController::toneColor(Tone tone) const
{
    const QPalette& current = palette();
    const bool dark = platform::isDarkPalette(current);
    // On the light panel the disabled grey stays under 4.5:1 in a message's thin strokes; there
    // a message takes the secondary grey.
    const QColor secondary = platform::namedColor(u"SecondaryText"_s, dark);
    switch (tone) {
    case Tone::Secondary:
        return secondary;
    case Tone::Unavailable:
        return dark ? current.color(QPalette::Disabled, QPalette::WindowText) : secondary;
    case Tone::Warning:
        return messageRed(dark);
    case Tone::Dimmed:
        break;
    }
    return current.color(QPalette::PlaceholderText);
}

void NWSettingsViewController::colorLabel(QLabel* label, Tone tone) const
{
    QPalette colored = label->palette();
    colored.setColor(QPalette::WindowText, toneColor(tone));
    label->setPalette(colored);
}

void NWSettingsViewController::recolor()
{
    if (!m_errorCtl)
        return; // still being built
    colorLabel(m_errorCtl, m_passwordMessageTone);
    setCurrencyCaptionsChosen(m_currencyChosen);
    colorLabel(m_currencyErrorCtl, Tone::Warning);
}

void NWSettingsViewController::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The labels coloured here hold their text colour: the new palette would not reach it.
    if (event->type() == QEvent::PaletteChange)
        recolor();
}
