#pragma once

#include <QObject>

#include <chrono>
#include <functional>

class QWindow;

namespace platform {

/// What a modal panel (a file panel, the print panel, a message box) does to the rest of the
/// program while it is up, for the seams that answer in its place. A real panel runs a nested
/// event loop until the user answers: timers fire, animations end, other windows lose the
/// focus and close, and objects released meanwhile are deleted. A seam calls `runInPlaceOfPanel`
/// before it answers, so that code which uses its objects after a panel fails in tests as it
/// would for a user. Main thread only.
class ModalPanel {
public:
    ModalPanel() = delete;

    /// Waits in a nested event loop over `parent` until the program has settled (no busy check
    /// answers true any more), at most `limit`. With a stand-in installed, the stand-in shows a
    /// window of its own for as long; without a running application, returns at once.
    static void runInPlaceOfPanel(QObject* parent);

    /// Runs the nested loop of a stand-in: `settled` tells when it may answer.
    using StandIn = std::function<void(QObject* parent, const std::function<bool()>& settled)>;
    /// The widget layer installs a stand-in that shows a modal window, as the real panel does;
    /// none runs a plain event loop.
    static void setStandIn(StandIn standIn);

    /// Something still on its way (a popover fading out): the nested loop waits for it.
    static void addBusyCheck(std::function<bool()> busy);
    /// True when no busy check answers true.
    static bool settled();

    /// From now on, when a window that has the keyboard (or was shown to take it) closes, modal
    /// or not (a panel, a popover, a message, a stand-in), the window it was shown over gets
    /// the keyboard back, before the window is unmapped: a window manager would give it to the
    /// window that had it before, maybe another program's, and without one the keyboard stays
    /// with no window and keys (Ctrl+Q) reach none until a click. A panel shown over no window
    /// gives it to the first shown plain window. A window closing while another program has the
    /// keyboard, or after opening another window of the program, leaves it where it is.
    /// While a modal panel is up, a window below it that gets the keyboard (a click into it)
    /// hands it on to the panel. Needs the application object; repeated calls change nothing.
    static void returnFocusAfterPanels();
    /// The window that has the keyboard, or, while another program has it, the one of this
    /// program that had it last (after `returnFocusAfterPanels`); null when that one is hidden.
    static QWindow* keyboardWindow();

    static constexpr std::chrono::milliseconds limit { 5000 };
    /// How often the nested loop asks whether the program has settled.
    static constexpr std::chrono::milliseconds pollInterval { 5 };
};

} // namespace platform
