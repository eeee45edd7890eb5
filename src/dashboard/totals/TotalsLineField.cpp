#include "dashboard/totals/TotalsLineField.h"

#include <QFontMetricsF>
#include <QPainter>

TotalsLineField::TotalsLineField(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TotalsLineField::setRuns(const QList<TotalsLine::Run>& runs)
{
    m_runs = runs;
    fit();
}

QSize TotalsLineField::sizeHint() const
{
    return QSize(400, 34);
}

void TotalsLineField::fit()
{
    const double available = double(width()) - TotalsLine::fieldInset;
    m_fontSize = TotalsLine::fittedFontSize(
        [this](float size) { return TotalsLine::width(m_runs, double(size)); }, available);
    update();
}

void TotalsLineField::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fit();
}

void TotalsLineField::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double size = double(m_fontSize);
    // A line too wide even at the smallest size keeps its start and is elided at its end.
    const QList<TotalsLine::Run> shown
        = TotalsLine::elided(m_runs, size, double(width()) - TotalsLine::fieldInset);
    double x
        = shown == m_runs ? (width() - TotalsLine::width(shown, size)) / 2.0 : TotalsLine::fieldInset / 2.0;
    for (const TotalsLine::Run& run : shown) {
        const QFont font = TotalsLine::font(run.kind, size);
        const QFontMetricsF metrics(font);
        const double baseline = (height() + metrics.ascent() - metrics.descent()) / 2.0;
        painter.setFont(font);
        painter.setPen(run.color.isValid() ? run.color : palette().color(QPalette::WindowText));
        painter.drawText(QPointF(x, baseline), run.text);
        x += metrics.horizontalAdvance(run.text);
    }
}
