#include "uikit/window/TBWindowSystem.h"

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <numeric>

#if defined(MERVANE_HAVE_XCB) && QT_CONFIG(xcb)
#define MERVANE_ASK_X11 1
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace TBWindowSystem {

#if defined(MERVANE_ASK_X11)
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The window a window's _NET_SUPPORTING_WM_CHECK names; none without it.
xcb_window_t supportingWindow(xcb_connection_t* connection, xcb_atom_t check, xcb_window_t window)
{
    const ReplyPtr<xcb_get_property_reply_t> property(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, check, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!property || property->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(property.get()) < 4)
        return XCB_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(property.get()));
}

// The child of the root window that holds `window`: the window itself, or a window manager's
// frame around it.
xcb_window_t rootChild(xcb_connection_t* connection, xcb_window_t window)
{
    for (int depth = 0; depth < 8; ++depth) {
        const ReplyPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (!tree || tree->parent == XCB_NONE)
            return XCB_NONE;
        if (tree->parent == tree->root)
            return window;
        window = tree->parent;
    }
    return XCB_NONE;
}

} // namespace
#endif

bool windowManagerRunning()
{
#if defined(MERVANE_ASK_X11)
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return true;
    static constexpr char name[] = "_NET_SUPPORTING_WM_CHECK";
    const ReplyPtr<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof(name) - 1, name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return true;
    // A window manager that has gone leaves the root's property behind, naming a window that
    // no longer names itself.
    const xcb_window_t check = supportingWindow(connection, atom->atom, screen->root);
    return check != XCB_NONE && supportingWindow(connection, atom->atom, check) == check;
#else
    return true;
#endif
}

QList<QWindow*> bottomToTop(const QList<QWindow*>& windows)
{
    QList<QWindow*> ordered = windows;
#if defined(MERVANE_ASK_X11)
    xcb_connection_t* connection = x11Connection();
    if (!connection || windows.isEmpty())
        return ordered;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return ordered;
    const ReplyPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr));
    if (!tree)
        return ordered;
    // The root's children come from the bottom up.
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    QList<int> places;
    for (const QWindow* window : windows) {
        const xcb_window_t child = rootChild(connection, static_cast<xcb_window_t>(window->winId()));
        const auto found = std::find(children, children + count, child);
        places.append(child != XCB_NONE && found != children + count ? int(found - children) : -1);
    }
    QList<qsizetype> order(windows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(
        order.begin(), order.end(), [&places](qsizetype a, qsizetype b) { return places[a] < places[b]; });
    for (qsizetype i = 0; i < order.size(); ++i)
        ordered[i] = windows[order[i]];
#endif
    return ordered;
}

void activate(QWindow* window)
{
    if (!window)
        return;
#if defined(MERVANE_ASK_X11)
    // Qt stamps its request with the time of the last event it had from the server: without a
    // window manager to ask, the server ignores it when another program moved the keyboard
    // since then.
    if (xcb_connection_t* connection = x11Connection(); connection && !windowManagerRunning()) {
        xcb_set_input_focus(
            connection, XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(window->winId()), XCB_CURRENT_TIME);
        xcb_flush(connection);
        return;
    }
#endif
    window->requestActivate();
}

} // namespace TBWindowSystem
