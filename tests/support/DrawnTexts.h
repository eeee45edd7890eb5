#pragma once

// How well every text of a window reads as it is drawn: each visible label, button, segment,
// tab, combo box, field and menu item is measured in a grab of the window, as the end-to-end
// check measures a screenshot, against the rule 4.5:1 for text, 3:1 for large text (from 18
// points, or 14 bold) and 3:1 for greyed text (disabled, or dimmed with `KitColors::setGreyed`).
// Link mervane_uikit_controls.
#include "support/Contrast.h"
#include "uikit/controls/KitColors.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QWidget>

#include <algorithm>
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
    // Large text, as the readability guidelines define it: from 18 points, or 14 points bold.
    const QFont font = widget.font();
    const bool large = font.pointSizeF() >= 18.0 || (font.bold() && font.pointSizeF() >= 14.0);
    return large ? 3.0 : 4.5;
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

inline QRect comboTextArea(const QComboBox& combo)
{
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    option.currentText = combo.currentText();
    return combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
}

// The field within its frame and margins.
inline QRect lineEditTextArea(const QLineEdit& field)
{
    const QMargins margins = field.textMargins();
    return field.contentsRect().marginsRemoved(margins).adjusted(2, 2, -2, -2);
}

// Where a line edit's selected text stands in `area` (the field's own coordinates): on the
// selection's highlight, as drawn in `image`, a grab of `window`; `area` when none is drawn.
inline QRect selectionArea(
    const QImage& image, const QWidget& window, const QLineEdit& field, const QRect& area)
{
    const qreal ratio = image.devicePixelRatio();
    const QPoint offset = field.mapTo(&window, QPoint(0, 0));
    const QRect inImage
        = QRectF(QPointF(offset + area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect();
    const QRgb highlight = field.palette().color(QPalette::Highlight).rgb();
    QRect drawn;
    for (int y = inImage.top(); y <= inImage.bottom() && y < image.height(); ++y) {
        for (int x = inImage.left(); x <= inImage.right() && x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000u) == highlight)
                drawn |= QRect(x, y, 1, 1);
        }
    }
    if (drawn.isEmpty())
        return area;
    return QRectF(QPointF(drawn.topLeft()) / ratio - QPointF(offset), QSizeF(drawn.size()) / ratio)
        .toAlignedRect()
        .intersected(area);
}

// A flag or another emoji is a coloured picture, drawn in its own colours and not in the text's.
inline bool isPicture(const QString& text)
{
    const QList<uint> points = text.trimmed().toUcs4();
    return !points.isEmpty() && std::ranges::all_of(points, [](uint point) {
        return point >= 0x1F000 || point == 0xFE0F || point == 0x200D;
    });
}

inline QString describe(const QWidget& widget, const QString& text)
{
    return QString::fromLatin1(widget.metaObject()->className()) + u' ' + widget.objectName() + u" \"" + text
        + u'"';
}

} // namespace drawntexts

/// Every visible text under `root` (itself included) as drawn in `window` (an ancestor of
/// `root`, or `root` itself, whose grab shows what stands behind the texts): labels, buttons,
/// segments, each tab of a tab bar, the current item of a combo box, the text of a line edit
/// or else its placeholder, and each item of a menu. Labels showing only a picture (an image
/// or a flag) and buttons without a title are left out.
inline std::vector<DrawnText> drawnTexts(QWidget& window, QWidget& root)
{
    const QImage image = window.grab().toImage();
    std::vector<DrawnText> texts;
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : std::as_const(widgets)) {
        if (!widget->isVisibleTo(&window) || widget->visibleRegion().isEmpty())
            continue;
        const QRect visible = widget->visibleRegion().boundingRect();
        const auto measure = [&](const QString& text, const QRect& where, bool greyed) {
            const QRect area = where.intersected(visible);
            if (text.trimmed().isEmpty() || drawntexts::isPicture(text) || area.width() < 4
                || area.height() < 4)
                return;
            // The grab has device pixels: twice as many each way at scale 2.
            const qreal ratio = image.devicePixelRatio();
            const QRect inWindow
                = QRectF(QPointF(widget->mapTo(&window, area.topLeft())) * ratio, QSizeF(area.size()) * ratio)
                      .toAlignedRect();
            texts.push_back({ drawntexts::describe(*widget, text), drawnContrast(image, inWindow),
                greyed ? 3.0 : requiredContrast(*widget) });
        };
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            measure(label->text(), drawntexts::textArea(*widget), false);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            measure(button->text(), drawntexts::textArea(*widget), false);
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int tab = 0; tab < tabs->count(); ++tab)
                measure(
                    tabs->tabText(tab), tabs->tabRect(tab).adjusted(4, 3, -4, -3), !tabs->isTabEnabled(tab));
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // An editable one shows its text in its line edit, measured as such.
            if (!combo->isEditable())
                measure(combo->currentText(), drawntexts::comboTextArea(*combo), false);
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            const QString shown = field->displayText();
            // Selected text is read against the selection's highlight, not the field's ground.
            const QRect area = field->hasSelectedText()
                ? drawntexts::selectionArea(image, window, *field, drawntexts::lineEditTextArea(*field))
                : drawntexts::lineEditTextArea(*field);
            measure(shown.isEmpty() ? field->placeholderText() : shown, area, false);
        } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
            for (QAction* action : menu->actions()) {
                if (action->isVisible() && !action->isSeparator())
                    measure(action->text().remove(u'&'), menu->actionGeometry(action).adjusted(2, 1, -2, -1),
                        !action->isEnabled());
            }
        }
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
