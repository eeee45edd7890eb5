#pragma once

#include "model/store/NWData.h"
#include "model/values/GenericSelectionRecord.h"

#include <QList>

/// One picker entry per currency of `table`, ordered by full name: ID the code, name the full
/// name, subtitle the symbol, the currency (`std::shared_ptr<MVX_Currency>`) as object, and the
/// code's flag as emoji, or, where no font draws it, the image named by the currency's image name.
QList<GenericSelectionRecord> currencyPickerRecords(const MVX_CurrencyTable& table);
