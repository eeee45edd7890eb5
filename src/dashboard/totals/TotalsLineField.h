#pragma once

#include "dashboard/totals/TotalsLine.h"

#include <QList>
#include <QWidget>

/// The field of the totals line: draws its runs centred in one line, at the largest size from
/// 18 down to 11 points at which they fit the field's width; a line that does not fit even
/// at 11 points is elided at its end. Main thread only.
class TotalsLineField : public QWidget {
    Q_OBJECT
public:
    explicit TotalsLineField(QWidget* parent = nullptr);

    /// Shows `runs`, fitted to the present width (and again after every resize).
    void setRuns(const QList<TotalsLine::Run>& runs);
    const QList<TotalsLine::Run>& runs() const { return m_runs; }
    QString text() const { return TotalsLine::text(m_runs); }
    /// The size the line is drawn at.
    float fontSize() const { return m_fontSize; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QList<TotalsLine::Run> m_runs;
    float m_fontSize = TotalsLine::largestFontSize;
};
