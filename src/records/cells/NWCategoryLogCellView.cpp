#include "records/cells/NWCategoryLogCellView.h"

#include "records/cells/NWTableTextField.h"

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
    m_entryMessageLabel->setStyleSheet(QStringLiteral("color: #e0403a;"));
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
}

QColor NWCategoryLogCellView::valueTextColor(bool isAsset, bool isPrePopulated)
{
    if (isPrePopulated)
        return QColor::fromRgbF(0.7f, 0.7f, 0.7f, 1.0f);
    return isAsset ? QColor::fromRgbF(0.37f, 0.77f, 0.39f, 1.0f)
                   : QColor::fromRgbF(0.99f, 0.31f, 0.49f, 1.0f);
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
    palette.setColor(QPalette::Text, valueTextColor(m_isAsset, m_isPrePopulated));
    m_valueLabel->setPalette(palette);
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
