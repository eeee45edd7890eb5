#pragma once

#include <QUrl>

#include <functional>

/// The product's addresses (set by the build) and the one way the shell opens them, so that
/// tests can see what would be opened without starting a browser.
namespace ExternalLinks {

/// The product's web page.
QUrl productPage();
/// The user manual, a PDF document on the web site.
QUrl userManual();

/// Opens `url` with the desktop's default handler (or the test opener); returns whether it
/// was handed over.
bool open(const QUrl& url);
/// Replaces the desktop handler; an empty function restores it.
void setOpenerForTesting(std::function<bool(const QUrl&)> opener);

} // namespace ExternalLinks
