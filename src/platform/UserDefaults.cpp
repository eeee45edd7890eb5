#include "platform/UserDefaults.h"

#include "platform/FileIO.h"
#include "platform/Variants.h"

#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

// None when the bytes are not a settings map: garbage and well-formed CBOR of another
// shape alike.
std::optional<QCborMap> settingsMap(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QCborMap();
    QCborParserError error;
    const QCborValue root = QCborValue::fromCbor(bytes, &error);
    if (error.error != QCborError::NoError || !root.isMap())
        return std::nullopt;
    return root.toMap();
}

bool readCbor(QIODevice& device, QSettings::SettingsMap& map)
{
    const std::optional<QCborMap> cbor = settingsMap(device.readAll());
    if (!cbor)
        return false;
    for (auto it = cbor->constBegin(); it != cbor->constEnd(); ++it)
        map.insert(it.key().toString(), it.value().toVariant());
    return true;
}

// QSettings replaces a file it could not read with what it holds, which is only what was
// set since: the user's settings would be lost. Keep a byte-identical copy next to it first,
// named as the data file's; without that copy nothing is replaced.
bool keepUnreadableFileAside(const QString& path)
{
    const Expected<FileContents> existing = readRegularFile(path);
    if (!existing)
        return !QFileInfo::exists(path);
    if (settingsMap(existing->bytes))
        return true;
    const Expected<QString> copy = keepCopy(path, u"unreadable"_s);
    if (!copy) {
        qWarning("The settings file %s could not be read nor kept aside (%s); it is left as it was.",
            qPrintable(path), qPrintable(copy.error()));
        return false;
    }
    qWarning(
        "The settings file %s could not be read; it was kept as %s.", qPrintable(path), qPrintable(*copy));
    return true;
}

bool writeCbor(QIODevice& device, const QSettings::SettingsMap& map)
{
    if (const auto* target = qobject_cast<const QFileDevice*>(&device);
        target && !keepUnreadableFileAside(target->fileName()))
        return false;
    QCborMap cbor;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        cbor.insert(it.key(), QCborValue::fromVariant(it.value()));
    const QByteArray bytes = cbor.toCborValue().toCbor();
    return device.write(bytes) == bytes.size();
}

QSettings::Format cborFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(u"cbor"_s, readCbor, writeCbor);
    return format;
}

QMutex g_standardMutex;
std::unique_ptr<UserDefaults> g_standard;

bool isListType(const QVariant& value)
{
    const int id = value.typeId();
    return id == QMetaType::QVariantList || id == QMetaType::QStringList;
}

} // namespace

UserDefaults& UserDefaults::standard()
{
    QMutexLocker lock(&g_standardMutex);
    if (!g_standard)
        g_standard = std::make_unique<UserDefaults>(standardFilePath());
    return *g_standard;
}

void UserDefaults::resetStandard()
{
    QMutexLocker lock(&g_standardMutex);
    if (g_standard)
        g_standard->synchronize();
    g_standard.reset();
}

QString UserDefaults::standardFilePath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(u"Mervane/Mervane.cbor"_s);
}

UserDefaults::UserDefaults(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, cborFormat()))
{
}

UserDefaults::~UserDefaults() = default;

QString UserDefaults::filePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_settings->fileName();
}

bool UserDefaults::contains(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return m_settings->contains(key);
}

QVariant UserDefaults::value(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return m_settings->value(key);
}

QString UserDefaults::string(const QString& key, const QString& fallback) const
{
    const QVariant v = value(key);
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    if (isNumber(v) && v.typeId() != QMetaType::Bool)
        return v.toString();
    return fallback;
}

qint64 UserDefaults::integer(const QString& key, qint64 fallback) const
{
    const QVariant v = value(key);
    if (!isNumber(v) && v.typeId() != QMetaType::QString)
        return fallback;
    bool ok = false;
    // QVariant converts a double to an integer unchecked; only integers and text go that way.
    const bool floating = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
    if (!floating) {
        const qint64 result = v.toLongLong(&ok);
        if (ok)
            return result;
    }
    // Numbers stored as doubles, or numeric text such as "3.0". A double beyond qint64 (or
    // not a number) has no integer value: casting it would be undefined.
    const double real = v.toDouble(&ok);
    if (!ok || std::isnan(real))
        return fallback;
    // 2^63 is exactly representable; every double below it converts.
    constexpr double limit = 9223372036854775808.0;
    if (real >= limit)
        return std::numeric_limits<qint64>::max();
    if (real < -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(real);
}

qint64 UserDefaults::integer(const QString& key, qint64 fallback, qint64 lowest, qint64 highest) const
{
    Q_ASSERT(lowest <= highest);
    return std::clamp(integer(key, fallback), lowest, std::max(lowest, highest));
}

double UserDefaults::real(const QString& key, double fallback) const
{
    const QVariant v = value(key);
    if (!isNumber(v) && v.typeId() != QMetaType::QString)
        return fallback;
    bool ok = false;
    const double result = v.toDouble(&ok);
    return ok ? result : fallback;
}

double UserDefaults::real(const QString& key, double fallback, double lowest, double highest) const
{
    Q_ASSERT(lowest <= highest);
    const double stored = real(key, fallback);
    return std::clamp(std::isfinite(stored) ? stored : fallback, lowest, std::max(lowest, highest));
}

bool UserDefaults::boolean(const QString& key, bool fallback) const
{
    const QVariant v = value(key);
    if (isNumber(v))
        return v.toDouble() != 0.0;
    if (v.typeId() == QMetaType::QString) {
        const QString text = v.toString().trimmed().toLower();
        if (text == u"true" || text == u"yes" || text == u"1")
            return true;
        if (text == u"false" || text == u"no" || text == u"0")
            return false;
    }
    return fallback;
}

QVariantList UserDefaults::list(const QString& key, const QVariantList& fallback) const
{
    const QVariant v = value(key);
    return isListType(v) ? v.toList() : fallback;
}

QStringList UserDefaults::stringList(const QString& key, const QStringList& fallback) const
{
    const QVariant v = value(key);
    if (!isListType(v))
        return fallback;
    QStringList result;
    for (const QVariant& item : v.toList()) {
        if (item.typeId() != QMetaType::QString)
            return fallback;
        result.append(item.toString());
    }
    return result;
}

QVariantMap UserDefaults::map(const QString& key, const QVariantMap& fallback) const
{
    const QVariant v = value(key);
    return v.typeId() == QMetaType::QVariantMap ? v.toMap() : fallback;
}

QByteArray UserDefaults::data(const QString& key, const QByteArray& fallback) const
{
    const QVariant v = value(key);
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : fallback;
}

void UserDefaults::ensurePrivateFile()
{
    // QSettings makes a new file readable by everyone and its folder by the umask; the
    // settings are the user's alone. A file that exists keeps its mode on every replacement.
    const QString path = m_settings->fileName();
    if (QFileInfo::exists(path))
        return;
    const QFileInfo info(path);
    const QString folder = info.path();
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(QFileInfo(folder).path());
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile file(path);
    // When this fails, QSettings reports the same failure at its next write.
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        file.close();
}

void UserDefaults::setValue(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&m_mutex);
    ensurePrivateFile();
    if (value.isNull())
        m_settings->remove(key);
    else
        m_settings->setValue(key, value);
}

bool UserDefaults::setValueAndSynchronize(const QString& key, const QVariant& value)
{
    setValue(key, value);
    return synchronize();
}

void UserDefaults::remove(const QString& key)
{
    QMutexLocker lock(&m_mutex);
    ensurePrivateFile();
    m_settings->remove(key);
}

bool UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace platform
