#include "app/alerts/ExternalLinks.h"

#include "app/alerts/MessagePopover.h"
#include "platform/Strings.h"
#include "uikit/extensions/AttributedStringHyperlink.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace ExternalLinks {
namespace {

std::function<bool(const QUrl&)>& testOpener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

// Qt hands the address to xdg-open, when there is one, without waiting for its answer, and
// xdg-open is what finds out that no program handles the address: it is run here instead,
// so that its failure reaches the user.
void launch(const QString& launcher, const QUrl& url, const std::function<void()>& failed)
{
    // Gone at the latest with the application; a launcher still waiting then on the browser it
    // started ends, the browser stays.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(launcher);
    process->setArguments({ url.toString(QUrl::FullyEncoded) });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(
        process, &QProcess::finished, process, [process, failed](int exitCode, QProcess::ExitStatus status) {
            if (status != QProcess::NormalExit || exitCode != 0)
                failed();
            process->deleteLater();
        });
    QObject::connect(
        process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            failed();
            process->deleteLater();
        });
    process->start();
    process->closeWriteChannel();
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

QString notOpenedText(const QUrl& url)
{
    if (url.scheme().compare(u"mailto"_s, Qt::CaseInsensitive) == 0) {
        QStringList recipients;
        for (const QByteArray& address : url.path(QUrl::FullyEncoded).toUtf8().split(','))
            recipients.append(QUrl::fromPercentEncoding(address));
        return platform::Strings::tr("No mail program took the mail. Please write to:\n%1")
            .arg(recipients.join(u", "_s));
    }
    return platform::Strings::tr("No web browser opened the page. Copy its address into one:\n%1")
        .arg(url.toString());
}

void open(const QUrl& url, QObject* context, std::function<void(const QString&)> notOpened)
{
    if (!AttributedStringHyperlink::isOpenable(url)) {
        qWarning("Not opening '%s': only web and mail addresses are opened", qPrintable(url.toString()));
        return;
    }
    const QPointer<QObject> alive(context);
    const auto failed = [alive, url, notOpened = std::move(notOpened)] {
        if (alive && notOpened)
            notOpened(notOpenedText(url));
    };
    if (testOpener()) {
        if (!testOpener()(url))
            failed();
        return;
    }
    const QString xdgOpen = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (!xdgOpen.isEmpty())
        launch(xdgOpen, url, failed);
    else if (!QDesktopServices::openUrl(url))
        failed();
}

void openFrom(const QUrl& url, QWidget* anchor)
{
    open(url, anchor, [anchor](const QString& text) {
        // One message per window, gone with it.
        QWidget* window = anchor->window();
        auto* messages = window->findChild<MessagePopover*>(u"linkMessages"_s, Qt::FindDirectChildrenOnly);
        if (!messages) {
            messages = new MessagePopover(window);
            messages->setObjectName(u"linkMessages"_s);
        }
        messages->showMessage(text, anchor);
    });
}

void setOpenerForTesting(std::function<bool(const QUrl&)> opener)
{
    testOpener() = std::move(opener);
}

} // namespace ExternalLinks
