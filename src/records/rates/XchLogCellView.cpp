#include "records/rates/XchLogCellView.h"

#include "uikit/controls/KitColors.h"
#include "uikit/controls/KitDrawing.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

XchLogCellView::XchLogCellView(QWidget* parent) : DVGenericTableRowView(parent)
{
    const auto makeLabel = [this](const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        // Presses on the texts select the row like presses on the row's surface.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    };
    m_currencyFlag = makeLabel(u"currencyFlag"_s);
    m_currencyFlag->setFixedWidth(24);
    m_currencyFlag->setAlignment(Qt::AlignCenter);
    QFont flagFont = m_currencyFlag->font();
    flagFont.setPointSizeF(flagFont.pointSizeF() * 1.3);
    m_currencyFlag->setFont(flagFont);
    m_currencyName = makeLabel(u"currencyName"_s);
    m_currencySymbol = makeLabel(u"currencySymbol"_s);
    KitColors::setNamedColor(m_currencySymbol, u"SecondaryText"_s);
    m_exchangeRate = makeLabel(u"exchangeRate"_s);
    m_exchangeRate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 10, 0);
    layout->setSpacing(8);
    layout->addWidget(m_currencyFlag);
    layout->addWidget(m_currencyName);
    layout->addWidget(m_currencySymbol);
    layout->addStretch(1);
    layout->addWidget(m_exchangeRate);
}

void XchLogCellView::setFlag(const QString& flagEmoji)
{
    m_currencyFlag->setText(KitDrawing::drawableEmoji(flagEmoji));
}
