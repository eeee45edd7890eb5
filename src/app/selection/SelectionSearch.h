#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The incremental search of the selection list: a name matches when it contains the
/// search text, ignoring letter case and accents, the text taken literally.
namespace SelectionSearch {

/// `text` with accents dropped and case folded, so that a plain substring test ignores both.
QString folded(const QString& text);
/// The positions, in order, of the `foldedNames` that contain `search`; every position
/// for an empty search.
QList<int> matches(const QStringList& foldedNames, const QString& search);

} // namespace SelectionSearch
