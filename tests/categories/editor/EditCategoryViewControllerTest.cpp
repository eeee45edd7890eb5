#include "CategoryEditorTestSupport.h"

#include "categories/CategoriesNotifications.h"
#include "categories/editor/CategoryEditorPopover.h"
#include "categories/editor/EditCategoryViewController.h"

#include "model/ModelNotifications.h"
#include "platform/NotificationCenter.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "uikit/controls/tokens/TKTokenField.h"
#include "uikit/popover/PKPopoverController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class CategoryViewTest : public CategoryEditorTest {
protected:
    void SetUp() override
    {
        CategoryEditorTest::SetUp();
        for (const QString& name : { notifications::dataReFetched, notifications::assetCategorySave })
            platform::NotificationCenter::defaultCenter().addObserver(
                &m_context, name, [this](const platform::Notification& n) { posted.append(n.name); });
    }

    static std::unique_ptr<EditCategoryViewController> openEditor(
        std::shared_ptr<MVX_Category> category, bool isAsset)
    {
        auto editor = std::make_unique<EditCategoryViewController>();
        editor->setIsAssetCategory(isAsset);
        editor->setCategory(std::move(category));
        editor->setValues();
        editor->show();
        return editor;
    }
    template <class T> static T* child(QWidget& editor, const QString& name)
    {
        T* found = editor.findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    static QString label(QWidget& editor, const QString& name) { return child<QLabel>(editor, name)->text(); }
    static void save(QWidget& editor)
    {
        QTest::mouseClick(child<QPushButton>(editor, u"saveButton"_s), Qt::LeftButton);
    }
    static void chooseTag(QWidget& editor, const QString& name)
    {
        auto* popup = child<QComboBox>(editor, u"tokenNamesPopup"_s);
        const int index = popup->findText(name);
        ASSERT_GE(index, 0);
        popup->setCurrentIndex(index);
        Q_EMIT popup->activated(index);
    }

    QStringList posted;

private:
    QObject m_context;
};

TEST_F(CategoryViewTest, TheFormShowsTheCategoryAndSavesItsChanges)
{
    const auto editor = openEditor(car, true);
    EXPECT_EQ(label(*editor, u"titleLabel"_s), u"Edit Asset Category"_s);
    EXPECT_EQ(child<QLineEdit>(*editor, u"categoryNameCtl"_s)->text(), u"Car"_s);
    EXPECT_TRUE(child<QCheckBox>(*editor, u"depreciableCtl"_s)->isChecked());
    auto* percent = child<QLineEdit>(*editor, u"percentCtl"_s);
    EXPECT_TRUE(percent->isVisible());
    EXPECT_EQ(percent->text(), u"10.0%"_s);
    EXPECT_FALSE(child<QComboBox>(*editor, u"currencyCombo"_s)->isEnabled());

    child<QLineEdit>(*editor, u"categoryNameCtl"_s)->setText(u"  Family car "_s);
    child<QLineEdit>(*editor, u"categoryDescCtl"_s)->setText(u"the blue one"_s);
    child<QCheckBox>(*editor, u"hiddenCategory"_s)->setChecked(true);
    percent->setText(u"12.5%"_s);
    save(*editor);
    EXPECT_EVENTUALLY_EQ(
        posted, (QStringList { notifications::dataReFetched, notifications::assetCategorySave }));
    EXPECT_EQ(car->categoryName(), u"Family car"_s);
    EXPECT_EQ(car->desc(), u"the blue one"_s);
    EXPECT_TRUE(car->isHidden());
    EXPECT_EQ(car->depreciationRate(), 0.125);
    EXPECT_TRUE(dataFileBytes().contains("Family car"));
    EXPECT_FALSE(editor->isSaving());
}

TEST_F(CategoryViewTest, RefusalsShowTheirMessagesAndPostNothing)
{
    const QByteArray before = dataFileBytes();
    const auto editor = openEditor(nullptr, true);
    EXPECT_EQ(label(*editor, u"titleLabel"_s), u"Add a new Asset Category"_s);
    auto* name = child<QLineEdit>(*editor, u"categoryNameCtl"_s);
    auto* error = child<QLabel>(*editor, u"errorLabel"_s);
    EXPECT_FALSE(error->isVisible());
    name->setText(u"   "_s);
    save(*editor);
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->text(), u"A category name cannot be empty!"_s);
    name->setText(u"Cash "_s);
    save(*editor);
    EXPECT_EQ(error->text(), u"A category with the same name already exists!"_s);

    // A foreign category without a currency, and a rate out of range, are refused beside
    // their controls.
    name->setText(u"Savings"_s);
    child<QCheckBox>(*editor, u"foreignCurrencyCheck"_s)->setChecked(true);
    EXPECT_TRUE(child<QComboBox>(*editor, u"currencyCombo"_s)->isEnabled());
    save(*editor);
    EXPECT_FALSE(error->isVisible());
    EXPECT_EQ(label(*editor, u"currencyMessage"_s), u"Choose the currency of this category."_s);
    child<QCheckBox>(*editor, u"foreignCurrencyCheck"_s)->setChecked(false);
    child<QCheckBox>(*editor, u"depreciableCtl"_s)->setChecked(true);
    auto* percent = child<QLineEdit>(*editor, u"percentCtl"_s);
    EXPECT_EQ(percent->text(), u"0.0%"_s);
    percent->setText(u"abc"_s);
    Q_EMIT percent->editingFinished();
    auto* rateMessage = child<QLabel>(*editor, u"percentMessage"_s);
    EXPECT_TRUE(rateMessage->isVisible());
    EXPECT_EQ(rateMessage->text(), u"The yearly rate must be a number from 0 to 100 %."_s);
    save(*editor);
    EXPECT_TRUE(rateMessage->isVisible());

    QCoreApplication::processEvents();
    store().waitForPendingWrites();
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_EQ(assets().size(), 4);
    EXPECT_EQ(dataFileBytes(), before);
}

TEST_F(CategoryViewTest, AnUnknownCurrencyIsShownAndSavedBackUnchanged)
{
    const auto editor = openEditor(wallet, true);
    auto* combo = child<QComboBox>(*editor, u"currencyCombo"_s);
    EXPECT_TRUE(child<QCheckBox>(*editor, u"foreignCurrencyCheck"_s)->isChecked());
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_EQ(combo->currentText(), u"XBT (unknown)"_s);
    EXPECT_EQ(combo->count(), 32);
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(wallet->currency(), u"XBT"_s);
    EXPECT_TRUE(dataFileBytes().contains("XBT"));

    // Another category offers only the table's currencies, sorted by name.
    const auto other = openEditor(cash, true);
    auto* plain = child<QComboBox>(*other, u"currencyCombo"_s);
    EXPECT_EQ(plain->count(), 31);
    EXPECT_EQ(plain->currentIndex(), -1);
    EXPECT_EQ(plain->findText(u"XBT (unknown)"_s), -1);
}

TEST_F(CategoryViewTest, TagsAreAddedOnceAndRemovedWithTheirTokens)
{
    const auto editor = openEditor(cash, true);
    auto* tokens = child<TKTokenField>(*editor, u"tokenField"_s);
    EXPECT_EQ(tokens->tokenTexts(), QStringList { u"Home"_s });
    chooseTag(*editor, u"Travel"_s);
    // Chosen once, it is no longer offered.
    EXPECT_EQ(child<QComboBox>(*editor, u"tokenNamesPopup"_s)->findText(u"Travel"_s), -1);
    EXPECT_EQ(tokens->tokenTexts(), (QStringList { u"Home"_s, u"Travel"_s }));
    EXPECT_EQ(child<QComboBox>(*editor, u"tokenNamesPopup"_s)->currentIndex(), -1);
    // The Home token is deleted in the field.
    tokens->setObjectValue(QStringList { u"Travel"_s });
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(cash->tags(), QStringList { travel->ID() });
}

TEST_F(CategoryViewTest, AFailedSaveShowsItsErrorAndTheModelIsTheFilesWithoutTheNewCategory)
{
    const QByteArray before = dataFileBytes();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    const auto editor = openEditor(nullptr, true);
    child<QLineEdit>(*editor, u"categoryNameCtl"_s)->setText(u"Savings"_s);
    save(*editor);
    EXPECT_TRUE(editor->isSaving());
    EXPECT_EVENTUALLY(!editor->isSaving());
    const QString error = label(*editor, u"errorLabel"_s);
    EXPECT_TRUE(error.contains(u"the disk is full"_s)) << error.toStdString();
    EXPECT_TRUE(child<QLabel>(*editor, u"errorLabel"_s)->isVisible());
    // Only the store's reload: the editor announced no saved category.
    EXPECT_EQ(posted, QStringList { notifications::dataReFetched });
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_EQ(assets().size(), 4);
    EXPECT_EQ(store().appData()->currentLog()->assetLogs()->size(), 4);
    EXPECT_EQ(assets().at(0)->sortOrder(), 0);
    EXPECT_EQ(label(*editor, u"titleLabel"_s), u"Add a new Asset Category"_s);

    // With the disk back, the same form saves once.
    store().writer().setDeviceFactoryForTesting({});
    posted.clear();
    save(*editor);
    EXPECT_EVENTUALLY_EQ(
        posted, (QStringList { notifications::dataReFetched, notifications::assetCategorySave }));
    EXPECT_EQ(assets().size(), 5);
    EXPECT_EQ(assets().last()->categoryName(), u"Savings"_s);
    EXPECT_EQ(assets().last()->sortOrder(), 0);
    EXPECT_EQ(assets().at(0)->sortOrder(), 1);
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(CategoryViewTest, ThePopoverFillsItsEditorWhenShownAndCancelClosesIt)
{
    QWidget anchor;
    anchor.resize(400, 300);
    anchor.show();
    PKPopoverController* popover = newCategoryEditorPopover(loan, false, &anchor);
    EditCategoryViewController* editor = categoryEditorOf(popover);
    ASSERT_TRUE(editor);
    EXPECT_EQ(categoryEditorOf(nullptr), nullptr);
    EXPECT_TRUE(popover->closesWhenEscapeKeyPressed());
    EXPECT_FALSE(popover->closesWhenApplicationBecomesInactive());
    popover->setAnimates(false);
    popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MaxY);
    EXPECT_TRUE(popover->shown());
    EXPECT_EQ(label(*editor, u"titleLabel"_s), u"Edit Liability Category"_s);
    EXPECT_EQ(child<QLineEdit>(*editor, u"categoryNameCtl"_s)->text(), u"Loan"_s);
    EXPECT_FALSE(editor->logic().isAssetCategory());
    QTest::mouseClick(child<QPushButton>(*editor, u"cancelButton"_s), Qt::LeftButton);
    EXPECT_EVENTUALLY(!popover->shown());
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_EQ(loan->categoryName(), u"Loan"_s);
    delete popover;
}

TEST_F(CategoryViewTest, WithoutForeignCurrenciesTheCurrencyControlsAreHidden)
{
    store().setSupportsForeignCurrencies(false);
    const auto editor = openEditor(cash, true);
    EXPECT_FALSE(child<QCheckBox>(*editor, u"foreignCurrencyCheck"_s)->isVisible());
    EXPECT_FALSE(child<QComboBox>(*editor, u"currencyCombo"_s)->isVisible());
    EXPECT_TRUE(child<QCheckBox>(*editor, u"hiddenCategory"_s)->isVisible());
}

TEST_F(CategoryViewTest, TheTagMenuOffersOnlyTagsTheCategoryDoesNotHave)
{
    const auto menuTexts = [](QComboBox* menu) {
        QStringList texts;
        for (int i = 0; i < menu->count(); ++i)
            texts.append(menu->itemText(i));
        return texts;
    };
    const auto editor = openEditor(cash, true);
    auto* menu = child<QComboBox>(*editor, u"tokenNamesPopup"_s);
    auto* tokens = child<TKTokenField>(*editor, u"tokenField"_s);
    EXPECT_EQ(menuTexts(menu), QStringList { u"Travel"_s }) << "Cash has Home already";
    EXPECT_EQ(menu->placeholderText(), u"Add a tag"_s);
    EXPECT_TRUE(menu->isEnabled());

    chooseTag(*editor, u"Travel"_s);
    EXPECT_TRUE(menuTexts(menu).isEmpty());
    EXPECT_FALSE(menu->isEnabled()) << "every tag is chosen";

    // The Home token deleted in the field: once the field finishes editing, Home is offered again.
    tokens->setObjectValue(QStringList { u"Travel"_s });
    Q_EMIT tokens->editingFinished();
    EXPECT_EQ(menuTexts(menu), QStringList { u"Home"_s });
    EXPECT_TRUE(menu->isEnabled());

    // The same editor opened on another category offers that category's missing tags.
    editor->setCategory(car);
    editor->setValues();
    EXPECT_EQ(menuTexts(menu), (QStringList { u"Home"_s, u"Travel"_s }));
}

} // namespace
