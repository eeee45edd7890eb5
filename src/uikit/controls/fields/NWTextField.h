#pragma once

#include <QColor>
#include <QLineEdit>

/// The editor's flat text field: its own background and 2-point border, the text 5
/// points in from either side, and Ctrl-X/C/V/A handled by the field itself (with no
/// other modifier), ahead of any window shortcut.
class NWTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit NWTextField(QWidget* parent = nullptr);

    /// The defaults in the light appearance.
    static QColor defaultBorderColor();
    static QColor defaultBackgroundColor();
    /// The defaults in the appearance of `shownWith`: the light field's white veil would turn
    /// a dark popover grey under light text.
    static QColor defaultBorderColor(const QPalette& shownWith);
    static QColor defaultBackgroundColor(const QPalette& shownWith);

    /// An invalid colour draws as the default of the appearance the field is shown in, also
    /// after a switch.
    QColor nwBorderColor() const;
    void setNwBorderColor(const QColor& color) { m_nwBorderColor = color; }
    QColor nwBackgroundColor() const;
    void setNwBackgroundColor(const QColor& color) { m_nwBackgroundColor = color; }

    /// Whether `event` is one of the field's own editing shortcuts.
    static bool isEditingShortcut(const QKeyEvent* event);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_nwBorderColor;
    QColor m_nwBackgroundColor;
};
