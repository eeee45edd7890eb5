#pragma once

#include "model/values/GenericSelectionRecord.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class TableRowHost;
class TableRowView;

namespace selection_detail {
class RowsModel;
}

/// The content of the searchable selection popover: a title, an incremental search over
/// the names, one row per record and the close buttons. Single selection reports a row as
/// soon as it is chosen; multiple selection gives rows check boxes and reports the checked
/// records with the Select button. Choices go out as "GenericSelectSelected", the close
/// buttons as "GenericSelectClosed"; the owner closes the popover on either.
class GenericSelectionVC : public QWidget {
    Q_OBJECT
public:
    explicit GenericSelectionVC(QWidget* parent = nullptr);
    ~GenericSelectionVC() override;

    const QList<GenericSelectionRecord>& selectionRecords() const { return m_selectionRecords; }
    void setSelectionRecords(QList<GenericSelectionRecord> records);
    const QString& unknownImageName() const { return m_unknownImageName; }
    void setUnknownImageName(QString name) { m_unknownImageName = std::move(name); }
    bool multiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool multiSelect) { m_multiSelect = multiSelect; }
    /// Kept for the owner; the popover's look does not read them.
    double radius() const { return m_radius; }
    void setRadius(double radius) { m_radius = radius; }
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width) { m_borderWidth = width; }
    const QString& viewTitle() const { return m_viewTitle; }
    void setViewTitle(QString title) { m_viewTitle = std::move(title); }

    /// Shows the buttons of the mode, the title and the records matching the search.
    void reloadData();
    /// The search text became `text`.
    void searchAction(const QString& text);
    const QString& incSearchText() const { return m_incSearchText; }

    QListView* mainTableView() const { return m_mainTableView; }

protected:
    /// The search field takes the keyboard whenever the popover shows.
    void showEvent(QShowEvent* event) override;

private:
    TableRowView* makeRow(int row);
    /// The record shown in list row `row`, as an index into the records; -1 for none.
    int recordIndexOfRow(int row) const;
    void handleNewContactSelection(int row);
    void selectionCheckBoxHandler(int recordIndex, bool checked);
    void selectAndClose();
    /// Posts after the current event, and only while this controller lives: the owner
    /// may delete it from the observer, which must not happen inside the list's signals.
    void postLater(const QString& name, const QVariant& object);

    QList<GenericSelectionRecord> m_selectionRecords;
    QStringList m_foldedNames;
    QString m_unknownImageName;
    QString m_viewTitle;
    QString m_incSearchText;
    bool m_multiSelect = false;
    double m_radius = 0.0;
    double m_borderWidth = 2.0;

    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_searchField = nullptr;
    QListView* m_mainTableView = nullptr;
    selection_detail::RowsModel* m_rows = nullptr;
    TableRowHost* m_rowHost = nullptr;
    QPushButton* m_selectBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;
    QPushButton* m_closeBtn2 = nullptr;
};
