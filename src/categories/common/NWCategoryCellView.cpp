#include "categories/common/NWCategoryCellView.h"

#include "model/format/Flags.h"
#include "model/store/NWData.h"
#include "uikit/controls/KitColors.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/tokens/TKTokenField.h"

#include <QGridLayout>

using namespace Qt::Literals::StringLiterals;

NWCategoryCellView::NWCategoryCellView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NWCategoryCellView"_s);
    m_currencyFlag = new QLabel(this);
    m_currencyFlag->setObjectName(u"currencyFlag"_s);
    m_currencyFlag->setFixedWidth(22);
    m_currencyFlag->setAlignment(Qt::AlignCenter);
    m_nameField = makeNameField(this);
    m_descField = makeDescField(this);
    m_tokenField = new TKTokenField(this);
    m_tokenField->setObjectName(u"tokenField"_s);
    // Shown, not edited: the editor is where tags are chosen.
    m_tokenField->setReadOnly(true);
    m_tokenField->setFocusPolicy(Qt::NoFocus);
    m_tokenField->setFrameShape(QFrame::NoFrame);
    m_tokenField->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_tokenField->viewport()->setAutoFillBackground(false);
    m_tokenField->setFixedHeight(24);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 4, 10, 4);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(0);
    layout->addWidget(m_currencyFlag, 0, 0, 2, 1);
    layout->addWidget(m_nameField, 0, 1);
    layout->addWidget(m_descField, 1, 1);
    layout->addWidget(m_tokenField, 0, 2, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
}

QLabel* NWCategoryCellView::makeNameField(QWidget* parent)
{
    auto* field = new QLabel(parent);
    field->setObjectName(u"nameField"_s);
    field->setTextFormat(Qt::PlainText);
    QFont bold = field->font();
    bold.setBold(true);
    field->setFont(bold);
    return field;
}

QLabel* NWCategoryCellView::makeDescField(QWidget* parent)
{
    auto* field = new QLabel(parent);
    field->setObjectName(u"descField"_s);
    field->setTextFormat(Qt::PlainText);
    // Inside a list's viewport a label draws with the Text role, elsewhere with WindowText.
    KitColors::setNamedColor(field, u"SecondaryText"_s, { QPalette::WindowText, QPalette::Text });
    return field;
}

void NWCategoryCellView::setCategory(const MVX_Category& category)
{
    const NWData& store = *NWData::shared();
    m_nameField->setText(category.categoryName());
    m_descField->setText(category.desc());
    m_descField->setToolTip(category.desc());
    const bool flagged
        = category.isForeignCurrency() && store.supportedCurrencies().contains(category.currency());
    m_currencyFlag->setText(
        flagged ? KitDrawing::drawableEmoji(Flags::flagEmoji(category.currency().left(2))) : QString());
    m_currencyFlag->setToolTip(flagged ? category.currency() : QString());

    MVX_TagsList tags;
    QStringList names;
    const auto& model = store.appData();
    for (const QString& id : category.tags().value_or(QStringList())) {
        if (!model || !model->tags())
            break;
        for (const auto& tag : *model->tags()) {
            if (tag && tag->ID() == id) {
                tags.append(tag);
                names.append(tag->name());
                break;
            }
        }
    }
    m_tokenField->setTagColors(store.tagColors());
    m_tokenField->setCategoryTags(tags);
    m_tokenField->setObjectValue(names);
}
