#pragma once

#include <QButtonGroup>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class SegmentButton;

/// A row of joined, mutually exclusive segments, each with a label and sized to fit it.
/// When the row is narrower than that, segments shrink and draw their labels elided at the
/// right ("Statem…"). Selecting a segment from code does not emit `segmentClicked`. The
/// segments are buttons named "segment<index>".
class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedControl(QWidget* parent = nullptr);
    /// One segment for each label.
    explicit SegmentedControl(const QStringList& labels, QWidget* parent = nullptr);

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    /// Clamped to 0..100.
    void setSegmentCount(int count);
    QString labelForSegment(int segment) const;
    /// The label as the segment draws it at its present width; null for no such segment.
    QString shownLabelForSegment(int segment) const;
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
    QList<SegmentButton*> m_segments;
};
