#pragma once

#include "app/shell/SingleInstance.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace mervane::test {

/// A start from `path` as another process makes it. It blocks while it waits for the answer,
/// so it runs on a thread of its own and this one keeps the holder's event loop going. None
/// when the start did not end.
inline std::optional<platform::Expected<SingleInstance::Claim>> claimElsewhere(
    const QString& path, int answerTimeoutMs = 30000)
{
    std::optional<platform::Expected<SingleInstance::Claim>> claim;
    std::unique_ptr<QThread> start(QThread::create([&] {
        SingleInstance instance(path);
        claim = instance.tryAcquire(answerTimeoutMs);
    }));
    QEventLoop loop;
    QObject::connect(start.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(answerTimeoutMs + 30000, &loop, &QEventLoop::quit);
    start->start();
    loop.exec();
    if (!start->wait(30000))
        return std::nullopt;
    return claim;
}

/// Makes `link` another name of the file at `path`; false when the system refused.
inline bool hardLink(const QString& path, const QString& link)
{
    return ::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) == 0;
}

/// The names in the runtime folder that lead to `socket`.
inline QStringList namesLeadingTo(const QString& socket)
{
    QStringList names;
    for (const QFileInfo& entry : QDir(QFileInfo(socket).path()).entryInfoList(QDir::System | QDir::Files)) {
        if (entry.isSymLink() && entry.symLinkTarget() == socket)
            names.append(entry.fileName());
    }
    return names;
}

/// The names in the runtime folder that lead to the socket of the holder of `dataFile`.
inline QStringList namesLeadingToHolder(const QString& dataFile)
{
    return namesLeadingTo(SingleInstance::serverName(dataFile));
}

/// The inode of the file at `path`, 0 when nothing is there.
inline quint64 inodeOf(const QString& path)
{
    struct stat status { };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? quint64(status.st_ino) : 0;
}

} // namespace mervane::test
