#pragma once

#include "uikit/controls/tokens/TKTokenAttachmentCell.h"
#include "uikit/controls/tokens/TKTokenFieldCell.h"

#include "model/data/MVX_Model.h"

#include <QColor>
#include <QHash>
#include <QStringList>
#include <QTextEdit>
#include <QVariantList>

#include <memory>

class TKTokenField;

/// May supply the capsule cell of a token in place of the tag-coloured one.
class TKTokenFieldDelegate {
public:
    virtual ~TKTokenFieldDelegate() = default;
    /// None: the field makes its tag-coloured capsule.
    virtual std::shared_ptr<TKTokenAttachmentCell> tokenFieldAttachmentCell(
        TKTokenField* field, const QVariant& representedObject)
    {
        Q_UNUSED(field)
        Q_UNUSED(representedObject)
        return nullptr;
    }
};

/// A single-line field that shows a category's tags as capsules in their tags' colours.
/// Typing a comma (or Return, or leaving the field) turns the text typed so far into a
/// token; a token whose text equals a tag's name takes that tag's colours from the
/// colour table its owner gives, any other token the "WHITE" colours.
class TKTokenField : public QTextEdit, private TKTokenFieldCellDelegate {
    Q_OBJECT
public:
    explicit TKTokenField(QWidget* parent = nullptr);

    /// The tags whose names and colour names colour new tokens; tokens already made keep
    /// their colours.
    const MVX_TagsList& categoryTags() const { return m_categoryTags; }
    void setCategoryTags(const MVX_TagsList& tags) { m_categoryTags = tags; }
    /// Colours by colour name: "<NAME>" fills, "<NAME>_LINE" strokes, "<NAME>_TEXT" writes
    /// (the shape of the store's tag colour table). Applies to tokens made from now on; a
    /// token whose colour name is missing takes "WHITE", and without a table tokens draw
    /// with no fill or stroke.
    const QHash<QString, QColor>& tagColors() const { return m_tagColors; }
    void setTagColors(const QHash<QString, QColor>& colors) { m_tagColors = colors; }
    /// Not owned.
    TKTokenFieldDelegate* delegate() const { return m_delegate; }
    void setDelegate(TKTokenFieldDelegate* delegate) { m_delegate = delegate; }

    /// The represented objects of the tokens in order, followed by any text typed after
    /// the last token and not yet made a token (trimmed; left out when blank).
    QVariantList objectValue() const;
    /// The same as texts.
    QStringList tokenTexts() const;
    /// Replaces the content with one token per object (an empty list for none).
    void setObjectValue(const QVariantList& objects);
    void setObjectValue(const QStringList& texts);

    /// The cell that keeps this field's tokens.
    TKTokenFieldCell* tokenFieldCell() const { return m_cell; }
    /// The capsule of the token at `position` in the text; none when there is no token.
    std::shared_ptr<TKTokenAttachmentCell> attachmentCellAt(int position) const;
    /// Makes tokens of all text typed so far.
    void tokenizeRemainingText();

    /// The capsule the field makes for `representedObject` (colours of its tag).
    std::shared_ptr<TKTokenAttachmentCell> tokenCellForRepresentedObject(
        const QVariant& representedObject) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /// Return was pressed or the field lost focus; the text is tokenized by then.
    void editingFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    std::shared_ptr<TKTokenAttachmentCell> tokenFieldCellAttachmentCell(
        TKTokenFieldCell* cell, const QVariant& representedObject) override;
    void insertToken(QTextCursor& cursor, const QVariant& representedObject);
    /// Turns every run of text ended by a separator into a token; with `all`, the text
    /// after the last separator too.
    void tokenize(bool all);
    void resetTypingFormat();
    /// The token's text, or the character itself, for a range of the document.
    QString textForRange(int start, int end) const;
    int tokenIdAt(int position) const;

    TKTokenFieldCell* m_cell;
    TKTokenFieldDelegate* m_delegate = nullptr;
    MVX_TagsList m_categoryTags;
    QHash<QString, QColor> m_tagColors;
    bool m_tokenizing = false;
};
