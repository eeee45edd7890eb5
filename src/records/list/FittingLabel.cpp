#include "records/list/FittingLabel.h"

#include <QFontMetrics>
#include <QResizeEvent>

#include <algorithm>

FittingLabel::FittingLabel(const QFont& font, int minimumPoints, QWidget* parent)
    : QLabel(parent)
    , m_baseFont(font)
    , m_minimumPoints(std::max(1, std::min(minimumPoints, font.pixelSize())))
{
    Q_ASSERT(font.pixelSize() > 0);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setFont(m_baseFont);
}

QFont FittingLabel::sized(int points) const
{
    QFont font = m_baseFont;
    font.setPixelSize(points);
    return font;
}

int FittingLabel::naturalWidth() const
{
    return metrics(m_baseFont.pixelSize()).horizontalAdvance(m_fullText);
}

int FittingLabel::minimumWidthNeeded() const
{
    return metrics(m_minimumPoints).horizontalAdvance(m_fullText);
}

void FittingLabel::setFullText(const QString& text)
{
    m_fullText = text;
    fit(contentsRect().width());
}

void FittingLabel::fitToWidth(int width)
{
    fit(width - (this->width() - contentsRect().width()));
}

void FittingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fit(contentsRect().width());
}

void FittingLabel::fit(int available)
{
    // Rows are filled while a list scrolls: a text is fitted once for a width, the font, the
    // text and the tooltip are set only when they change, and each size's metrics are made once.
    if (available == m_fittedWidth && m_fullText == m_fittedText)
        return;
    m_fittedWidth = available;
    m_fittedText = m_fullText;
    QFont chosen = sized(m_minimumPoints);
    QString shown;
    bool elided = true;
    for (int points = m_baseFont.pixelSize(); points >= m_minimumPoints; --points) {
        if (metrics(points).horizontalAdvance(m_fullText) <= available) {
            chosen = sized(points);
            shown = m_fullText;
            elided = false;
            break;
        }
    }
    if (elided)
        shown = metrics(m_minimumPoints).elidedText(m_fullText, Qt::ElideRight, available);
    if (font().pixelSize() != chosen.pixelSize())
        setFont(chosen);
    if (text() != shown)
        setText(shown);
    const QString tip = elided ? m_fullText : QString();
    if (toolTip() != tip)
        setToolTip(tip);
    m_elided = elided;
}

const QFontMetrics& FittingLabel::metrics(int points) const
{
    const auto index = static_cast<std::size_t>(m_baseFont.pixelSize() - points);
    if (m_metrics.size() <= index)
        m_metrics.resize(index + 1);
    if (!m_metrics[index])
        m_metrics[index].emplace(sized(points));
    return *m_metrics[index];
}
