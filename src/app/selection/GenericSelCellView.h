#pragma once

#include <QString>
#include <QWidget>

class DVAvatarImageView;
class GenericSelectionRecord;
class QCheckBox;
class QLabel;

/// One entry of the selection list: a picture (or an emoji in its place), the name, the
/// second line and, in multiple selection, a check box.
class GenericSelCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 44;
    /// The name of the unknown image that hides every picture.
    static inline const QString noPictureName = QStringLiteral("Empty");

    explicit GenericSelCellView(QWidget* parent = nullptr);

    /// Shows `record`; `unknownImageName` stands in for a record without image and emoji.
    void setRecord(const GenericSelectionRecord& record, const QString& unknownImageName, bool multiSelect);

    QLabel* nameField() const { return m_nameField; }
    QLabel* descField() const { return m_descField; }
    DVAvatarImageView* photoField() const { return m_photoField; }
    QCheckBox* selectCtl() const { return m_selectCtl; }
    QLabel* emojiFld() const { return m_emojiFld; }

private:
    QLabel* m_nameField;
    QLabel* m_descField;
    DVAvatarImageView* m_photoField;
    QCheckBox* m_selectCtl;
    QLabel* m_emojiFld;
};
