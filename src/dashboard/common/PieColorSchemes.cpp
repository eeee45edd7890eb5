#include "dashboard/common/PieColorSchemes.h"

#include "model/data/MVX_Category.h"
#include "uikit/extensions/ColorHex.h"

using namespace Qt::Literals::StringLiterals;

namespace PieColorSchemes {

namespace {

QStringList withAlpha(const QStringList& colors, const QString& alpha)
{
    QStringList result;
    result.reserve(colors.size());
    for (const QString& color : colors)
        result.append(color + alpha);
    return result;
}

void fill(
    ColorDictionary& dictionary, const std::optional<MVX_CategoryList>& categories, const QStringList& list)
{
    if (!categories)
        return;
    qsizetype position = 0;
    for (const auto& category : *categories) {
        if (category)
            dictionary.insert(category->ID(), colorAt(list, position));
        if (++position == list.size())
            position = 0;
    }
}

} // namespace

const QStringList& colorArrayA()
{
    static const QStringList list
        = withAlpha({ u"ea9b2d"_s, u"face3d"_s, u"1397a9"_s, u"19c0d3"_s, u"986de4"_s, u"f3a5e3"_s,
                        u"2ca0d7"_s, u"87ceef"_s, u"f1744b"_s, u"f14810"_s, u"fbd464"_s, u"fcf2d5"_s,
                        u"01a651"_s, u"75d04a"_s, u"0b72cc"_s, u"0ca5fe"_s, u"ff0000"_s, u"fb6464"_s,
                        u"29780a"_s, u"6ab64d"_s, u"ece018"_s, u"fcff00"_s, u"ffa800"_s, u"f8c665"_s,
                        u"c34de1"_s, u"d19fdd"_s, u"00b4ff"_s, u"ace7ff"_s, u"fa01ab"_s, u"fb59c8"_s },
            u"f7"_s);
    return list;
}

const QStringList& colorArrayB()
{
    return colorArrayA();
}

const QStringList& colorArrayGreen()
{
    static const QStringList list { u"205207df"_s, u"2c6b0ddf"_s, u"398115df"_s, u"4a9724df"_s, u"5db133df"_s,
        u"5ec52cdf"_s, u"5ada1bdf"_s, u"57ed0edf"_s, u"76f835df"_s, u"9dfa70df"_s, u"c6fcacdf"_s,
        u"ddfbcfdf"_s, u"689d4edf"_s, u"82b26bdf"_s, u"a4c793df"_s, u"bad4aedf"_s };
    return list;
}

const QStringList& colorArrayRed()
{
    static const QStringList list { u"741515df"_s, u"912727df"_s, u"b22b2bdf"_s, u"c01e1edf"_s, u"d41313df"_s,
        u"ef0c0cdf"_s, u"fb3f3fdf"_s, u"fc6f6fdf"_s, u"fda6a6df"_s, u"fbd3d3df"_s, u"fcededdf"_s,
        u"a95353df"_s, u"c57c7cdf"_s, u"d8a1a1df"_s, u"e0c3c3df"_s };
    return list;
}

const QStringList& colorListForType(
    PieChartSettings::PieDisplayType type, bool greenOrRedShades, const QStringList& current)
{
    switch (type) {
    case PieChartSettings::PieDisplayType::AssetCategories:
        return greenOrRedShades ? colorArrayGreen() : colorArrayA();
    case PieChartSettings::PieDisplayType::LiabilityCategories:
        return greenOrRedShades ? colorArrayRed() : colorArrayB();
    case PieChartSettings::PieDisplayType::NetWorth:
        break;
    }
    return current;
}

QColor colorAt(const QStringList& list, qsizetype index)
{
    if (list.isEmpty() || index < 0)
        return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
    return ColorHex::colorFromHex(list.at(index % list.size()));
}

ColorDictionaries setColorDictionary(const MVX_Model* model, bool greenOrRedShades)
{
    ColorDictionaries result;
    if (!model)
        return result;
    fill(result.assets, model->assetscat(), greenOrRedShades ? colorArrayGreen() : colorArrayA());
    fill(result.liabilities, model->liabilitycat(), greenOrRedShades ? colorArrayRed() : colorArrayB());
    return result;
}

QColor categoryColor(const ColorDictionary& dictionary, const QString& categoryID)
{
    return dictionary.value(categoryID, QColor::fromRgbF(0.5f, 0.5f, 0.5f));
}

} // namespace PieColorSchemes
