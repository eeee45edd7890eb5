#pragma once

#include "uikit/controls/fields/FittingLabel.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"

#include <QLabel>
#include <QPointer>

/// One row of the value history: the month on the left, the amount on the right.
class CatLogCellView : public DVGenericTableRowView {
    Q_OBJECT
public:
    /// The smallest pixel size a long amount is set at before it is elided.
    static constexpr int minimumAmountPixels = 10;

    explicit CatLogCellView(QWidget* parent = nullptr);

    QLabel* logDate() const { return m_logDate; }
    FittingLabel* logAmount() const { return m_logAmount; }

private:
    QPointer<QLabel> m_logDate;
    QPointer<FittingLabel> m_logAmount;
};
