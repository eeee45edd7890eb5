#pragma once

#include <QString>

/// The category screen's user defaults, each a bool with the fallback false.
namespace categoryscreensettings {

/// "showHiddenAssets": the asset list also lists hidden categories.
inline const QString showHiddenAssetsKey = QStringLiteral("showHiddenAssets");
/// "showHiddenLiabilities": the liability list also lists hidden categories.
inline const QString showHiddenLiabilitiesKey = QStringLiteral("showHiddenLiabilities");

bool showHidden(bool isAsset);
/// Writes the switch and synchronises the defaults at once.
void setShowHidden(bool isAsset, bool show);

} // namespace categoryscreensettings
