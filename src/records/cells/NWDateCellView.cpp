#include "records/cells/NWDateCellView.h"

#include <QHBoxLayout>
#include <QLabel>

NWDateCellView::NWDateCellView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    m_valueLabel = new QLabel(this);
    m_valueLabel->setAlignment(Qt::AlignCenter);
    m_valueLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(m_valueLabel);
    // Presses reach the row, which selects itself.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}
