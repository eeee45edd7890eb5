#include "uikit/window/DIDeviceInfo_Common.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

DIDeviceInfo_Common::DIDeviceInfo_Common(const DISystemProbe& probe)
    : m_probe(probe)
    , m_rawSystemInfoString(systemInfoString(probe))
    , m_family(familyForModel(m_rawSystemInfoString))
    , m_cpuInfo(cpuInfo(probe))
    , m_physicalMemory(physicalMemory(probe))
    , m_osVersion(parseOSVersion(probe.osRelease()))
{
}

QString DIDeviceInfo_Common::systemInfoString(const DISystemProbe& probe)
{
    const QString model = probe.model();
    return model.isNull() ? u""_s : model;
}

DIDeviceFamily DIDeviceInfo_Common::familyForModel(const QString& model)
{
    static const std::pair<QString, DIDeviceFamily> prefixes[] = {
        { u"iMac"_s, DIDeviceFamily::iMac },
        { u"Mac Mini"_s, DIDeviceFamily::MacMini },
        { u"Mac Pro"_s, DIDeviceFamily::MacPro },
        { u"MacBook Pro"_s, DIDeviceFamily::MacBookPro },
        { u"MacBook Air"_s, DIDeviceFamily::MacBookAir },
        { u"MacBook"_s, DIDeviceFamily::MacBook },
        { u"Xserve"_s, DIDeviceFamily::Xserve },
    };
    for (const auto& [prefix, family] : prefixes) {
        if (model.startsWith(prefix))
            return family;
    }
    return DIDeviceFamily::Unknown;
}

DICpuInfo DIDeviceInfo_Common::cpuInfo(const DISystemProbe& probe)
{
    return { probe.cpuFrequencyHz() / 1e9, probe.cpuCount(), probe.l2CacheBytes() / 1024.0 };
}

double DIDeviceInfo_Common::physicalMemory(const DISystemProbe& probe)
{
    return probe.physicalMemoryBytes() / (1024.0 * 1024.0 * 1024.0);
}

DIOSVersion DIDeviceInfo_Common::parseOSVersion(const QString& release)
{
    static const QRegularExpression pattern(u"^\\s*(\\d{1,9})(?:\\.(\\d{1,9}))?(?:\\.(\\d{1,9}))?"_s);
    const QRegularExpressionMatch match = pattern.match(release);
    if (!match.hasMatch())
        return {};
    return { match.captured(1).toULongLong(), match.captured(2).toULongLong(),
        match.captured(3).toULongLong() };
}
