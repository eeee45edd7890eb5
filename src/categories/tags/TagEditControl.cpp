#include "categories/tags/TagEditControl.h"

#include "categories/CategoriesNotifications.h"
#include "categories/common/TagColorImages.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "uikit/controls/box/RXRoundedBox.h"
#include "uikit/controls/fields/NWTextField.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/overlay/SavingOverlay.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

TagEditControl::TagEditControl(QWidget* parent) : QWidget(parent), m_logic(*NWData::shared())
{
    buildView();
    m_logic.open(nullptr);
    showChosenColor();
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, &TagEditControl::applyAppearance);
}

TagEditControl::~TagEditControl() = default;

void TagEditControl::buildView()
{
    setObjectName(u"TagEditControl"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(6);

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(u"titleLabel"_s);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 2);
    m_titleLabel->setFont(titleFont);
    layout->addWidget(m_titleLabel);
    layout->addSpacing(6);

    m_tagNameCtl = new NWTextField(this);
    m_tagNameCtl->setObjectName(u"tagNameCtl"_s);
    m_tagNameCtl->setMinimumHeight(28);
    m_tagDescCtl = new NWTextField(this);
    m_tagDescCtl->setObjectName(u"tagDescCtl"_s);
    m_tagDescCtl->setMinimumHeight(28);
    layout->addWidget(caption(platform::Strings::tr("Name"), this));
    layout->addWidget(m_tagNameCtl);
    layout->addWidget(caption(platform::Strings::tr("Description"), this));
    layout->addWidget(m_tagDescCtl);
    layout->addWidget(caption(platform::Strings::tr("Color"), this));

    m_colorBox = new RXRoundedBox(this);
    m_colorBox->setObjectName(u"colorBox"_s);
    m_colorBox->setBorderWidth(0.5);
    m_colorBox->setBorderRadius(3.0);
    m_colorBox->setTitleColor(Qt::white);
    m_colorBox->setDrawsTitle(false);
    m_colorBox->setDrawsFullTitleBar(false);
    m_colorBox->setSelected(false);
    m_colorBox->setDrawsGradientBackground(true);
    m_colorBox->setNoiseOpacity(0.0);
    auto* colors = new QHBoxLayout(m_colorBox);
    colors->setContentsMargins(10, 8, 10, 8);
    colors->setSpacing(4);
    for (const QString& name : TagEditLogic::colorNames()) {
        auto* button = new QCheckBox(m_colorBox);
        button->setObjectName(name.toLower() + u"Button"_s);
        const QImage image = TagColorImages::image(name, QSize(36, 36));
        button->setIcon(QPixmap::fromImage(image));
        button->setIconSize(QSize(18, 18));
        // Each press chooses its colour; the logic keeps exactly one on.
        connect(button, &QAbstractButton::clicked, this, [this, name] { colorButtonClick(name); });
        m_colorButtons.append(button);
        colors->addWidget(button);
    }
    colors->addStretch(1);
    layout->addWidget(m_colorBox);

    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(u"errorLabel"_s);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setTextFormat(Qt::PlainText);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_errorLabel->hide();
    layout->addWidget(m_errorLabel);
    layout->addStretch(1);

    auto* bottom = new QHBoxLayout;
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_saveButton = new QPushButton(platform::Strings::tr("Save"), this);
    m_saveButton->setObjectName(u"saveButton"_s);
    m_saveButton->setDefault(true);
    for (QPushButton* button : { m_cancelButton.data(), m_saveButton.data() })
        button->setMinimumWidth(90);
    bottom->addStretch(1);
    bottom->addWidget(m_cancelButton);
    bottom->addWidget(m_saveButton);
    layout->addLayout(bottom);
    connect(m_saveButton, &QPushButton::clicked, this, &TagEditControl::saveButtonClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &TagEditControl::cancelButtonClick);
    connect(m_tagNameCtl, &QLineEdit::returnPressed, this, &TagEditControl::saveButtonClick);

    applyAppearance();
    resize(400, sizeHint().height());
}

void TagEditControl::applyAppearance()
{
    const bool dark = platform::isDarkAppearance();
    // Light: a white box with a faint grey border; dark keeps the same contrast on grey.
    const QColor fill = dark ? QColor::fromRgbF(0.24f, 0.24f, 0.24f) : QColor::fromRgbF(1, 1, 1);
    m_colorBox->setBorderColor(
        dark ? QColor::fromRgbF(1, 1, 1, 0.2f) : QColor::fromRgbF(0.4f, 0.4f, 0.4f, 0.2f));
    m_colorBox->setGradientStartColor(fill);
    m_colorBox->setGradientEndColor(fill);
    m_colorBox->setBackgroundColor(fill);
    QPalette palette = m_errorLabel->palette();
    palette.setColor(QPalette::WindowText, dark ? QColor(0xff, 0x6b, 0x66) : QColor(0xc8, 0x20, 0x1c));
    m_errorLabel->setPalette(palette);
}

QAbstractButton* TagEditControl::colorButton(const QString& colorName) const
{
    const qsizetype index = TagEditLogic::colorNames().indexOf(colorName);
    return index < 0 ? nullptr : m_colorButtons.at(index);
}

void TagEditControl::showChosenColor()
{
    for (QAbstractButton* button : m_colorButtons)
        button->setChecked(false);
    if (m_logic.chosenColor())
        colorButton(*m_logic.chosenColor())->setChecked(true);
}

void TagEditControl::colorButtonClick(const QString& colorName)
{
    m_logic.chooseColor(colorName);
    showChosenColor();
}

void TagEditControl::setValues()
{
    m_logic.open(m_pendingTag);
    if (const auto& tag = m_logic.tagRecord()) {
        m_titleLabel->setText(platform::Strings::tr("Edit category tag"));
        m_tagNameCtl->setText(tag->name());
        m_tagDescCtl->setText(tag->desc());
    } else {
        m_titleLabel->setText(platform::Strings::tr("Add a new category tag"));
        m_tagNameCtl->clear();
        m_tagDescCtl->clear();
    }
    showChosenColor();
    m_tagNameCtl->setFocus();
}

void TagEditControl::showMessage(const QString& text)
{
    m_errorLabel->setText(text);
    m_errorLabel->show();
}

void TagEditControl::saveButtonClick()
{
    if (m_overlay)
        return;
    m_errorLabel->hide();
    if (const platform::MaybeError refused = m_logic.check(m_tagNameCtl->text())) {
        showMessage(*refused);
        return;
    }
    m_logic.apply(m_tagNameCtl->text(), m_tagDescCtl->text());
    m_tagNameCtl->setText(m_logic.tagRecord() ? m_logic.tagRecord()->name() : m_tagNameCtl->text());
    m_overlay = SavingOverlay::saveStore(
        this, [this](const platform::MaybeError& result) { saveFinished(result); });
}

void TagEditControl::saveFinished(const platform::MaybeError& result)
{
    m_overlay = nullptr;
    if (result) {
        // The store has gone back to what the data file holds; the fields stay as typed.
        m_logic.rebindToStore();
        showMessage(*result);
        return;
    }
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(notifications::dataReFetched);
    center.post(notifications::tagRecordSave);
}

void TagEditControl::cancelButtonClick()
{
    Q_EMIT closeRequested();
}
