#pragma once

#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"

#include <QFile>

namespace mervane::test {

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

/// The store's model as CSV text; empty when the export fails.
inline QByteArray exportedText(NWData& store)
{
    QString error;
    const std::optional<QByteArray> text = store.csvText(&error);
    EXPECT_TRUE(text) << error.toStdString();
    return text.value_or(QByteArray());
}

} // namespace mervane::test
