#pragma once

#include <QByteArray>
#include <QMap>
#include <QMetaType>
#include <QString>

#include <memory>

namespace platform {

class XMLParser;

/// What a parser reports while it reads; every callback does nothing unless overridden.
class XMLParserDelegate {
public:
    virtual ~XMLParserDelegate() = default;
    virtual void parserDidStartDocument(XMLParser& parser) { static_cast<void>(parser); }
    /// `attributes` maps each attribute's qualified name to its value. With namespace
    /// processing on, `elementName` is the local name, `namespaceURI` the element's
    /// namespace and namespace declarations are not attributes; with it off, the element
    /// name is the qualified name and the namespace is null.
    virtual void didStartElement(XMLParser& parser, const QString& elementName, const QString& namespaceURI,
        const QString& qualifiedName, const QMap<QString, QString>& attributes)
    {
        static_cast<void>(parser), static_cast<void>(elementName), static_cast<void>(namespaceURI),
            static_cast<void>(qualifiedName), static_cast<void>(attributes);
    }
    virtual void didEndElement(XMLParser& parser, const QString& elementName, const QString& namespaceURI,
        const QString& qualifiedName)
    {
        static_cast<void>(parser), static_cast<void>(elementName), static_cast<void>(namespaceURI),
            static_cast<void>(qualifiedName);
    }
    virtual void foundCharacters(XMLParser& parser, const QString& text)
    {
        static_cast<void>(parser), static_cast<void>(text);
    }
    /// Only after the whole document was read without an error.
    virtual void parserDidEndDocument(XMLParser& parser) { static_cast<void>(parser); }
    virtual void parseErrorOccurred(XMLParser& parser, const QString& error)
    {
        static_cast<void>(parser), static_cast<void>(error);
    }
};

/// An event-style reader of one XML document held in memory. It resolves no external
/// entity and limits the expansion of internal ones. Not thread-safe; one parse at a time.
class XMLParser {
public:
    explicit XMLParser(QByteArray data);

    const QByteArray& data() const { return m_data; }
    bool shouldProcessNamespaces() const { return m_shouldProcessNamespaces; }
    void setShouldProcessNamespaces(bool process) { m_shouldProcessNamespaces = process; }
    /// Not owned; may be null (the document is then only checked).
    void setDelegate(XMLParserDelegate* delegate) { m_delegate = delegate; }
    XMLParserDelegate* delegate() const { return m_delegate; }

    /// Reads the whole document, calling the delegate on the way. Returns false, after
    /// `parseErrorOccurred`, for a document that is empty, malformed or truncated.
    bool parse();
    /// Stops a running parse after the current callback; `parse` then returns false.
    void abortParsing() { m_aborted = true; }
    /// The text of the last error; null after a successful parse.
    const QString& parserError() const { return m_parserError; }

private:
    QByteArray m_data;
    XMLParserDelegate* m_delegate = nullptr;
    bool m_shouldProcessNamespaces = false;
    bool m_aborted = false;
    QString m_parserError;
};

} // namespace platform

Q_DECLARE_METATYPE(std::shared_ptr<platform::XMLParser>)
