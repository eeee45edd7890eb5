#pragma once

#include <QVariant>

namespace platform {

/// True when the variant holds a number of any built-in arithmetic type, booleans included.
bool isNumber(const QVariant& value);

} // namespace platform
