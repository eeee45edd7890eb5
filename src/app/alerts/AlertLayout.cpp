#include "app/alerts/AlertLayout.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace AlertLayout {

QLabel* makeTitle(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* makeMessage(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

void arrange(QWidget* view, const QList<QLabel*>& texts, const QList<QPushButton*>& buttons)
{
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(16, 12, 16, 12);
    for (QLabel* text : texts)
        layout->addWidget(text);
    layout->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    if (!buttons.isEmpty()) {
        QPushButton* defaultButton = buttons.last();
        defaultButton->setDefault(true);
        // Outside a dialog a default button does not answer Return by itself.
        for (const int key : { Qt::Key_Return, Qt::Key_Enter }) {
            auto* shortcut = new QShortcut(QKeySequence(key), view);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            QObject::connect(shortcut, &QShortcut::activated, defaultButton, &QPushButton::click);
        }
    }
    layout->addLayout(row);
}

} // namespace AlertLayout
