#include "categories/editor/EditCategoryViewController.h"

#include "categories/CategoriesNotifications.h"

#include "model/ModelNotifications.h"
#include "model/format/Flags.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/tokens/TKTokenField.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/overlay/SavingOverlay.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

/// The flag of a currency as an icon, drawn once per code for the whole run; a null icon
/// when no font draws it.
QIcon flagIcon(const QString& code)
{
    static QHash<QString, QIcon> icons;
    const auto cached = icons.constFind(code);
    if (cached != icons.constEnd())
        return *cached;
    QIcon icon;
    const QString flag = KitDrawing::drawableEmoji(Flags::flagEmoji(code.left(2)));
    if (!flag.isEmpty()) {
        QPixmap pixmap(40, 40);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        QFont font = painter.font();
        font.setPixelSize(30);
        painter.setFont(font);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, flag);
        painter.end();
        icon = QIcon(pixmap);
    }
    icons.insert(code, icon);
    return icon;
}

QLabel* fieldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* messageLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->hide();
    return label;
}

} // namespace

EditCategoryViewController::EditCategoryViewController(QWidget* parent)
    : QWidget(parent), m_logic(*NWData::shared())
{
    buildView();
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, &EditCategoryViewController::applyAppearance);
}

EditCategoryViewController::~EditCategoryViewController() = default;

void EditCategoryViewController::buildView()
{
    setObjectName(u"EditCategoryViewController"_s);
    resize(460, 400);
    setMinimumWidth(440);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(u"titleLabel"_s);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 3);
    m_titleLabel->setFont(titleFont);
    layout->addWidget(m_titleLabel);

    auto line = [this]() {
        auto* frame = new QFrame(this);
        frame->setFrameShape(QFrame::HLine);
        frame->setFrameShadow(QFrame::Plain);
        frame->setFixedHeight(1);
        m_lines.append(frame);
        return frame;
    };
    layout->addWidget(line());

    auto* form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(8);
    m_categoryNameCtl = new QLineEdit(this);
    m_categoryNameCtl->setObjectName(u"categoryNameCtl"_s);
    m_categoryNameCtl->setPlaceholderText(platform::Strings::tr("Name"));
    m_categoryDescCtl = new QLineEdit(this);
    m_categoryDescCtl->setObjectName(u"categoryDescCtl"_s);
    m_categoryDescCtl->setPlaceholderText(platform::Strings::tr("Description"));
    form->addWidget(fieldLabel(platform::Strings::tr("Name:"), this), 0, 0);
    form->addWidget(m_categoryNameCtl, 0, 1, 1, 2);
    form->addWidget(fieldLabel(platform::Strings::tr("Description:"), this), 1, 0);
    form->addWidget(m_categoryDescCtl, 1, 1, 1, 2);

    m_tokenField = new TKTokenField(this);
    m_tokenField->setObjectName(u"tokenField"_s);
    m_tokenField->setTagColors(NWData::shared()->tagColors());
    m_tokenField->setMinimumHeight(30);
    m_tokenNamesPopup = new QComboBox(this);
    m_tokenNamesPopup->setObjectName(u"tokenNamesPopup"_s);
    m_tokenNamesPopup->setMinimumWidth(110);
    fillTagMenu();
    connect(m_tokenNamesPopup, &QComboBox::activated, this, &EditCategoryViewController::addTokenClick);
    // A token deleted in the field gives its tag back to the menu (the field finishes editing
    // before the menu opens, as the click moves the focus).
    connect(m_tokenField, &TKTokenField::editingFinished, this, [this] {
        m_logic.keepTagsNamedIn(m_tokenField->tokenTexts());
        fillTagMenu();
    });
    form->addWidget(fieldLabel(platform::Strings::tr("Tags:"), this), 2, 0);
    form->addWidget(m_tokenField, 2, 1);
    form->addWidget(m_tokenNamesPopup, 2, 2);
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    layout->addWidget(line());

    auto* options = new QGridLayout;
    options->setHorizontalSpacing(10);
    options->setVerticalSpacing(8);
    m_foreignCurrencyCheck = new QCheckBox(platform::Strings::tr("Own currency"), this);
    m_foreignCurrencyCheck->setObjectName(u"foreignCurrencyCheck"_s);
    m_currencyCombo = new QComboBox(this);
    m_currencyCombo->setObjectName(u"currencyCombo"_s);
    m_currencyCombo->setPlaceholderText(platform::Strings::tr("Currency"));
    m_currencyCombo->setMaxVisibleItems(14);
    m_currencyCombo->setEnabled(false);
    m_currencyMessage = messageLabel(u"currencyMessage"_s, this);
    fillCurrencies();
    connect(
        m_foreignCurrencyCheck, &QCheckBox::toggled, this, &EditCategoryViewController::foreignCurrencyClick);
    connect(
        m_currencyCombo, &QComboBox::currentIndexChanged, this, &EditCategoryViewController::currencyChange);
    // The chosen currency's flag is the icon the choice shows.
    options->addWidget(m_foreignCurrencyCheck, 0, 0);
    options->addWidget(m_currencyCombo, 0, 1);
    options->addWidget(m_currencyMessage, 1, 1);

    m_depreciableCtl = new QCheckBox(platform::Strings::tr("Depreciates"), this);
    m_depreciableCtl->setObjectName(u"depreciableCtl"_s);
    m_depLabel = new QLabel(platform::Strings::tr("Yearly rate:"), this);
    m_depLabel->setObjectName(u"depLabel"_s);
    m_percentCtl = new QLineEdit(this);
    m_percentCtl->setObjectName(u"percentCtl"_s);
    m_percentCtl->setFixedWidth(80);
    m_percentCtl->setAlignment(Qt::AlignRight);
    m_percentMessage = messageLabel(u"percentMessage"_s, this);
    connect(m_depreciableCtl, &QCheckBox::toggled, this, &EditCategoryViewController::depreciableChange);
    connect(m_percentCtl, &QLineEdit::editingFinished, this, &EditCategoryViewController::deprChange);
    auto* rateRow = new QHBoxLayout;
    rateRow->setSpacing(6);
    rateRow->addWidget(m_depLabel);
    rateRow->addWidget(m_percentCtl);
    rateRow->addStretch(1);
    options->addWidget(m_depreciableCtl, 2, 0);
    options->addLayout(rateRow, 2, 1);
    options->addWidget(m_percentMessage, 3, 1);

    m_hiddenCategory = new QCheckBox(platform::Strings::tr("Hidden"), this);
    m_hiddenCategory->setObjectName(u"hiddenCategory"_s);
    options->addWidget(m_hiddenCategory, 4, 0);
    options->setColumnStretch(1, 1);
    layout->addLayout(options);
    layout->addStretch(1);

    m_errorLabel = messageLabel(u"errorLabel"_s, this);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_errorLabel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_saveButton = new QPushButton(platform::Strings::tr("Save"), this);
    m_saveButton->setObjectName(u"saveButton"_s);
    m_saveButton->setDefault(true);
    for (QPushButton* button : { m_cancelButton, m_saveButton }) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_saveButton, &QPushButton::clicked, this, &EditCategoryViewController::saveButtonClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &EditCategoryViewController::cancelButtonClick);

    const bool foreign = NWData::shared()->supportsForeignCurrencies();
    m_foreignCurrencyCheck->setVisible(foreign);
    m_currencyCombo->setVisible(foreign);
    m_depLabel->hide();
    m_percentCtl->hide();
    applyAppearance();
}

void EditCategoryViewController::applyAppearance()
{
    const bool dark = platform::isDarkAppearance();
    const QColor error = dark ? QColor(0xff, 0x6b, 0x66) : QColor(0xc8, 0x20, 0x1c);
    for (QLabel* label : { m_errorLabel, m_currencyMessage, m_percentMessage }) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, error);
        label->setPalette(palette);
    }
    for (QWidget* line : m_lines) {
        QPalette palette = line->palette();
        palette.setColor(QPalette::WindowText, dark ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 40));
        line->setPalette(palette);
    }
}

void EditCategoryViewController::fillCurrencies()
{
    m_currencyCombo->clear();
    for (const CategoryCurrencyChoice& choice : m_logic.currencyChoices())
        m_currencyCombo->addItem(
            choice.known ? flagIcon(choice.flagCode) : QIcon(), choice.title, choice.code);
    m_currencyCombo->setCurrentIndex(-1);
}

void EditCategoryViewController::setValues()
{
    m_logic.open(m_category, m_isAssetCategory);
    hideMessages();
    m_depLabel->hide();
    m_percentCtl->hide();
    m_hiddenCategory->setChecked(false);
    m_titleLabel->setText(m_logic.title());
    // The table's currencies, and an unknown code the category holds, kept as it is.
    fillCurrencies();
    const std::shared_ptr<MVX_Category>& category = m_logic.category();
    if (!category) {
        m_categoryNameCtl->clear();
        m_categoryDescCtl->clear();
        m_foreignCurrencyCheck->setChecked(false);
        m_depreciableCtl->setChecked(false);
        showChosenTags();
        return;
    }
    m_categoryNameCtl->setText(category->categoryName());
    m_categoryDescCtl->setText(category->desc());
    m_hiddenCategory->setChecked(category->isHidden());
    if (category->isForeignCurrency()) {
        m_foreignCurrencyCheck->setChecked(true);
        m_currencyCombo->setCurrentIndex(m_currencyCombo->findData(category->currency()));
    } else {
        m_foreignCurrencyCheck->setChecked(false);
    }
    foreignCurrencyClick();
    currencyChange();
    {
        const QSignalBlocker blocker(m_depreciableCtl);
        m_depreciableCtl->setChecked(category->isDepreciable());
    }
    m_percentCtl->setText(m_logic.openedRateText());
    m_depLabel->setVisible(category->isDepreciable());
    m_percentCtl->setVisible(category->isDepreciable());
    showChosenTags();
}

void EditCategoryViewController::showChosenTags()
{
    m_tokenField->setCategoryTags(m_logic.chosenTags());
    m_tokenField->setObjectValue(m_logic.chosenTagNames());
    fillTagMenu();
}

void EditCategoryViewController::fillTagMenu()
{
    m_tokenNamesPopup->clear();
    for (const auto& tag : m_logic.tagsToAdd())
        m_tokenNamesPopup->addItem(tag->name());
    m_tokenNamesPopup->setPlaceholderText(m_logic.storeTags().isEmpty() ? platform::Strings::tr("No tags")
                                                                        : platform::Strings::tr("Add a tag"));
    m_tokenNamesPopup->setCurrentIndex(-1);
    m_tokenNamesPopup->setEnabled(m_tokenNamesPopup->count() > 0);
}

void EditCategoryViewController::addTokenClick(int index)
{
    const QString name = m_tokenNamesPopup->itemText(index);
    m_tokenNamesPopup->setCurrentIndex(-1);
    if (m_logic.addTag(name, m_tokenField->tokenTexts()))
        showChosenTags();
    else
        fillTagMenu();
}

void EditCategoryViewController::foreignCurrencyClick()
{
    m_currencyCombo->setEnabled(m_foreignCurrencyCheck->isChecked());
    m_currencyMessage->hide();
}

void EditCategoryViewController::currencyChange()
{
    m_currencyMessage->hide();
}

void EditCategoryViewController::depreciableChange()
{
    const bool on = m_depreciableCtl->isChecked();
    m_depLabel->setVisible(on);
    m_percentCtl->setVisible(on);
    m_percentMessage->hide();
    if (on)
        m_percentCtl->setText(CategoryEditorLogic::rateText(m_logic.depreciationRate()));
}

void EditCategoryViewController::deprChange()
{
    if (const platform::MaybeError refused = m_logic.enterRate(m_percentCtl->text()))
        showMessage(m_percentMessage, *refused);
    else
        m_percentMessage->hide();
}

void EditCategoryViewController::showMessage(QLabel* label, const QString& text)
{
    label->setText(text);
    label->show();
}

void EditCategoryViewController::hideMessages()
{
    for (QLabel* label : { m_errorLabel, m_currencyMessage, m_percentMessage })
        label->hide();
}

void EditCategoryViewController::cancelButtonClick()
{
    Q_EMIT closeRequested();
}

void EditCategoryViewController::saveButtonClick()
{
    if (m_overlay)
        return;
    hideMessages();
    m_tokenField->tokenizeRemainingText();
    const bool foreign = m_foreignCurrencyCheck->isChecked();
    const CategoryForm form { m_categoryNameCtl->text(), m_categoryDescCtl->text(),
        m_tokenField->tokenTexts(), m_hiddenCategory->isChecked(), foreign,
        foreign ? m_currencyCombo->currentData().toString() : QString(), m_depreciableCtl->isChecked(),
        m_percentCtl->text() };
    if (const auto refused = m_logic.prepareSave(form)) {
        using Place = CategorySaveRefusal::Place;
        showMessage(refused->place == Place::Currency ? m_currencyMessage
                : refused->place == Place::Rate       ? m_percentMessage
                                                      : m_errorLabel,
            refused->message);
        return;
    }
    m_overlay = SavingOverlay::saveStore(
        this, [this](const platform::MaybeError& result) { saveFinished(result); });
}

void EditCategoryViewController::saveFinished(const platform::MaybeError& result)
{
    m_overlay = nullptr;
    if (result) {
        // The store has gone back to what the data file holds; the form stays as typed.
        m_logic.rebindToStore();
        m_category = m_logic.category();
        showMessage(m_errorLabel, *result);
        return;
    }
    m_category = m_logic.category();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(notifications::dataReFetched);
    center.post(notifications::assetCategorySave);
}
