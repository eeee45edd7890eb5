#include "categories/editor/CategoryEditorLogic.h"

#include "model/store/NWData.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

CategoryEditorLogic::CategoryEditorLogic(NWData& store) : m_store(store)
{
}

void CategoryEditorLogic::open(std::shared_ptr<MVX_Category> category, bool isAsset)
{
    m_isAsset = isAsset;
    m_category = std::move(category);
    m_openedModel = m_store.appData();
    m_chosenTags.clear();
    m_depreciationRate = 0;
    m_openedRateText.clear();
    m_originalCategoryName = m_category ? m_category->categoryName() : QString();
    if (!m_category)
        return;
    if (m_category->isDepreciable()) {
        m_depreciationRate = m_category->depreciationRate().value_or(0);
        m_openedRateText = rateText(m_depreciationRate);
    }
    const MVX_TagsList tags = storeTags();
    for (const QString& id : m_category->tags().value_or(QStringList())) {
        const auto found
            = std::find_if(tags.begin(), tags.end(), [&](const auto& tag) { return tag && tag->ID() == id; });
        if (found != tags.end())
            m_chosenTags.append(*found);
    }
}

QString CategoryEditorLogic::title() const
{
    if (!m_category)
        return m_isAsset ? platform::Strings::tr("Add a new Asset Category")
                         : platform::Strings::tr("Add a new Liability Category");
    return m_isAsset ? platform::Strings::tr("Edit Asset Category")
                     : platform::Strings::tr("Edit Liability Category");
}

MVX_TagsList CategoryEditorLogic::storeTags() const
{
    const auto& model = m_store.appData();
    return model ? model->tags().value_or(MVX_TagsList()) : MVX_TagsList();
}

MVX_TagsList CategoryEditorLogic::tagsToAdd() const
{
    const QStringList chosen = chosenTagNames();
    MVX_TagsList tags = storeTags();
    tags.removeIf([&](const auto& tag) { return !tag || chosen.contains(tag->name()); });
    return tags;
}

QStringList CategoryEditorLogic::chosenTagNames() const
{
    QStringList names;
    for (const auto& tag : m_chosenTags)
        names.append(tag->name());
    return names;
}

void CategoryEditorLogic::keepTagsNamedIn(const QStringList& tokens)
{
    m_chosenTags.removeIf([&](const auto& tag) { return !tokens.contains(tag->name()); });
}

bool CategoryEditorLogic::addTag(const QString& name, const QStringList& tokens)
{
    keepTagsNamedIn(tokens);
    if (chosenTagNames().contains(name))
        return false;
    for (const auto& tag : storeTags()) {
        if (tag && tag->name() == name) {
            m_chosenTags.append(tag);
            return true;
        }
    }
    return false;
}

QList<CategoryCurrencyChoice> CategoryEditorLogic::currencyChoices() const
{
    QList<std::shared_ptr<MVX_Currency>> rows;
    for (const auto& currency : m_store.supportedCurrencies())
        if (currency)
            rows.append(currency);
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return QString::compare(a->FullName(), b->FullName(), Qt::CaseSensitive) < 0;
    });
    QList<CategoryCurrencyChoice> choices;
    choices.reserve(rows.size() + 1);
    for (const auto& row : rows)
        choices.append(
            { row->ShortName(), row->FullName() + u" - "_s + row->Symbol(), row->ShortName(), true });
    if (m_category && m_category->isForeignCurrency() && !m_category->currency().isEmpty()
        && !m_store.supportedCurrencies().contains(m_category->currency())) {
        const QString& code = m_category->currency();
        choices.append({ code, platform::localized(unknownCurrencyFormat).arg(code), QString(), false });
    }
    return choices;
}

QString CategoryEditorLogic::rateText(double fraction, const QLocale& locale)
{
    return locale.toString(fraction * 100.0, 'f', 1) + locale.percent();
}

platform::Expected<double> CategoryEditorLogic::parseRate(const QString& text, const QLocale& locale)
{
    QString number = text.trimmed();
    if (number.endsWith(locale.percent()) || number.endsWith(u'%'))
        number.chop(1);
    number = number.trimmed();
    // A rate never needs thousands: "1,5" must not read as 15 in an English locale.
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double percent = strict.toDouble(number, &ok);
    if (!ok)
        percent = plain.toDouble(number, &ok);
    if (!ok || !std::isfinite(percent) || percent < 0 || percent > 100)
        return platform::Unexpected(platform::localized(badRateMessage));
    return percent / 100.0;
}

platform::MaybeError CategoryEditorLogic::enterRate(const QString& text, const QLocale& locale)
{
    if (!m_openedRateText.isEmpty() && text == m_openedRateText)
        return std::nullopt;
    const auto rate = parseRate(text, locale);
    if (!rate)
        return rate.error();
    m_depreciationRate = *rate;
    return std::nullopt;
}

std::optional<MVX_CategoryList>* CategoryEditorLogic::storeList() const
{
    const auto& model = m_store.appData();
    if (!model)
        return nullptr;
    return m_isAsset ? &model->assetscat() : &model->liabilitycat();
}

std::optional<CategorySaveRefusal> CategoryEditorLogic::validate(
    const CategoryForm& form, const QLocale& locale) const
{
    using Place = CategorySaveRefusal::Place;
    const auto model = m_store.appData();
    if (!model || m_openedModel.lock() != model)
        return CategorySaveRefusal { Place::MessageLine, platform::localized(modelReplacedMessage) };
    const QString name = form.name.trimmed();
    if (name.isEmpty())
        return CategorySaveRefusal { Place::MessageLine, platform::localized(emptyNameMessage) };
    const auto* list = storeList();
    if (list && *list) {
        for (const auto& other : **list) {
            if (other && other != m_category && other->categoryName() == name)
                return CategorySaveRefusal { Place::MessageLine, platform::localized(duplicateNameMessage) };
        }
    }
    if (form.foreign && m_store.supportsForeignCurrencies() && form.currency.isEmpty())
        return CategorySaveRefusal { Place::Currency, platform::localized(noCurrencyMessage) };
    if (form.depreciable && !(!m_openedRateText.isEmpty() && form.rateText == m_openedRateText)) {
        if (const auto rate = parseRate(form.rateText, locale); !rate)
            return CategorySaveRefusal { Place::Rate, rate.error() };
    }
    return std::nullopt;
}

std::optional<CategorySaveRefusal> CategoryEditorLogic::prepareSave(
    const CategoryForm& form, const QLocale& locale)
{
    if (auto refused = validate(form, locale))
        return refused;
    if (form.depreciable) {
        const platform::MaybeError entered = enterRate(form.rateText, locale);
        Q_ASSERT(!entered);
    }
    if (!m_category)
        createCategory(form.name.trimmed(), form.desc);
    writeFields(form);
    return std::nullopt;
}

void CategoryEditorLogic::createCategory(const QString& name, const QString& desc)
{
    m_category = m_isAsset ? m_store.insertNewAssetCategory(name, desc)
                           : m_store.insertNewLiabilityCategory(name, desc);
    // The new category comes first; every other one of its side, hidden ones too, moves down.
    for (const auto& category : storeList()->value_or(MVX_CategoryList()))
        if (category)
            category->setSortOrder(category->sortOrder() + 1);
    m_category->setSortOrder(0);
}

void CategoryEditorLogic::writeFields(const CategoryForm& form)
{
    MVX_Category& category = *m_category;
    category.setCategoryName(form.name.trimmed());
    category.setDesc(form.desc);
    keepTagsNamedIn(form.tokens);
    if (!m_chosenTags.isEmpty()) {
        QStringList ids;
        for (const auto& tag : m_chosenTags)
            ids.append(tag->ID());
        category.setTags(ids);
    } else if (!category.tags().value_or(QStringList()).isEmpty()) {
        category.setTags(std::nullopt);
    }
    category.setIsHidden(form.hidden);
    category.setIsForeignCurrency(form.foreign);
    category.setCurrency(form.foreign ? form.currency : QString());
    category.setIsDepreciable(form.depreciable);
    category.setDepreciationRate(form.depreciable ? m_depreciationRate : 0.0);
}

void CategoryEditorLogic::rebindToStore()
{
    m_openedModel = m_store.appData();
    const QString id = m_category ? m_category->ID() : QString();
    m_category.reset();
    if (const auto* list = storeList(); list && !id.isNull()) {
        for (const auto& category : list->value_or(MVX_CategoryList())) {
            if (category && category->ID() == id) {
                m_category = category;
                break;
            }
        }
    }
    const MVX_TagsList tags = storeTags();
    MVX_TagsList chosen;
    for (const auto& tag : m_chosenTags) {
        const auto found = std::find_if(tags.begin(), tags.end(),
            [&](const auto& stored) { return stored && stored->ID() == tag->ID(); });
        if (found != tags.end())
            chosen.append(*found);
    }
    m_chosenTags = std::move(chosen);
}
