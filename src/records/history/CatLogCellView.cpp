#include "records/history/CatLogCellView.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

CatLogCellView::CatLogCellView(QWidget* parent) : DVGenericTableRowView(parent)
{
    m_logDate = new QLabel(this);
    m_logDate->setObjectName(u"logDate"_s);
    // A long amount is set smaller, then elided at its end; its month stays whole.
    m_logAmount = new FittingLabel(font(), minimumAmountPixels, this);
    m_logAmount->setObjectName(u"logAmount"_s);
    m_logAmount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* label : std::initializer_list<QLabel*> { m_logDate.data(), m_logAmount.data() }) {
        label->setTextFormat(Qt::PlainText);
        // Presses on the texts select the row like presses on the row's surface.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addWidget(m_logDate, 1);
    layout->addWidget(m_logAmount);
}
