#include "app/selection/GenericSelCellView.h"

#include "model/values/GenericSelectionRecord.h"
#include "platform/Resources.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/avatar/DVAvatarImageView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kPictureSize = 32;
}

GenericSelCellView::GenericSelCellView(QWidget* parent)
    : QWidget(parent)
    , m_nameField(new QLabel(this))
    , m_descField(new QLabel(this))
    , m_photoField(new DVAvatarImageView(this))
    , m_selectCtl(new QCheckBox(this))
    , m_emojiFld(new QLabel(this))
{
    setObjectName(u"GenericSelCellView"_s);
    m_nameField->setObjectName(u"nameField"_s);
    m_descField->setObjectName(u"descField"_s);
    m_photoField->setObjectName(u"photoField"_s);
    m_selectCtl->setObjectName(u"selectCtl"_s);
    m_emojiFld->setObjectName(u"emojiFld"_s);
    for (QLabel* label : { m_nameField, m_descField, m_emojiFld })
        label->setTextFormat(Qt::PlainText);
    m_descField->setForegroundRole(QPalette::PlaceholderText);
    QFont small = m_descField->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_descField->setFont(small);
    m_photoField->setFixedSize(kPictureSize, kPictureSize);
    m_emojiFld->setFixedSize(kPictureSize, kPictureSize);
    m_emojiFld->setAlignment(Qt::AlignCenter);
    QFont emojiFont = m_emojiFld->font();
    emojiFont.setPointSizeF(emojiFont.pointSizeF() * 1.6);
    m_emojiFld->setFont(emojiFont);
    // The row is chosen by clicking it; the check box only shows and changes the mark.
    m_selectCtl->setFocusPolicy(Qt::NoFocus);

    auto* lines = new QVBoxLayout;
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    lines->addStretch(1);
    lines->addWidget(m_nameField);
    lines->addWidget(m_descField);
    lines->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 4, 10, 4);
    layout->setSpacing(8);
    layout->addWidget(m_selectCtl);
    layout->addWidget(m_photoField);
    layout->addWidget(m_emojiFld);
    layout->addLayout(lines, 1);
}

void GenericSelCellView::setRecord(
    const GenericSelectionRecord& record, const QString& unknownImageName, bool multiSelect)
{
    m_nameField->setText(record.name());
    m_descField->setText(record.subtitle());
    m_selectCtl->setVisible(multiSelect);
    m_selectCtl->setChecked(multiSelect && record.isSelected());

    if (unknownImageName == noPictureName) {
        m_photoField->hide();
        m_emojiFld->hide();
        return;
    }
    if (!record.emoji().isEmpty()) {
        m_photoField->hide();
        m_emojiFld->setText(KitDrawing::drawableEmoji(record.emoji()));
        m_emojiFld->show();
        return;
    }
    m_emojiFld->hide();
    m_photoField->setAVImage(QImage(), true);
    const QImage picture = record.image().isNull() ? platform::image(unknownImageName) : record.image();
    m_photoField->setAVImage(picture, false);
    m_photoField->setBorderWidth(2.0f);
    m_photoField->setBorderColor(QColor::fromRgbF(1.0f, 149.0f / 255.0f, 0.0f, 0.5f));
    m_photoField->show();
}
