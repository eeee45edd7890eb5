#include "uikit/window/OSVMacVersion.h"

#include "uikit/window/DIDeviceInfo.h"

#include <QMutex>

#include <cmath>
#include <optional>

using namespace Qt::Literals::StringLiterals;

QString OSVMacVersion::currentModel()
{
    return DISystemProbe().model();
}

std::pair<QString, qint64> OSVMacVersion::classifyModel(const QString& model)
{
    static const std::pair<QString, qint64> kinds[] = {
        { u"MacPro"_s, 3 },
        { u"iMac"_s, 1 },
        { u"MacBookPro"_s, 6 },
        { u"MacBookAir"_s, 5 },
        { u"MacBook"_s, 4 },
    };
    for (const auto& [prefix, kind] : kinds) {
        if (model.startsWith(prefix))
            return { prefix, kind };
    }
    return { u"Unknown"_s, 0 };
}

qint64 OSVMacVersion::resolutionClass(const QList<double>& scales)
{
    if (scales.isEmpty())
        return 2;
    float largest = 1.0F;
    for (double scale : scales)
        largest = std::max(largest, float(scale));
    if (largest == 2.0F)
        return 1;
    if (largest == 1.0F)
        return 2;
    return 0;
}

qint64 OSVMacVersion::sizeInInches(const QSizeF& mm)
{
    const double diagonal
        = std::floor(std::sqrt(mm.width() * mm.width() + mm.height() * mm.height()) * 0.0393701);
    if (!std::isfinite(diagonal))
        return 0;
    for (qint64 size : { 11, 12, 13, 15, 17, 20, 21, 24, 27 }) {
        if (diagonal == double(size))
            return size;
    }
    return 0;
}

QVariantMap OSVMacVersion::informationFor(const QString& model, const QList<DIScreen>& screens)
{
    QList<double> scales;
    for (const DIScreen& screen : screens)
        scales.append(screen.scale);
    const auto [name, kind] = classifyModel(model);
    return {
        { kDeviceNameKey, name },
        { kVersionEnumKey, kind },
        { kResolutionKey, resolutionClass(scales) },
        { kReleaseSizeKey, screens.isEmpty() ? 0 : sizeInInches(screens.first().physicalSizeMm) },
    };
}

QVariantMap OSVMacVersion::deviceInformationForModel(const QString& model)
{
    static QMutex mutex;
    static std::optional<QVariantMap> information;
    const QMutexLocker lock(&mutex);
    if (!information)
        information = informationFor(model, DISystemProbe::currentScreens());
    return *information;
}

qint64 OSVMacVersion::deviceVersion()
{
    return deviceInformationForModel(currentModel()).value(kVersionEnumKey).toLongLong();
}

QString OSVMacVersion::deviceVersionString()
{
    return deviceInformationForModel(currentModel()).value(kDeviceNameKey).toString();
}

qint64 OSVMacVersion::deviceSize()
{
    return deviceInformationForModel(currentModel()).value(kReleaseSizeKey).toLongLong();
}

qint64 OSVMacVersion::deviceScreenResolution()
{
    return deviceInformationForModel(currentModel()).value(kResolutionKey).toLongLong();
}

qint64 OSVMacVersion::deviceSizeInInches()
{
    const QList<DIScreen> screens = DISystemProbe::currentScreens();
    return screens.isEmpty() ? 0 : sizeInInches(screens.first().physicalSizeMm);
}

QString OSVMacVersion::deviceSizeName(qint64 size)
{
    switch (size) {
    case 0:
        return u"Unknown Size"_s;
    case 11:
    case 12:
    case 13:
    case 15:
    case 17:
    case 20:
    case 24:
    case 27:
        return u"%1 inch"_s.arg(size);
    case 21:
        return u"21.5 inch"_s;
    default:
        return {};
    }
}

QString OSVMacVersion::deviceScreenResolutionName(qint64 resolution)
{
    switch (resolution) {
    case 0:
        return u"Unknown resolution"_s;
    case 1:
        return u"Retina screen"_s;
    case 2:
        return u"Non-retina screen"_s;
    default:
        return {};
    }
}

QSizeF OSVMacVersion::deviceScreenResolutionPixelSize()
{
    const QList<DIScreen> screens = DISystemProbe::currentScreens();
    if (screens.isEmpty())
        return {};
    const QSizeF size = screens.first().size;
    return deviceScreenResolution() == 1 ? size * 2 : size;
}

int OSVMacVersion::compareNumerically(const QString& left, const QString& right)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < left.size() && j < right.size()) {
        if (left[i].isDigit() && right[j].isDigit()) {
            qsizetype endI = i;
            qsizetype endJ = j;
            while (endI < left.size() && left[endI].isDigit())
                ++endI;
            while (endJ < right.size() && right[endJ].isDigit())
                ++endJ;
            // Compare by value without converting: drop leading zeros, then length, then digits.
            QStringView a = QStringView(left).mid(i, endI - i);
            QStringView b = QStringView(right).mid(j, endJ - j);
            while (a.size() > 1 && a.front() == u'0')
                a = a.mid(1);
            while (b.size() > 1 && b.front() == u'0')
                b = b.mid(1);
            if (a.size() != b.size())
                return a.size() < b.size() ? -1 : 1;
            if (const int c = a.compare(b); c != 0)
                return c < 0 ? -1 : 1;
            i = endI;
            j = endJ;
            continue;
        }
        if (left[i] != right[j])
            return left[i] < right[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < left.size())
        return 1;
    if (j < right.size())
        return -1;
    return 0;
}

namespace {

int compareMinor(const QString& version)
{
    return OSVMacVersion::compareNumerically(
        QString::number(DIDeviceInfo::deviceInfo().osVersion().minor), version);
}

} // namespace

bool OSVMacVersion::versionEqualTo(const QString& version)
{
    return compareMinor(version) == 0;
}

bool OSVMacVersion::versionGreaterThan(const QString& version)
{
    return compareMinor(version) > 0;
}

bool OSVMacVersion::versionGreaterThanOrEqualTo(const QString& version)
{
    return compareMinor(version) >= 0;
}

bool OSVMacVersion::versionLessThan(const QString& version)
{
    return compareMinor(version) < 0;
}

bool OSVMacVersion::versionLessThanOrEqualTo(const QString& version)
{
    return compareMinor(version) <= 0;
}
