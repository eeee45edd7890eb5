#pragma once

#include "uikit/controls/rows/TableRowView.h"

/// A row that glows under the mouse (a fading pale yellow, dimmer in the dark appearance),
/// with the application's fading separator and a faint rounded selection.
class LnChartSettingsRowView : public TableRowView {
    Q_OBJECT
public:
    explicit LnChartSettingsRowView(QWidget* parent = nullptr);

    /// The glow's colour for an appearance.
    static QColor hoverColor(bool dark);

protected:
    void drawBackgroundInRect(QPainter& painter, const QRect& dirty) override;
    void drawSelectionInRect(QPainter& painter, const QRect& dirty) override;
};
