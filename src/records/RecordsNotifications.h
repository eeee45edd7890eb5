#pragma once

// The notification names of the monthly records screen. Every name is declared here and
// nowhere else; observers and posters use these constants.

#include <QString>

namespace notifications {

/// Asks the record list (no object) to open the editor for a new record.
inline const QString addNewRecord = QStringLiteral("AddNewRecord");
/// Posted (no object) by the record editor after a successful save, after "dataReFetched";
/// the editor's opener closes its popover.
inline const QString nwRecordSave = QStringLiteral("nwRecordSave");
/// Posted (no object) by the delete confirmation's OK button.
inline const QString nwRecordDelete = QStringLiteral("nwRecordDelete");
/// Posted by a value field of the editor's tables when editing ends; the object is the
/// table, the user info says whether to move on (`tabKey`) or back (`shiftTabKey`).
inline const QString categoryValueEditFinished = QStringLiteral("CategoryValueEditFinished");
/// Posted by a table text field that does not move between rows when editing ends.
inline const QString tableTextFieldEditFinished = QStringLiteral("TableTextFieldEditFinished");
inline const QString tabKey = QStringLiteral("TAB");
inline const QString shiftTabKey = QStringLiteral("SHIFTTAB");
inline const QString objKey = QStringLiteral("OBJ");

} // namespace notifications
