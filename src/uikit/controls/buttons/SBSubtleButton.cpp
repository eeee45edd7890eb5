#include "uikit/controls/buttons/SBSubtleButton.h"

#include "uikit/controls/KitDrawing.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;

namespace {

QColor grey(int level)
{
    const float component = static_cast<float>(level) / 255.0f;
    return QColor::fromRgbF(component, component, component, 1.0f);
}

// Fills a rounded rectangle (given y-up) with a gradient from `lower` at its bottom
// to `upper` at its top.
void fillVertical(QPainter& painter, qreal height, const QRectF& yUp, qreal radius, const QColor& lower,
    const QColor& upper)
{
    const QRectF r = KitDrawing::toWidget(yUp, height);
    QLinearGradient gradient(r.left(), r.bottom(), r.left(), r.top());
    gradient.setColorAt(0, lower);
    gradient.setColorAt(1, upper);
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    painter.fillPath(path, gradient);
}

} // namespace

SBSubtleButton::SBSubtleButton(QWidget* parent)
    : QWidget(parent)
    , m_title(u""_s)
    , m_startColor(defaultStartColor())
    , m_endColor(defaultEndColor())
    , m_highlightStartColor(defaultHighlightStartColor())
    , m_highlightEndColor(defaultHighlightEndColor())
{
}

QColor SBSubtleButton::defaultStartColor()
{
    static const QColor color = grey(233);
    return color;
}

QColor SBSubtleButton::defaultEndColor()
{
    static const QColor color = grey(246);
    return color;
}

QColor SBSubtleButton::defaultHighlightStartColor()
{
    static const QColor color = grey(184);
    return color;
}

QColor SBSubtleButton::defaultHighlightEndColor()
{
    static const QColor color = grey(228);
    return color;
}

void SBSubtleButton::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    update();
}

void SBSubtleButton::setGradientWithStartColor(const QColor& start, const QColor& end)
{
    m_startColor = start;
    m_endColor = end;
    update();
}

void SBSubtleButton::setHighlightGradientWithStartColor(const QColor& start, const QColor& end)
{
    m_highlightStartColor = start;
    m_highlightEndColor = end;
}

void SBSubtleButton::setFontAttributesWithFont(
    const std::optional<QFont>& font, const QColor& color, const QColor& shadowColor)
{
    m_font = font;
    m_fontColor = color;
    update();
    m_fontShadowColor = shadowColor;
}

void SBSubtleButton::resetGradient()
{
    m_startColor = defaultStartColor();
    m_endColor = defaultEndColor();
    m_highlightStartColor = defaultHighlightStartColor();
    m_highlightEndColor = defaultHighlightEndColor();
    update();
}

qreal SBSubtleButton::titleX(Alignment alignment, qreal width, qreal titleWidth)
{
    switch (alignment) {
    case Alignment::Right:
        return width - titleWidth - 15;
    case Alignment::Center:
        return width / 2 - titleWidth / 2;
    default:
        return 15;
    }
}

QFont SBSubtleButton::titleFont() const
{
    if (m_font)
        return *m_font;
    QFont fallback;
    fallback.setFamilies({ u"Helvetica"_s, u"Liberation Sans"_s });
    fallback.setPointSizeF(17);
    return fallback;
}

void SBSubtleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const QColor lower = m_selected ? m_highlightStartColor : m_startColor;
    const QColor upper = m_selected ? m_highlightEndColor : m_endColor;

    fillVertical(painter, h, QRectF(0, 0, w, h), 5, grey(195), grey(210));
    // The face is one point lower than its inset rectangle: a 2-point rim at the top.
    fillVertical(painter, h, QRectF(1, 1, w - 2, h - 3), 4, lower, upper);

    const QFont font = titleFont();
    const QFontMetricsF metrics(font);
    const qreal textWidth = metrics.horizontalAdvance(m_title);
    const qreal textHeight = metrics.height();
    const qreal x = titleX(m_alignment, w, textWidth);
    const qreal top = h - (h / 2 - textHeight / 2) - textHeight; // y-up bottom edge to widget top
    painter.setFont(font);
    const QRectF textRect(x, top, textWidth, textHeight);
    if (m_fontColor.isValid() && m_fontShadowColor.isValid()) {
        painter.setPen(Qt::white);
        painter.drawText(
            textRect.translated(0, 0.5), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_title);
    }
    painter.setPen(m_fontColor.isValid() ? m_fontColor : QColor(Qt::black));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_title);
}

void SBSubtleButton::mousePressEvent(QMouseEvent* event)
{
    m_selected = true;
    update();
    if (m_delegate)
        m_delegate->subtleButtonEvent(event, this);
}

void SBSubtleButton::mouseReleaseEvent(QMouseEvent* event)
{
    m_selected = false;
    update();
    if (m_delegate)
        m_delegate->subtleButtonEvent(event, this);
}
