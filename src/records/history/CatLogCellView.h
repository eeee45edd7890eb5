#pragma once

#include "uikit/controls/rows/DVGenericTableRowView.h"

#include <QLabel>
#include <QPointer>

/// One row of the value history: the month on the left, the amount on the right.
class CatLogCellView : public DVGenericTableRowView {
    Q_OBJECT
public:
    explicit CatLogCellView(QWidget* parent = nullptr);

    QLabel* logDate() const { return m_logDate; }
    QLabel* logAmount() const { return m_logAmount; }

private:
    QPointer<QLabel> m_logDate;
    QPointer<QLabel> m_logAmount;
};
