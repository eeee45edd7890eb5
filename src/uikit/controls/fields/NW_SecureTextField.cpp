#include "uikit/controls/fields/NW_SecureTextField.h"

#include "uikit/controls/KitDrawing.h"

#include <QKeyEvent>
#include <QPalette>

QRectF NW_VerticallyCenteredTextFieldCell::drawingRectForBounds(
    const QRectF& rect, qreal cellHeight, bool editingOrSelecting)
{
    if (editingOrSelecting)
        return rect;
    const float delta = static_cast<float>(rect.height()) - static_cast<float>(cellHeight);
    if (!(delta > 0))
        return rect;
    QRectF centred = rect;
    centred.setHeight(rect.height() - delta);
    centred.moveTop(rect.y() + delta * 0.5);
    return centred;
}

NW_SecureTextField::NW_SecureTextField(QWidget* parent) : QLineEdit(parent)
{
    setEchoMode(QLineEdit::Password);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    customize();
    connect(this, &QLineEdit::textChanged, this, &NW_SecureTextField::customize);
    connect(this, &QLineEdit::editingFinished, this, &NW_SecureTextField::customize);
}

void NW_SecureTextField::customize()
{
    // The cursor is drawn in the text colour, so one grey serves both.
    QPalette colours = palette();
    const QColor grey = KitDrawing::systemGray();
    for (const auto group : { QPalette::Active, QPalette::Inactive })
        colours.setColor(group, QPalette::Text, grey);
    if (colours != palette())
        setPalette(colours);
}

void NW_SecureTextField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    customize();
}

void NW_SecureTextField::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Copy)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
