#include "app/shell/AppSettings.h"

#include "platform/UserDefaults.h"

namespace AppSettings {

QString mainWindowFrame()
{
    return platform::UserDefaults::standard().string(mainWindowFrameKey);
}

void setMainWindowFrame(const QString& frameText)
{
    platform::UserDefaults::standard().setValueAndSynchronize(mainWindowFrameKey, frameText);
}

bool appLockIsSet()
{
    return platform::UserDefaults::standard().boolean(appLockIsSetKey, false);
}

void setAppLockIsSet(bool set)
{
    platform::UserDefaults::standard().setValueAndSynchronize(appLockIsSetKey, set);
}

std::optional<qint64> selectedAppearance()
{
    const auto& defaults = platform::UserDefaults::standard();
    if (!defaults.contains(selectedAppearanceKey))
        return std::nullopt;
    const qint64 stored = defaults.integer(selectedAppearanceKey, systemAppearance);
    return stored >= systemAppearance && stored <= darkAppearance ? stored : systemAppearance;
}

void setSelectedAppearance(qint64 appearance)
{
    platform::UserDefaults::standard().setValueAndSynchronize(selectedAppearanceKey, appearance);
}

std::optional<platform::Appearance> appearanceToApply(std::optional<qint64> stored)
{
    // The stored numbers are those of platform::Appearance; "the system's" leaves it alone.
    for (const auto appearance : { platform::Appearance::Light, platform::Appearance::Dark }) {
        if (stored == static_cast<qint64>(appearance))
            return appearance;
    }
    return std::nullopt;
}

} // namespace AppSettings
