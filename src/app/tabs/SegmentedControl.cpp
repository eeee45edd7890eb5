#include "app/tabs/SegmentedControl.h"

#include <QHBoxLayout>
#include <QToolButton>

SegmentedControl::SegmentedControl(QWidget* parent) : QWidget(parent)
{
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group.setExclusive(true);
    connect(&m_group, &QButtonGroup::idClicked, this, &SegmentedControl::segmentClicked);
}

void SegmentedControl::setSegmentCount(int count)
{
    count = std::max(count, 0);
    while (segmentCount() > count) {
        QToolButton* button = m_segments.takeLast();
        m_group.removeButton(button);
        delete button;
    }
    while (segmentCount() < count) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("segment%1").arg(segmentCount()));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        m_group.addButton(button, segmentCount());
        m_layout->addWidget(button);
        m_segments.append(button);
    }
    updateGeometry();
}

QString SegmentedControl::labelForSegment(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? m_segments.at(segment)->text() : QString();
}

void SegmentedControl::setLabel(const QString& label, int segment)
{
    if (segment < 0 || segment >= segmentCount())
        return;
    m_segments.at(segment)->setText(label);
    updateGeometry();
}

int SegmentedControl::selectedSegment() const
{
    return m_group.checkedId();
}

void SegmentedControl::setSelectedSegment(int segment)
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

QSize SegmentedControl::sizeHint() const
{
    // Each segment sized to fit its label, as a segment of width 0 is.
    int width = 0;
    int height = 0;
    for (const QToolButton* button : m_segments) {
        const QSize hint = button->sizeHint();
        width += hint.width() + 16;
        height = std::max(height, hint.height());
    }
    return { width, std::max(height + 4, 22) };
}

QSize SegmentedControl::minimumSizeHint() const
{
    return { 0, 0 };
}
