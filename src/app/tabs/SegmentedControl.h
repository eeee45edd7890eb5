#pragma once

#include <QButtonGroup>
#include <QList>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QToolButton;

/// A row of joined, mutually exclusive segments, each with a label and sized to fit it.
/// Selecting a segment from code does not emit `segmentClicked`. The segments are buttons
/// named "segment<index>".
class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedControl(QWidget* parent = nullptr);

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    void setSegmentCount(int count);
    QString labelForSegment(int segment) const;
    void setLabel(const QString& label, int segment);
    /// -1 when none is selected.
    int selectedSegment() const;
    void setSelectedSegment(int segment);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /// The user clicked a segment.
    void segmentClicked(int segment);

private:
    QHBoxLayout* m_layout = nullptr;
    QButtonGroup m_group;
    QList<QToolButton*> m_segments;
};
