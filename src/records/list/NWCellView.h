#pragma once

#include "model/data/MVX_NWLog.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>

class NWCurrencyFormatter;

/// One row of the record list: a calendar tile with the month and year, the net worth with
/// its change against the next older record, the assets, the liabilities and the note.
class NWCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 72;

    explicit NWCellView(QWidget* parent = nullptr);

    /// Shows `record`; `older` is the next older record, or null.
    void setRecord(const MVX_NWLog& record, const MVX_NWLog* older, const NWCurrencyFormatter& money);

    QLabel* nwField() const { return m_nwField; }
    QLabel* nwDeltaField() const { return m_nwDeltaField; }
    QLabel* asField() const { return m_asField; }
    QLabel* lbField() const { return m_lbField; }
    QLabel* yearField() const { return m_yearField; }
    QLabel* monthField() const { return m_monthField; }
    QLabel* commentField() const { return m_commentField; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* makeLabel(const QString& name, int pointSize, bool bold);
    void applyColors();
    QRect calendarRect() const;

    QPointer<QLabel> m_nwField;
    QPointer<QLabel> m_nwDeltaField;
    QPointer<QLabel> m_asField;
    QPointer<QLabel> m_lbField;
    QPointer<QLabel> m_yearField;
    QPointer<QLabel> m_monthField;
    QPointer<QLabel> m_commentField;
    QPointer<QLabel> m_assetsCaption;
    QPointer<QLabel> m_liabilitiesCaption;
    double m_change = 0;
};
