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

    static QColor defaultBorderColor();
    static QColor defaultBackgroundColor();

    /// An invalid colour draws (and is stored back) as the default.
    QColor nwBorderColor() const { return m_nwBorderColor; }
    void setNwBorderColor(const QColor& color) { m_nwBorderColor = color; }
    QColor nwBackgroundColor() const { return m_nwBackgroundColor; }
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
