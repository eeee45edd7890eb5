#pragma once

// The notification names of the categories and tags screens. Every name is declared here
// and nowhere else; observers and posters use these constants.

#include <QString>

namespace notifications {

/// Posted (no object) by the category editor after a category of either kind was saved,
/// after "dataReFetched"; the category screen closes the editor.
inline const QString assetCategorySave = QStringLiteral("AssetCategorySave");
/// Posted (no object) by the category delete question's OK button.
inline const QString categoryDelete = QStringLiteral("CategoryDelete");
/// Posted (no object) by the tag editor after a tag was saved, after "dataReFetched".
inline const QString tagRecordSave = QStringLiteral("TagRecordSave");
/// Posted (no object) by the tag delete question's OK button.
inline const QString tagDelete = QStringLiteral("TagDelete");
/// Posted (no object) when the tag filter of the history chart changed.
inline const QString tagFilterChanged = QStringLiteral("TagFilterChanged");

} // namespace notifications
