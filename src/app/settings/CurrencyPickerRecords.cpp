#include "app/settings/CurrencyPickerRecords.h"

#include "model/format/Flags.h"
#include "platform/Resources.h"
#include "uikit/controls/KitDrawing.h"

#include <algorithm>

QList<GenericSelectionRecord> currencyPickerRecords(const MVX_CurrencyTable& table)
{
    QList<std::shared_ptr<MVX_Currency>> currencies(table.cbegin(), table.cend());
    std::stable_sort(currencies.begin(), currencies.end(),
        [](const auto& a, const auto& b) { return a->FullName() < b->FullName(); });
    QList<GenericSelectionRecord> records;
    records.reserve(currencies.size());
    for (const auto& currency : std::as_const(currencies)) {
        GenericSelectionRecord record;
        record.setID(currency->ShortName());
        record.setName(currency->FullName());
        record.setSubtitle(currency->Symbol());
        record.setObj(QVariant::fromValue(currency));
        const QString flag = KitDrawing::drawableEmoji(Flags::flagEmoji(currency->ShortName().left(2)));
        if (!flag.isEmpty())
            record.setEmoji(flag);
        else
            record.setImage(platform::image(currency->ImageName()));
        records.append(record);
    }
    return records;
}
