#pragma once

#include "model/data/MVX_Tags.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class TableRowView;

/// One tag of a tag choice: a check box, the image of the tag's colour and its name.
class NWTagSelectionCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 28;

    explicit NWTagSelectionCellView(QWidget* parent = nullptr);

    /// Shows `tag`, ticked or not.
    void setTag(const MVX_Tags& tag, bool checked);
    /// Fills `rowView` (not highlighted when selected) with a cell showing `tag` (an empty
    /// cell without one), ticked or not; `toggled` is told every change of its check box.
    static NWTagSelectionCellView* fillRow(
        TableRowView& rowView, const MVX_Tags* tag, bool checked, std::function<void(bool)> toggled);

    QCheckBox* tagCheckBox() const { return m_tagCheckBox; }
    QLabel* tagImage() const { return m_tagImage; }
    QLabel* tagNameLabel() const { return m_tagNameLabel; }

private:
    QCheckBox* m_tagCheckBox;
    QLabel* m_tagImage;
    QLabel* m_tagNameLabel;
};
