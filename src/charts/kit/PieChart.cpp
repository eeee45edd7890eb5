#include "charts/kit/PieChart.h"

#include "charts/kit/ChartLimits.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphItems.h"
#include "platform/RoundSteps.h"
#include "platform/SaneGeometry.h"

#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSemaphore>
#include <QThreadPool>
#include <cmath>

namespace chart {

namespace {

constexpr double kTurn = 2.0 * M_PI;
// Pixels of label images one pie keeps; labels beyond it are drawn as text each time.
constexpr qint64 kLabelImagePixels = 8LL * 1024 * 1024;
// The longest run of sub-pixel slices painted as one, in pixels along the rim.
constexpr double kMergedArc = 4.0;
// A label that finds no room at its size tries smaller sizes, each this share of the one before,
// down to this one.
constexpr qreal kFallbackLabelShrink = 0.85;
constexpr qreal kSmallestFallbackLabelSize = 7.0;
constexpr int kMostFallbackLabelSizes = 6;
// The fewest characters a label elided to its room keeps: an amount's sign and first digits.
constexpr qsizetype kFewestElidedCharacters = 4;

double degrees(double radians)
{
    return radians * 180.0 / M_PI;
}

// A unit vector in graph coordinates (y down) for a design angle (y up).
QPointF direction(double angle)
{
    return QPointF(std::cos(angle), -std::sin(angle));
}

// The design angle at `fraction` of the full turn from the pie's start.
double sliceAngle(const PieChart& pie, double fraction)
{
    const double sign = pie.sliceDirection() == PieChart::Direction::Clockwise ? -1.0 : 1.0;
    return pie.startAngle() + sign * fraction * kTurn;
}

} // namespace

// The whole pie: slices, overlay and labels, painted by this one item.
//
// On screen the pie is painted into an image kept until something about it changes, and that
// image is painted on a thread of the global pool: the raster engine splits every gradient or
// transformed fill across that pool unless it already runs on it, and for hundreds of small
// slices the hand-offs cost several times the painting itself. Printers get the vector pie.
class PieChartItem : public PlotItem {
public:
    explicit PieChartItem(PieChart* plot) : PlotItem(plot, 10), m_plot(plot) { }
    void boundsChanged() override
    {
        m_cacheValid = false;
        PlotItem::boundsChanged();
    }
    void invalidate()
    {
        m_cacheValid = false;
        update();
    }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

private:
    double sliceAngle(double fraction) const { return chart::sliceAngle(*m_plot, fraction); }
    void drawPie(QPainter& painter, bool labelsAsImages);
    // `imageBudget`: pixels of label images still allowed, or none for no images.
    void drawLabel(QPainter& painter, const PieChart::Slice& slice, const PieChart::LabelPlacement& placement,
        qint64* imageBudget);
    bool renderCache(qreal ratio);

    PieChart* m_plot;
    QImage m_cache;
    bool m_cacheValid = false;
};

void PieChartItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const bool raster = painter->paintEngine() && painter->paintEngine()->type() == QPaintEngine::Raster;
    if (!raster || painter->worldTransform().type() > QTransform::TxTranslate) {
        drawPie(*painter, false);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    if ((!m_cacheValid || m_cache.devicePixelRatio() != ratio) && !renderCache(ratio)) {
        // A graph too large to keep as one picture is drawn as it is.
        drawPie(*painter, false);
        return;
    }
    painter->drawImage(boundingRect().topLeft(), m_cache);
}

bool PieChartItem::renderCache(qreal ratio)
{
    const QRectF bounds = boundingRect();
    const QSize pixels = imagePixelSize(bounds.size(), ratio, maximumImagePixels);
    if (m_cache.size() != pixels)
        m_cache = pixels.isEmpty() ? QImage() : QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    if (m_cache.isNull()) {
        m_cacheValid = false;
        return false;
    }
    m_cache.setDevicePixelRatio(ratio);
    m_cache.fill(Qt::transparent);
    const auto render = [this, bounds] {
        QPainter painter(&m_cache);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.translate(-bounds.topLeft());
        drawPie(painter, true);
    };
    // The main thread waits, so the pie is only read while it is painted.
    QSemaphore done;
    if (QThreadPool::globalInstance()->tryStart([&] {
            render();
            done.release();
        }))
        done.acquire();
    else
        render();
    m_cacheValid = true;
    return true;
}

void PieChartItem::drawPie(QPainter& painter, bool labelsAsImages)
{
    const qreal radius = m_plot->pieRadius();
    const qreal inner = std::clamp(m_plot->pieInnerRadius(), 0.0, std::max(radius, 0.0));
    if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(m_plot->startAngle()))
        return;
    const QPointF center = m_plot->centerInGraph();
    const QList<PieChart::Slice>& slices = m_plot->slices();
    const QRectF outerRect(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    const QRectF innerRect(center.x() - inner, center.y() - inner, 2 * inner, 2 * inner);
    const std::optional<LineStyle> border = m_plot->borderLineStyle();
    const bool bordered = border && border->lineWidth > 0;
    const auto thin
        = [rim = kTurn * radius](const PieChart::Slice& slice) { return slice.fraction * rim < 1.0; };
    const auto fillOf
        = [&](int i) { return slices[i].fill ? *slices[i].fill : PieChart::defaultSliceFill(i); };
    for (int i = 0; i < slices.size(); ++i) {
        const PieChart::Slice& slice = slices[i];
        if (!(slice.fraction > 0))
            continue;
        const Fill fill = fillOf(i);
        // Neighbours thinner than a pixel at the rim that share a fill are painted as one, a few
        // pixels at most: the gradient looks the same over each, and thousands of tiny paths
        // would take far longer to paint.
        double fraction = slice.fraction;
        while (!bordered && thin(slice) && i + 1 < slices.size() && thin(slices[i + 1])
            && slices[i + 1].radialOffset == slice.radialOffset
            && (fraction + slices[i + 1].fraction) * kTurn * radius <= kMergedArc && fillOf(i + 1) == fill) {
            fraction += slices[i + 1].fraction;
            ++i;
        }
        const double from = sliceAngle(slice.startFraction);
        const double to = sliceAngle(slice.startFraction + fraction);
        QPainterPath path;
        if (fraction >= 1.0) {
            path.addEllipse(outerRect);
            if (inner > 0)
                path.addEllipse(innerRect);
        } else {
            path.arcMoveTo(outerRect, degrees(from));
            path.arcTo(outerRect, degrees(from), degrees(to - from));
            if (inner > 0)
                path.arcTo(innerRect, degrees(to), degrees(from - to));
            else
                path.lineTo(center);
            path.closeSubpath();
        }
        if (slice.radialOffset != 0.0 && std::isfinite(slice.radialOffset))
            path.translate(direction((from + to) / 2) * slice.radialOffset);
        fill.paint(painter, path);
        if (bordered)
            painter.strokePath(path, border->pen());
    }
    if (const auto overlay = m_plot->overlayFill()) {
        QPainterPath ring;
        ring.addEllipse(outerRect);
        if (inner > 0)
            ring.addEllipse(innerRect);
        overlay->paint(painter, ring);
    }
    qint64 imageBudget = kLabelImagePixels;
    for (const PieChart::LabelPlacement& placement : m_plot->labelPlacements())
        drawLabel(painter, slices[placement.recordIndex], placement, labelsAsImages ? &imageBudget : nullptr);
}

void PieChartItem::drawLabel(QPainter& painter, const PieChart::Slice& slice,
    const PieChart::LabelPlacement& placement, qint64* imageBudget)
{
    const LabelBox& box = placement.box;
    const QSizeF size = box.size;
    painter.save();
    painter.translate(box.center);
    painter.rotate(box.rotation);
    const QPointF topLeft(-size.width() / 2, -size.height() / 2);
    const std::optional<Shadow> shadow = m_plot->labelShadow();
    const QPointF shadowOffset = shadow ? QPointF(shadow->offset.x(), -shadow->offset.y()) : QPointF();
    // Text and shadow with a margin that holds the shadow, in device pixels.
    const qreal margin = std::ceil(std::max(std::abs(shadowOffset.x()), std::abs(shadowOffset.y()))) + 1;
    const auto drawText = [&](QPainter& target, const QPointF& origin) {
        drawChartText(target, QRectF(origin, size), placement.label.text, placement.label.style,
            shadow ? &*shadow : nullptr);
    };
    if (!imageBudget) {
        drawText(painter, topLeft);
        painter.restore();
        return;
    }
    // Text under a new rotation has its glyphs drawn anew; an upright image turns cheaply. The
    // image stays small: the raster engine cannot turn a very wide one.
    const qreal ratio = painter.device()->devicePixelRatioF();
    QImage& image = slice.labelImage;
    if (image.isNull() || image.devicePixelRatio() != ratio || !(slice.labelImageOf == placement.label)) {
        slice.labelImageOf = placement.label;
        const QSize pixels = imagePixelSize(
            size + QSizeF(2 * margin, 2 * margin), ratio, *imageBudget, maximumLabelImageSide);
        image = pixels.isEmpty() ? QImage() : QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        if (!image.isNull()) {
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter imagePainter(&image);
            imagePainter.setRenderHint(QPainter::TextAntialiasing);
            drawText(imagePainter, QPointF(margin, margin));
        }
    }
    const qint64 imagePixels = static_cast<qint64>(image.width()) * image.height();
    if (!image.isNull() && imagePixels <= *imageBudget) {
        *imageBudget -= imagePixels;
        painter.drawImage(topLeft - QPointF(margin, margin), image);
    } else {
        image = QImage();
        drawText(painter, topLeft);
    }
    painter.restore();
}

PieChart::PieChart(QObject* parent) : Plot(parent)
{
}

#define CHART_PIE_SETTER(Name, member, Type, stored)                                                         \
    void PieChart::set##Name(Type value)                                                                     \
    {                                                                                                        \
        member = stored;                                                                                     \
        if (auto* pie = static_cast<PieChartItem*>(item()))                                                  \
            pie->invalidate();                                                                               \
    }

// A value that changes nothing keeps the pie's picture: screens set their radii again at every
// resize, and a pie of thousands of slices takes a while to paint anew.
#define CHART_PIE_VALUE_SETTER(Name, member, Type, stored)                                                   \
    void PieChart::set##Name(Type value)                                                                     \
    {                                                                                                        \
        const auto next = stored;                                                                            \
        if (next == member)                                                                                  \
            return;                                                                                          \
        member = next;                                                                                       \
        if (auto* pie = static_cast<PieChartItem*>(item()))                                                  \
            pie->invalidate();                                                                               \
    }

CHART_PIE_VALUE_SETTER(PieRadius, m_radius, qreal, platform::saneLength(value))
CHART_PIE_VALUE_SETTER(PieInnerRadius, m_innerRadius, qreal, platform::saneLength(value))
CHART_PIE_VALUE_SETTER(CenterAnchor, m_centerAnchor, const QPointF&,
    QPointF(platform::saneValue(value.x(), -platform::maximumGeometry, platform::maximumGeometry, 0.5),
        platform::saneValue(value.y(), -platform::maximumGeometry, platform::maximumGeometry, 0.5)))
// Not a number or an infinity leaves the pie where it is; the angle is at most a million radians.
CHART_PIE_VALUE_SETTER(
    StartAngle, m_startAngle, qreal, std::isfinite(value) ? platform::saneCoordinate(value) : m_startAngle)
CHART_PIE_VALUE_SETTER(SliceDirection, m_direction, Direction,
    value == Direction::Clockwise || value == Direction::CounterClockwise ? value : m_direction)
CHART_PIE_VALUE_SETTER(LabelOffset, m_labelOffset, qreal, platform::saneCoordinate(value))
CHART_PIE_VALUE_SETTER(LabelRotationRelativeToRadius, m_labelsAlongRadius, bool, value)
CHART_PIE_SETTER(OverlayFill, m_overlayFill, const std::optional<Fill>&, value)
CHART_PIE_SETTER(BorderLineStyle, m_borderLineStyle, const std::optional<LineStyle>&, value)
CHART_PIE_VALUE_SETTER(LabelsKeptApart, m_labelsKeptApart, bool, value)

#undef CHART_PIE_SETTER
#undef CHART_PIE_VALUE_SETTER

void PieChart::setLabelShadow(const std::optional<Shadow>& shadow)
{
    m_labelShadow = saneShadow(shadow);
    for (Slice& slice : m_slices)
        slice.labelImage = QImage(); // the shadow is drawn into them
    if (auto* pie = static_cast<PieChartItem*>(item()))
        pie->invalidate();
}

Fill PieChart::defaultSliceFill(int recordIndex)
{
    const double hue = std::fmod(recordIndex * 0.13, 1.0);
    return Fill(QColor::fromHsvF(hue < 0 ? hue + 1.0 : hue, 0.55, 0.9));
}

void PieChart::reloadData()
{
    const int count = recordCountFromDataSource();
    m_slices.resize(count);
    double total = 0.0;
    for (int i = 0; i < count; ++i) {
        Slice& slice = m_slices[i];
        const auto value = finiteNumber(static_cast<int>(PlotField::PieSliceValue), i);
        slice.value = value && *value > 0 ? *value : 0.0;
        total += slice.value;
        slice.fill = dataSource()->sliceFillForPieChart(this, i);
        std::optional<DataLabel> label = dataLabelFromDataSource(i);
        if (!label || !slice.label || !(*label == *slice.label)) {
            slice.labelImage = QImage();
            slice.labelSize = QSizeF();
        }
        slice.label = std::move(label);
        const double offset = dataSource()->radialOffsetForPieChart(this, i);
        slice.radialOffset = platform::saneCoordinate(offset);
    }
    // Slices near the largest double may add up to more than a double holds: their shares are
    // then taken of values scaled down by a power of two, which keeps them exact.
    double scale = 1.0;
    if (std::isinf(total)) {
        scale = platform::summingScale(count);
        total = 0.0;
        for (const Slice& slice : std::as_const(m_slices))
            total += slice.value * scale;
    }
    double start = 0.0;
    for (Slice& slice : m_slices) {
        slice.startFraction = start;
        slice.fraction = total > 0 && std::isfinite(total) ? slice.value * scale / total : 0.0;
        start += slice.fraction;
    }
    if (auto* pie = static_cast<PieChartItem*>(item()))
        pie->invalidate();
}

QList<PieChart::LabelPlacement> PieChart::labelPlacements() const
{
    QList<LabelPlacement> placements;
    if (!graph() || !(m_radius > 0) || !std::isfinite(m_radius) || !std::isfinite(m_startAngle))
        return placements;
    const QPointF center = centerInGraph();
    // Labels mostly share one style: one set of metrics serves while they do.
    std::optional<QFont> font;
    std::optional<QFontMetricsF> metrics;
    const auto metricsOf = [&](const TextStyle& style) -> const QFontMetricsF& {
        const QFont labelFont = style.font();
        if (!font || !(*font == labelFont)) {
            font = labelFont;
            metrics.emplace(labelFont);
        }
        return *metrics;
    };
    // Where the label of slice `i` goes when it is `size` large, along the radius or upright.
    const auto boxOf = [&](int i, const QSizeF& size, bool alongRadius) {
        const Slice& slice = m_slices[i];
        const double middle = sliceAngle(*this, slice.startFraction + slice.fraction / 2);
        const QPointF towards = direction(middle);
        const qreal distance = m_radius + slice.radialOffset + m_labelOffset;
        LabelBox box { QPointF(), 0.0, size };
        if (alongRadius) {
            // Along the radius, turned so that the text never reads upside down.
            box.center = center + towards * (distance + size.width() / 2);
            box.rotation = -degrees(std::cos(middle) < 0 ? middle + M_PI : middle);
        } else {
            const qreal reach
                = std::abs(towards.x()) * size.width() / 2 + std::abs(towards.y()) * size.height() / 2;
            box.center = center + towards * (distance + reach);
        }
        return box;
    };
    const auto placementOf = [&](int i) {
        const Slice& slice = m_slices[i];
        if (slice.labelSize.isEmpty()) {
            const QFontMetricsF& measure = metricsOf(slice.label->style);
            slice.labelSize = QSizeF(measure.horizontalAdvance(slice.label->text), measure.height());
        }
        return LabelPlacement { i, boxOf(i, slice.labelSize, m_labelsAlongRadius), *slice.label };
    };
    QList<int> labelled;
    for (int i = 0; i < m_slices.size(); ++i) {
        const Slice& slice = m_slices[i];
        if (slice.label && !slice.label->text.isEmpty() && slice.fraction > 0)
            labelled.append(i);
    }
    if (!m_labelsKeptApart) {
        for (const int i : labelled)
            placements.append(placementOf(i));
        return placements;
    }
    // The shadow is part of what must not overlap.
    const qreal margin = m_labelShadow
        ? std::ceil(std::max(std::abs(m_labelShadow->offset.x()), std::abs(m_labelShadow->offset.y())))
        : 0.0;
    std::stable_sort(labelled.begin(), labelled.end(),
        [this](int a, int b) { return m_slices[a].value > m_slices[b].value; });
    LabelSpace space(graph()->plotAreaRect());
    const auto placeIfRoom = [&](const LabelPlacement& placement) {
        const LabelBox room = placement.box.grown(margin);
        if (!space.fits(room))
            return false;
        space.place(room);
        placements.append(placement);
        return true;
    };
    // The other forms a label may take when it finds no room as it is, in the order tried: at its
    // size upright, on two lines, upright on two lines, then the same a little smaller.
    const auto placeInOtherForm = [&](int i) -> bool {
        const DataLabel& label = *m_slices[i].label;
        const QString twoLines = labelOnTwoLines(label.text);
        const qreal full = label.style.fontSize;
        qreal size = full;
        for (int step = 0; step < kMostFallbackLabelSizes; ++step) {
            DataLabel sized = label;
            sized.style.fontSize = size;
            const QFontMetricsF& measure = metricsOf(sized.style);
            const QSizeF oneLine = size == full
                ? m_slices[i].labelSize
                : QSizeF(measure.horizontalAdvance(label.text), measure.height());
            DataLabel broken = sized;
            broken.text = twoLines;
            const QSizeF twoLineSize = twoLines.isNull()
                ? QSizeF()
                : measure.boundingRect(QRectF(), Qt::AlignCenter, twoLines).size();
            for (const bool lines2 : { false, true }) {
                if (lines2 && twoLines.isNull())
                    continue;
                for (const bool along : { true, false }) {
                    if (along && !m_labelsAlongRadius)
                        continue;
                    if (size == full && !lines2 && along == m_labelsAlongRadius)
                        continue; // the form tried first
                    const QSizeF boxSize = lines2 ? twoLineSize : oneLine;
                    if (placeIfRoom(LabelPlacement { i, boxOf(i, boxSize, along), lines2 ? broken : sized }))
                        return true;
                }
            }
            if (size <= kSmallestFallbackLabelSize)
                return false;
            size = std::max(kSmallestFallbackLabelSize, size * kFallbackLabelShrink);
        }
        return false;
    };
    // A label too long for every other form (an amount of hundreds of digits) keeps its start at
    // its own size, elided at its end to the longest start that finds room.
    const auto placeElided = [&](int i) {
        const DataLabel& label = *m_slices[i].label;
        const QFontMetricsF& measure = metricsOf(label.style);
        std::optional<LabelPlacement> best;
        qsizetype bestKept = 0;
        for (const bool along : { true, false }) {
            if (along && !m_labelsAlongRadius)
                continue;
            qsizetype low = std::min(kFewestElidedCharacters, label.text.size() - 1);
            qsizetype high = label.text.size() - 1;
            while (low <= high) {
                const qsizetype middle = (low + high) / 2;
                qsizetype kept = middle;
                if (kept > 0 && label.text.at(kept - 1).isHighSurrogate())
                    --kept;
                DataLabel cut = label;
                cut.text = label.text.left(kept) + QChar(0x2026);
                const LabelBox box
                    = boxOf(i, QSizeF(measure.horizontalAdvance(cut.text), measure.height()), along);
                if (!space.fits(box.grown(margin))) {
                    high = middle - 1;
                    continue;
                }
                if (kept > bestKept) {
                    best = LabelPlacement { i, box, cut };
                    bestKept = kept;
                }
                low = middle + 1;
            }
        }
        if (best && bestKept > 0) {
            space.place(best->box.grown(margin));
            placements.append(*best);
        }
    };
    for (const int i : labelled) {
        const Slice& slice = m_slices[i];
        // A slice narrower than a line of its label beside the rim is one of a crowd: its label
        // is drawn as it is or not at all.
        const double rim = kTurn * (m_radius + slice.radialOffset + m_labelOffset);
        const bool roomy = slice.fraction * rim >= metricsOf(slice.label->style).height();
        // A label along the radius starts at the rim: when its first point finds no room, the
        // whole label finds none, and it need not be measured.
        if (!roomy && m_labelsAlongRadius && slice.labelSize.isEmpty()
            && !space.fits(boxOf(i, QSizeF(1.0, metricsOf(slice.label->style).height()), true).grown(margin)))
            continue;
        if (!placeIfRoom(placementOf(i)) && roomy && !placeInOtherForm(i))
            placeElided(i);
    }
    std::sort(placements.begin(), placements.end(),
        [](const LabelPlacement& a, const LabelPlacement& b) { return a.recordIndex < b.recordIndex; });
    return placements;
}

QPointF PieChart::centerInGraph() const
{
    if (!graph())
        return QPointF();
    const QRectF area = graph()->plotAreaRect();
    return platform::sanePoint(QPointF(
        area.left() + m_centerAnchor.x() * area.width(), area.bottom() - m_centerAnchor.y() * area.height()));
}

int PieChart::recordIndexAtGraphPoint(const QPointF& graphPoint) const
{
    if (!graph() || !(m_radius > 0))
        return -1;
    const QPointF center = centerInGraph();
    const double dx = graphPoint.x() - center.x();
    const double dy = center.y() - graphPoint.y(); // y up
    const double distance = std::hypot(dx, dy);
    const double sign = m_direction == Direction::Clockwise ? -1.0 : 1.0;
    double turned = sign * (std::atan2(dy, dx) - m_startAngle);
    turned = std::fmod(turned, kTurn);
    if (turned < 0)
        turned += kTurn;
    if (!std::isfinite(turned))
        return -1;
    const double fraction = turned / kTurn;
    for (int i = 0; i < m_slices.size(); ++i) {
        const Slice& slice = m_slices[i];
        if (!(slice.fraction > 0) || fraction < slice.startFraction
            || fraction >= slice.startFraction + slice.fraction)
            continue;
        const double fromCenter = distance - slice.radialOffset;
        return fromCenter >= std::max(m_innerRadius, 0.0) && fromCenter <= m_radius ? i : -1;
    }
    return -1;
}

void PieChart::recordWasSelected(int recordIndex)
{
    if (delegate() && isRecordIndex(recordIndex))
        delegate()->sliceWasSelected(this, recordIndex);
}

void PieChart::recordTouchDown(int recordIndex)
{
    if (delegate() && isRecordIndex(recordIndex))
        delegate()->sliceTouchDown(this, recordIndex);
}

PlotItem* PieChart::createItem()
{
    return new PieChartItem(this);
}

} // namespace chart
