#pragma once

#include "uikit/controls/fields/TextFitter.h"

#include <QLineEdit>

class QAbstractItemView;

/// The value field of a table row. When editing ends it posts
/// notifications::categoryValueEditFinished with the table that holds it as object
/// (a QVariant holding the QObject*) and user info {TAB} after Return, Enter or Tab,
/// {SHIFTTAB} after Shift+Tab, and none after any other end (focus taken elsewhere).
/// Each end of editing posts exactly once. Tab and Shift+Tab never move Qt's focus: the
/// observer decides where editing goes. Taking the focus selects the field's row and the
/// field's whole text, shown from its start. While it is not being edited, a value too wide
/// for the field is set smaller and, if it still does not fit, shown from its start with the
/// whole value in the tooltip.
class NWTableTextField : public QLineEdit {
    Q_OBJECT
public:
    /// The smallest pixel size a value is set at while it is not being edited.
    static constexpr int minimumValuePixels = 10;

    explicit NWTableTextField(QWidget* parent = nullptr);

    /// The item view whose row holds this field, or none.
    QAbstractItemView* tableView() const;
    /// The model row of the field in `tableView()`, or -1.
    int tableRow() const;
    /// Ends the editing in progress as a click elsewhere would (no movement); nothing when
    /// the last end of editing was posted already and nothing was typed since.
    void finishEditing();

protected:
    /// Posts the end of editing; `movement` is the user-info key (empty for none).
    virtual void postEditFinished(const QString& movement);

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void endEditing(const QString& movement);
    void fitText();

    TextFitter m_fitter;
    // Set once an end of editing was posted, until the field is edited or focused again,
    // so that the focus leaving after a Tab does not post a second time.
    bool m_ended = false;
    // While the field paints into a scratch image to scroll to its start.
    bool m_scrolling = false;
};

/// A table text field that posts notifications::tableTextFieldEditFinished with the table
/// as object and {OBJ: the field} at every end of editing, whatever ended it.
class NWNonTabTableTextField : public NWTableTextField {
    Q_OBJECT
public:
    using NWTableTextField::NWTableTextField;

protected:
    void postEditFinished(const QString& movement) override;
};
