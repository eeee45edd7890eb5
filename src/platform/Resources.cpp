#include "platform/Resources.h"

#include "platform/Appearance.h"

#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

struct ColorPair {
    QColor light;
    QColor dark;
};

const QHash<QString, ColorPair>& colorTable()
{
    static const QHash<QString, ColorPair> table = [] {
        QHash<QString, ColorPair> result;
        QFile file(u":/colors.json"_s);
        if (!file.open(QIODevice::ReadOnly))
            return result;
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = root.begin(); it != root.end(); ++it) {
            const QJsonObject entry = it.value().toObject();
            const auto light = colorFromRgbaHex(entry.value(u"light"_s).toString());
            const auto dark = colorFromRgbaHex(entry.value(u"dark"_s).toString());
            if (light && dark)
                result.insert(it.key(), ColorPair { *light, *dark });
        }
        return result;
    }();
    return table;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Where a resource image came from, kept in the image so that it can be rendered again
// for another device pixel ratio.
const QString sourceNameKey = u"mervane-resource"_s;

QImage renderImage(const QString& name, const QSize& size, qreal ratio)
{
    for (const char16_t* suffix : { u".svg", u".png" }) {
        const QString path = u":/images/"_s + name + QString::fromUtf16(suffix);
        if (!QFile::exists(path))
            continue;
        QImageReader reader(path);
        const QSize points = size.isValid() ? size : reader.size();
        if (points.isValid())
            reader.setScaledSize((QSizeF(points) * ratio).toSize());
        QImage result = reader.read();
        if (result.isNull())
            continue;
        result.setDevicePixelRatio(ratio);
        result.setText(sourceNameKey, name);
        return result;
    }
    return {};
}

} // namespace

std::optional<QColor> colorFromRgbaHex(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (text.size() != 6 && text.size() != 8)
        return std::nullopt;
    int channels[4] = { 0, 0, 0, 255 };
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]);
        const int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[i / 2] = high * 16 + low;
    }
    return QColor(channels[0], channels[1], channels[2], channels[3]);
}

QColor namedColor(const QString& name)
{
    return namedColor(name, isDarkAppearance());
}

QColor namedColor(const QString& name, bool dark)
{
    const auto& table = colorTable();
    const auto it = table.constFind(name);
    if (it == table.constEnd())
        return {};
    return dark ? it->dark : it->light;
}

QImage image(const QString& name, const QSize& size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QString key = name + u'@' + QString::number(size.width()) + u'x' + QString::number(size.height())
        + u'@' + QString::number(ratio);
    static QMutex mutex;
    static QHash<QString, QImage> rendered;
    {
        const QMutexLocker lock(&mutex);
        const auto it = rendered.constFind(key);
        if (it != rendered.constEnd())
            return *it;
    }
    QImage result = renderImage(name, size, ratio);
    if (!result.isNull()) {
        const QMutexLocker lock(&mutex);
        rendered.insert(key, result);
    }
    return result;
}

QImage imageForDevicePixelRatio(const QImage& image, qreal devicePixelRatio)
{
    const QString name = image.text(sourceNameKey);
    if (name.isEmpty() || devicePixelRatio <= 0 || qFuzzyCompare(image.devicePixelRatio(), devicePixelRatio))
        return image;
    const QImage again = platform::image(name, image.deviceIndependentSize().toSize(), devicePixelRatio);
    return again.isNull() ? image : again;
}

} // namespace platform
