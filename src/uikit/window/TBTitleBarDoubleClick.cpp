#include "uikit/window/TBTitleBarDoubleClick.h"

#include "platform/UserDefaults.h"

using namespace Qt::Literals::StringLiterals;

namespace TBTitleBarDoubleClick {

Action action(const platform::UserDefaults& defaults)
{
    if (defaults.boolean(QString::fromLatin1(kMiniaturizeOnDoubleClickKey), false)
        || defaults.string(QString::fromLatin1(kActionOnDoubleClickKey)) == u"Minimize"_s)
        return Action::Miniaturize;
    return Action::None;
}

} // namespace TBTitleBarDoubleClick
