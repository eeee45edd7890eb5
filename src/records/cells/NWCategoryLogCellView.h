#pragma once

#include <QColor>
#include <QWidget>

class NWTableTextField;
class QLabel;
class QLineEdit;

/// The value cell of one category in the record editor: the category's name, its value
/// field, the flag of its currency, the exchange rate (read-only) and, in red, a note
/// about a refused entry. It holds no model data: the editor fills it and reads it back.
class NWCategoryLogCellView : public QWidget {
    Q_OBJECT
public:
    explicit NWCategoryLogCellView(QWidget* parent = nullptr);

    /// Grey while the value is carried over; otherwise green for an asset and red for a
    /// liability, each reading at 4.5:1 or more on the field of the appearance (`dark`).
    static QColor valueTextColor(bool isAsset, bool isPrePopulated, bool dark);
    /// The red of the note about a refused entry, readable on the row also while the row is
    /// selected or under the pointer.
    static QColor entryMessageColor(bool dark);

    /// Stores the flag and recolours the value text.
    void setPrepulated(bool prePopulated);
    void setAsAsset(bool asset);

    bool isAsset() const { return m_isAsset; }
    /// Only stores the flag.
    void setIsAsset(bool asset) { m_isAsset = asset; }
    bool isPrePopulated() const { return m_isPrePopulated; }
    void setIsPrePopulated(bool prePopulated) { m_isPrePopulated = prePopulated; }

    QLabel* categoryLabel() const { return m_categoryLabel; }
    NWTableTextField* valueLabel() const { return m_valueLabel; }
    QLabel* currencyFlag() const { return m_currencyFlag; }
    QLineEdit* exchangeRateField() const { return m_exchangeRateField; }
    /// The note beside the value about the last refused entry; empty hides it.
    QLabel* entryMessageLabel() const { return m_entryMessageLabel; }
    /// Shows the message's words before its first colon ("Not a number") beside the
    /// value, the whole of it as the tooltip; empty hides it.
    void setEntryMessage(const QString& message);

protected:
    void changeEvent(QEvent* event) override;

    /// The layout's row, for subclasses that add fields after the value.
    class QHBoxLayout* rowLayout() const { return m_layout; }

private:
    void recolorValueText();
    void recolorEntryMessage();

    bool m_isAsset = true;
    bool m_isPrePopulated = true;
    QHBoxLayout* m_layout = nullptr;
    QLabel* m_categoryLabel = nullptr;
    NWTableTextField* m_valueLabel = nullptr;
    QLabel* m_currencyFlag = nullptr;
    QLineEdit* m_exchangeRateField = nullptr;
    QLabel* m_entryMessageLabel = nullptr;
};

/// The value cell with a second value and the difference, for comparing two months.
class NWCategoryLogCellViewEx : public NWCategoryLogCellView {
    Q_OBJECT
public:
    explicit NWCategoryLogCellViewEx(QWidget* parent = nullptr);

    QLabel* valueLabel2() const { return m_valueLabel2; }
    QLabel* valueLabelDiff() const { return m_valueLabelDiff; }

private:
    QLabel* m_valueLabel2 = nullptr;
    QLabel* m_valueLabelDiff = nullptr;
};
