#pragma once

#include "uikit/controls/tokens/TKTokenAttachmentCell.h"

#include <QHash>
#include <QObject>
#include <QTextObjectInterface>
#include <QVariant>

#include <memory>

class QTextEdit;
class TKTokenFieldCell;

/// May supply the capsule cell of a token.
class TKTokenFieldCellDelegate {
public:
    virtual ~TKTokenFieldCellDelegate() = default;
    /// None: the cell keeps the attachment's existing cell (a plain capsule).
    virtual std::shared_ptr<TKTokenAttachmentCell> tokenFieldCellAttachmentCell(
        TKTokenFieldCell* cell, const QVariant& representedObject)
    {
        Q_UNUSED(cell)
        Q_UNUSED(representedObject)
        return nullptr;
    }
};

/// Keeps the tokens (text attachments) of one token field: each attachment carries its
/// represented object and its capsule cell, given once when the token is made and never
/// changed afterwards. Lays out and draws the attachments inside the field's text.
class TKTokenFieldCell : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    /// The text object type of tokens and the format property holding an attachment's id.
    static constexpr int TokenObjectType = QTextFormat::UserObject + 1;
    static constexpr int AttachmentIdProperty = QTextFormat::UserProperty + 1;

    /// `view` is the text control the attachments live in (not owned; it owns this cell).
    explicit TKTokenFieldCell(QTextEdit* view);

    /// Not owned.
    void setDelegate(TKTokenFieldCellDelegate* delegate) { m_delegate = delegate; }
    TKTokenFieldCellDelegate* delegate() const { return m_delegate; }

    /// Makes a new attachment for `representedObject` and dresses it; returns its id.
    int makeAttachment(const QVariant& representedObject);
    /// The represented object of attachment `id`; a null variant for an unknown id.
    QVariant representedObject(int id) const;
    /// The capsule cell of attachment `id`; none for an unknown id.
    std::shared_ptr<TKTokenAttachmentCell> attachmentCell(int id) const;
    /// Asks the delegate for a capsule cell.
    std::shared_ptr<TKTokenAttachmentCell> attachmentCellForRepresentedObject(
        const QVariant& representedObject);
    /// Forgets every attachment (the text no longer holds any).
    void clearAttachments() { m_attachments.clear(); }

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
        const QTextFormat& format) override;

private:
    struct Attachment {
        QVariant representedObject;
        std::shared_ptr<TKTokenAttachmentCell> cell;
    };

    QTextEdit* m_view;
    TKTokenFieldCellDelegate* m_delegate = nullptr;
    QHash<int, Attachment> m_attachments;
    int m_nextId = 1;
};
