#pragma once

#include "platform/Expected.h"

#include <QPointer>

#include <functional>

class POProgressOverlay;
class QWidget;

namespace SavingOverlay {

/// Writes the store's model to the data file (`NWData::saveDataAsync`: serialised now, written
/// on the writer thread) while a "Saving ..." overlay covers `view`. When the write has ended
/// the overlay goes and `completion` runs on the main thread with the error text, or none when
/// the file was written; neither happens when `view` is gone by then. After a failure the
/// store has already put the model back to what the data file holds and posted
/// "dataReFetched": the completion only says why. Returns the overlay, which lives until
/// then (callers that must know whether a save runs keep the pointer).
QPointer<POProgressOverlay> saveStore(
    QWidget* view, std::function<void(const platform::MaybeError&)> completion);

} // namespace SavingOverlay
