#pragma once

#include "uikit/SaneFont.h"
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class QMouseEvent;
class SBSubtleButton;

/// Hears both the press and the release of a subtle button; tells them apart by the
/// event's type (QEvent::MouseButtonPress or QEvent::MouseButtonRelease).
class SBSubtleButtonDelegate {
public:
    virtual ~SBSubtleButtonDelegate() = default;
    virtual void subtleButtonEvent(QMouseEvent* event, SBSubtleButton* button) = 0;
};

/// A soft grey gradient push button with a thin gradient rim and a title at the left,
/// right or centre. It sends no action of its own: the delegate decides what a press does.
class SBSubtleButton : public QWidget {
    Q_OBJECT
public:
    enum class Alignment { Left = 0, Right = 1, Center = 2 };

    explicit SBSubtleButton(QWidget* parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    /// Not owned; the delegate must outlive the button or be cleared first.
    SBSubtleButtonDelegate* delegate() const { return m_delegate; }
    void setDelegate(SBSubtleButtonDelegate* delegate) { m_delegate = delegate; }

    QColor startColor() const { return m_startColor; }
    void setStartColor(const QColor& color) { m_startColor = color; }
    QColor endColor() const { return m_endColor; }
    void setEndColor(const QColor& color) { m_endColor = color; }
    QColor highlightStartColor() const { return m_highlightStartColor; }
    void setHighlightStartColor(const QColor& color) { m_highlightStartColor = color; }
    QColor highlightEndColor() const { return m_highlightEndColor; }
    void setHighlightEndColor(const QColor& color) { m_highlightEndColor = color; }
    /// The pressed state.
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { m_selected = selected; }
    /// None means the 17-point default face.
    std::optional<QFont> font() const { return m_font; }
    void setFont(const std::optional<QFont>& font) { m_font = SaneFont::sane(font); }
    /// Set: switches the (always white) title shadow on.
    QColor fontShadowColor() const { return m_fontShadowColor; }
    void setFontShadowColor(const QColor& color) { m_fontShadowColor = color; }
    /// Unset: a black title without shadow.
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& color) { m_fontColor = color; }
    Alignment alignment() const { return m_alignment; }
    void setTitleAlignment(Alignment alignment) { m_alignment = alignment; }

    void setGradientWithStartColor(const QColor& start, const QColor& end);
    /// Stores only; shows at the next press.
    void setHighlightGradientWithStartColor(const QColor& start, const QColor& end);
    void setFontAttributesWithFont(
        const std::optional<QFont>& font, const QColor& color, const QColor& shadowColor);
    /// Puts the four default colours back and redraws.
    void resetGradient();

    static QColor defaultStartColor();
    static QColor defaultEndColor();
    static QColor defaultHighlightStartColor();
    static QColor defaultHighlightEndColor();

    /// The title's x (y-up, from the left edge) for a button `width` wide and a title
    /// `titleWidth` wide: 15 from the left, 15 from the right, or centred.
    static qreal titleX(Alignment alignment, qreal width, qreal titleWidth);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QFont titleFont() const;

    QString m_title;
    SBSubtleButtonDelegate* m_delegate = nullptr;
    QColor m_startColor;
    QColor m_endColor;
    QColor m_highlightStartColor;
    QColor m_highlightEndColor;
    bool m_selected = false;
    std::optional<QFont> m_font;
    QColor m_fontShadowColor;
    QColor m_fontColor;
    Alignment m_alignment = Alignment::Left;
};
