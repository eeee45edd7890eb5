#include "charts/history/menu/MenuSegmentedControl.h"

#include <QHBoxLayout>
#include <QToolButton>

MenuSegmentedControl::MenuSegmentedControl(const QStringList& labels, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_group.setExclusive(true);
    for (const QString& label : labels) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("segment%1").arg(m_segments.size()));
        button->setText(label);
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        button->setMinimumWidth(button->sizeHint().width() + 12);
        m_group.addButton(button, static_cast<int>(m_segments.size()));
        layout->addWidget(button);
        m_segments.append(button);
    }
    connect(&m_group, &QButtonGroup::idClicked, this, &MenuSegmentedControl::segmentClicked);
}

void MenuSegmentedControl::setSelectedSegment(int segment)
{
    if (segment >= 0 && segment < segmentCount()) {
        m_segments.at(segment)->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    m_group.setExclusive(false);
    for (QToolButton* button : std::as_const(m_segments))
        button->setChecked(false);
    m_group.setExclusive(true);
}
