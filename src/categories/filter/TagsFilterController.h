#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QListView;
class TableRowHost;
class TableRowView;

/// The tag filter of the history chart: every tag of the model with a check box, its
/// colour and its name, and the switch that turns the filter on. A tick or untick changes
/// the store's `selectedTagIDs` in place and "NWFilterIDArrayKey" at once, and posts
/// "TagFilterChanged" while the switch is on; the switch writes "TagFilterOnKey" and posts
/// "TagFilterChanged" either way. Made anew for each opening, it always starts with the
/// switch off.
class TagsFilterController : public QWidget {
    Q_OBJECT
public:
    /// User default: the switch was last turned on (fallback false).
    static inline const QString tagFilterOnKey = QStringLiteral("TagFilterOnKey");

    explicit TagsFilterController(QWidget* parent = nullptr);

    QListView* tableView() const { return m_tableView; }
    QCheckBox* filterAllCtl() const { return m_filterAllCtl; }
    /// The row's check box was set to `checked`; rows outside the tag list do nothing.
    void tagRowCheckHandler(int row, bool checked);
    /// The switch was set to `on`.
    void filterAllChanged(bool on);

private:
    TableRowView* makeRow(int row);

    QListView* m_tableView = nullptr;
    TableRowHost* m_rowHost = nullptr;
    QCheckBox* m_filterAllCtl = nullptr;
};
