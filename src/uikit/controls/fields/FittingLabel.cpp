#include "uikit/controls/fields/FittingLabel.h"

#include <QResizeEvent>

FittingLabel::FittingLabel(const QFont& font, int minimumPoints, QWidget* parent)
    : QLabel(parent), m_fitter(font, minimumPoints)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setFont(m_fitter.sized(m_fitter.basePixels()));
}

int FittingLabel::naturalWidth() const
{
    return m_fitter.width(m_fullText, m_fitter.basePixels());
}

int FittingLabel::minimumWidthNeeded() const
{
    return m_fitter.width(m_fullText, m_fitter.minimumPixels());
}

QSize FittingLabel::sizeHint() const
{
    return QSize(naturalWidth(), m_fitter.lineHeight(m_fitter.basePixels())).grownBy(contentsMargins());
}

QSize FittingLabel::minimumSizeHint() const
{
    const int ellipsis = m_fitter.width(QString(QChar(0x2026)), m_fitter.minimumPixels());
    return QSize(std::min(ellipsis, naturalWidth()), m_fitter.lineHeight(m_fitter.basePixels()))
        .grownBy(contentsMargins());
}

void FittingLabel::setFullText(const QString& text)
{
    if (text != m_fullText) {
        m_fullText = text;
        updateGeometry();
    }
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
    // Rows are filled while a list scrolls: a text is fitted once for a width, and the font,
    // the text and the tooltip are set only when they change.
    if (available == m_fittedWidth && m_fullText == m_fittedText)
        return;
    m_fittedWidth = available;
    m_fittedText = m_fullText;
    const TextFitter::Fit fitted = m_fitter.fit(m_fullText, available);
    if (font().pixelSize() != fitted.pixelSize)
        setFont(m_fitter.sized(fitted.pixelSize));
    if (text() != fitted.shown)
        setText(fitted.shown);
    const QString tip = fitted.elided ? m_fullText : QString();
    if (toolTip() != tip)
        setToolTip(tip);
    m_elided = fitted.elided;
}
