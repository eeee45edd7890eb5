#pragma once

#include <QByteArray>
#include <QFile>

/// A size in bytes that this process's status gives under `key` ("VmRSS:", "VmHWM:"), or 0.
inline qint64 statusBytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}
