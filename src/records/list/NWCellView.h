#pragma once

#include "model/data/MVX_NWLog.h"
#include "uikit/controls/fields/FittingLabel.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>

class NWCurrencyFormatter;

/// One row of the record list: a calendar tile with the month and year, the net worth with
/// its change against the next older record, the assets, the liabilities and the note.
///
/// The amounts are read whole or not at all: each one is drawn smaller, a point at a time,
/// when its field is too narrow, and elided (the whole text in its tooltip) only below the
/// smallest size. The change keeps the width it needs; the net worth takes the rest.
class NWCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 72;
    /// The smallest sizes, in design points, amounts shrink to before they are elided.
    static constexpr int minimumNetWorthPoints = 10;
    static constexpr int minimumAmountPoints = 10;

    explicit NWCellView(QWidget* parent = nullptr);

    /// Shows `record`; `older` is the next older record, or null.
    void setRecord(const MVX_NWLog& record, const MVX_NWLog* older, const NWCurrencyFormatter& money);

    FittingLabel* nwField() const { return m_nwField; }
    FittingLabel* nwDeltaField() const { return m_nwDeltaField; }
    FittingLabel* asField() const { return m_asField; }
    FittingLabel* lbField() const { return m_lbField; }
    FittingLabel* yearField() const { return m_yearField; }
    FittingLabel* monthField() const { return m_monthField; }
    QLabel* commentField() const { return m_commentField; }
    QLabel* assetsCaption() const { return m_assetsCaption; }
    QLabel* liabilitiesCaption() const { return m_liabilitiesCaption; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    FittingLabel* makeField(const QString& name, const QFont& font, int minimumPoints);
    QLabel* makeLabel(const QString& name, const QFont& font);
    void layoutFields();
    /// Places a one-line label with its text's baseline at `baseline`.
    static void placeOnBaseline(QLabel* label, int x, int baseline, int width);
    void applyColors();
    QRect calendarRect() const;

    QPointer<FittingLabel> m_nwField;
    QPointer<FittingLabel> m_nwDeltaField;
    QPointer<FittingLabel> m_asField;
    QPointer<FittingLabel> m_lbField;
    QPointer<FittingLabel> m_yearField;
    QPointer<FittingLabel> m_monthField;
    QPointer<QLabel> m_commentField;
    QPointer<QLabel> m_assetsCaption;
    QPointer<QLabel> m_liabilitiesCaption;
    QString m_note;
    double m_change = 0;
};
