#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <optional>
#include <vector>

/// Fits one line of text that must be read from its start, such as an amount, into a width:
/// the largest pixel size from the font's own down to a minimum at which the whole text fits,
/// else the text at the minimum size elided at its end ("…"). Never a text cut at its front.
/// Every widget that shows an amount in a place of fixed width fits it this way.
class TextFitter {
public:
    struct Fit {
        int pixelSize = 0;
        QString shown; ///< the whole text, or its start followed by "…"
        bool elided = false;
    };

    /// `font` is the size to draw at when the text fits; a font given in points is taken at
    /// the pixel size it draws at. `minimumPixels` is kept between 1 and that size.
    TextFitter(const QFont& font, int minimumPixels);

    Fit fit(const QString& text, int available) const;
    /// `font` at `pixels`, and the width of `text` there.
    QFont sized(int pixels) const;
    int width(const QString& text, int pixels) const;
    /// The height of a line at `pixels`.
    int lineHeight(int pixels) const { return metrics(pixels).height(); }

    int basePixels() const { return m_baseFont.pixelSize(); }
    int minimumPixels() const { return m_minimumPixels; }

private:
    const QFontMetrics& metrics(int pixels) const;

    QFont m_baseFont;
    int m_minimumPixels;
    mutable std::vector<std::optional<QFontMetrics>> m_metrics; // by size, largest first
};
