#pragma once

#include <QDBusVariant>
#include <QImage>
#include <QObject>
#include <QPalette>

namespace platform {

/// The user's appearance choice; the numbers are those stored in the settings.
enum class Appearance { System = 0, Light = 1, Dark = 2 };

/// Applies the light or dark palette to the application and tells when the
/// effective appearance changes. "System" follows the desktop's colour-scheme
/// preference (freedesktop settings portal), light where none is published.
/// Lives on the main thread.
class AppearanceController : public QObject {
    Q_OBJECT
public:
    static AppearanceController& instance();

    Appearance appearance() const { return m_appearance; }
    /// Sets the choice and applies the matching palette to the application.
    void setAppearance(Appearance appearance);
    /// Whether the dark palette is (or, with "System", would be) in effect.
    bool isDark() const;
    /// What the desktop asks for; false when it publishes nothing.
    bool systemPrefersDark() const;

    static QPalette lightPalette();
    static QPalette darkPalette();

Q_SIGNALS:
    /// The effective appearance changed, by the user's choice or the desktop's. Every widget
    /// has the new palette by then.
    void appearanceChanged(bool dark);

private Q_SLOTS:
    void portalSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    AppearanceController();
    void apply();
    static int readPortalColorScheme();

    Appearance m_appearance = Appearance::System;
    int m_systemScheme = 0; // 0 no preference, 1 prefer dark, 2 prefer light
    bool m_appliedDark = false;
    bool m_applied = false;
};

/// Shorthand for AppearanceController::instance().isDark().
bool isDarkAppearance();

/// Whether a palette is a dark one (light text on a dark window), for colours that a widget
/// derives from the palette it is painted with rather than from the appearance setting.
bool isDarkPalette(const QPalette& palette);

/// `platform::image(name, size)` for the appearance in effect: in the dark one the image
/// "<name>Dark" where the resources have it, so that a glyph keeps its contrast.
QImage appearanceImage(const QString& name, const QSize& size = {});

/// The relative luminance (0 to 1) of a colour's red, green and blue, as the readability
/// guidelines define it; its alpha is not counted.
double relativeLuminance(const QColor& color);
/// The contrast ratio (1 to 21) of two opaque colours; text reads well from 4.5 up.
double contrastRatio(const QColor& a, const QColor& b);
/// The opaque colour `color`, drawn with its alpha, shows over the opaque `background`.
QColor seenOver(const QColor& color, const QColor& background);
/// `color` when, drawn over the opaque `background`, it reads at `minimum`; otherwise what it
/// shows there, moved away from the background in lightness only (hue and saturation kept)
/// until it does.
QColor readableOn(const QColor& color, const QColor& background, double minimum);

} // namespace platform
