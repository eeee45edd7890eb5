#include "app/shell/ScreenPlaceholder.h"

#include <QVBoxLayout>

ScreenPlaceholder::ScreenPlaceholder(const QString& name, QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    m_label = new QLabel(name, this);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignCenter);
    QFont font = m_label->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    m_label->setFont(font);
    // The role, not its colour: a colour copied here would stay after an appearance switch.
    m_label->setForegroundRole(QPalette::PlaceholderText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
}
