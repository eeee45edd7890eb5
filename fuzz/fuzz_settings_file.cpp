// Feeds arbitrary bytes to the settings reader: a damaged settings file must read
// as empty or partial, never crash.
#include "FuzzApplication.h"
#include "platform/UserDefaults.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static QTemporaryDir dir;

    const QString path = dir.filePath(QStringLiteral("settings.cbor"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    platform::UserDefaults defaults(path);
    (void)defaults.integer(QStringLiteral("MaxAnnualYears"), 0);
    (void)defaults.stringList(QStringLiteral("NWFilterIDArrayKey"));
    (void)defaults.map(QStringLiteral("mcmain"));
    return 0;
}
