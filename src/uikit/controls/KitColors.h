#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include <functional>
#include <initializer_list>

class QWidget;

/// Text colours that a widget keeps in its own palette and that must still follow an
/// appearance switch. A colour copied into a palette once stays what it was when the widget
/// was made (white on white after a switch to light); a colour given here is worked out again
/// from the palette the widget is shown with whenever that palette changes.
namespace KitColors {

/// Works out a colour from the palette a widget is shown with: its Window role tells the
/// appearance, its own roles give colours to derive from.
using PaletteColor = std::function<QColor(const QPalette& shownWith)>;

/// Gives `widget` the colour `color` works out for `role` in `groups`, now and after every
/// change of its palette. Setting a role again replaces its rule; the widget owns the rule.
void setColor(QWidget* widget, QPalette::ColorRole role, PaletteColor color,
    std::initializer_list<QPalette::ColorGroup> groups
    = { QPalette::Active, QPalette::Inactive, QPalette::Disabled });

/// The named colour (`platform::namedColor`) of the appearance the widget is shown in, for
/// `roles` in `groups`.
void setNamedColor(QWidget* widget, const QString& name,
    std::initializer_list<QPalette::ColorRole> roles = { QPalette::WindowText },
    std::initializer_list<QPalette::ColorGroup> groups
    = { QPalette::Active, QPalette::Inactive, QPalette::Disabled });

/// Greyed, yet usable: the widget and its children draw their texts in the palette's disabled
/// text colours (which read at 3:1) while enabled. An opacity effect over such a control
/// dims the disabled colour again, far below that.
void setGreyed(QWidget* widget, bool greyed);
/// Whether `widget` or one of its parents is greyed by `setGreyed`.
bool isGreyed(const QWidget* widget);

} // namespace KitColors
