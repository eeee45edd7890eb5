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
    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(isAsset ? showHiddenAssetsKey : showHiddenLiabilitiesKey, show);
    defaults.synchronize();
}

} // namespace categoryscreensettings
