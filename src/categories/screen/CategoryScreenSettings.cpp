#include "categories/screen/CategoryScreenSettings.h"

#include "platform/UserDefaults.h"

namespace categoryscreensettings {

bool showHidden(bool isAsset)
{
    return platform::UserDefaults::standard().boolean(
        isAsset ? showHiddenAssetsKey : showHiddenLiabilitiesKey, false);
}

void setShowHidden(bool isAsset, bool show)
{
    platform::UserDefaults::standard().setValueAndSynchronize(
        isAsset ? showHiddenAssetsKey : showHiddenLiabilitiesKey, show);
}

} // namespace categoryscreensettings
