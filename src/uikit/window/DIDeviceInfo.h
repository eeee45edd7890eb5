#pragma once

#include "uikit/window/DIDeviceInfo_Common.h"

#include <QSizeF>
#include <QString>

#include <functional>

/// The two numbers of a model name ("MacBookPro11,1" gives 11 and 1).
struct DIDeviceVersion {
    quint64 major = 0;
    quint64 minor = 0;
};

/// The main display: size in points and pixels per inch (0 when the display does not
/// report its physical size).
struct DIDisplayInfo {
    QSizeF screenSize;
    double pixelsPerInch = 0;
};

/// A snapshot of the machine the application runs on, taken once per process
/// (`deviceInfo`); the processor, node name and screens are read live.
class DIDeviceInfo : public DIDeviceInfo_Common {
public:
    using ScreenSource = std::function<QList<DIScreen>()>;

    /// The process-wide snapshot, made on first use from the real system. Thread-safe.
    static const DIDeviceInfo& deviceInfo();

    explicit DIDeviceInfo(
        const DISystemProbe& probe = DISystemProbe(), ScreenSource screens = &DISystemProbe::currentScreens);

    DIDeviceVersion deviceVersion() const { return m_deviceVersion; }
    /// 0 little-endian, 1 otherwise.
    qint64 systemByteOrder() const { return m_systemByteOrder; }
    DICpuInfo cpuInfo() const override;
    QString nodeName() const;
    /// "<width>x<height> | " per screen, in screen order.
    QString allScreens() const;
    DIDisplayInfo displayInfo() const;

    /// Whether this machine's system version is at least the given one.
    bool isOperatingSystemAtLeastOSVersion(const DIOSVersion& version) const;
    /// The same for a text such as "6.1" or "10.12.1" (parts past the third are ignored).
    bool isOperatingSystemAtLeastVersion(const QString& version) const;

    /// Everything above in one text, one "name: value" per line.
    QString description() const;

    /// The model-number rule: from the first digit to the first ",", and after it.
    /// Names whose first digit follows the "," give 0 and 0.
    static DIDeviceVersion deviceVersionForModel(const QString& model);
    /// Pixels per inch of a display, 0 when its physical size is unknown.
    static double pixelsPerInch(const DIScreen& screen);

private:
    ScreenSource m_screens;
    DIDeviceVersion m_deviceVersion;
    qint64 m_systemByteOrder = 0;
};
