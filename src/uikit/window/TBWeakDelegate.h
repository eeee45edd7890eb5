#pragma once

#include "uikit/window/TBWindowDelegate.h"

#include <QObject>
#include <QPointer>

/// A non-owning reference to a delegate. When the delegate is a QObject the reference
/// clears itself as the object dies; other delegates must outlive their window.
class TBWeakDelegate {
public:
    TBWeakDelegate() = default;
    TBWeakDelegate(TBWindowDelegate* delegate) // NOLINT: converting on purpose
        : m_delegate(delegate), m_guard(dynamic_cast<QObject*>(delegate)), m_tracked(m_guard != nullptr)
    {
    }
    TBWindowDelegate* get() const { return (m_tracked && !m_guard) ? nullptr : m_delegate; }

private:
    TBWindowDelegate* m_delegate = nullptr;
    QPointer<QObject> m_guard;
    bool m_tracked = false;
};
