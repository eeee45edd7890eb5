#include "uikit/controls/tokens/TKTokenFieldCell.h"

#include <QTextCursor>
#include <QTextEdit>

TKTokenFieldCell::TKTokenFieldCell(QTextEdit* view) : QObject(view), m_view(view)
{
}

int TKTokenFieldCell::makeAttachment(const QVariant& representedObject)
{
    std::shared_ptr<TKTokenAttachmentCell> cell = attachmentCellForRepresentedObject(representedObject);
    if (!cell) {
        cell = std::make_shared<TKTokenAttachmentCell>();
        cell->setStringValue(representedObject.toString());
    }
    const int id = m_nextId++;
    m_attachments.insert(id, Attachment { representedObject, std::move(cell) });
    return id;
}

QVariant TKTokenFieldCell::representedObject(int id) const
{
    return m_attachments.value(id).representedObject;
}

std::shared_ptr<TKTokenAttachmentCell> TKTokenFieldCell::attachmentCell(int id) const
{
    return m_attachments.value(id).cell;
}

std::shared_ptr<TKTokenAttachmentCell> TKTokenFieldCell::attachmentCellForRepresentedObject(
    const QVariant& representedObject)
{
    return m_delegate ? m_delegate->tokenFieldCellAttachmentCell(this, representedObject) : nullptr;
}

QSizeF TKTokenFieldCell::intrinsicSize(QTextDocument*, int, const QTextFormat& format)
{
    const auto cell = attachmentCell(format.intProperty(AttachmentIdProperty));
    return cell ? cell->cellSize() : QSizeF();
}

void TKTokenFieldCell::drawObject(
    QPainter* painter, const QRectF& rect, QTextDocument*, int position, const QTextFormat& format)
{
    const auto cell = attachmentCell(format.intProperty(AttachmentIdProperty));
    if (!cell)
        return;
    QList<TKTokenAttachmentCell::Range> selected;
    const QTextCursor cursor = m_view->textCursor();
    if (cursor.hasSelection())
        selected.append({ cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart() });
    const bool keyWindow = m_view->window() && m_view->window()->isActiveWindow();
    // The line may be taller than the capsule: keep the capsule's own size, centred.
    const QSizeF size = cell->cellSize();
    const QRectF frame(rect.x(), rect.center().y() - size.height() / 2, rect.width(), size.height());
    cell->drawWithFrame(*painter, frame, position, selected, false, keyWindow);
}
