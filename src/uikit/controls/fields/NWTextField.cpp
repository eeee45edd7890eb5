#include "uikit/controls/fields/NWTextField.h"

#include "uikit/controls/KitDrawing.h"

#include "platform/Appearance.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

NWTextField::NWTextField(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(5, 0, 5, 0);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    // The field paints its own surface; the line edit only adds text and cursor.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
}

QColor NWTextField::defaultBorderColor()
{
    return QColor::fromRgbF(0.9f, 0.9f, 0.9f, 1.0f);
}

QColor NWTextField::defaultBackgroundColor()
{
    return QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.394f);
}

QColor NWTextField::defaultBorderColor(const QPalette& shownWith)
{
    return platform::isDarkPalette(shownWith) ? shownWith.color(QPalette::Light) : defaultBorderColor();
}

QColor NWTextField::defaultBackgroundColor(const QPalette& shownWith)
{
    return platform::isDarkPalette(shownWith) ? QColor(255, 255, 255, 20) : defaultBackgroundColor();
}

QColor NWTextField::nwBorderColor() const
{
    return m_nwBorderColor.isValid() ? m_nwBorderColor : defaultBorderColor(palette());
}

QColor NWTextField::nwBackgroundColor() const
{
    return m_nwBackgroundColor.isValid() ? m_nwBackgroundColor : defaultBackgroundColor(palette());
}

bool NWTextField::isEditingShortcut(const QKeyEvent* event)
{
    // Ctrl alone: Ctrl-Shift-V and the like are left to the ordinary handling.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ControlModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_X:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_A:
        return true;
    default:
        return false;
    }
}

bool NWTextField::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && isEditingShortcut(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void NWTextField::keyPressEvent(QKeyEvent* event)
{
    if (!isEditingShortcut(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_X:
        cut();
        break;
    case Qt::Key_C:
        copy();
        break;
    case Qt::Key_V:
        paste();
        break;
    default:
        selectAll();
        break;
    }
    event->accept();
}

void NWTextField::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        const QRectF bounds(rect());
        painter.fillRect(bounds, nwBackgroundColor());
        painter.setPen(QPen(nwBorderColor(), 2));
        painter.drawRect(bounds);
        if (hasFocus() && QApplication::applicationState() == Qt::ApplicationActive) {
            painter.setPen(QPen(KitDrawing::selectionColor(), 2));
            painter.drawRect(bounds.adjusted(1, 1, -1, -1));
        }
    }
    // The line edit draws the text and the cursor over our own surface.
    QLineEdit::paintEvent(event);
}
