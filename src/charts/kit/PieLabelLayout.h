#pragma once

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace chart {

// A label's rectangle as drawn: centred on `center`, turned by `rotation` degrees clockwise on
// screen (as QPainter::rotate turns it), in y-down coordinates.
struct LabelBox {
    QPointF center;
    qreal rotation = 0.0;
    QSizeF size;

    std::array<QPointF, 4> corners() const;
    QPolygonF outline() const;
    // The same box grown by `margin` on every side.
    LabelBox grown(qreal margin) const;
};

// Whether two boxes share more than an edge.
bool labelBoxesOverlap(const LabelBox& a, const LabelBox& b);

// `text` broken onto two lines where they come out most even: after a dash, a digit group's
// separator or a stop, or at a space (which goes). Null when the text has no such place or
// already has more than one line.
QString labelOnTwoLines(const QString& text);

// The room labels take in a pane: a box fits when it lies within the pane and overlaps no box
// placed before it. A box is compared only with the placed boxes near it, so that thousands of
// labels are laid out in a few milliseconds.
class LabelSpace {
public:
    explicit LabelSpace(const QRectF& pane);

    bool fits(const LabelBox& box) const;
    // Places `box` whether it fits or not.
    void place(const LabelBox& box);

private:
    struct Cells {
        int column0 = 0, column1 = -1, row0 = 0, row1 = -1;
    };
    // The cells the box's bounds touch; none when the box is not within the pane.
    std::optional<Cells> cellsOf(const LabelBox& box) const;

    QRectF m_pane;
    double m_cell = 8.0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::vector<int>> m_cells; // indexes into m_placed
    std::vector<LabelBox> m_placed;
    // The last query each placed box was compared with: a box in several cells is compared once.
    mutable std::vector<quint64> m_comparedWith;
    mutable quint64 m_query = 0;
};

} // namespace chart
