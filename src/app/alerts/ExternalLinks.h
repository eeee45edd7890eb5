#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QObject;
class QWidget;

/// The product's addresses (set by the build) and the one way the application opens an
/// address the user asked for, so that tests can see what would be opened without starting a
/// browser. Main thread only.
namespace ExternalLinks {

/// The product's web page.
QUrl productPage();
/// The user manual, a PDF document on the web site.
QUrl userManual();

/// What the user is told when nothing opened `url`: the address (a mail's recipients) on a
/// line of its own, so that it can be selected and copied.
QString notOpenedText(const QUrl& url);

/// Hands `url` (http, https or mailto; any other is refused without a word) to the desktop:
/// to xdg-open when it is on the PATH, else to whatever browser or launcher Qt finds, or to the
/// test opener. When nothing took it, `notOpened` gets `notOpenedText(url)`: at once when
/// there is no launcher, later when the launcher ends in failure (it has no handler for the
/// address); never once `context` is gone.
void open(const QUrl& url, QObject* context, std::function<void(const QString&)> notOpened);
/// `open`, saying so in a message below `anchor` when nothing took the address.
void openFrom(const QUrl& url, QWidget* anchor);

/// Replaces the desktop: `opener` answers whether it took the address. An empty function
/// restores the desktop.
void setOpenerForTesting(std::function<bool(const QUrl&)> opener);

} // namespace ExternalLinks
