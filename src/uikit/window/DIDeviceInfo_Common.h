#pragma once

#include "uikit/window/DISystemProbe.h"

#include <QString>

/// Processor: clock in GHz, processors, level-2 cache in KiB (0 where unknown).
struct DICpuInfo {
    double frequency = 0;
    quint64 numberOfCores = 0;
    double l2CacheSize = 0;
};

/// An operating-system version; here the kernel's release.
struct DIOSVersion {
    quint64 major = 0;
    quint64 minor = 0;
    quint64 patch = 0;
};

/// Model families of the design, by the prefix of the model name.
enum class DIDeviceFamily : qint64 {
    Unknown = 0,
    iMac = 1,
    MacMini = 2,
    MacPro = 3,
    MacBook = 4,
    MacBookAir = 5,
    MacBookPro = 6,
    Xserve = 7,
};

/// The parts of the device information that every machine has.
class DIDeviceInfo_Common {
public:
    explicit DIDeviceInfo_Common(const DISystemProbe& probe = DISystemProbe());
    virtual ~DIDeviceInfo_Common() = default;

    /// The model name, "" when the machine does not tell.
    QString rawSystemInfoString() const { return m_rawSystemInfoString; }
    DIDeviceFamily family() const { return m_family; }
    virtual DICpuInfo cpuInfo() const { return m_cpuInfo; }
    /// GiB.
    double physicalMemory() const { return m_physicalMemory; }
    DIOSVersion osVersion() const { return m_osVersion; }

    /// The class operations that fill the fields, from one probe.
    static QString systemInfoString(const DISystemProbe& probe);
    static DIDeviceFamily familyForModel(const QString& model);
    static DICpuInfo cpuInfo(const DISystemProbe& probe);
    static double physicalMemory(const DISystemProbe& probe);
    /// The leading "major.minor.patch" numbers of a release text; missing parts are 0.
    static DIOSVersion parseOSVersion(const QString& release);

protected:
    const DISystemProbe& probe() const { return m_probe; }

private:
    DISystemProbe m_probe;
    QString m_rawSystemInfoString;
    DIDeviceFamily m_family = DIDeviceFamily::Unknown;
    DICpuInfo m_cpuInfo;
    double m_physicalMemory = 0;
    DIOSVersion m_osVersion;
};
