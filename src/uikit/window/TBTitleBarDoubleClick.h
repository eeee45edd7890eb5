#pragma once

#include <QString>

namespace platform {
class UserDefaults;
}

/// What a double-click on a title bar does, read from the user's settings.
namespace TBTitleBarDoubleClick {

inline constexpr const char* kMiniaturizeOnDoubleClickKey = "AppleMiniaturizeOnDoubleClick";
inline constexpr const char* kActionOnDoubleClickKey = "AppleActionOnDoubleClick";

enum class Action { None, Miniaturize };

/// Miniaturize when "AppleMiniaturizeOnDoubleClick" is true or "AppleActionOnDoubleClick"
/// is "Minimize"; nothing otherwise (a double-click never zooms).
Action action(const platform::UserDefaults& defaults);

} // namespace TBTitleBarDoubleClick
