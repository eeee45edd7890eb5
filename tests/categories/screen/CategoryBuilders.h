#pragma once

#include "model/data/MVX_Category.h"

#include <QString>

#include <memory>

namespace mervane::test {

/// A category named after its ID, at `sortOrder`, hidden or not, with no tag list.
inline std::shared_ptr<MVX_Category> makeCategory(
    const QString& id, qint32 sortOrder = 0, bool hidden = false)
{
    auto category = std::make_shared<MVX_Category>();
    category->setID(id);
    category->setCategoryName(id);
    category->setSortOrder(sortOrder);
    category->setIsHidden(hidden);
    return category;
}

} // namespace mervane::test
