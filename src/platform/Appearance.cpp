#include "platform/Appearance.h"

#include "platform/Resources.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEvent>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

const QString kPortalService = u"org.freedesktop.portal.Desktop"_s;
const QString kPortalPath = u"/org/freedesktop/portal/desktop"_s;
const QString kPortalInterface = u"org.freedesktop.portal.Settings"_s;
const QString kAppearanceGroup = u"org.freedesktop.appearance"_s;
const QString kColorSchemeKey = u"color-scheme"_s;

// The portal wraps the value in one or two variants depending on its version.
int unwrapScheme(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.typeId() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const int scheme = value.toInt(&ok);
    return ok ? scheme : 0;
}

} // namespace

AppearanceController& AppearanceController::instance()
{
    static AppearanceController* controller = new AppearanceController;
    return *controller;
}

AppearanceController::AppearanceController()
{
    m_systemScheme = readPortalColorScheme();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // QtDBus signals can only be connected by slot signature.
        bus.connect(kPortalService, kPortalPath, kPortalInterface, u"SettingChanged"_s, this,
            SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
    }
}

int AppearanceController::readPortalColorScheme()
{
    const QByteArray gtkTheme = qgetenv("GTK_THEME");
    if (gtkTheme.endsWith(":dark"))
        return 1;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 0;
    QDBusMessage call
        = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalInterface, u"Read"_s);
    call << kAppearanceGroup << kColorSchemeKey;
    const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return unwrapScheme(reply.arguments().constFirst());
}

void AppearanceController::portalSettingChanged(
    const QString& group, const QString& key, const QDBusVariant& value)
{
    if (group != kAppearanceGroup || key != kColorSchemeKey)
        return;
    m_systemScheme = unwrapScheme(value.variant());
    apply();
}

void AppearanceController::setAppearance(Appearance appearance)
{
    m_appearance = appearance;
    apply();
}

bool AppearanceController::systemPrefersDark() const
{
    return m_systemScheme == 1;
}

bool AppearanceController::isDark() const
{
    switch (m_appearance) {
    case Appearance::Light:
        return false;
    case Appearance::Dark:
        return true;
    case Appearance::System:
        break;
    }
    return systemPrefersDark();
}

void AppearanceController::apply()
{
    const bool dark = isDark();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setPalette(dark ? darkPalette() : lightPalette());
        // Widgets learn of a new application palette from posted events: delivered now, the
        // observers of appearanceChanged read the new palette from any widget, not the old one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    }
    const bool changed = !m_applied || dark != m_appliedDark;
    m_applied = true;
    m_appliedDark = dark;
    if (changed)
        Q_EMIT appearanceChanged(dark);
}

namespace {

// Each role the application sets, with its light and its dark colour. Order matters: the
// Disabled entries follow the entries for all groups that they override.
struct PaletteColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QColor light;
    QColor dark;
};

QPalette paletteWith(QColor PaletteColor::*shade)
{
    static const PaletteColor colors[] = {
        { QPalette::All, QPalette::Window, QColor(0xEC, 0xEC, 0xEC), QColor(0x32, 0x32, 0x32) },
        { QPalette::All, QPalette::WindowText, QColor(0x1D, 0x1D, 0x1F), QColor(0xFF, 0xFF, 0xFF, 0xD9) },
        { QPalette::All, QPalette::Base, Qt::white, QColor(0x1E, 0x1E, 0x1E) },
        { QPalette::All, QPalette::AlternateBase, QColor(0xF4, 0xF5, 0xF5), QColor(0x2A, 0x2A, 0x2A) },
        { QPalette::All, QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE6), QColor(0x3A, 0x3A, 0x3A) },
        { QPalette::All, QPalette::ToolTipText, Qt::black, QColor(0xF0, 0xF0, 0xF0) },
        // Placeholders and the small print under a list's names: faint, yet above 4.5:1 as drawn,
        // in small type and on the light grey of a text field too.
        { QPalette::All, QPalette::PlaceholderText, QColor(0, 0, 0, 0xB3), QColor(0xFF, 0xFF, 0xFF, 0xA6) },
        { QPalette::All, QPalette::Text, QColor(0x1D, 0x1D, 0x1F), QColor(0xFF, 0xFF, 0xFF, 0xD9) },
        { QPalette::All, QPalette::Button, QColor(0xF6, 0xF6, 0xF6), QColor(0x3C, 0x3C, 0x3C) },
        // Opaque and on a darker face in dark: the style lightens the button face, most of all
        // the default button's (a print panel's Print), where a translucent white fell below 4.5:1.
        { QPalette::All, QPalette::ButtonText, QColor(0x1D, 0x1D, 0x1F), QColor(0xF5, 0xF5, 0xF5) },
        { QPalette::All, QPalette::BrightText, Qt::red, QColor(0xFF, 0x45, 0x3A) },
        { QPalette::All, QPalette::Light, Qt::white, QColor(0x5A, 0x5A, 0x5A) },
        { QPalette::All, QPalette::Midlight, QColor(0xE3, 0xE3, 0xE3), QColor(0x4A, 0x4A, 0x4A) },
        { QPalette::All, QPalette::Mid, QColor(0xB8, 0xB8, 0xB8), QColor(0x3A, 0x3A, 0x3A) },
        { QPalette::All, QPalette::Dark, QColor(0x9F, 0x9F, 0x9F), QColor(0x20, 0x20, 0x20) },
        { QPalette::All, QPalette::Shadow, QColor(0, 0, 0, 0x60), QColor(0, 0, 0, 0xA0) },
        // Selected items: the accent blue, only darker, so that their white text reads at 4.5:1.
        // Focus rings and selected frames keep the accent itself ("Accent" of the named colours).
        { QPalette::All, QPalette::Highlight, QColor(0x00, 0x6E, 0xE5), QColor(0x00, 0x6E, 0xDE) },
        { QPalette::All, QPalette::HighlightedText, Qt::white, Qt::white },
        { QPalette::All, QPalette::Link, QColor(0x00, 0x68, 0xDA), QColor(0x41, 0x9C, 0xFF) },
        { QPalette::All, QPalette::LinkVisited, QColor(0x55, 0x1A, 0x8B), QColor(0xC0, 0x8C, 0xFF) },
        // Disabled text: dimmer than the enabled text, yet 3:1 on every ground it is drawn on,
        // the dark style's lightened button face included, as drawn: the thin strokes of small
        // text never reach their full colour.
        { QPalette::Disabled, QPalette::WindowText, QColor(0, 0, 0, 0x99), QColor(0xFF, 0xFF, 0xFF, 0x99) },
        { QPalette::Disabled, QPalette::Text, QColor(0, 0, 0, 0x99), QColor(0xFF, 0xFF, 0xFF, 0x99) },
        { QPalette::Disabled, QPalette::ButtonText, QColor(0, 0, 0, 0x99), QColor(0xFF, 0xFF, 0xFF, 0x99) },
    };
    QPalette p;
    for (const PaletteColor& color : colors)
        p.setColor(color.group, color.role, color.*shade);
    return p;
}

} // namespace

QPalette AppearanceController::lightPalette()
{
    return paletteWith(&PaletteColor::light);
}

QPalette AppearanceController::darkPalette()
{
    return paletteWith(&PaletteColor::dark);
}

bool isDarkAppearance()
{
    return AppearanceController::instance().isDark();
}

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QImage appearanceImage(const QString& name, const QSize& size)
{
    if (isDarkAppearance()) {
        const QImage dark = image(name + QStringLiteral("Dark"), size);
        if (!dark.isNull())
            return dark;
    }
    return image(name, size);
}

double relativeLuminance(const QColor& color)
{
    const auto channel
        = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF())
        + 0.0722 * channel(color.blueF());
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor seenOver(const QColor& color, const QColor& background)
{
    const double alpha = color.alphaF();
    const auto mix = [alpha](double top, double below) { return float(top * alpha + below * (1.0 - alpha)); };
    return QColor::fromRgbF(mix(color.redF(), background.redF()), mix(color.greenF(), background.greenF()),
        mix(color.blueF(), background.blueF()));
}

QColor readableOn(const QColor& color, const QColor& background, double minimum)
{
    QColor seen = seenOver(color, background);
    if (contrastRatio(seen, background) >= minimum)
        return color;
    const float step = relativeLuminance(background) > 0.18 ? -0.01f : 0.01f;
    const float hue = seen.hslHueF();
    const float saturation = seen.hslSaturationF();
    float lightness = seen.lightnessF();
    while (contrastRatio(seen, background) < minimum && lightness > 0.0f && lightness < 1.0f) {
        lightness = std::clamp(lightness + step, 0.0f, 1.0f);
        seen = QColor::fromHslF(hue, saturation, lightness).toRgb();
    }
    return seen;
}

} // namespace platform
