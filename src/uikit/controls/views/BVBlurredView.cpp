#include "uikit/controls/views/BVBlurredView.h"

#include "platform/SaneGeometry.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

BVBlurredView::BVBlurredView(QWidget* parent)
    : QWidget(parent), m_tintColor(QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.7f))
{
}

void BVBlurredView::setTintColor(const QColor& color)
{
    if (color.isValid())
        m_tintColor = color;
    update();
}

namespace {

// Beyond these a blur or a saturation changes nothing visible, and the blur's work grows
// with its radius.
constexpr float kMaximumBlurRadius = 500.0f;
constexpr float kMaximumSaturation = 100.0f;

float saneBlurRadius(float radius)
{
    return float(platform::saneLength(radius, kMaximumBlurRadius));
}

float saneSaturation(float factor)
{
    return float(platform::saneValue(factor, 0.0, kMaximumSaturation, 1.0));
}

} // namespace

void BVBlurredView::setSaturationFactor(float factor)
{
    m_saturationFactor = saneSaturation(factor);
    update();
}

void BVBlurredView::setBlurRadius(float radius)
{
    m_blurRadius = saneBlurRadius(radius);
    update();
}

void BVBlurredView::saturate(QImage& image, float factor)
{
    factor = saneSaturation(factor);
    if (factor == 1.0f)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int alpha = qAlpha(p);
            const float luma = 0.2125f * qRed(p) + 0.7154f * qGreen(p) + 0.0721f * qBlue(p);
            const auto channel = [&](int c) {
                return std::clamp(static_cast<int>(std::lround(luma + (c - luma) * factor)), 0, alpha);
            };
            line[x] = qRgba(channel(qRed(p)), channel(qGreen(p)), channel(qBlue(p)), alpha);
        }
    }
}

namespace {

// One horizontal box-blur pass over premultiplied pixels, edges clamped.
void boxBlurRows(QImage& image, int radius)
{
    const int w = image.width();
    std::vector<QRgb> row(static_cast<std::size_t>(w));
    const int window = 2 * radius + 1;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::copy(line, line + w, row.begin());
        const auto at = [&](int x) { return row[static_cast<std::size_t>(std::clamp(x, 0, w - 1))]; };
        int sums[4] = { 0, 0, 0, 0 };
        for (int x = -radius; x <= radius; ++x) {
            const QRgb p = at(x);
            sums[0] += qRed(p), sums[1] += qGreen(p), sums[2] += qBlue(p), sums[3] += qAlpha(p);
        }
        for (int x = 0; x < w; ++x) {
            line[x] = qRgba(sums[0] / window, sums[1] / window, sums[2] / window, sums[3] / window);
            const QRgb out = at(x - radius);
            const QRgb in = at(x + radius + 1);
            sums[0] += qRed(in) - qRed(out), sums[1] += qGreen(in) - qGreen(out);
            sums[2] += qBlue(in) - qBlue(out), sums[3] += qAlpha(in) - qAlpha(out);
        }
    }
}

} // namespace

void BVBlurredView::gaussianBlur(QImage& image, float radius)
{
    radius = saneBlurRadius(radius);
    if (radius <= 0 || image.isNull())
        return;
    // Three box passes approximate a Gaussian of this standard deviation.
    const int box
        = std::max(1, static_cast<int>(std::lround(std::sqrt(4.0 * radius * radius + 1.0) / 2.0 - 0.5)));
    for (int pass = 0; pass < 3; ++pass)
        boxBlurRows(image, box);
    QTransform turn;
    turn.rotate(90);
    image = image.transformed(turn);
    for (int pass = 0; pass < 3; ++pass)
        boxBlurRows(image, box);
    image = image.transformed(turn.inverted());
}

QImage BVBlurredView::backdrop(const QRect& area)
{
    const qreal ratio = devicePixelRatioF();
    QImage image((area.size() * ratio), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QWidget* const host = parentWidget();
    if (!host)
        return image;
    // The parent is being painted while this view paints, so it cannot be rendered
    // again: its background brush and the sibling widgets below this one are what lie
    // behind the view.
    QPainter painter(&image);
    if (host->autoFillBackground() || host->isWindow())
        painter.fillRect(QRect(QPoint(), area.size()), host->palette().brush(host->backgroundRole()));
    painter.end();
    const QRect shown = area.translated(pos());
    for (QObject* child : host->children()) {
        if (child == this)
            break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || !sibling->isVisible() || sibling->isWindow()
            || !sibling->geometry().intersects(shown))
            continue;
        const QRect overlap = sibling->geometry().intersected(shown);
        sibling->render(&image, overlap.topLeft() - shown.topLeft(),
            QRegion(overlap.translated(-sibling->pos())),
            QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return image;
}

void BVBlurredView::paintEvent(QPaintEvent* event)
{
    // Only what is painted now and what blurs into it: the view may be far larger than any
    // screen.
    const int reach = int(std::ceil(3 * m_blurRadius));
    const QRect area = event->rect().adjusted(-reach, -reach, reach, reach).intersected(rect());
    QImage image = backdrop(area);
    saturate(image, m_saturationFactor);
    gaussianBlur(image, m_blurRadius * static_cast<float>(devicePixelRatioF()));
    QPainter painter(this);
    painter.drawImage(QPointF(area.topLeft()), image);
    painter.fillRect(rect(), m_tintColor);
}
