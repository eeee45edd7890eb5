#include "records/cells/NWCategoryLogCellView.h"

#include "records/cells/NWTableTextField.h"

#include "platform/Appearance.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

NWCategoryLogCellView::NWCategoryLogCellView(QWidget* parent) : QWidget(parent)
{
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(6, 2, 6, 2);
    m_layout->setSpacing(6);

    m_currencyFlag = new QLabel(this);
    m_currencyFlag->setFixedWidth(22);
    m_currencyFlag->setAlignment(Qt::AlignCenter);
    m_categoryLabel = new QLabel(this);
    m_categoryLabel->setTextFormat(Qt::PlainText);
    m_categoryLabel->setMinimumWidth(60);
    m_entryMessageLabel = new QLabel(this);
    m_entryMessageLabel->setTextFormat(Qt::PlainText);
    // Inside a table's viewport a label would draw in the Text role; the note's colour is set
    // in WindowText.
    m_entryMessageLabel->setForegroundRole(QPalette::WindowText);
    m_entryMessageLabel->hide();
    m_valueLabel = new NWTableTextField(this);
    m_valueLabel->setObjectName(QStringLiteral("valueLabel"));
    m_valueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_valueLabel->setFixedWidth(130);
    m_exchangeRateField = new QLineEdit(this);
    m_exchangeRateField->setObjectName(QStringLiteral("exchangeRateField"));
    // The rate comes from the store; nothing would read a typed one.
    m_exchangeRateField->setReadOnly(true);
    m_exchangeRateField->setFocusPolicy(Qt::NoFocus);
    m_exchangeRateField->setFrame(false);
    m_exchangeRateField->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_exchangeRateField->setFixedWidth(72);

    m_layout->addWidget(m_currencyFlag);
    m_layout->addWidget(m_categoryLabel, 1);
    m_layout->addWidget(m_entryMessageLabel);
    m_layout->addWidget(m_valueLabel);
    m_layout->addWidget(m_exchangeRateField);
    recolorValueText();
    recolorEntryMessage();
}

QColor NWCategoryLogCellView::valueTextColor(bool isAsset, bool isPrePopulated, bool dark)
{
    // Where the first colour of each pair would fall below 4.5:1, the same hue is darkened
    // (light field) or lightened (dark field) until it reaches it, with a little to spare for
    // the glyphs' smoothed edges.
    if (isPrePopulated)
        return dark ? QColor::fromRgbF(0.7f, 0.7f, 0.7f, 1.0f) : QColor(0x66, 0x66, 0x66);
    if (isAsset)
        return dark ? QColor::fromRgbF(0.37f, 0.77f, 0.39f, 1.0f) : QColor(0x2B, 0x75, 0x2F);
    return dark ? QColor(0xFD, 0x8C, 0xAA) : QColor(0xCE, 0x04, 0x39);
}

QColor NWCategoryLogCellView::entryMessageColor(bool dark)
{
    // The hue of #e0403a; the hover glow and the selection lighten the dark row.
    return dark ? QColor(0xF4, 0xBC, 0xBA) : QColor(0xBD, 0x24, 0x1E);
}

void NWCategoryLogCellView::setPrepulated(bool prePopulated)
{
    setIsPrePopulated(prePopulated);
    recolorValueText();
}

void NWCategoryLogCellView::setAsAsset(bool asset)
{
    setIsAsset(asset);
    recolorValueText();
}

void NWCategoryLogCellView::setEntryMessage(const QString& message)
{
    // The row is narrow: its first words show, the whole message is the tooltip.
    const QString shown = message.section(u':', 0, 0);
    m_entryMessageLabel->setText(shown);
    m_entryMessageLabel->setToolTip(message);
    m_entryMessageLabel->setVisible(!message.isEmpty());
}

void NWCategoryLogCellView::recolorValueText()
{
    QPalette palette = m_valueLabel->palette();
    palette.setColor(QPalette::Text,
        valueTextColor(m_isAsset, m_isPrePopulated, platform::isDarkPalette(this->palette())));
    m_valueLabel->setPalette(palette);
}

void NWCategoryLogCellView::recolorEntryMessage()
{
    QPalette palette = m_entryMessageLabel->palette();
    palette.setColor(QPalette::WindowText, entryMessageColor(platform::isDarkPalette(this->palette())));
    m_entryMessageLabel->setPalette(palette);
}

void NWCategoryLogCellView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The two fields hold their own text colours, which a new palette would not change.
    if (event->type() == QEvent::PaletteChange) {
        recolorValueText();
        recolorEntryMessage();
    }
}

NWCategoryLogCellViewEx::NWCategoryLogCellViewEx(QWidget* parent) : NWCategoryLogCellView(parent)
{
    m_valueLabel2 = new QLabel(this);
    m_valueLabel2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_valueLabelDiff = new QLabel(this);
    m_valueLabelDiff->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rowLayout()->addWidget(m_valueLabel2);
    rowLayout()->addWidget(m_valueLabelDiff);
}
