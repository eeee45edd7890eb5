#pragma once

#include <QLabel>
#include <QList>
#include <QSize>
#include <QString>

class QPushButton;
class QWidget;

/// The common arrangement of the shell's small popovers: texts stacked at the top, buttons
/// in a row at the bottom right. The last button is the default one and answers Return and
/// Enter.
namespace AlertLayout {

QLabel* makeTitle(const QString& text, QWidget* parent);
QLabel* makeMessage(const QString& text, QWidget* parent);
/// Lays the texts and buttons out in `view` and keeps `view` as tall as its texts need at its
/// width (see `fitToWidth`).
void arrange(QWidget* view, const QList<QLabel*>& texts, const QList<QPushButton*>& buttons);

/// The size `view`'s layout needs to show all of its texts at `width` (wider when a word or
/// a row of buttons does not fit in `width`); `view`'s size without a layout.
QSize fittingSize(const QWidget* view, int width);
/// Gives `view` `width` and the height its texts need now, and keeps that height whenever a
/// text or a part of the layout changes. A view shown as a popover's content asks its popover
/// for the new size, so the popover grows and shrinks with the texts while it is shown.
void fitToWidth(QWidget* view, int width);

} // namespace AlertLayout
