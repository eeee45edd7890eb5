#pragma once

#include <QWidget>

/// The tags screen's background: under the lists it draws, while a tag is selected, the
/// green arrow from the tag row to the asset list and the red one to the liability list
/// (see TagArrowGeometry for where they run).
class NW_TagBgView : public QWidget {
    Q_OBJECT
public:
    explicit NW_TagBgView(QWidget* parent = nullptr);

    /// The positions are kept within the drawable range (NaN counts as 0).
    float RecordPosition() const { return m_RecordPosition; }
    void setRecordPosition(float position);
    float LiabilityTablePosition() const { return m_LiabilityTablePosition; }
    void setLiabilityTablePosition(float position);
    bool RecordSelected() const { return m_RecordSelected; }
    void setRecordSelected(bool selected) { m_RecordSelected = selected; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float m_RecordPosition = 0;
    float m_LiabilityTablePosition = 0;
    bool m_RecordSelected = false;
};
