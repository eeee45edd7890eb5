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
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    m_label->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
}
