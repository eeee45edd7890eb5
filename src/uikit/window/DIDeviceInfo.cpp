#include "uikit/window/DIDeviceInfo.h"

#include <QStringList>
#include <QSysInfo>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The integer value at the start of `text`: optional blanks and sign, then digits; 0 if none.
quint64 leadingInteger(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'-'))
        return 0; // a negative model number means nothing
    if (text.startsWith(u'+'))
        text = text.mid(1);
    qsizetype digits = 0;
    while (digits < text.size() && digits < 18 && text[digits].isDigit())
        ++digits;
    return digits ? text.left(digits).toULongLong() : 0;
}

} // namespace

const DIDeviceInfo& DIDeviceInfo::deviceInfo()
{
    static const DIDeviceInfo shared;
    return shared;
}

DIDeviceInfo::DIDeviceInfo(const DISystemProbe& probe, ScreenSource screens)
    : DIDeviceInfo_Common(probe)
    , m_screens(std::move(screens))
    , m_deviceVersion(deviceVersionForModel(rawSystemInfoString()))
    , m_systemByteOrder(QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 0 : 1)
{
}

DICpuInfo DIDeviceInfo::cpuInfo() const
{
    return DIDeviceInfo_Common::cpuInfo(probe());
}

QString DIDeviceInfo::nodeName() const
{
    return probe().nodeName();
}

QString DIDeviceInfo::allScreens() const
{
    QString result;
    const QList<DIScreen> screens = m_screens ? m_screens() : QList<DIScreen>();
    for (const DIScreen& screen : screens)
        result += u"%1x%2 | "_s.arg(int(screen.size.width())).arg(int(screen.size.height()));
    return result;
}

DIDisplayInfo DIDeviceInfo::displayInfo() const
{
    const QList<DIScreen> screens = m_screens ? m_screens() : QList<DIScreen>();
    if (screens.isEmpty())
        return {};
    return { screens.first().size, pixelsPerInch(screens.first()) };
}

double DIDeviceInfo::pixelsPerInch(const DIScreen& screen)
{
    const double area = screen.physicalSizeMm.width() * screen.physicalSizeMm.height();
    const double pixels = screen.pixels.width() * screen.pixels.height();
    if (!(area > 0) || !(pixels > 0) || !std::isfinite(area))
        return 0;
    // Pixels are device pixels already; the backing scale is in them.
    const double ppi = std::sqrt(pixels / area) * 25.4;
    return std::isfinite(ppi) ? ppi : 0;
}

DIDeviceVersion DIDeviceInfo::deviceVersionForModel(const QString& model)
{
    const qsizetype comma = model.indexOf(u',');
    if (comma < 0)
        return {};
    qsizetype firstDigit = -1;
    for (qsizetype i = 0; i < model.size(); ++i) {
        if (model[i].isDigit() && model[i].unicode() < 128) {
            firstDigit = i;
            break;
        }
    }
    if (firstDigit < 0 || firstDigit > comma)
        return {};
    return { leadingInteger(QStringView(model).mid(firstDigit, comma - firstDigit)),
        leadingInteger(QStringView(model).mid(comma + 1)) };
}

bool DIDeviceInfo::isOperatingSystemAtLeastOSVersion(const DIOSVersion& version) const
{
    const DIOSVersion mine = osVersion();
    if (mine.major != version.major)
        return mine.major > version.major;
    if (mine.minor != version.minor)
        return mine.minor > version.minor;
    return mine.patch >= version.patch;
}

bool DIDeviceInfo::isOperatingSystemAtLeastVersion(const QString& version) const
{
    const QStringList parts = version.split(u'.');
    return isOperatingSystemAtLeastOSVersion(
        { leadingInteger(parts.value(0)), leadingInteger(parts.value(1)), leadingInteger(parts.value(2)) });
}

QString DIDeviceInfo::description() const
{
    const DICpuInfo cpu = cpuInfo();
    const DIDisplayInfo display = displayInfo();
    const DIOSVersion os = osVersion();
    const QString self = u"<DIDeviceInfo: 0x%1>"_s.arg(quintptr(this), 0, 16);
    return self + u"\nrawSystemInfoString: "_s + rawSystemInfoString() + u"\nnodeName: "_s + nodeName()
        + u"\nfamily: "_s + QString::number(static_cast<qint64>(family())) + u"\ndeviceModel.major: "_s
        + QString::number(m_deviceVersion.major) + u"\ndeviceModel.minor: "_s
        + QString::number(m_deviceVersion.minor) + u"\ncpuInfo.frequency: "_s
        + QString::number(cpu.frequency, 'f', 3) + u"\ncpuInfo.numberOfCores: "_s
        + QString::number(cpu.numberOfCores) + u"\ncpuInfo.l2CacheSize: "_s
        + QString::number(cpu.l2CacheSize, 'f', 3) + u"\npysicalMemory: "_s
        + QString::number(physicalMemory(), 'f', 3) + u"\nsystemByteOrder: "_s
        + QString::number(m_systemByteOrder) + u"\nscreenResolution: "_s
        + QString::number(display.screenSize.width(), 'f', 0) + u'x'
        + QString::number(display.screenSize.height(), 'f', 0) + u"\nosVersion.major: "_s
        + QString::number(os.major) + u"\nosVersion.minor: "_s + QString::number(os.minor)
        + u"\nosVersion.patch: "_s + QString::number(os.patch);
}
