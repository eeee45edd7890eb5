#pragma once

// The notification names of the application's commands. Every name is declared here
// and nowhere else (the reports' print request is declared with the reports); observers
// and posters use these constants.

#include "reports/ReportsNotifications.h"

#include <QString>

namespace notifications {

inline const QString printClose = QStringLiteral("nwPrintClose");
inline const QString deleteAllData = QStringLiteral("DeleteAllMERVANEData");
inline const QString restoreAllData = QStringLiteral("RestoreAllMERVANEData");
/// The CSV import panel closed without importing.
inline const QString csvImporterClose = QStringLiteral("CSVImporterClose");
/// Posted (no object) after a successful CSV import.
inline const QString csvImporterImport = QStringLiteral("CSVImporterImport");
inline const QString settingsClosed = QStringLiteral("SettingsClosed");
/// The selection popover: a choice (object: the chosen records as a QVariantList of
/// `GenericSelectionRecord`, the newest last) and a close button (object: the controller).
inline const QString genericSelectSelected = QStringLiteral("GenericSelectSelected");
inline const QString genericSelectClosed = QStringLiteral("GenericSelectClosed");

} // namespace notifications
