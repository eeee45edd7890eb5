#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QtGlobal>

#include <array>

/// The title bar's command buttons and where they sit. Positions are origins in the
/// title-bar view, y-up; all but the lock button keep their distance from the right edge.
namespace TitleBarLayout {

enum class Button { Lock, Settings, About, Share, Document, Print, Help };

inline constexpr double buttonSize = 23;
inline constexpr double titleBarHeight = 40;

struct ButtonSpec {
    Button button;
    const char* objectName;
    const char* normalImage;
    const char* rolloverImage;
    const char* pressedImage;
    const char* inactiveImage;
    /// The key pressed with Ctrl (and Shift where given); empty for none.
    const char* keyEquivalent;
    bool shift;
    /// English key of the strings table (shown with `platform::localized`).
    const char* tooltip;
};

/// In the order the buttons are added to the title bar. Ctrl+Shift+S is kept by the share
/// button alone: one key must not belong to four buttons.
inline constexpr std::array<ButtonSpec, 7> buttons { {
    { Button::Lock, "lockButton", "LockN", "LockR", "LockH", "LockN", "l", false,
        QT_TRANSLATE_NOOP("mervanemac", "Lock Mervane") },
    { Button::Settings, "settingsButton", "SettingsN", "SettingsR", "SettingsH", "SettingsN", ",", false,
        QT_TRANSLATE_NOOP("mervanemac", "Application settings") },
    { Button::About, "infoABoutButton", "InfoN", "InfoR", "InfoH", "InfoN", "i", true,
        QT_TRANSLATE_NOOP("mervanemac", "About Mervane") },
    { Button::Share, "shareButton", "Share2N", "Share2R", "Share2H", "Share2N", "s", true,
        QT_TRANSLATE_NOOP("mervanemac", "Facebook, Twitter share, report issues, ...") },
    { Button::Document, "exportButton", "DocumentN", "DocumentH", "DocumentH", "DocumentN", "", true,
        QT_TRANSLATE_NOOP("mervanemac", "Backup or restore your data to/from a file, ...") },
    { Button::Print, "printButton", "PrintN", "PrintH", "PrintH", "PrintN", "", true,
        QT_TRANSLATE_NOOP("mervanemac", "Print net worth reports ...") },
    { Button::Help, "helpButton", "HelpN", "HelpH", "HelpH", "HelpN", "", true,
        QT_TRANSLATE_NOOP("mervanemac", "Download Mervane's documentation from our web site, ...") },
} };

/// The button's origin for a title bar `width` wide (y-up).
QPointF origin(Button button, double width);
/// The button's frame in a title bar of `barSize`, in Qt's y-down coordinates.
QRectF frame(Button button, const QSizeF& barSize);

} // namespace TitleBarLayout
