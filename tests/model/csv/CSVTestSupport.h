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
    const platform::Expected<QByteArray> text = store.csvText();
    EXPECT_TRUE(text) << text.errorIfAny().value_or(QString()).toStdString();
    return text.valueOr(QByteArray());
}

} // namespace mervane::test
