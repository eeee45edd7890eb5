#pragma once

#include <QWidget>

class QCheckBox;
class SegmentedControl;

/// The pie settings popover's content: what the dashboard pie shows, what its labels say,
/// whether labels carry the category name, and the colour scheme. There is no Apply: each
/// control writes its key through `PieChartSettings` (which synchronises) and only then posts
/// "PieChartSettingsChange" (the colour control: "ColorSchemaSettingsChange"), with no object.
/// Made anew for every opening. Controls carry their outlet names as object names. Main thread
/// only.
class PieChartMenuViewController : public QWidget {
    Q_OBJECT
public:
    explicit PieChartMenuViewController(QWidget* parent = nullptr);

    SegmentedControl* pieChartContentTypeCtl() const { return m_pieChartContentTypeCtl; }
    SegmentedControl* amountDisplayMOdeCtl() const { return m_amountDisplayMOdeCtl; }
    QCheckBox* displayCategoryNameCtl() const { return m_displayCategoryNameCtl; }
    SegmentedControl* colorSchemeCtl() const { return m_colorSchemeCtl; }

    /// Types 1 and 2 enable the label control at full opacity, type 0 disables and dims it;
    /// any other value leaves it as it is.
    void setValueDisplayTypeBasedOnChartType(int type);

    // The controls' actions.
    void contentModeChanged();
    void categoryDisplayModeChanged();
    void displayNameModeChanged();
    void colorSchemeChanged();
    void postSettingsChangeNotification();

private:
    void buildInterface();
    void loadValues();

    SegmentedControl* m_pieChartContentTypeCtl = nullptr;
    SegmentedControl* m_amountDisplayMOdeCtl = nullptr;
    QCheckBox* m_displayCategoryNameCtl = nullptr;
    SegmentedControl* m_colorSchemeCtl = nullptr;
};
