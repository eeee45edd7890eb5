#include "uikit/controls/fields/TextFitter.h"

#include <QFontInfo>

#include <algorithm>

namespace {

QFont inPixels(QFont font)
{
    if (font.pixelSize() <= 0)
        font.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
    return font;
}

} // namespace

TextFitter::TextFitter(const QFont& font, int minimumPixels)
    : m_baseFont(inPixels(font))
    , m_minimumPixels(std::max(1, std::min(minimumPixels, m_baseFont.pixelSize())))
{
}

QFont TextFitter::sized(int pixels) const
{
    QFont font = m_baseFont;
    font.setPixelSize(pixels);
    return font;
}

int TextFitter::width(const QString& text, int pixels) const
{
    return metrics(pixels).horizontalAdvance(text);
}

TextFitter::Fit TextFitter::fit(const QString& text, int available) const
{
    for (int pixels = m_baseFont.pixelSize(); pixels >= m_minimumPixels; --pixels) {
        if (metrics(pixels).horizontalAdvance(text) <= available)
            return { pixels, text, false };
    }
    return { m_minimumPixels, metrics(m_minimumPixels).elidedText(text, Qt::ElideRight, available), true };
}

const QFontMetrics& TextFitter::metrics(int pixels) const
{
    // Rows are filled while a list scrolls: each size's metrics are made once.
    const auto index = static_cast<std::size_t>(m_baseFont.pixelSize() - pixels);
    if (m_metrics.size() <= index)
        m_metrics.resize(index + 1);
    if (!m_metrics[index])
        m_metrics[index].emplace(sized(pixels));
    return *m_metrics[index];
}
