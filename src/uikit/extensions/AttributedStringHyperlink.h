#pragma once

#include <QColor>
#include <QString>
#include <QUrl>

/// Link texts for rich-text labels.
struct AttributedStringHyperlink {
    /// Rich text showing `text` (escaped, so user text appears as typed) as an underlined link
    /// to `url` in `color`. An address that is not http, https or mailto gives the escaped text
    /// without a link.
    static QString hyperlinkFromString(
        const QString& text, const QUrl& url, const QColor& color = QColor(0x0A, 0x60, 0xFF));
    /// Whether a link to `url` may be followed: http, https and mailto only.
    static bool isOpenable(const QUrl& url);
};
