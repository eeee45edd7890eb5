#include "charts/history/menu/LnChartSettCellView.h"

#include "platform/SaneGeometry.h"
#include "uikit/controls/KitColors.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

LnChartSettCellView::LnChartSettCellView(QWidget* parent)
    : QWidget(parent), m_categoryNameLabel(new QLabel(this)), m_categorySelected(new QLabel(this))
{
    setObjectName(u"LnChartSettCell"_s);
    m_categoryNameLabel->setObjectName(u"categoryNameLabel"_s);
    m_categoryNameLabel->setTextFormat(Qt::PlainText);
    m_categorySelected->setObjectName(u"categorySelected"_s);
    m_categorySelected->setTextFormat(Qt::PlainText);
    QFont iconFont(u"FontAwesome"_s);
    iconFont.setPointSizeF(font().pointSizeF() + 1);
    m_categorySelected->setFont(iconFont);
    m_categorySelected->setFixedWidth(18);
    m_categorySelected->setAlignment(Qt::AlignCenter);
    // Presses go through to the row, which picks the category.
    m_categoryNameLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_categorySelected->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setSpacing(6);
    layout->addWidget(m_categorySelected);
    layout->addWidget(m_categoryNameLabel, 1);
}

void LnChartSettCellView::setMarked(bool marked)
{
    m_categorySelected->setText(marked ? QString(QChar(choiceMark)) : QString(u""_s));
}

bool LnChartSettCellView::isMarked() const
{
    return !m_categorySelected->text().isEmpty();
}

void LnChartSettCellView::setTextOpacity(qreal opacity)
{
    m_textOpacity = platform::saneValue(opacity, 0.0, 1.0, 1.0);
    // Dimmed as far as greyed text may be: the design's fraction of the text colour fell
    // below 3:1 in both appearances.
    for (QLabel* label : { m_categoryNameLabel, m_categorySelected })
        KitColors::setGreyed(label, m_textOpacity < 1.0);
}
