#pragma once

#include "model/data/MVX_Category.h"

#include <memory>

/// A category paired with its side, for listing the categories that carry a tag.
/// The inherited category fields stay empty: read through `category()`. Never serialised.
class MVX_CategoryEx : public MAPModelSubclass<MVX_CategoryEx, MVX_Category> {
    Q_GADGET
    Q_PROPERTY(bool isAsset READ isAsset WRITE setIsAsset)
    Q_PROPERTY(std::shared_ptr<MVX_Category> category READ category WRITE setCategory)

public:
    MVX_CategoryEx() = default;
    MVX_CategoryEx(std::shared_ptr<MVX_Category> category, bool isAsset)
        : m_isAsset(isAsset), m_category(std::move(category))
    {
    }

    bool isAsset() const { return m_isAsset; }
    void setIsAsset(bool isAsset) { m_isAsset = isAsset; }
    /// The category itself, not a copy.
    const std::shared_ptr<MVX_Category>& category() const { return m_category; }
    void setCategory(std::shared_ptr<MVX_Category> category) { m_category = std::move(category); }

private:
    bool m_isAsset = false;
    std::shared_ptr<MVX_Category> m_category;
};
