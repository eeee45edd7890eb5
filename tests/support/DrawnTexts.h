#pragma once

// How well every text of a window reads as it is drawn: each visible label, button and
// segment is measured in a grab of the window, as the end-to-end check measures a screenshot,
// against the rule 4.5:1 for text, 3:1 from 18 points (large text) and 3:1 for greyed text
// (disabled, or dimmed with `KitColors::setGreyed`). Link mervane_uikit_controls.
#include "support/Contrast.h"
#include "uikit/controls/KitColors.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <vector>

namespace mervane::test {

struct DrawnText {
    QString what; // class, object name and text
    double measured = 0;
    double required = 0;
};

/// The contrast a text drawn by `widget` must reach.
inline double requiredContrast(const QWidget& widget)
{
    if (!widget.isEnabled() || KitColors::isGreyed(&widget))
        return 3.0;
    return widget.font().pointSizeF() >= 18.0 ? 3.0 : 4.5;
}

namespace drawntexts {

// Where the widget draws its text, in its own coordinates: a check box's or radio button's
// label without its indicator, a button's face within its frame.
inline QRect textArea(const QWidget& widget)
{
    QStyleOptionButton option;
    option.initFrom(&widget);
    if (qobject_cast<const QCheckBox*>(&widget))
        return widget.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &widget);
    if (qobject_cast<const QRadioButton*>(&widget))
        return widget.style()->subElementRect(QStyle::SE_RadioButtonContents, &option, &widget);
    if (qobject_cast<const QAbstractButton*>(&widget))
        return widget.rect().adjusted(4, 4, -4, -4);
    return widget.contentsRect();
}

inline QString describe(const QWidget& widget, const QString& text)
{
    return QString::fromLatin1(widget.metaObject()->className()) + u' ' + widget.objectName() + u" \"" + text
        + u'"';
}

} // namespace drawntexts

/// Every visible text under `root` (itself included) as drawn in `window` (an ancestor of
/// `root`, or `root` itself, whose grab shows what stands behind the texts). Labels showing
/// only a picture and buttons without a title are left out.
inline std::vector<DrawnText> drawnTexts(QWidget& window, QWidget& root)
{
    const QImage image = window.grab().toImage();
    std::vector<DrawnText> texts;
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : std::as_const(widgets)) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else
            continue;
        if (text.trimmed().isEmpty() || !widget->isVisibleTo(&window) || widget->visibleRegion().isEmpty())
            continue;
        const QRect area = drawntexts::textArea(*widget).intersected(widget->visibleRegion().boundingRect());
        if (area.width() < 4 || area.height() < 4)
            continue;
        // The grab has device pixels: twice as many each way at scale 2.
        const qreal ratio = image.devicePixelRatio();
        const QRect inWindow
            = QRectF(QPointF(widget->mapTo(&window, area.topLeft())) * ratio, QSizeF(area.size()) * ratio)
                  .toAlignedRect();
        texts.push_back({ drawntexts::describe(*widget, text), drawnContrast(image, inWindow),
            requiredContrast(*widget) });
    }
    return texts;
}

/// Fails the test for each text of `drawnTexts(window, root)` below its rule; returns how many
/// texts were measured, so that a caller can tell that it measured any.
inline int expectTextsReadable(QWidget& window, QWidget& root, const char* where)
{
    const std::vector<DrawnText> texts = drawnTexts(window, root);
    for (const DrawnText& text : texts) {
        EXPECT_GE(text.measured, text.required)
            << where << ": " << qPrintable(text.what) << " reads at " << text.measured << ":1";
    }
    return static_cast<int>(texts.size());
}

} // namespace mervane::test
