#include "charts/kit/PieLabelLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace chart {

namespace {

// Rounding in the corners' sines and cosines must not make boxes that only touch overlap.
constexpr double kTolerance = 1e-6;

QPointF axisOf(qreal degrees)
{
    const double radians = degrees * M_PI / 180.0;
    return QPointF(std::cos(radians), std::sin(radians));
}

double dot(const QPointF& a, const QPointF& b)
{
    return a.x() * b.x() + a.y() * b.y();
}

// Half the box's extent along `axis` (a unit vector).
double reach(const LabelBox& box, const QPointF& along, const QPointF& across, const QPointF& axis)
{
    return box.size.width() / 2 * std::abs(dot(along, axis))
        + box.size.height() / 2 * std::abs(dot(across, axis));
}

} // namespace

std::array<QPointF, 4> LabelBox::corners() const
{
    const QPointF unit = axisOf(rotation);
    const QPointF along = unit * (size.width() / 2);
    const QPointF across = QPointF(-unit.y(), unit.x()) * (size.height() / 2);
    return { center - along - across, center + along - across, center + along + across,
        center - along + across };
}

QPolygonF LabelBox::outline() const
{
    const auto points = corners();
    return QPolygonF(QList<QPointF>(points.begin(), points.end()));
}

LabelBox LabelBox::grown(qreal margin) const
{
    return LabelBox { center, rotation,
        QSizeF(std::max(0.0, size.width() + 2 * margin), std::max(0.0, size.height() + 2 * margin)) };
}

bool labelBoxesOverlap(const LabelBox& a, const LabelBox& b)
{
    // Separating axes: two boxes are apart when their shadows on one of their four sides'
    // directions are.
    const QPointF alongA = axisOf(a.rotation);
    const QPointF acrossA(-alongA.y(), alongA.x());
    const QPointF alongB = axisOf(b.rotation);
    const QPointF acrossB(-alongB.y(), alongB.x());
    const QPointF between = b.center - a.center;
    for (const QPointF& axis : { alongA, acrossA, alongB, acrossB }) {
        const double gap = std::abs(dot(between, axis)) - reach(a, alongA, acrossA, axis)
            - reach(b, alongB, acrossB, axis);
        if (!(gap < -kTolerance))
            return false;
    }
    return true;
}

QString labelOnTwoLines(const QString& text)
{
    if (text.contains(u'\n'))
        return QString();
    const auto breaksAfter = [](QChar c) {
        return c == u'-' || c == u',' || c == u'.' || c == u'\'' || c == QChar(0x2019) || c == QChar(0x00a0)
            || c == QChar(0x202f);
    };
    qsizetype best = -1;
    qsizetype bestLonger = text.size();
    bool bestDropsSpace = false;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        const bool space = text.at(i) == u' ';
        // Not inside "..." or a run of spaces, nor before a space that breaks instead.
        const QChar next = text.at(i + 1);
        if (space ? text.at(i - 1) == u' ' || next == u' '
                  : !breaksAfter(text.at(i)) || breaksAfter(next) || next == u' ')
            continue;
        const qsizetype first = space ? i : i + 1;
        const qsizetype second = text.size() - i - 1;
        const qsizetype longer = std::max(first, second);
        if (longer < bestLonger) {
            best = i;
            bestLonger = longer;
            bestDropsSpace = space;
        }
    }
    if (best < 0)
        return QString();
    return bestDropsSpace ? text.left(best) + u'\n' + text.mid(best + 1)
                          : text.left(best + 1) + u'\n' + text.mid(best + 1);
}

LabelSpace::LabelSpace(const QRectF& pane) : m_pane(pane)
{
    if (!(pane.width() > 0) || !(pane.height() > 0) || !std::isfinite(pane.width() * pane.height()))
        return;
    // About a thousand cells over the pane.
    m_cell = std::max(8.0, std::sqrt(pane.width() * pane.height() / 1024.0));
    m_columns = std::max(1, int(std::ceil(pane.width() / m_cell)));
    m_rows = std::max(1, int(std::ceil(pane.height() / m_cell)));
    m_cells.resize(std::size_t(m_columns) * std::size_t(m_rows));
}

std::optional<LabelSpace::Cells> LabelSpace::cellsOf(const LabelBox& box) const
{
    if (m_cells.empty())
        return std::nullopt;
    const auto corners = box.corners();
    double left = corners[0].x(), right = left, top = corners[0].y(), bottom = top;
    for (const QPointF& corner : corners) {
        left = std::min(left, corner.x());
        right = std::max(right, corner.x());
        top = std::min(top, corner.y());
        bottom = std::max(bottom, corner.y());
    }
    if (!std::isfinite(left + right + top + bottom) || left < m_pane.left() - kTolerance
        || right > m_pane.right() + kTolerance || top < m_pane.top() - kTolerance
        || bottom > m_pane.bottom() + kTolerance)
        return std::nullopt;
    const auto cellOf = [this](double offset, int count) {
        return std::clamp(int(std::floor(offset / m_cell)), 0, count - 1);
    };
    return Cells { cellOf(left - m_pane.left(), m_columns), cellOf(right - m_pane.left(), m_columns),
        cellOf(top - m_pane.top(), m_rows), cellOf(bottom - m_pane.top(), m_rows) };
}

bool LabelSpace::fits(const LabelBox& box) const
{
    const std::optional<Cells> cells = cellsOf(box);
    if (!cells)
        return false;
    ++m_query;
    for (int row = cells->row0; row <= cells->row1; ++row) {
        for (int column = cells->column0; column <= cells->column1; ++column) {
            for (const int placed : m_cells[std::size_t(row) * m_columns + column]) {
                if (std::exchange(m_comparedWith[std::size_t(placed)], m_query) == m_query)
                    continue;
                if (labelBoxesOverlap(m_placed[std::size_t(placed)], box))
                    return false;
            }
        }
    }
    return true;
}

void LabelSpace::place(const LabelBox& box)
{
    const int index = int(m_placed.size());
    m_placed.push_back(box);
    m_comparedWith.push_back(0);
    // A box reaching outside the pane is compared with everything.
    const Cells range = cellsOf(box).value_or(Cells { 0, m_columns - 1, 0, m_rows - 1 });
    for (int row = range.row0; row <= range.row1; ++row)
        for (int column = range.column0; column <= range.column1; ++column)
            m_cells[std::size_t(row) * m_columns + column].push_back(index);
}

} // namespace chart
