#include "uikit/controls/tokens/TKTokenField.h"

#include "platform/Fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char16_t TokenCharacter = 0xFFFC; // the object replacement character

bool isSeparator(QChar c)
{
    return c == u',' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

} // namespace

TKTokenField::TKTokenField(QWidget* parent) : QTextEdit(parent), m_cell(new TKTokenFieldCell(this))
{
    m_cell->setDelegate(this);
    document()->documentLayout()->registerHandler(TKTokenFieldCell::TokenObjectType, m_cell);
    document()->setDocumentMargin(2);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize TKTokenField::sizeHint() const
{
    const int line = QFontMetrics(font()).height() + 8;
    return QSize(200, line + 2 * frameWidth());
}

QSize TKTokenField::minimumSizeHint() const
{
    return QSize(40, sizeHint().height());
}

std::shared_ptr<TKTokenAttachmentCell> TKTokenField::tokenCellForRepresentedObject(
    const QVariant& representedObject) const
{
    auto cell = std::make_shared<TKTokenAttachmentCell>();
    const QString text = representedObject.toString();
    cell->setStringValue(text);
    cell->setBaselineOffset(2.0f);
    QFont font;
    font.setFamilies(platform::designFontFamilies());
    font.setWeight(QFont::Light);
    font.setPointSizeF(11);
    cell->setTextFont(font);

    const QHash<QString, QColor>& colors = m_tagColors;
    QString colorName = u"WHITE"_s;
    for (const auto& tag : m_categoryTags) {
        if (tag && tag->name() == text) {
            colorName = tag->hexColorString();
            break;
        }
    }
    // A colour name the table does not know draws white, like a token without a tag.
    if (!colors.contains(colorName) || !colors.contains(colorName + u"_LINE"_s)
        || !colors.contains(colorName + u"_TEXT"_s))
        colorName = u"WHITE"_s;
    cell->setFillColor(colors.value(colorName));
    cell->setStrokeColor(colors.value(colorName + u"_LINE"_s));
    cell->setTextColor(colors.value(colorName + u"_TEXT"_s));
    return cell;
}

std::shared_ptr<TKTokenAttachmentCell> TKTokenField::tokenFieldCellAttachmentCell(
    TKTokenFieldCell*, const QVariant& representedObject)
{
    if (m_delegate) {
        if (auto cell = m_delegate->tokenFieldAttachmentCell(this, representedObject))
            return cell;
    }
    return tokenCellForRepresentedObject(representedObject);
}

int TKTokenField::tokenIdAt(int position) const
{
    if (position < 0 || position >= document()->characterCount() - 1)
        return 0;
    QTextCursor cursor(document());
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat(); // the format of the character before
    return format.objectType() == TKTokenFieldCell::TokenObjectType
        ? format.intProperty(TKTokenFieldCell::AttachmentIdProperty)
        : 0;
}

std::shared_ptr<TKTokenAttachmentCell> TKTokenField::attachmentCellAt(int position) const
{
    const int id = tokenIdAt(position);
    return id ? m_cell->attachmentCell(id) : nullptr;
}

QVariantList TKTokenField::objectValue() const
{
    QVariantList objects;
    const QString text = toPlainText();
    QString pending;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == TokenCharacter) {
            if (const int id = tokenIdAt(i)) {
                objects.append(m_cell->representedObject(id));
                pending.clear();
                continue;
            }
        }
        if (isSeparator(text[i]))
            pending.clear();
        else
            pending.append(text[i]);
    }
    if (!pending.trimmed().isEmpty())
        objects.append(pending.trimmed());
    return objects;
}

QStringList TKTokenField::tokenTexts() const
{
    QStringList texts;
    for (const QVariant& object : objectValue())
        texts.append(object.toString());
    return texts;
}

void TKTokenField::setObjectValue(const QVariantList& objects)
{
    m_tokenizing = true;
    clear();
    m_cell->clearAttachments();
    QTextCursor cursor(document());
    for (const QVariant& object : objects)
        insertToken(cursor, object);
    m_tokenizing = false;
    resetTypingFormat();
}

void TKTokenField::setObjectValue(const QStringList& texts)
{
    QVariantList objects;
    for (const QString& text : texts)
        objects.append(text);
    setObjectValue(objects);
}

void TKTokenField::insertToken(QTextCursor& cursor, const QVariant& representedObject)
{
    QTextCharFormat format;
    format.setObjectType(TKTokenFieldCell::TokenObjectType);
    format.setProperty(TKTokenFieldCell::AttachmentIdProperty, m_cell->makeAttachment(representedObject));
    format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    cursor.insertText(QString(QChar(TokenCharacter)), format);
}

void TKTokenField::resetTypingFormat()
{
    // Text typed after a token must not inherit the token's object format.
    QTextCursor cursor = textCursor();
    if (cursor.charFormat().objectType() == TKTokenFieldCell::TokenObjectType) {
        cursor.setCharFormat(QTextCharFormat());
        setTextCursor(cursor);
    }
    setCurrentCharFormat(QTextCharFormat());
}

void TKTokenField::tokenize(bool all)
{
    if (m_tokenizing)
        return;
    m_tokenizing = true;
    const QString text = toPlainText();
    struct Run {
        int start;
        int end;
        bool separated;
    };
    QList<Run> runs;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == TokenCharacter) {
            if (i > start)
                runs.append({ start, i, false });
            start = i + 1;
        } else if (isSeparator(text[i])) {
            runs.append({ start, i + 1, true });
            start = i + 1;
        }
    }
    if (start < text.size())
        runs.append({ start, static_cast<int>(text.size()), false });

    int caret = textCursor().position();
    // From the end, so that earlier positions stay valid while runs are replaced.
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        if (!run->separated && !all)
            continue; // still being typed
        const QString word
            = text.mid(run->start, (run->separated ? run->end - 1 : run->end) - run->start).trimmed();
        QTextCursor cursor(document());
        cursor.setPosition(run->start);
        cursor.setPosition(run->end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        const int kept = word.isEmpty() ? 0 : 1;
        if (kept)
            insertToken(cursor, word);
        if (caret >= run->end)
            caret -= run->end - run->start - kept;
        else if (caret > run->start)
            caret = run->start + kept;
    }
    m_tokenizing = false;
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(caret, document()->characterCount() - 1));
    setTextCursor(cursor);
    resetTypingFormat();
}

void TKTokenField::tokenizeRemainingText()
{
    tokenize(true);
}

void TKTokenField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        tokenize(true);
        Q_EMIT editingFinished();
        event->accept();
        return;
    }
    resetTypingFormat();
    QTextEdit::keyPressEvent(event);
    if (event->text().contains(u','))
        tokenize(false);
}

void TKTokenField::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    tokenize(true);
    Q_EMIT editingFinished();
}

void TKTokenField::mousePressEvent(QMouseEvent* event)
{
    // A click on a token selects exactly that token.
    const QPoint point = event->position().toPoint();
    const QTextCursor hit = cursorForPosition(point);
    for (const int position : { hit.position() - 1, hit.position() }) {
        if (!tokenIdAt(position))
            continue;
        QTextCursor left(document());
        left.setPosition(position);
        QTextCursor right(document());
        right.setPosition(position + 1);
        if (point.x() >= cursorRect(left).left() && point.x() <= cursorRect(right).left()) {
            setFocus(Qt::MouseFocusReason);
            QTextCursor selection(document());
            selection.setPosition(position);
            selection.setPosition(position + 1, QTextCursor::KeepAnchor);
            setTextCursor(selection);
            event->accept();
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

bool TKTokenField::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void TKTokenField::insertFromMimeData(const QMimeData* source)
{
    QString text = source->text();
    text.replace(u'\n', u',');
    text.remove(u'\r');
    text.remove(TokenCharacter);
    resetTypingFormat();
    textCursor().insertText(text, QTextCharFormat());
    tokenize(false);
}

QString TKTokenField::textForRange(int start, int end) const
{
    const QString text = toPlainText();
    QStringList pieces;
    QString pending;
    for (int i = start; i < end && i < text.size(); ++i) {
        if (text[i] == TokenCharacter) {
            if (!pending.trimmed().isEmpty())
                pieces.append(pending.trimmed());
            pending.clear();
            pieces.append(m_cell->representedObject(tokenIdAt(i)).toString());
        } else if (isSeparator(text[i])) {
            if (!pending.trimmed().isEmpty())
                pieces.append(pending.trimmed());
            pending.clear();
        } else {
            pending.append(text[i]);
        }
    }
    if (!pending.trimmed().isEmpty())
        pieces.append(pending.trimmed());
    return pieces.join(u", "_s);
}

QMimeData* TKTokenField::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* mime = new QMimeData;
    mime->setText(textForRange(cursor.selectionStart(), cursor.selectionEnd()));
    return mime;
}
