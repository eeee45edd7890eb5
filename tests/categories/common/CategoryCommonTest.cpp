#include "categories/common/NWCategoryCellView.h"
#include "categories/common/TagColorImages.h"
#include "model/store/NWData.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(TagColorImagesTest, EightColourNamesHaveTheirImagesAndNothingElseDoes)
{
    for (const QString& name :
        { u"BLUE"_s, u"ORANGE"_s, u"RED"_s, u"GRAY"_s, u"GREEN"_s, u"PINK"_s, u"WHITE"_s, u"YELLOW"_s }) {
        EXPECT_EQ(TagColorImages::imageName(name), name.toLower() + u"Tag"_s);
        EXPECT_FALSE(TagColorImages::image(name).isNull()) << name.toStdString();
    }
    for (const QString& name : { u"blue"_s, u"PURPLE"_s, QString() }) {
        EXPECT_TRUE(TagColorImages::imageName(name).isEmpty()) << name.toStdString();
        EXPECT_TRUE(TagColorImages::image(name).isNull());
    }
}

std::shared_ptr<MVX_Tags> tag(const QString& id, const QString& name)
{
    auto made = std::make_shared<MVX_Tags>();
    made->setID(id);
    made->setName(name);
    made->setHexColorString(u"RED"_s);
    return made;
}

TEST(CategoryCellTest, ShowsTheCategoryWithTheTagsThatExistAndATableCurrencysFlag)
{
    auto model = MVX_Model::makeEmpty();
    model->setTags(MVX_TagsList { tag(u"T1"_s, u"Home"_s), tag(u"T2"_s, u"Kids"_s) });
    NWData::shared()->setAppData(model);
    MVX_Category category;
    category.setCategoryName(u"Savings"_s);
    category.setDesc(u"for later"_s);
    category.setTags(QStringList { u"T2"_s, u"GONE"_s, u"T1"_s });
    category.setIsForeignCurrency(true);
    category.setCurrency(u"XYZ"_s);

    NWCategoryCellView cell;
    cell.setCategory(category);
    EXPECT_EQ(cell.nameField()->text(), u"Savings"_s);
    EXPECT_EQ(cell.descField()->text(), u"for later"_s);
    // Tokens in the category's order; an ID no tag has is left out.
    EXPECT_EQ(cell.tokenField()->objectValue(), (QVariantList { u"Kids"_s, u"Home"_s }));
    EXPECT_TRUE(cell.currencyFlag()->text().isEmpty()); // not a table currency

    category.setCurrency(u"EUR"_s);
    cell.setCategory(category);
    EXPECT_EQ(cell.currencyFlag()->toolTip(), u"EUR"_s);
    category.setIsForeignCurrency(false);
    cell.setCategory(category);
    EXPECT_TRUE(cell.currencyFlag()->toolTip().isEmpty());
}

} // namespace
