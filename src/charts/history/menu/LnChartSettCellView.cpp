#include "charts/history/menu/LnChartSettCellView.h"

#include "platform/SaneGeometry.h"

#include <QApplication>
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
    QPalette dimmed = QApplication::palette();
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        QColor text = dimmed.color(group, QPalette::WindowText);
        text.setAlphaF(text.alphaF() * opacity);
        dimmed.setColor(group, QPalette::WindowText, text);
    }
    m_categoryNameLabel->setPalette(dimmed);
    m_categorySelected->setPalette(dimmed);
}
