#include "uikit/window/TBTitleBarDoubleClick.h"

#include "platform/UserDefaults.h"

using namespace Qt::Literals::StringLiterals;

namespace TBTitleBarDoubleClick {

Action action(const platform::UserDefaults& defaults)
{
    const QString miniaturizeKey = QString::fromLatin1(kMiniaturizeOnDoubleClickKey);
    const QString actionKey = QString::fromLatin1(kActionOnDoubleClickKey);
    const QString chosen = defaults.string(actionKey);
    if (defaults.boolean(miniaturizeKey, false) || chosen == u"Minimize"_s)
        return Action::Miniaturize;
    if (chosen == u"None"_s)
        return Action::None;
    if (chosen.isEmpty() && defaults.contains(miniaturizeKey))
        return Action::None;
    return Action::Zoom;
}

} // namespace TBTitleBarDoubleClick
