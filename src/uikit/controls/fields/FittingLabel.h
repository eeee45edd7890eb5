#pragma once

#include "uikit/controls/fields/TextFitter.h"

#include <QFont>
#include <QLabel>
#include <QString>

/// A one-line label whose text must be read whole, such as an amount. When the text is wider
/// than the label, it is drawn one design point (pixel) smaller at a time down to a minimum
/// size; only a text that is still too wide there is elided at its end ("…"), the whole text
/// then in the tooltip. The label never shows a text cut through a character. In a layout it
/// asks for its text's width but takes less, so that a long amount shrinks rather than
/// pushing its neighbours out or being cut at the front.
class FittingLabel : public QLabel {
    Q_OBJECT
public:
    /// `font` is the size to draw at when the text fits, in pixels (platform::designFont) or
    /// in points; `minimumPoints` the smallest pixel size before the text is elided.
    FittingLabel(const QFont& font, int minimumPoints, QWidget* parent = nullptr);

    /// Shows `text` at the largest size at which it fits; call after each text or width change
    /// (resizing the label fits it again by itself).
    void setFullText(const QString& text);
    const QString& fullText() const { return m_fullText; }
    /// Fits the text to `width`, the width the label is about to be given (its size then
    /// decides its height).
    void fitToWidth(int width);

    /// The width the whole text needs at the label's own size, and at its minimum size.
    int naturalWidth() const;
    int minimumWidthNeeded() const;

    /// The pixel size the text is drawn at now.
    int fittedPoints() const { return font().pixelSize(); }
    /// Whether even the minimum size was too wide and the text is shown elided.
    bool isElided() const { return m_elided; }

    /// The whole text at the label's own size; at least one character at the minimum size.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit(int available);

    TextFitter m_fitter;
    QString m_fullText;
    bool m_elided = false;
    // What the text was last fitted for: a resize to the same width does not fit it again.
    int m_fittedWidth = -1;
    QString m_fittedText;
};
