#include "categories/tags/NWTagCellView.h"

#include "categories/common/NWCategoryCellView.h"

#include "categories/common/TagColorImages.h"
#include "platform/Resources.h"

#include <QGridLayout>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;

NWTagCellView::NWTagCellView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NWTagCellView"_s);
    m_tagView = new QLabel(this);
    m_tagView->setObjectName(u"tagView"_s);
    m_tagView->setFixedSize(imageSize + 4, imageSize + 4);
    m_tagView->setAlignment(Qt::AlignCenter);
    m_nameField = NWCategoryCellView::makeNameField(this);
    m_descField = NWCategoryCellView::makeDescField(this);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 3, 10, 3);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(0);
    layout->addWidget(m_tagView, 0, 0, 2, 1);
    layout->addWidget(m_nameField, 0, 1);
    layout->addWidget(m_descField, 1, 1);
    layout->setColumnStretch(1, 1);
}

void NWTagCellView::setTag(const MVX_Tags& tag)
{
    m_nameField->setText(tag.name());
    m_descField->setText(tag.desc());
    m_descField->setToolTip(tag.desc());
    const qreal ratio = devicePixelRatioF();
    QImage image = TagColorImages::image(tag.hexColorString(), QSize(imageSize, imageSize) * ratio);
    if (image.isNull()) {
        m_tagView->clear();
        return;
    }
    image.setDevicePixelRatio(ratio);
    m_tagView->setPixmap(QPixmap::fromImage(image));
}
