#include "categories/filter/NWTagSelectionCellView.h"

#include "categories/common/TagColorImages.h"
#include "uikit/controls/rows/TableRowView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;

NWTagSelectionCellView::NWTagSelectionCellView(QWidget* parent)
    : QWidget(parent)
    , m_tagCheckBox(new QCheckBox(this))
    , m_tagImage(new QLabel(this))
    , m_tagNameLabel(new QLabel(this))
{
    setObjectName(u"NWTagSelectionCellView"_s);
    m_tagCheckBox->setObjectName(u"tagCheckBox"_s);
    m_tagImage->setObjectName(u"tagImage"_s);
    m_tagImage->setFixedSize(18, 18);
    m_tagImage->setAlignment(Qt::AlignCenter);
    m_tagNameLabel->setObjectName(u"tagNameLabel"_s);
    m_tagNameLabel->setTextFormat(Qt::PlainText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 2, 10, 2);
    layout->setSpacing(8);
    layout->addWidget(m_tagCheckBox);
    layout->addWidget(m_tagImage);
    layout->addWidget(m_tagNameLabel, 1);
}

void NWTagSelectionCellView::setTag(const MVX_Tags& tag, bool checked)
{
    m_tagNameLabel->setText(tag.name());
    m_tagCheckBox->setChecked(checked);
    const qreal ratio = devicePixelRatioF();
    QImage image = TagColorImages::image(tag.hexColorString(), QSize(16, 16) * ratio);
    image.setDevicePixelRatio(ratio);
    m_tagImage->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}

NWTagSelectionCellView* NWTagSelectionCellView::fillRow(
    TableRowView& rowView, const MVX_Tags* tag, bool checked, std::function<void(bool)> toggled)
{
    rowView.setSelectionHighlightStyle(TableRowView::SelectionHighlightStyle::None);
    auto* cell = new NWTagSelectionCellView(&rowView);
    auto* layout = new QHBoxLayout(&rowView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cell);
    if (tag)
        cell->setTag(*tag, checked);
    connect(cell->tagCheckBox(), &QCheckBox::toggled, &rowView, std::move(toggled));
    return cell;
}
