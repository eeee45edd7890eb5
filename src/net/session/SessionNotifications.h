#pragma once

#include <QString>

// The session layer's notifications and the completion notification's user-info keys.
namespace notifications {

/// Posted on the calling thread by every task whose resume or suspend changed its state.
inline const QString sessionTaskDidResume = QStringLiteral("kitnet.networking.nsurlsessiontask.resume");
inline const QString sessionTaskDidSuspend = QStringLiteral("kitnet.networking.nsurlsessiontask.suspend");

/// Posted on the main thread by a session manager for its own tasks.
inline const QString taskDidResume = QStringLiteral("kitnet.networking.task.resume");
inline const QString taskDidSuspend = QStringLiteral("kitnet.networking.task.suspend");
inline const QString taskDidComplete = QStringLiteral("kitnet.networking.task.complete");
/// Posted on the manager's delegate queue.
inline const QString sessionDidInvalidate = QStringLiteral("kitnet.networking.session.invalidate");
inline const QString downloadDidFailToMoveFile
    = QStringLiteral("kitnet.networking.session.download.file-manager-error");

inline const QString taskDidCompleteResponseSerializerKey
    = QStringLiteral("kitnet.networking.task.complete.responseserializer");
inline const QString taskDidCompleteAssetPathKey
    = QStringLiteral("kitnet.networking.task.complete.assetpath");
inline const QString taskDidCompleteResponseDataKey
    = QStringLiteral("kitnet.networking.complete.finish.responsedata");
inline const QString taskDidCompleteErrorKey = QStringLiteral("kitnet.networking.task.complete.error");
inline const QString taskDidCompleteSerializedResponseKey
    = QStringLiteral("kitnet.networking.task.complete.serializedresponse");

} // namespace notifications
