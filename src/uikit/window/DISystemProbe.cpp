#include "uikit/window/DISystemProbe.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>

#include <sys/utsname.h>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// System files are small; anything larger is not what we expect.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

bool isRealRoot(const QString& root)
{
    return QDir::cleanPath(root) == u"/"_s;
}

double finiteOrZero(double value)
{
    return std::isfinite(value) && value > 0 ? value : 0.0;
}

} // namespace

DISystemProbe::DISystemProbe(const QString& rootPath) : m_root(rootPath)
{
}

QString DISystemProbe::readText(const QString& relative) const
{
    QFile file(QDir(m_root).filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kMaxFileSize);
    if (bytes.isNull() && file.error() != QFileDevice::NoError)
        return {};
    QString text = QString::fromUtf8(bytes);
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == QChar(0)))
        text.chop(1);
    return text.isNull() ? u""_s : text;
}

QString DISystemProbe::model() const
{
    for (const QString& path :
        { u"sys/class/dmi/id/product_name"_s, u"sys/firmware/devicetree/base/model"_s }) {
        const QString text = readText(path).trimmed();
        if (!text.isEmpty())
            return text;
    }
    return {};
}

double DISystemProbe::cpuFrequencyHz() const
{
    bool ok = false;
    const double kHz = readText(u"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"_s).toDouble(&ok);
    if (ok && finiteOrZero(kHz) > 0)
        return kHz * 1000.0;
    return parseCpuMHz(readText(u"proc/cpuinfo"_s)) * 1e6;
}

quint64 DISystemProbe::cpuCount() const
{
    if (const quint64 online = parseCpuList(readText(u"sys/devices/system/cpu/online"_s)))
        return online;
    return countProcessors(readText(u"proc/cpuinfo"_s));
}

double DISystemProbe::l2CacheBytes() const
{
    const QDir caches(QDir(m_root).filePath(u"sys/devices/system/cpu/cpu0/cache"_s));
    const QStringList indices = caches.entryList({ u"index*"_s }, QDir::Dirs, QDir::Name);
    for (const QString& index : indices) {
        const QString base = u"sys/devices/system/cpu/cpu0/cache/"_s + index + u'/';
        if (readText(base + u"level"_s) != u"2"_s || readText(base + u"type"_s) == u"Instruction"_s)
            continue;
        return parseCacheSize(readText(base + u"size"_s));
    }
    return 0;
}

double DISystemProbe::physicalMemoryBytes() const
{
    return parseMemTotal(readText(u"proc/meminfo"_s));
}

QString DISystemProbe::osRelease() const
{
    const QString text = readText(u"proc/sys/kernel/osrelease"_s);
    if (!text.isNull() || !isRealRoot(m_root))
        return text;
    utsname names {};
    return ::uname(&names) == 0 ? QString::fromUtf8(names.release) : QString();
}

QString DISystemProbe::nodeName() const
{
    const QString text = readText(u"proc/sys/kernel/hostname"_s);
    if (!text.isNull() || !isRealRoot(m_root))
        return text;
    utsname names {};
    return ::uname(&names) == 0 ? QString::fromUtf8(names.nodename) : QString();
}

QList<DIScreen> DISystemProbe::currentScreens()
{
    QList<DIScreen> result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QScreen*> screens = QGuiApplication::screens();
    if (primary && screens.removeOne(const_cast<QScreen*>(primary)))
        screens.prepend(const_cast<QScreen*>(primary));
    for (const QScreen* screen : screens) {
        DIScreen info;
        info.size = QSizeF(screen->geometry().size());
        info.scale = screen->devicePixelRatio();
        info.pixels = info.size * info.scale;
        info.physicalSizeMm = screen->physicalSize();
        result.append(info);
    }
    return result;
}

quint64 DISystemProbe::parseCpuList(const QString& text)
{
    quint64 count = 0;
    for (const QString& part : text.trimmed().split(u',', Qt::SkipEmptyParts)) {
        const QStringList bounds = part.trimmed().split(u'-');
        bool okFirst = false;
        bool okLast = false;
        const qulonglong first = bounds.value(0).toULongLong(&okFirst);
        const qulonglong last = bounds.size() == 2 ? bounds[1].toULongLong(&okLast) : first;
        if (!okFirst || (bounds.size() == 2 && !okLast) || bounds.size() > 2 || last < first)
            return 0; // not a list we understand: report unknown rather than a wrong count
        count += last - first + 1;
    }
    return count;
}

double DISystemProbe::parseCacheSize(const QString& text)
{
    static const QRegularExpression pattern(u"^\\s*(\\d+)\\s*([KkMmGg]?)\\s*$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return 0;
    double value = match.captured(1).toDouble();
    const QString unit = match.captured(2).toUpper();
    if (unit == u"K"_s)
        value *= 1024;
    else if (unit == u"M"_s)
        value *= 1024 * 1024;
    else if (unit == u"G"_s)
        value *= 1024.0 * 1024 * 1024;
    return finiteOrZero(value);
}

double DISystemProbe::parseMemTotal(const QString& meminfo)
{
    static const QRegularExpression pattern(
        u"^MemTotal:\\s*(\\d+)\\s*kB\\s*$"_s, QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = pattern.match(meminfo);
    return match.hasMatch() ? finiteOrZero(match.captured(1).toDouble() * 1024.0) : 0.0;
}

double DISystemProbe::parseCpuMHz(const QString& cpuinfo)
{
    static const QRegularExpression pattern(
        u"^cpu MHz\\s*:\\s*([0-9.]+)\\s*$"_s, QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = pattern.match(cpuinfo);
    return match.hasMatch() ? finiteOrZero(match.captured(1).toDouble()) : 0.0;
}

quint64 DISystemProbe::countProcessors(const QString& cpuinfo)
{
    static const QRegularExpression pattern(u"^processor\\s*:"_s, QRegularExpression::MultilineOption);
    quint64 count = 0;
    auto matches = pattern.globalMatch(cpuinfo);
    while (matches.hasNext()) {
        matches.next();
        ++count;
    }
    return count;
}
