#include "uikit/extensions/AttributedStringHyperlink.h"

using namespace Qt::Literals::StringLiterals;

bool AttributedStringHyperlink::isOpenable(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == u"http"_s || scheme == u"https"_s || scheme == u"mailto"_s;
}

QString AttributedStringHyperlink::hyperlinkFromString(
    const QString& text, const QUrl& url, const QColor& color)
{
    const QString shown = text.toHtmlEscaped();
    if (!isOpenable(url))
        return shown;
    return u"<a href=\""_s + url.toString(QUrl::FullyEncoded).toHtmlEscaped() + u"\" style=\"color:"_s
        + color.name() + u"; text-decoration:underline;\">"_s + shown + u"</a>"_s;
}
