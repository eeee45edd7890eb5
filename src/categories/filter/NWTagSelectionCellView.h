#pragma once

#include "model/data/MVX_Tags.h"

#include <QWidget>

class QCheckBox;
class QLabel;

/// One tag of a tag choice: a check box, the image of the tag's colour and its name.
class NWTagSelectionCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 28;

    explicit NWTagSelectionCellView(QWidget* parent = nullptr);

    /// Shows `tag`, ticked or not.
    void setTag(const MVX_Tags& tag, bool checked);

    QCheckBox* tagCheckBox() const { return m_tagCheckBox; }
    QLabel* tagImage() const { return m_tagImage; }
    QLabel* tagNameLabel() const { return m_tagNameLabel; }

private:
    QCheckBox* m_tagCheckBox;
    QLabel* m_tagImage;
    QLabel* m_tagNameLabel;
};
