#pragma once

#include <QLabel>
#include <QList>
#include <QString>

class QPushButton;
class QWidget;

/// The common arrangement of the shell's small popovers: texts stacked at the top, buttons
/// in a row at the bottom right. The last button is the default one and answers Return and
/// Enter.
namespace AlertLayout {

QLabel* makeTitle(const QString& text, QWidget* parent);
QLabel* makeMessage(const QString& text, QWidget* parent);
void arrange(QWidget* view, const QList<QLabel*>& texts, const QList<QPushButton*>& buttons);

} // namespace AlertLayout
