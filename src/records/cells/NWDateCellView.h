#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

/// The cell of the editor's month and year lists: one centred text.
class NWDateCellView : public QWidget {
    Q_OBJECT
public:
    explicit NWDateCellView(QWidget* parent = nullptr);

    QLabel* valueLabel() const { return m_valueLabel; }
    void setValueLabel(QLabel* label) { m_valueLabel = label; }

private:
    QPointer<QLabel> m_valueLabel;
};
