#pragma once

#include "net/request/KNHTTPBodyPart.h"
#include "net/request/KNMultipartBodyStream.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace mervane::test {

/// Reads `device` to its end (or its failure) `chunk` bytes at a time.
inline QByteArray readToEnd(QIODevice& device, qint64 chunk)
{
    QByteArray all;
    QByteArray buffer(chunk, '\0');
    while (true) {
        const qint64 count = device.read(buffer.data(), chunk);
        if (count < 0 || (count == 0 && device.atEnd()))
            break;
        if (count == 0)
            continue; // a body device with nothing yet: these tests give none
        all.append(buffer.constData(), count);
    }
    return all;
}

/// A form field part with the given boundary, as the builder makes one.
inline std::unique_ptr<net::KNHTTPBodyPart> fieldPart(
    const QString& boundary, const QString& name, const QByteArray& value)
{
    auto part = std::make_unique<net::KNHTTPBodyPart>();
    part->setBoundary(boundary);
    part->setHeaders(
        { { QStringLiteral("Content-Disposition"), QStringLiteral("form-data; name=\"%1\"").arg(name) } });
    part->setBody(value);
    part->setBodyContentLength(quint64(value.size()));
    return part;
}

/// A fixture with a temporary folder to put the files of a multipart body in.
class TemporaryFilesTest : public ::testing::Test {
protected:
    /// Writes `bytes` to the file `name` in the folder and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

/// A random-access device that hands out `bytes`, then fails as a disk does.
class FailingReadDevice : public QIODevice {
public:
    explicit FailingReadDevice(QByteArray bytes) : m_bytes(std::move(bytes)) { }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 left = m_bytes.size() - m_offset;
        if (left <= 0) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 count = std::min(left, maxSize);
        std::memcpy(data, m_bytes.constData() + m_offset, size_t(count));
        m_offset += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_offset = 0;
};

} // namespace mervane::test
