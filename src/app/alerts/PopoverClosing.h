#pragma once

class QWidget;

/// Closes the popover whose window shows `content`, as its own controller closes it;
/// nothing when `content` is not in a popover.
void closeEnclosingPopover(QWidget* content);
/// The view the popover showing `content` points at; null when `content` is not in a popover.
QWidget* enclosingPopoverAnchor(QWidget* content);
