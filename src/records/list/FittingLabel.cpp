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
    return QFontMetrics(m_baseFont).horizontalAdvance(m_fullText);
}

int FittingLabel::minimumWidthNeeded() const
{
    return QFontMetrics(sized(m_minimumPoints)).horizontalAdvance(m_fullText);
}

void FittingLabel::setFullText(const QString& text)
{
    m_fullText = text;
    fit();
}

void FittingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        fit();
}

void FittingLabel::fit()
{
    const int available = contentsRect().width();
    for (int points = m_baseFont.pixelSize(); points >= m_minimumPoints; --points) {
        const QFont font = sized(points);
        if (QFontMetrics(font).horizontalAdvance(m_fullText) <= available) {
            setFont(font);
            setText(m_fullText);
            setToolTip(QString());
            m_elided = false;
            return;
        }
    }
    const QFont smallest = sized(m_minimumPoints);
    setFont(smallest);
    setText(QFontMetrics(smallest).elidedText(m_fullText, Qt::ElideRight, available));
    setToolTip(m_fullText);
    m_elided = true;
}
