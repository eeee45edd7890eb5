#pragma once

#include <QLineEdit>
#include <QRectF>
#include <QSizeF>

/// The vertical centring of the secure field's text.
struct NW_VerticallyCenteredTextFieldCell {
    /// `rect` made as high as the text (`cellHeight`) and centred in it; unchanged when
    /// the text is as high as the rectangle or higher, or while the rectangle is already
    /// a centred one handed to the editor (`editingOrSelecting`).
    static QRectF drawingRectForBounds(const QRectF& rect, qreal cellHeight, bool editingOrSelecting = false);
};

/// The lock panel's password field: grey text and cursor, no focus ring, the text
/// centred vertically. As a password field it never puts its text on the clipboard.
class NW_SecureTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit NW_SecureTextField(QWidget* parent = nullptr);

    /// Applies the grey text and insertion-point colour again.
    void customize();

protected:
    void focusInEvent(QFocusEvent* event) override;
    /// Cut and copy do nothing: the password is neither copied nor lost.
    void keyPressEvent(QKeyEvent* event) override;
};
