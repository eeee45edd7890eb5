#include "platform/Strings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace platform {

QString localized(const char* englishText)
{
    return QCoreApplication::translate(kStringsTable, englishText);
}

QString localized(const QString& englishText)
{
    const QByteArray key = englishText.toUtf8();
    return QCoreApplication::translate(kStringsTable, key.constData());
}

bool installTranslations()
{
    auto* app = QCoreApplication::instance();
    if (!app)
        return false;
    // English's own forms of the texts about counts ("1 record", "2 records") come first;
    // a translation of the user's language goes over them and wins where it has a text.
    const QString english = u":/translations/mervane_en.qm"_s;
    auto base = std::make_unique<QTranslator>(app);
    if (base->load(english))
        QCoreApplication::installTranslator(base.release());

    auto translator = std::make_unique<QTranslator>(app);
    QStringList folders { u":/translations"_s };
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders.append(dir + u"/translations"_s);
    for (const QString& folder : folders) {
        if (translator->load(QLocale(), u"mervane"_s, u"_"_s, folder)) {
            if (translator->filePath() == english)
                return false;
            QCoreApplication::installTranslator(translator.release());
            return true;
        }
    }
    return false;
}

} // namespace platform
