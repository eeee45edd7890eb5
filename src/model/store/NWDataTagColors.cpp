#include "model/store/NWData.h"

using namespace Qt::Literals::StringLiterals;

QHash<QString, QColor> NWData::makeTagColors()
{
    struct Entry {
        const char16_t* name;
        QColor fill;
        QColor line;
        QColor text;
    };
    const QColor black(Qt::black);
    const QColor darkGray = QColor::fromRgbF(0.3f, 0.3f, 0.3f);
    const QColor midGray = QColor::fromRgbF(0.56f, 0.56f, 0.57f);
    // The tokens' small text reads at 4.5:1 on its fill: where white or the mid grey did not
    // (1.3 to 3:1), the text is black or dark grey, and the fills keep the tags' colours.
    const Entry entries[] = {
        { u"BLUE", QColor::fromRgbF(0.29f, 0.75f, 0.97f), QColor::fromRgbF(0.12f, 0.69f, 0.96f), black },
        { u"RED", QColor::fromRgbF(0.99f, 0.38f, 0.36f), QColor::fromRgbF(0.99f, 0.25f, 0.24f), black },
        { u"YELLOW", QColor::fromRgbF(1.0f, 0.83f, 0.32f), QColor::fromRgbF(1.0f, 0.79f, 0.15f), darkGray },
        { u"ORANGE", QColor::fromRgbF(1.0f, 0.66f, 0.29f), QColor::fromRgbF(1.0f, 0.59f, 0.15f), black },
        { u"GREEN", QColor::fromRgbF(0.53f, 0.87f, 0.41f), QColor::fromRgbF(0.43f, 0.85f, 0.29f), darkGray },
        { u"PINK", QColor::fromRgbF(0.83f, 0.57f, 0.9f), QColor::fromRgbF(0.79f, 0.47f, 0.87f), black },
        { u"GRAY", QColor::fromRgbF(0.64f, 0.64f, 0.65f), midGray, black },
        { u"WHITE", QColor::fromRgbF(0.9f, 0.9f, 0.9f), midGray, darkGray },
    };
    QHash<QString, QColor> colors;
    for (const Entry& entry : entries) {
        const QString name = QString::fromUtf16(entry.name);
        colors.insert(name, entry.fill);
        colors.insert(name + u"_LINE"_s, entry.line);
        colors.insert(name + u"_TEXT"_s, entry.text);
    }
    return colors;
}
