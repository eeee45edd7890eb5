#pragma once

#include <QString>

namespace platform {

/// The strings table every user-visible text is looked up in, by its English wording.
inline constexpr const char* kStringsTable = "mervanemac";

/// The text for the user's language; the English text itself when no translation exists.
QString localized(const char* englishText);
QString localized(const QString& englishText);

/// Loads "mervane_<locale>.qm" for the system locale from the application's translations
/// (the resource folder ":/translations" or "<data dir>/translations"). Returns whether
/// a translation was installed; English needs none.
bool installTranslations();

} // namespace platform
