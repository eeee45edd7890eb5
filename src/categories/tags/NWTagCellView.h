#pragma once

#include "model/data/MVX_Tags.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>

/// One row of the tag list: the picture of the tag's colour, its name over its description.
class NWTagCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 44;
    static constexpr int imageSize = 18;

    explicit NWTagCellView(QWidget* parent = nullptr);

    /// Shows `tag`; a colour name outside the eight shows no picture.
    void setTag(const MVX_Tags& tag);

    QLabel* nameField() const { return m_nameField; }
    QLabel* descField() const { return m_descField; }
    QLabel* tagView() const { return m_tagView; }

private:
    QPointer<QLabel> m_nameField;
    QPointer<QLabel> m_descField;
    QPointer<QLabel> m_tagView;
};
