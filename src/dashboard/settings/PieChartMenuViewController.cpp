#include "dashboard/settings/PieChartMenuViewController.h"

#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/PieChartSettings.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/extensions/NamedWidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;
using namespace PieChartSettings;
using platform::Strings;

PieChartMenuViewController::PieChartMenuViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"PieChartMenuViewController"_s);
    buildInterface();
    loadValues();
}

void PieChartMenuViewController::buildInterface()
{
    m_pieChartContentTypeCtl
        = named(new SegmentedControl(
                    { Strings::tr("Net Worth"), Strings::tr("Assets"), Strings::tr("Liabilities") }, this),
            u"pieChartContentTypeCtl"_s);
    m_amountDisplayMOdeCtl = named(
        new SegmentedControl({ Strings::tr("None"), Strings::tr("Amount"), Strings::tr("Percent") }, this),
        u"amountDisplayMOdeCtl"_s);
    m_displayCategoryNameCtl = named(
        new QCheckBox(Strings::tr("Show category names in labels"), this), u"displayCategoryNameCtl"_s);
    m_colorSchemeCtl
        = named(new SegmentedControl({ Strings::tr("Shades"), Strings::tr("Multi-colour") }, this),
            u"colorSchemeCtl"_s);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(10);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* control) {
        if (!caption.isEmpty())
            layout->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight);
        layout->addWidget(control, row++, 1, Qt::AlignLeft);
    };
    addRow(Strings::tr("Show:"), m_pieChartContentTypeCtl);
    addRow(Strings::tr("Labels:"), m_amountDisplayMOdeCtl);
    addRow(QString(), m_displayCategoryNameCtl);
    addRow(Strings::tr("Colours:"), m_colorSchemeCtl);

    connect(
        m_pieChartContentTypeCtl, &SegmentedControl::segmentClicked, this, [this] { contentModeChanged(); });
    connect(m_amountDisplayMOdeCtl, &SegmentedControl::segmentClicked, this,
        [this] { categoryDisplayModeChanged(); });
    connect(m_displayCategoryNameCtl, &QCheckBox::clicked, this, [this] { displayNameModeChanged(); });
    connect(m_colorSchemeCtl, &SegmentedControl::segmentClicked, this, [this] { colorSchemeChanged(); });
}

void PieChartMenuViewController::loadValues()
{
    m_displayCategoryNameCtl->setChecked(nameInLabel());
    const int type = static_cast<int>(pieDisplayType());
    m_pieChartContentTypeCtl->setSelectedSegment(type);
    m_amountDisplayMOdeCtl->setSelectedSegment(static_cast<int>(pieLabelType()));
    m_colorSchemeCtl->setSelectedSegment(static_cast<int>(colorScheme()));
    setValueDisplayTypeBasedOnChartType(type);
}

void PieChartMenuViewController::setValueDisplayTypeBasedOnChartType(int type)
{
    // Disabled is dimmed enough: the palette's disabled colours are the faintest that read
    // (3:1), and an opacity effect on top of them fell below 2:1.
    if (type == 1 || type == 2)
        m_amountDisplayMOdeCtl->setEnabled(true);
    else if (type == 0)
        m_amountDisplayMOdeCtl->setEnabled(false);
}

void PieChartMenuViewController::contentModeChanged()
{
    const int segment = m_pieChartContentTypeCtl->selectedSegment();
    setPieDisplayType(displayTypeFromIndex(segment));
    setValueDisplayTypeBasedOnChartType(segment);
    postSettingsChangeNotification();
}

void PieChartMenuViewController::categoryDisplayModeChanged()
{
    setPieLabelType(labelTypeFromIndex(m_amountDisplayMOdeCtl->selectedSegment()));
    postSettingsChangeNotification();
}

void PieChartMenuViewController::displayNameModeChanged()
{
    setNameInLabel(m_displayCategoryNameCtl->isChecked());
    postSettingsChangeNotification();
}

void PieChartMenuViewController::colorSchemeChanged()
{
    setColorScheme(m_colorSchemeCtl->selectedSegment() == 1 ? ColorScheme::MultiColor : ColorScheme::Shades);
    platform::NotificationCenter::defaultCenter().post(notifications::colorSchemaSettingsChange);
}

void PieChartMenuViewController::postSettingsChangeNotification()
{
    platform::NotificationCenter::defaultCenter().post(notifications::pieChartSettingsChange);
}
