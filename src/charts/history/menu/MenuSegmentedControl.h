#pragma once

#include <QButtonGroup>
#include <QList>
#include <QStringList>
#include <QWidget>

class QToolButton;

/// A row of joined, mutually exclusive segments with text labels, for the settings popover's
/// choices. Selecting a segment from code emits nothing; a click emits `segmentClicked`. The
/// segments are buttons named "segment<index>".
class MenuSegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit MenuSegmentedControl(const QStringList& labels, QWidget* parent = nullptr);

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    /// -1 when none is selected.
    int selectedSegment() const { return m_group.checkedId(); }
    /// Out of range selects nothing.
    void setSelectedSegment(int segment);

Q_SIGNALS:
    void segmentClicked(int segment);

private:
    QButtonGroup m_group;
    QList<QToolButton*> m_segments;
};
