#pragma once

#include "model/data/MVX_Category.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "uikit/controls/tokens/TKTokenField.h"

/// One category of the category screen's and the tags screen's lists: its name over its
/// description, its tags as coloured tokens, and the flag of its own currency.
class NWCategoryCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 52;

    explicit NWCategoryCellView(QWidget* parent = nullptr);

    /// Shows `category` as the store holds it now: the flag only for a foreign-currency
    /// category whose currency is in the currency table (and that a font can draw), a token
    /// for each of its tag IDs that a tag of the store has, in the category's order.
    void setCategory(const MVX_Category& category);

    /// The bold name and the quieter description every row of these lists shows.
    static QLabel* makeNameField(QWidget* parent);
    static QLabel* makeDescField(QWidget* parent);

    QLabel* nameField() const { return m_nameField; }
    QLabel* descField() const { return m_descField; }
    TKTokenField* tokenField() const { return m_tokenField; }
    QLabel* currencyFlag() const { return m_currencyFlag; }

private:
    QPointer<QLabel> m_nameField;
    QPointer<QLabel> m_descField;
    QPointer<TKTokenField> m_tokenField;
    QPointer<QLabel> m_currencyFlag;
};
