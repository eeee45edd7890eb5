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
    auto translator = std::make_unique<QTranslator>(app);
    QStringList folders { u":/translations"_s };
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders.append(dir + u"/translations"_s);
    for (const QString& folder : folders) {
        if (translator->load(QLocale(), u"mervane"_s, u"_"_s, folder)) {
            QCoreApplication::installTranslator(translator.release());
            return true;
        }
    }
    return false;
}

} // namespace platform
