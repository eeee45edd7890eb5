#include "app/alerts/ExternalLinks.h"

#include <QDesktopServices>

namespace ExternalLinks {
namespace {
std::function<bool(const QUrl&)>& testOpener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}
} // namespace

QUrl productPage()
{
    return QUrl(QStringLiteral(MERVANE_WEBSITE_URL));
}

QUrl userManual()
{
    return QUrl(QStringLiteral(MERVANE_MANUAL_URL));
}

bool open(const QUrl& url)
{
    if (testOpener())
        return testOpener()(url);
    return QDesktopServices::openUrl(url);
}

void setOpenerForTesting(std::function<bool(const QUrl&)> opener)
{
    testOpener() = std::move(opener);
}

} // namespace ExternalLinks
