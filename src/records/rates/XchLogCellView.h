#pragma once

#include "uikit/controls/rows/DVGenericTableRowView.h"

#include <QLabel>
#include <QPointer>

/// One row of the exchange-rate viewer: flag, English name and symbol of a currency on the
/// left, the price of one unit of it in the local currency on the right.
class XchLogCellView : public DVGenericTableRowView {
    Q_OBJECT
public:
    explicit XchLogCellView(QWidget* parent = nullptr);

    /// Shows the flag when a font on this system draws it; no flag rather than boxes.
    void setFlag(const QString& flagEmoji);

    QLabel* currencyFlag() const { return m_currencyFlag; }
    QLabel* currencyName() const { return m_currencyName; }
    QLabel* currencySymbol() const { return m_currencySymbol; }
    QLabel* exchangeRate() const { return m_exchangeRate; }

private:
    QPointer<QLabel> m_currencyFlag;
    QPointer<QLabel> m_currencyName;
    QPointer<QLabel> m_currencySymbol;
    QPointer<QLabel> m_exchangeRate;
};
