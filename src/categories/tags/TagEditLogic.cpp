#include "categories/tags/TagEditLogic.h"

#include "model/store/NWData.h"
#include "platform/Strings.h"

using namespace Qt::Literals::StringLiterals;

const QStringList& TagEditLogic::colorNames()
{
    static const QStringList names { u"RED"_s, u"BLUE"_s, u"GREEN"_s, u"ORANGE"_s, u"YELLOW"_s, u"WHITE"_s,
        u"PINK"_s, u"GRAY"_s };
    return names;
}

void TagEditLogic::open(std::shared_ptr<MVX_Tags> tag)
{
    m_tagRecord = std::move(tag);
    m_editing = bool(m_tagRecord);
    m_chosenColor = defaultColorName;
    if (m_tagRecord) {
        const QString& stored = m_tagRecord->hexColorString();
        m_chosenColor = colorNames().contains(stored) ? std::optional<QString>(stored) : std::nullopt;
    }
}

void TagEditLogic::chooseColor(const QString& colorName)
{
    m_chosenColor = colorNames().contains(colorName) ? colorName : defaultColorName;
}

platform::MaybeError TagEditLogic::check(const QString& typedName) const
{
    const QString name = typedName.trimmed();
    if (name.isEmpty())
        return platform::localized(emptyNameMessage);
    const auto& model = m_store.appData();
    if (!model || !model->tags())
        return std::nullopt;
    for (const auto& tag : *model->tags()) {
        if (tag && tag != m_tagRecord && tag->name() == name)
            return platform::localized(duplicateNameMessage);
    }
    return std::nullopt;
}

void TagEditLogic::rebindToStore()
{
    const QString id = m_tagRecord ? m_tagRecord->ID() : QString();
    m_tagRecord.reset();
    const auto& model = m_store.appData();
    if (id.isNull() || !model)
        return;
    for (const auto& tag : model->tags().value_or(MVX_TagsList())) {
        if (tag && tag->ID() == id) {
            m_tagRecord = tag;
            return;
        }
    }
}

std::shared_ptr<MVX_Tags> TagEditLogic::apply(const QString& typedName, const QString& desc)
{
    const QString name = typedName.trimmed();
    // A new tag is made once: after a failed save the same tag is saved again.
    if (!m_tagRecord)
        m_tagRecord = m_store.insertNewTag(name, desc, colorName());
    if (m_tagRecord) {
        m_tagRecord->setName(name);
        m_tagRecord->setDesc(desc);
        m_tagRecord->setHexColorString(colorName());
    }
    return m_tagRecord;
}
