#pragma once

#include "model/data/MVX_Category.h"
#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class NWData;

/// One entry of the currency choice: a table currency ("US Dollar - $") or a code the table
/// does not know, kept as the category holds it ("XYZ (unknown)").
struct CategoryCurrencyChoice {
    QString code;
    QString title;
    /// The flag's letters (the code) for a table currency; empty for an unknown code.
    QString flagCode;
    bool known = true;
};

/// What the form holds when Save is pressed.
struct CategoryForm {
    QString name;
    QString desc;
    /// The token field's texts; chosen tags whose token is gone are dropped.
    QStringList tokens;
    bool hidden = false;
    bool foreign = false;
    /// The chosen currency's code; empty when none is chosen.
    QString currency;
    bool depreciable = false;
    /// The rate field's text (read only when `depreciable`).
    QString rateText;
};

/// Why a save was refused, and which control the message belongs beside.
struct CategorySaveRefusal {
    enum class Place { MessageLine, Currency, Rate };
    Place place = Place::MessageLine;
    QString message;
};

/// The category editor without its widgets: it opens on a category (or none, for a new
/// one of a kind), keeps the chosen tags, reads rate texts, validates and writes the form
/// into the store's category, creating and ordering a new one first. When the store then fails
/// to write it, the store puts its model back to the data file's and `rebindToStore()` lets
/// the editor go on with what the form holds.
class CategoryEditorLogic {
public:
    static constexpr const char* emptyNameMessage
        = QT_TRANSLATE_NOOP("mervanemac", "A category name cannot be empty!");
    static constexpr const char* duplicateNameMessage
        = QT_TRANSLATE_NOOP("mervanemac", "A category with the same name already exists!");
    static constexpr const char* noCurrencyMessage
        = QT_TRANSLATE_NOOP("mervanemac", "Choose the currency of this category.");
    static constexpr const char* badRateMessage
        = QT_TRANSLATE_NOOP("mervanemac", "The yearly rate must be a number from 0 to 100 %.");
    static constexpr const char* modelReplacedMessage = QT_TRANSLATE_NOOP(
        "mervanemac", "The data were replaced while this editor was open. Close it and open it again.");
    static constexpr const char* unknownCurrencyFormat = QT_TRANSLATE_NOOP("mervanemac", "%1 (unknown)");

    explicit CategoryEditorLogic(NWData& store);

    /// Opens on `category` (of the kind `isAsset` says), or on a new category of that kind.
    void open(std::shared_ptr<MVX_Category> category, bool isAsset);
    bool isAssetCategory() const { return m_isAsset; }
    bool isEditing() const { return bool(m_category); }
    /// The category being edited; after a saved new category, that one.
    const std::shared_ptr<MVX_Category>& category() const { return m_category; }
    /// The name at opening; null for a new category.
    const QString& originalCategoryName() const { return m_originalCategoryName; }
    /// "Add a new Asset Category", "Edit Liability Category", ...
    QString title() const;

    /// The store's tags in order (the tag choice).
    MVX_TagsList storeTags() const;
    /// The store's tags, in order, that `addTag` would still add: none named as a chosen tag.
    MVX_TagsList tagsToAdd() const;
    /// The chosen tags and their names, in token order.
    const MVX_TagsList& chosenTags() const { return m_chosenTags; }
    QStringList chosenTagNames() const;
    /// Drops chosen tags whose name is not among `tokens`.
    void keepTagsNamedIn(const QStringList& tokens);
    /// After dropping tags gone from `tokens`, adds the store's first tag named `name` unless
    /// a tag of that name is chosen; false when nothing was added.
    bool addTag(const QString& name, const QStringList& tokens);

    /// The table's currencies sorted by English name (exact, case-sensitive order), and the
    /// category's own code at the end when the table does not know it.
    QList<CategoryCurrencyChoice> currencyChoices() const;

    /// The rate as a fraction (0.1 for 10 %).
    double depreciationRate() const { return m_depreciationRate; }
    /// "10.0%" for 0.1, in `locale`'s digits.
    static QString rateText(double fraction, const QLocale& locale = QLocale());
    /// A fraction from "12.5%", "12.5" or (in a comma locale) "12,5": a finite number
    /// from 0 to 100; anything else is refused with the message.
    static platform::Expected<double> parseRate(const QString& text, const QLocale& locale = QLocale());
    /// Reads the rate field: a readable text replaces the rate; otherwise it stays and the
    /// message is returned. The text shown at opening keeps the exact stored rate.
    platform::MaybeError enterRate(const QString& text, const QLocale& locale = QLocale());
    /// The rate field's text at opening (empty when the category does not depreciate).
    const QString& openedRateText() const { return m_openedRateText; }

    /// Validates `form` and writes it into the category (creating a new one first, at the
    /// top of its list). Nothing is changed when it is refused.
    std::optional<CategorySaveRefusal> prepareSave(
        const CategoryForm& form, const QLocale& locale = QLocale());
    /// After a failed write, which put the store's model back to the data file's: the editor
    /// works on the new model, on the category the file holds with this ID (none: a new one
    /// again) and on the chosen tags the file holds (by ID).
    void rebindToStore();

private:
    std::optional<MVX_CategoryList>* storeList() const;
    std::optional<CategorySaveRefusal> validate(const CategoryForm& form, const QLocale& locale) const;
    void createCategory(const QString& name, const QString& desc);
    void writeFields(const CategoryForm& form);

    NWData& m_store;
    bool m_isAsset = true;
    std::shared_ptr<MVX_Category> m_category;
    std::weak_ptr<MVX_Model> m_openedModel;
    QString m_originalCategoryName;
    MVX_TagsList m_chosenTags;
    double m_depreciationRate = 0;
    QString m_openedRateText;
};
