#include "categories/screen/CategoryDragPayload.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace {

constexpr quint8 payloadVersion = 1;

} // namespace

QMimeData* CategoryDragPayload::toMimeData() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << payloadVersion << qint64(QCoreApplication::applicationPid()) << isAsset << qint32(row)
        << categoryID;
    auto* data = new QMimeData;
    data->setData(mimeType, bytes);
    return data;
}

std::optional<CategoryDragPayload> CategoryDragPayload::fromMimeData(const QMimeData* data)
{
    if (!data || !data->hasFormat(mimeType))
        return std::nullopt;
    const QByteArray bytes = data->data(mimeType);
    QDataStream in(bytes);
    quint8 version = 0;
    qint64 pid = 0;
    CategoryDragPayload payload;
    qint32 row = -1;
    in >> version >> pid >> payload.isAsset >> row >> payload.categoryID;
    if (in.status() != QDataStream::Ok || !in.atEnd() || version != payloadVersion
        || pid != QCoreApplication::applicationPid() || row < 0)
        return std::nullopt;
    payload.row = row;
    return payload;
}
