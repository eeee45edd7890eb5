#pragma once

#include "model/data/MVX_Model.h"

#include <memory>

namespace benchdata {

/// A household of `years` x 12 monthly records over `categories` categories (three quarters
/// assets), every record holding a value of every category, in base currency USD. The same
/// arguments give the same model; records run oldest first, as the store's sort will reverse.
std::shared_ptr<MVX_Model> generateModel(int years, int categories);

/// The generated household of 50 years and 200 categories made the shared store's model,
/// with the records sorted and the rates up to date, as after a start. Once per process.
void installLargeHousehold();

} // namespace benchdata
