#pragma once

// The notification names the data model posts. Every name is declared here and
// nowhere else; observers and posters use these constants.

#include <QString>

namespace notifications {

/// Posted (no object) when the store's model was replaced or reloaded.
inline const QString dataReFetched = QStringLiteral("dataReFetched");

/// Posted (no object) when a save found that another program had changed the data file
/// since it was read, and kept that version as a copy; `copyPathKey` holds the copy's path.
inline const QString dataFileConflict = QStringLiteral("dataFileConflictKept");
inline const QString copyPathKey = QStringLiteral("copyPath");

/// Asks (no object) for the exchange rates to be downloaded again, when a screen finds
/// the store's rates out of date.
inline const QString exchangeRateFetchAgain = QStringLiteral("ExchangeRateFetchAgain");
/// Posted (no object) when a rate download ended, whether or not it brought new rates;
/// the store's `exchangeRateIsUpToDate` tells which.
inline const QString exchangeRateParserDone = QStringLiteral("ExchangeRateParserDone");

/// Posted (no object) when the order of categories or the pie's settings changed: the pies
/// redraw.
inline const QString pieChartSettingsChange = QStringLiteral("PieChartSettingsChange");

} // namespace notifications
