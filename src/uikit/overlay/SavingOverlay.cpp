#include "uikit/overlay/SavingOverlay.h"

#include "model/store/NWData.h"
#include "platform/Strings.h"
#include "uikit/overlay/POProgressOverlay.h"

namespace SavingOverlay {

QPointer<POProgressOverlay> saveStore(
    QWidget* view, std::function<void(const platform::MaybeError&)> completion)
{
    auto* overlay = new POProgressOverlay(view);
    overlay->setLabelText(platform::Strings::tr("Saving ..."));
    overlay->show(true);
    const QPointer<POProgressOverlay> shown(overlay);
    NWData::shared()->saveDataAsync(
        view, [shown, completion = std::move(completion)](platform::MaybeError result) {
            if (shown) {
                shown->hide(false);
                shown->deleteLater();
            }
            if (completion)
                completion(result);
        });
    return shown;
}

} // namespace SavingOverlay
