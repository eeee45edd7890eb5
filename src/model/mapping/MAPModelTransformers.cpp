#include "model/mapping/MAPJSONAdapter.h"
#include "model/mapping/MAPJSONDocument.h"
#include "model/mapping/MAPJSONPlan.h"

#include <QJsonArray>

using namespace Qt::Literals::StringLiterals;

MAPModelValueTransformer::MAPModelValueTransformer(
    const MAPClass* modelClass, bool isArray, Block forwardBlock, Block reverseBlock)
    : MAPReversibleValueTransformer(std::move(forwardBlock), std::move(reverseBlock))
    , m_modelClass(modelClass)
    , m_isArray(isArray)
{
}

MAPValueTransformerPtr map_JSONDictionaryTransformerWithModelClass(const MAPClass* modelClass)
{
    return std::make_shared<MAPModelValueTransformer>(
        modelClass, false,
        [modelClass](const QVariant& value) -> QVariant {
            if (!value.isValid())
                return {};
            MAPModelPtr model = MAPJSONAdapter::modelOfClass(modelClass, value, nullptr);
            if (!model) {
                MAPSkippedElementCounter::add();
                return {};
            }
            return QVariant::fromValue(std::move(model));
        },
        [](const QVariant& value) -> QVariant {
            const MAPModelPtr model = MAPModelFromValue(value);
            if (!model)
                return {};
            return MAPJSONAdapter::JSONDictionaryFromModel(model);
        });
}

MAPValueTransformerPtr map_JSONArrayTransformerWithModelClass(const MAPClass* modelClass)
{
    const MAPValueTransformerPtr dictionaryTransformer
        = map_JSONDictionaryTransformerWithModelClass(modelClass);
    const auto requireArray = [](const QVariant& value) {
        if (!MAPIsArray(value)) {
            throw MAPException(QString::fromLatin1(MAPInvalidArgumentException),
                u"Expected an array, got a value of type %1"_s.arg(MAPValueClassName(value)));
        }
    };
    return std::make_shared<MAPModelValueTransformer>(
        modelClass, true,
        [dictionaryTransformer, requireArray](const QVariant& value) -> QVariant {
            if (!value.isValid())
                return {};
            requireArray(value);
            QVariantList models;
            const auto convert = [&](const QVariant& element) {
                if (MAPIsNull(element)) {
                    models.append(element);
                    return;
                }
                QVariant model = dictionaryTransformer->transformedValue(element);
                if (model.isValid())
                    models.append(std::move(model));
            };
            if (value.metaType() == QMetaType::fromType<MAPJSONValue>()) {
                const auto* array = static_cast<const MAPJSONValue*>(value.constData());
                const QList<MAPJSONDocument::Node>& nodes = array->document->nodes();
                models.reserve(array->data().children.count);
                for (qint32 child = array->data().children.first; child >= 0; child = nodes[child].next)
                    convert(MAPJSONValue { array->document, child }.toValue());
            } else if (value.typeId() == QMetaType::QJsonArray) {
                const auto* elements = static_cast<const QJsonArray*>(value.constData());
                models.reserve(elements->size());
                for (const QJsonValue& element : *elements)
                    convert(MAPValueFromJSONValue(element));
            } else {
                const QVariantList elements = value.toList();
                models.reserve(elements.size());
                for (const QVariant& element : elements)
                    convert(element);
            }
            return models;
        },
        [dictionaryTransformer, requireArray](const QVariant& value) -> QVariant {
            if (!value.isValid())
                return {};
            requireArray(value);
            const QVariantList models = value.toList();
            QVariantList dictionaries;
            dictionaries.reserve(models.size());
            for (const QVariant& model : models) {
                if (MAPIsNull(model)) {
                    dictionaries.append(model);
                    continue;
                }
                QVariant dictionary = dictionaryTransformer->reverseTransformedValue(model);
                if (dictionary.isValid())
                    dictionaries.append(std::move(dictionary));
            }
            return dictionaries;
        });
}
