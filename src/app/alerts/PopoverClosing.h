#pragma once

class QWidget;

/// Closes the popover whose window shows `content`, as its own controller closes it;
/// nothing when `content` is not in a popover.
void closeEnclosingPopover(QWidget* content);
