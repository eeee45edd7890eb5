#include "app/selection/SelectionSearch.h"

namespace SelectionSearch {

QString folded(const QString& text)
{
    // Decomposed, an accented letter is its base letter followed by combining marks.
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark())
            result.append(c);
    }
    return result.toCaseFolded();
}

QList<int> matches(const QStringList& foldedNames, const QString& search)
{
    QList<int> result;
    result.reserve(foldedNames.size());
    const QString needle = folded(search);
    for (int i = 0; i < foldedNames.size(); ++i) {
        if (needle.isEmpty() || foldedNames.at(i).contains(needle))
            result.append(i);
    }
    return result;
}

} // namespace SelectionSearch
