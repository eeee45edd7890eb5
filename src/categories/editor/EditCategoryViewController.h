#pragma once

#include "categories/editor/CategoryEditorLogic.h"
#include "uikit/overlay/POProgressOverlay.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TKTokenField;

/// The category editor, made anew for every opening of its popover: title, name,
/// description, tag choice and tokens, the own currency, depreciation with its yearly
/// rate, the hidden flag, a message line, Cancel and Save. What it shows and writes is
/// CategoryEditorLogic's; this class puts it on screen and saves through the store under
/// a "Saving ..." overlay, posting "dataReFetched" then "AssetCategorySave" once saved.
class EditCategoryViewController : public QWidget {
    Q_OBJECT
public:
    explicit EditCategoryViewController(QWidget* parent = nullptr);
    ~EditCategoryViewController() override;

    bool isAssetCategory() const { return m_isAssetCategory; }
    void setIsAssetCategory(bool isAsset) { m_isAssetCategory = isAsset; }
    /// The category to edit (of the kind isAssetCategory says), or none for a new one.
    void setCategory(std::shared_ptr<MVX_Category> category) { m_category = std::move(category); }
    /// Fills the form from the category, or prepares an empty one.
    void setValues();

    const CategoryEditorLogic& logic() const { return m_logic; }
    /// Saves as the Save button does.
    void saveButtonClick();
    /// Asks the opener to close, changing nothing.
    void cancelButtonClick();
    /// Whether a save is being written.
    bool isSaving() const { return bool(m_overlay); }

Q_SIGNALS:
    /// Cancel was pressed; the opener closes the popover.
    void closeRequested();

private:
    void buildView();
    void applyAppearance();
    void fillCurrencies();
    void addTokenClick(int index);
    void showChosenTags();
    /// Lists the tags the category does not have yet.
    void fillTagMenu();
    void foreignCurrencyClick();
    void currencyChange();
    void depreciableChange();
    void deprChange();
    void showMessage(QLabel* label, const QString& text);
    void hideMessages();
    void saveFinished(const platform::MaybeError& result);

    CategoryEditorLogic m_logic;
    bool m_isAssetCategory = true;
    std::shared_ptr<MVX_Category> m_category;
    QPointer<POProgressOverlay> m_overlay;

    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_categoryNameCtl = nullptr;
    QLineEdit* m_categoryDescCtl = nullptr;
    QComboBox* m_tokenNamesPopup = nullptr;
    TKTokenField* m_tokenField = nullptr;
    QCheckBox* m_foreignCurrencyCheck = nullptr;
    QComboBox* m_currencyCombo = nullptr;
    QLabel* m_currencyMessage = nullptr;
    QCheckBox* m_depreciableCtl = nullptr;
    QLabel* m_depLabel = nullptr;
    QLineEdit* m_percentCtl = nullptr;
    QLabel* m_percentMessage = nullptr;
    QCheckBox* m_hiddenCategory = nullptr;
    QLabel* m_errorLabel = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QList<QWidget*> m_lines;
};
