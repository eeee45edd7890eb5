#pragma once

class QObject;
class QWidget;

/// The window a modal panel asked for by `requester` belongs to: the requester's window, or,
/// when that is a popover or another tool window, the window it floats over. A panel owned by
/// a popover would vanish with it when the popover closes on losing the focus to the panel.
/// Null when the requester is no widget.
QWidget* modalPanelOwner(QObject* requester);

/// Makes the seams that answer in place of a modal panel (`platform::ModalPanel`) show a real
/// modal window for as long as a panel would be up: the window takes the focus from the
/// others, so popovers that close when they lose it do, and the seam answers once every
/// popover has finished fading. Tests of widgets install it; the application has real panels.
void installModalPanelStandIn();
