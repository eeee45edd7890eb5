#pragma once

#include "dashboard/common/PieChartSettings.h"
#include "model/data/MVX_Model.h"

#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>

/// The pie and bar colour lists ("RRGGBBAA" texts read with `ColorHex::colorFromHex`), the
/// choice of the current list and the category colours. Pure functions; the lists are built
/// once and shared.
namespace PieColorSchemes {

/// The 30 multi-colour entries ("ea9b2df7", ...): `colorArrayA`, also used as `colorArrayB`.
const QStringList& colorArrayA();
const QStringList& colorArrayB();
/// 16 green shades for assets ("205207df", ...).
const QStringList& colorArrayGreen();
/// 15 red shades for liabilities ("741515df", ...).
const QStringList& colorArrayRed();

/// The list the pie and bars use for `type`: assets the green shades or the multi-colour list,
/// liabilities the red shades or the multi-colour list; the net-worth split keeps `current`.
const QStringList& colorListForType(
    PieChartSettings::PieDisplayType type, bool greenOrRedShades, const QStringList& current);

/// Entry `index` of `list` modulo its length, read with `colorFromHex`; grey 0.5 for an empty list.
QColor colorAt(const QStringList& list, qsizetype index);

/// Category ID to chart colour, asset and liability categories.
using ColorDictionary = QHash<QString, QColor>;
struct ColorDictionaries {
    ColorDictionary assets; // colorDictionaryA
    ColorDictionary liabilities; // colorDictionaryL
};

/// `setColorDictionary`: each category of the model's lists (hidden ones included) gets the
/// entry of its position in the list, starting over when the colour list runs out. A null model
/// gives empty maps.
ColorDictionaries setColorDictionary(const MVX_Model* model, bool greenOrRedShades);

/// A category's colour from a map, grey 0.5 when it has none.
QColor categoryColor(const ColorDictionary& dictionary, const QString& categoryID);

} // namespace PieColorSchemes
