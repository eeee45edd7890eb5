#pragma once

// Who deletes a view that a kit class is given to show (a window's content view, a popover's
// or an overlay's content, an overlay's custom indicator):
//
// - The kit class owns the view it is given (it becomes the view's Qt parent) and deletes it
//   with itself.
// - A view replaced by another is handed back: hidden and without parent, it belongs to the
//   caller again and is never deleted behind the caller's back. A caller that wants it gone
//   deletes it.
// - Views the kit class made itself (a default content view, an indicator of its mode) are
//   its own and are deleted (later, so that a view may ask for its own replacement).

#include <QList>
#include <QPointer>
#include <QWidget>

namespace ViewOwnership {

/// Hands `view` back to its caller: hidden and without parent. Null is ignored.
inline void handBack(QWidget* view)
{
    if (!view)
        return;
    view->hide();
    view->setParent(nullptr);
}

/// Lets go of a view the kit class made itself.
inline void dropOwn(QWidget* view)
{
    if (!view)
        return;
    handBack(view);
    view->deleteLater();
}

/// Lets go of `old`, replaced by another view: dropped when it is one of `madeViews` (and taken
/// off that list), handed back otherwise. Null is ignored.
inline void releaseReplaced(QWidget* old, QList<QPointer<QWidget>>& madeViews)
{
    if (!old)
        return;
    if (madeViews.removeAll(old) > 0)
        dropOwn(old);
    else
        handBack(old);
}

} // namespace ViewOwnership
