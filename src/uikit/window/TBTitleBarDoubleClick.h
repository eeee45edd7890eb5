#pragma once

#include <QString>

namespace platform {
class UserDefaults;
}

/// What a double-click on a title bar does, read from the user's settings.
namespace TBTitleBarDoubleClick {

inline constexpr const char* kMiniaturizeOnDoubleClickKey = "AppleMiniaturizeOnDoubleClick";
inline constexpr const char* kActionOnDoubleClickKey = "AppleActionOnDoubleClick";

enum class Action { None, Miniaturize, Zoom };

/// Miniaturize when "AppleMiniaturizeOnDoubleClick" is true or "AppleActionOnDoubleClick"
/// is "Minimize". Nothing when the action is "None", or when there is no action and
/// "AppleMiniaturizeOnDoubleClick" is false. Any other action, and no setting at all, zooms:
/// Linux desktops maximise a window whose title bar is double-clicked.
Action action(const platform::UserDefaults& defaults);

} // namespace TBTitleBarDoubleClick
