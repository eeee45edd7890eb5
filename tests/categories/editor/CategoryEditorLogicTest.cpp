#include "CategoryEditorTestSupport.h"

#include "categories/editor/CategoryEditorLogic.h"
#include "support/FailingDevices.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class CategoryLogicTest : public CategoryEditorTest {
protected:
    /// The form as the editor would fill it for `category` without changes.
    static CategoryForm unchangedForm(const CategoryEditorLogic& logic, const MVX_Category& category)
    {
        return CategoryForm { category.categoryName(), category.desc(), logic.chosenTagNames(),
            category.isHidden(), category.isForeignCurrency(), category.currency(), category.isDepreciable(),
            logic.openedRateText() };
    }
    static CategoryForm named(const QString& name, const QString& desc = {})
    {
        CategoryForm form;
        form.name = name;
        form.desc = desc;
        return form;
    }
    static std::optional<QString> refusal(CategoryEditorLogic& logic, const CategoryForm& form)
    {
        const auto refused = logic.prepareSave(form);
        return refused ? std::optional<QString>(refused->message) : std::nullopt;
    }
};

TEST_F(CategoryLogicTest, NamesAreTrimmedAndComparedExactlyWithTheOtherCategoriesOfTheirKind)
{
    CategoryEditorLogic logic(store());
    logic.open(nullptr, true);
    EXPECT_EQ(logic.title(), u"Add a new Asset Category"_s);
    EXPECT_EQ(refusal(logic, named(u"   \t "_s)), u"A category name cannot be empty!"_s);
    EXPECT_EQ(refusal(logic, named(u"Cash"_s)), u"A category with the same name already exists!"_s);
    // Blanks around a taken name do not make it another name.
    EXPECT_EQ(refusal(logic, named(u"  Cash "_s)), u"A category with the same name already exists!"_s);
    EXPECT_EQ(assets().size(), 4);
    EXPECT_EQ(may->assetLogs()->size(), 4);

    // A liability's name and a name differing in case are free for an asset.
    EXPECT_EQ(refusal(logic, named(u"  Loan  "_s, u"desc"_s)), std::nullopt);
    EXPECT_EQ(logic.category()->categoryName(), u"Loan"_s);
    EXPECT_EQ(logic.category()->desc(), u"desc"_s);
    CategoryEditorLogic lower(store());
    lower.open(nullptr, true);
    EXPECT_EQ(refusal(lower, named(u"cash"_s)), std::nullopt);

    // An asset's name is free for a liability.
    CategoryEditorLogic liability(store());
    liability.open(nullptr, false);
    EXPECT_EQ(liability.title(), u"Add a new Liability Category"_s);
    EXPECT_EQ(refusal(liability, named(u"Car"_s)), std::nullopt);
    EXPECT_EQ(store().appData()->liabilitycat()->size(), 2);
}

TEST_F(CategoryLogicTest, AnEditedCategoryNeverCollidesWithItselfAndIsStoredTrimmed)
{
    CategoryEditorLogic logic(store());
    logic.open(cash, true);
    EXPECT_EQ(logic.title(), u"Edit Asset Category"_s);
    EXPECT_EQ(logic.originalCategoryName(), u"Cash"_s);
    EXPECT_EQ(refusal(logic, unchangedForm(logic, *cash)), std::nullopt);
    EXPECT_EQ(cash->categoryName(), u"Cash"_s);
    EXPECT_EQ(cash->tags(), QStringList { home->ID() });
    EXPECT_EQ(assets().size(), 4);

    // A stored name with blanks around it saves unchanged, trimmed.
    car->setCategoryName(u" Car  "_s);
    CategoryEditorLogic padded(store());
    padded.open(car, true);
    EXPECT_EQ(refusal(padded, unchangedForm(padded, *car)), std::nullopt);
    EXPECT_EQ(car->categoryName(), u"Car"_s);

    // Renaming onto another category of the kind is refused and changes nothing.
    CategoryEditorLogic rename(store());
    rename.open(car, true);
    CategoryForm form = unchangedForm(rename, *car);
    form.name = u"Old "_s;
    form.hidden = true;
    EXPECT_EQ(refusal(rename, form), u"A category with the same name already exists!"_s);
    EXPECT_EQ(car->categoryName(), u"Car"_s);
    EXPECT_FALSE(car->isHidden());
}

TEST_F(CategoryLogicTest, ANewCategoryComesFirstAndEveryOtherOfItsSideMovesDown)
{
    loan->setSortOrder(7);
    CategoryEditorLogic logic(store());
    logic.open(nullptr, true);
    ASSERT_EQ(refusal(logic, named(u"Savings"_s)), std::nullopt);
    const auto savings = logic.category();
    ASSERT_TRUE(savings);
    EXPECT_EQ(assets().last(), savings);
    EXPECT_EQ(savings->sortOrder(), 0);
    EXPECT_EQ(cash->sortOrder(), 1);
    EXPECT_EQ(car->sortOrder(), 2);
    EXPECT_EQ(old->sortOrder(), 3); // hidden ones too
    EXPECT_EQ(wallet->sortOrder(), 4);
    EXPECT_EQ(loan->sortOrder(), 7);
    EXPECT_EQ(may->assetLogs()->last()->categoryID(), savings->ID());
    EXPECT_EQ(may->assetLogs()->last()->value(), 0.0);
    EXPECT_FALSE(savings->isDepreciable());
    EXPECT_EQ(savings->depreciationRate(), 0.0);
    EXPECT_EQ(savings->currency(), QString());

    // The store failed to write it: the model is the file's again, without it and in the
    // order as before, and the editor makes it anew at its next save.
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    ASSERT_TRUE(saveAsyncAndWait());
    logic.rebindToStore();
    EXPECT_EQ(logic.category(), nullptr);
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_EQ(assets().size(), 4);
    EXPECT_EQ(store().appData()->currentLog()->assetLogs()->size(), 4);
    EXPECT_EQ(assets().at(0)->sortOrder(), 0);
    EXPECT_EQ(assets().at(3)->sortOrder(), 3);
    store().writer().setDeviceFactoryForTesting({});
    ASSERT_EQ(refusal(logic, named(u"Savings"_s)), std::nullopt);
    EXPECT_EQ(saveAsyncAndWait(), std::nullopt);
    EXPECT_EQ(assets().size(), 5);
    EXPECT_EQ(logic.category(), assets().last());
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(CategoryLogicTest, AfterAFailedSaveTheEditorWorksOnTheFilesCategoryAndTags)
{
    CategoryEditorLogic logic(store());
    logic.open(cash, true);
    CategoryForm form = unchangedForm(logic, *cash);
    form.name = u"Cash box"_s;
    form.tokens = QStringList { u"Home"_s, u"Travel"_s };
    ASSERT_TRUE(logic.addTag(u"Travel"_s, form.tokens));
    ASSERT_EQ(logic.prepareSave(form), std::nullopt);
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    ASSERT_TRUE(saveAsyncAndWait());
    logic.rebindToStore();
    EXPECT_TRUE(modelIsTheDataFile());
    ASSERT_TRUE(logic.category());
    EXPECT_NE(logic.category(), cash);
    EXPECT_EQ(logic.category(), assets().at(0));
    EXPECT_EQ(logic.category()->categoryName(), u"Cash"_s);
    EXPECT_EQ(logic.chosenTagNames(), (QStringList { u"Home"_s, u"Travel"_s }));
    EXPECT_EQ(logic.chosenTags().at(0), store().appData()->tags()->at(0));

    // The same form saves into the file's category once the disk is back.
    store().writer().setDeviceFactoryForTesting({});
    ASSERT_EQ(logic.prepareSave(form), std::nullopt);
    EXPECT_EQ(saveAsyncAndWait(), std::nullopt);
    EXPECT_EQ(assets().size(), 4);
    EXPECT_EQ(assets().at(0)->categoryName(), u"Cash box"_s);
    EXPECT_EQ(assets().at(0)->tags(), (QStringList { u"T-HOME"_s, u"T-TRAVEL"_s }));
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(CategoryLogicTest, TheRateAcceptsOnlyAFinitePercentageFrom0To100)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(CategoryEditorLogic::parseRate(u"12.5%"_s, english).value(), 0.125);
    EXPECT_EQ(CategoryEditorLogic::parseRate(u" 12.5 "_s, english).value(), 0.125);
    EXPECT_EQ(CategoryEditorLogic::parseRate(u"12,5"_s, german).value(), 0.125);
    EXPECT_EQ(CategoryEditorLogic::parseRate(u"12,5 %"_s, german).value(), 0.125);
    EXPECT_EQ(CategoryEditorLogic::parseRate(u"0"_s, english).value(), 0.0);
    EXPECT_EQ(CategoryEditorLogic::parseRate(u"100%"_s, english).value(), 1.0);
    for (const QString& refused : { u""_s, u"%"_s, u"abc"_s, u"12,5"_s, u"1,000"_s, u"100.01"_s, u"-1"_s,
             u"nan"_s, u"inf"_s, u"1e400"_s }) {
        const auto rate = CategoryEditorLogic::parseRate(refused, english);
        EXPECT_FALSE(rate.hasValue()) << refused.toStdString();
        EXPECT_EQ(rate.errorIfAny(), u"The yearly rate must be a number from 0 to 100 %."_s);
    }
    EXPECT_EQ(CategoryEditorLogic::rateText(0.125, english), u"12.5%"_s);
    EXPECT_EQ(CategoryEditorLogic::rateText(0.1, german), u"10,0%"_s);
}

TEST_F(CategoryLogicTest, ARefusedRateKeepsTheOldOneAndNothingIsSaved)
{
    car->setDepreciationRate(0.12345);
    CategoryEditorLogic logic(store());
    logic.open(car, true);
    EXPECT_EQ(logic.openedRateText(), u"12.3%"_s);
    EXPECT_TRUE(logic.enterRate(u"twelve"_s).has_value());
    EXPECT_EQ(logic.depreciationRate(), 0.12345);

    CategoryForm form = unchangedForm(logic, *car);
    form.rateText = u"150%"_s;
    form.desc = u"changed"_s;
    const auto refused = logic.prepareSave(form);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->place, CategorySaveRefusal::Place::Rate);
    EXPECT_EQ(car->depreciationRate(), 0.12345);
    EXPECT_EQ(car->desc(), QString());

    // The rate shown at opening keeps the stored rate exactly; a typed one replaces it.
    form.rateText = logic.openedRateText();
    EXPECT_EQ(logic.prepareSave(form), std::nullopt);
    EXPECT_EQ(car->depreciationRate(), 0.12345);
    form.rateText = u"20"_s;
    EXPECT_EQ(logic.prepareSave(form), std::nullopt);
    EXPECT_EQ(car->depreciationRate(), 0.2);

    // Unticking stores the number 0, whatever the field holds.
    form.depreciable = false;
    form.rateText = u"rubbish"_s;
    EXPECT_EQ(logic.prepareSave(form), std::nullopt);
    EXPECT_FALSE(car->isDepreciable());
    EXPECT_EQ(car->depreciationRate(), 0.0);
}

TEST_F(CategoryLogicTest, AnUnknownCurrencyIsOfferedAndKeptAndAForeignCategoryNeedsOne)
{
    CategoryEditorLogic logic(store());
    logic.open(wallet, true);
    const auto choices = logic.currencyChoices();
    ASSERT_EQ(choices.size(), 32);
    EXPECT_EQ(choices.last().code, u"XBT"_s);
    EXPECT_EQ(choices.last().title, u"XBT (unknown)"_s);
    EXPECT_FALSE(choices.last().known);
    for (qsizetype i = 1; i + 1 < choices.size(); ++i)
        EXPECT_LT(QString::compare(store().supportedCurrencies().value(choices[i - 1].code)->FullName(),
                      store().supportedCurrencies().value(choices[i].code)->FullName()),
            0);
    const auto usd
        = std::find_if(choices.begin(), choices.end(), [](const auto& c) { return c.code == u"USD"_s; });
    ASSERT_NE(usd, choices.end());
    EXPECT_EQ(usd->title, store().supportedCurrencies().value(u"USD"_s)->FullName() + u" - $"_s);

    EXPECT_EQ(logic.prepareSave(unchangedForm(logic, *wallet)), std::nullopt);
    EXPECT_EQ(wallet->currency(), u"XBT"_s);
    EXPECT_TRUE(wallet->isForeignCurrency());

    // A category of a table currency offers no extra entry.
    CategoryEditorLogic plain(store());
    plain.open(cash, true);
    EXPECT_EQ(plain.currencyChoices().size(), 31);
    CategoryForm form = unchangedForm(plain, *cash);
    form.foreign = true;
    const auto refused = plain.prepareSave(form);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->place, CategorySaveRefusal::Place::Currency);
    EXPECT_FALSE(cash->isForeignCurrency());
    form.currency = u"EUR"_s;
    EXPECT_EQ(plain.prepareSave(form), std::nullopt);
    EXPECT_EQ(cash->currency(), u"EUR"_s);
    // Turning it off stores the empty code.
    form.foreign = false;
    EXPECT_EQ(plain.prepareSave(form), std::nullopt);
    EXPECT_EQ(cash->currency(), u""_s);
}

TEST_F(CategoryLogicTest, TagsAreChosenOnceAndGoWithTheirTokens)
{
    CategoryEditorLogic logic(store());
    logic.open(cash, true);
    EXPECT_EQ(logic.chosenTagNames(), QStringList { u"Home"_s });
    const auto names = [](const MVX_TagsList& tags) {
        QStringList result;
        for (const auto& tag : tags)
            result.append(tag->name());
        return result;
    };
    EXPECT_EQ(names(logic.tagsToAdd()), QStringList { u"Travel"_s });
    EXPECT_TRUE(logic.addTag(u"Travel"_s, { u"Home"_s }));
    EXPECT_TRUE(logic.tagsToAdd().isEmpty());
    EXPECT_FALSE(logic.addTag(u"Travel"_s, { u"Home"_s, u"Travel"_s }));
    EXPECT_FALSE(logic.addTag(u"Nowhere"_s, { u"Home"_s, u"Travel"_s }));
    EXPECT_EQ(logic.chosenTagNames(), (QStringList { u"Home"_s, u"Travel"_s }));
    logic.keepTagsNamedIn({ u"Travel"_s });
    EXPECT_EQ(names(logic.tagsToAdd()), QStringList { u"Home"_s });
    // The Home token was deleted in the field; a hand-typed token names no tag.
    CategoryForm form = unchangedForm(logic, *cash);
    form.tokens = { u"Travel"_s, u"Typed"_s };
    EXPECT_EQ(logic.prepareSave(form), std::nullopt);
    EXPECT_EQ(cash->tags(), QStringList { travel->ID() });
    // No token left: a tagged category keeps no tag list; an untagged one keeps its empty list.
    form.tokens = {};
    EXPECT_EQ(logic.prepareSave(form), std::nullopt);
    EXPECT_EQ(cash->tags(), std::nullopt);
    CategoryEditorLogic untagged(store());
    untagged.open(car, true);
    CategoryForm carForm = unchangedForm(untagged, *car);
    EXPECT_EQ(untagged.prepareSave(carForm), std::nullopt);
    EXPECT_EQ(car->tags(), QStringList());
}

TEST_F(CategoryLogicTest, AReplacedModelRefusesTheSave)
{
    CategoryEditorLogic logic(store());
    logic.open(cash, true);
    store().setAppData(MVX_Model::makeEmpty());
    const auto refused = logic.prepareSave(unchangedForm(logic, *cash));
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->message.startsWith(u"The data were replaced"_s));
}

} // namespace
