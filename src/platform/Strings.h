#pragma once

#include <QCoreApplication>
#include <QString>

namespace platform {

/// The strings table every user-visible text is looked up in, by its English wording.
inline constexpr const char* kStringsTable = "mervanemac";

/// The strings table "mervanemac" as Qt's translation tools see it. Write a text the
/// user sees as `platform::Strings::tr("English text")`, and a text about a count as
/// `platform::Strings::tr("%n records", nullptr, count)`; lupdate collects both into
/// the context "mervanemac". A text kept in a constant is marked where it is defined,
/// `QT_TRANSLATE_NOOP("mervanemac", "English text")`, and translated where it is shown
/// with `localized`.
class Strings {
    Q_DECLARE_TR_FUNCTIONS(mervanemac)
};

/// The text for the user's language; the English text itself when no translation exists.
/// For texts marked with QT_TRANSLATE_NOOP where they are defined.
QString localized(const char* englishText);
QString localized(const QString& englishText);

/// Installs the English forms of the texts about counts (built in), then "mervane_<locale>.qm"
/// for the system locale from the application's translations (the resource folder
/// ":/translations" or "<data dir>/translations") over them. Returns whether a translation
/// of another language than English was installed.
bool installTranslations();

} // namespace platform
