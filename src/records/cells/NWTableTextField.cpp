#include "records/cells/NWTableTextField.h"

#include "records/RecordsNotifications.h"

#include "platform/NotificationCenter.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionFrame>

NWTableTextField::NWTableTextField(QWidget* parent) : QLineEdit(parent), m_fitter(font(), minimumValuePixels)
{
    connect(this, &QLineEdit::textEdited, this, [this] { m_ended = false; });
    connect(this, &QLineEdit::textChanged, this, &NWTableTextField::fitText);
}

void NWTableTextField::fitText()
{
    if (hasFocus()) {
        // Editing shows the value at the field's own size, scrolled to the cursor.
        if (font().pixelSize() != m_fitter.basePixels())
            setFont(m_fitter.sized(m_fitter.basePixels()));
        setToolTip({});
        return;
    }
    QStyleOptionFrame option;
    initStyleOption(&option);
    // Qt's line edit keeps two pixels on either side of its text.
    const int available = style()
                              ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                              .marginsRemoved(textMargins())
                              .width()
        - 4;
    const TextFitter::Fit fitted = m_fitter.fit(text(), available);
    if (font().pixelSize() != fitted.pixelSize)
        setFont(m_fitter.sized(fitted.pixelSize));
    // A line edit cannot elide: the cursor at the start keeps the sign and the first digits
    // in view, where the end of a text set would push them out at the front.
    setCursorPosition(0);
    setToolTip(fitted.elided ? text() : QString());
    if (fitted.elided && !m_scrolling && !size().isEmpty()) {
        // A line edit scrolls to its cursor only while it paints, and from beyond the end of
        // this text (a longer one shown before, such as a refused entry) only back to its end:
        // a paint into a scratch image takes it there, so that the next paint shows the start.
        const QScopedValueRollback scrolling(m_scrolling, true);
        QImage scratch(size(), QImage::Format_ARGB32_Premultiplied);
        render(&scratch);
    }
}

void NWTableTextField::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    fitText();
}

QAbstractItemView* NWTableTextField::tableView() const
{
    for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(up))
            return view;
    }
    return nullptr;
}

int NWTableTextField::tableRow() const
{
    QAbstractItemView* const view = tableView();
    if (!view)
        return -1;
    // The row widget is the field's ancestor that sits directly on the viewport.
    const QWidget* rowWidget = this;
    while (rowWidget->parentWidget() && rowWidget->parentWidget() != view->viewport())
        rowWidget = rowWidget->parentWidget();
    if (rowWidget->parentWidget() != view->viewport())
        return -1;
    const QModelIndex index = view->indexAt(rowWidget->geometry().center());
    return index.isValid() ? index.row() : -1;
}

bool NWTableTextField::event(QEvent* event)
{
    // Tab reaches widgets through event() before Qt moves the focus; taking it here keeps
    // Qt's focus chain out of it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backtab
            || (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier))) {
            endEditing(notifications::shiftTabKey);
            return true;
        }
        if (key->key() == Qt::Key_Tab) {
            endEditing(notifications::tabKey);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void NWTableTextField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        endEditing(notifications::tabKey);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NWTableTextField::focusInEvent(QFocusEvent* event)
{
    m_ended = false;
    QLineEdit::focusInEvent(event);
    if (QAbstractItemView* view = tableView(); view && view->selectionModel()) {
        const int row = tableRow();
        if (row >= 0 && view->selectionMode() != QAbstractItemView::NoSelection)
            view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    fitText();
    // After the press that brought the focus has placed the cursor: typing replaces the value.
    // Selected from its end back to its start, the cursor stands at the start and keeps the
    // sign and the first digits of a value wider than the field in view.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const int length = int(text().size());
            setSelection(length, -length);
        },
        Qt::QueuedConnection);
}

void NWTableTextField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup of the field itself (its context menu) does not end editing.
    if (event->reason() != Qt::PopupFocusReason && !m_ended)
        endEditing({});
    if (event->reason() != Qt::PopupFocusReason)
        fitText();
}

void NWTableTextField::finishEditing()
{
    if (!m_ended)
        endEditing({});
}

void NWTableTextField::endEditing(const QString& movement)
{
    m_ended = true;
    postEditFinished(movement);
}

void NWTableTextField::postEditFinished(const QString& movement)
{
    QAbstractItemView* const view = tableView();
    if (!view)
        return;
    QVariantMap info;
    if (!movement.isEmpty())
        info.insert(movement, movement);
    platform::NotificationCenter::defaultCenter().post(
        notifications::categoryValueEditFinished, QVariant::fromValue<QObject*>(view), info);
}

void NWNonTabTableTextField::postEditFinished(const QString&)
{
    QAbstractItemView* const view = tableView();
    if (!view)
        return;
    platform::NotificationCenter::defaultCenter().post(notifications::tableTextFieldEditFinished,
        QVariant::fromValue<QObject*>(view),
        { { notifications::objKey, QVariant::fromValue<QObject*>(this) } });
}
