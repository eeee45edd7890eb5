#include "app/share/MakerAddresses.h"

namespace MakerAddresses {

QStringList supportEmails()
{
    QStringList emails = QStringLiteral(MERVANE_SUPPORT_EMAILS).split(u',', Qt::SkipEmptyParts);
    for (QString& email : emails)
        email = email.trimmed();
    return emails;
}

QString informationEmail()
{
    return QStringLiteral(MERVANE_INFO_EMAIL);
}

QString socialHandle()
{
    return QStringLiteral(MERVANE_SOCIAL_HANDLE);
}

QUrl makerPage()
{
    return QUrl(QStringLiteral(MERVANE_MAKER_URL));
}

} // namespace MakerAddresses
