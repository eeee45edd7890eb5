// The binary form: "bplist00", the objects, a table of their offsets, and a 32-byte
// trailer giving the sizes of offsets and object references, the object count, the top
// object and where the offset table starts. Every count and offset comes from the body,
// so each is checked before it is used.
#include "net/serialization/PropertyListReading.h"

#include "platform/Strings.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <cstring>
#include <vector>

namespace net::propertylist {
namespace {

constexpr qsizetype headerSize = 8;
constexpr qsizetype trailerSize = 32;

class BinaryReader {
public:
    explicit BinaryReader(const QByteArray& data) : m_data(data) { }

    platform::Expected<QVariant> read()
    {
        if (m_data.size() < headerSize + trailerSize)
            return fail();
        const qsizetype trailer = m_data.size() - trailerSize;
        m_end = quint64(trailer);
        m_offsetSize = byteAt(trailer + 6);
        m_refSize = byteAt(trailer + 7);
        const quint64 count = bigEndian(trailer + 8, 8);
        const quint64 top = bigEndian(trailer + 16, 8);
        m_offsetTable = bigEndian(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8 || count == 0
            || top >= count || m_offsetTable < headerSize || m_offsetTable > m_end
            || count > (m_end - m_offsetTable) / m_offsetSize)
            return fail();
        m_count = count;
        m_state.assign(count, State::Unread);
        m_objects.resize(count);
        QVariant value;
        if (!object(top, 0, value))
            return fail();
        return value;
    }

private:
    enum class State : quint8 { Unread, Reading, Read };

    platform::Unexpected fail() const
    {
        return platform::Unexpected(platform::Strings::tr("The binary property list is damaged"));
    }

    quint8 byteAt(qsizetype at) const { return quint8(m_data[at]); }

    // Callers check that [at, at + size) lies inside the body.
    quint64 bigEndian(qsizetype at, int size) const
    {
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | byteAt(at + i);
        return value;
    }

    bool inObjects(quint64 at, quint64 size) const
    {
        return at <= m_offsetTable && size <= m_offsetTable - at;
    }

    // An object's length: in the marker's low four bits, or, when they are all set, an
    // integer object that follows the marker.
    bool length(quint64& at, quint8 info, quint64& length) const
    {
        if (info != 0xF) {
            length = info;
            return true;
        }
        if (!inObjects(at, 1))
            return false;
        const quint8 marker = byteAt(qsizetype(at));
        if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
            return false;
        const int size = 1 << (marker & 0x0F);
        if (!inObjects(at + 1, quint64(size)))
            return false;
        length = bigEndian(qsizetype(at + 1), size);
        at += 1 + quint64(size);
        return true;
    }

    bool reference(quint64 at, quint64& index) const
    {
        index = bigEndian(qsizetype(at), m_refSize);
        return index < m_count;
    }

    bool object(quint64 index, int depth, QVariant& out)
    {
        if (m_state[index] == State::Read) {
            out = m_objects[index];
            return true;
        }
        // An object that contains itself, or nesting beyond what a document needs.
        if (m_state[index] == State::Reading || depth > maximumPropertyListDepth)
            return false;
        m_state[index] = State::Reading;
        const quint64 offset = bigEndian(qsizetype(m_offsetTable + index * m_offsetSize), m_offsetSize);
        if (offset < headerSize || !inObjects(offset, 1) || !value(offset, depth, out))
            return false;
        m_objects[index] = out;
        m_state[index] = State::Read;
        return true;
    }

    bool value(quint64 at, int depth, QVariant& out)
    {
        const quint8 marker = byteAt(qsizetype(at));
        const quint8 info = marker & 0x0F;
        ++at;
        switch (marker >> 4) {
        case 0x0:
            if (marker != 0x08 && marker != 0x09)
                return false;
            out = marker == 0x09;
            return true;
        case 0x1:
            return integer(at, info, out);
        case 0x2: {
            if (info != 2 && info != 3)
                return false;
            const int size = 1 << info;
            if (!inObjects(at, quint64(size)))
                return false;
            out = real(at, size);
            return true;
        }
        case 0x3: {
            if (marker != 0x33 || !inObjects(at, 8))
                return false;
            const double seconds = real(at, 8);
            // Seconds from 2001-01-01 UTC; beyond a few thousand years no date type holds it.
            if (!std::isfinite(seconds) || std::fabs(seconds) > 1e11)
                return false;
            const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
            out = reference.addMSecs(qint64(std::llround(seconds * 1000.0)));
            return true;
        }
        case 0x4:
        case 0x5:
        case 0x6: {
            quint64 count = 0;
            if (!length(at, info, count))
                return false;
            const quint64 unit = (marker >> 4) == 0x6 ? 2 : 1;
            if (count > (m_offsetTable - qMin(at, m_offsetTable)) / unit || !inObjects(at, count * unit))
                return false;
            const char* bytes = m_data.constData() + at;
            if ((marker >> 4) == 0x4) {
                out = QByteArray(bytes, qsizetype(count));
            } else if ((marker >> 4) == 0x5) {
                out = QString::fromLatin1(bytes, qsizetype(count));
            } else {
                QString text(qsizetype(count), Qt::Uninitialized);
                for (quint64 i = 0; i < count; ++i)
                    text[qsizetype(i)] = QChar(char16_t(bigEndian(qsizetype(at + 2 * i), 2)));
                out = text;
            }
            return true;
        }
        case 0x8: {
            const int size = info + 1;
            if (size > 8 || !inObjects(at, quint64(size)))
                return false;
            out = QVariantMap { { QStringLiteral("CF$UID"), bigEndian(qsizetype(at), size) } };
            return true;
        }
        case 0xA:
        case 0xC:
            return list(at, info, depth, out);
        case 0xD:
            return dictionary(at, info, depth, out);
        default:
            return false;
        }
    }

    bool integer(quint64 at, quint8 info, QVariant& out) const
    {
        if (info > 4)
            return false;
        const int size = 1 << info;
        if (!inObjects(at, quint64(size)))
            return false;
        if (size == 16) {
            // 128-bit: only values that fit 64 bits occur; the high half is a sign extension.
            const quint64 high = bigEndian(qsizetype(at), 8);
            const quint64 low = bigEndian(qsizetype(at + 8), 8);
            if (high == 0)
                out = low;
            else if (high == ~quint64(0) && qint64(low) < 0)
                out = qint64(low);
            else
                return false;
            return true;
        }
        const quint64 raw = bigEndian(qsizetype(at), size);
        // One, two and four bytes are unsigned; eight bytes are signed.
        out = qint64(raw);
        return true;
    }

    double real(quint64 at, int size) const
    {
        const quint64 raw = bigEndian(qsizetype(at), size);
        if (size == 4) {
            const auto bits = quint32(raw);
            float value = 0;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        double value = 0;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }

    bool list(quint64 at, quint8 info, int depth, QVariant& out)
    {
        quint64 count = 0;
        if (!length(at, info, count) || count > (m_offsetTable - qMin(at, m_offsetTable)) / m_refSize)
            return false;
        QVariantList elements;
        elements.reserve(qsizetype(count));
        for (quint64 i = 0; i < count; ++i) {
            quint64 index = 0;
            QVariant element;
            if (!reference(at + i * m_refSize, index) || !object(index, depth + 1, element))
                return false;
            elements.append(std::move(element));
        }
        out = elements;
        return true;
    }

    bool dictionary(quint64 at, quint8 info, int depth, QVariant& out)
    {
        quint64 count = 0;
        if (!length(at, info, count) || count > (m_offsetTable - qMin(at, m_offsetTable)) / m_refSize / 2)
            return false;
        QVariantMap map;
        for (quint64 i = 0; i < count; ++i) {
            quint64 keyIndex = 0;
            quint64 valueIndex = 0;
            QVariant key;
            QVariant element;
            if (!reference(at + i * m_refSize, keyIndex)
                || !reference(at + (count + i) * m_refSize, valueIndex) || !object(keyIndex, depth + 1, key)
                || key.metaType() != QMetaType::fromType<QString>()
                || !object(valueIndex, depth + 1, element))
                return false;
            map.insert(key.toString(), std::move(element));
        }
        out = map;
        return true;
    }

    const QByteArray& m_data;
    quint64 m_end = 0;
    quint64 m_offsetTable = 0;
    quint64 m_count = 0;
    int m_offsetSize = 0;
    int m_refSize = 0;
    std::vector<State> m_state;
    std::vector<QVariant> m_objects;
};

} // namespace

platform::Expected<QVariant> readBinary(const QByteArray& data)
{
    return BinaryReader(data).read();
}

} // namespace net::propertylist
