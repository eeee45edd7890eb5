#include "platform/XMLParser.h"

#include <QXmlStreamReader>

namespace platform {

XMLParser::XMLParser(QByteArray data) : m_data(std::move(data))
{
}

bool XMLParser::parse()
{
    m_aborted = false;
    m_parserError.clear();
    QXmlStreamReader reader(m_data);
    reader.setNamespaceProcessing(m_shouldProcessNamespaces);
    XMLParserDelegate fallback;
    XMLParserDelegate& delegate = m_delegate ? *m_delegate : fallback;

    bool sawDocumentEnd = false;
    while (!reader.atEnd() && !m_aborted) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            delegate.parserDidStartDocument(*this);
            break;
        case QXmlStreamReader::StartElement: {
            QMap<QString, QString> attributes;
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                attributes.insert(attribute.qualifiedName().toString(), attribute.value().toString());
            if (m_shouldProcessNamespaces) {
                delegate.didStartElement(*this, reader.name().toString(), reader.namespaceUri().toString(),
                    reader.qualifiedName().toString(), attributes);
            } else {
                const QString name = reader.qualifiedName().toString();
                delegate.didStartElement(*this, name, QString(), name, attributes);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (m_shouldProcessNamespaces) {
                delegate.didEndElement(*this, reader.name().toString(), reader.namespaceUri().toString(),
                    reader.qualifiedName().toString());
            } else {
                const QString name = reader.qualifiedName().toString();
                delegate.didEndElement(*this, name, QString(), name);
            }
            break;
        case QXmlStreamReader::Characters:
            delegate.foundCharacters(*this, reader.text().toString());
            break;
        case QXmlStreamReader::EndDocument:
            sawDocumentEnd = true;
            break;
        default:
            break;
        }
    }
    if (m_aborted) {
        m_parserError = QStringLiteral("The parse was aborted.");
    } else if (reader.hasError()) {
        m_parserError = QStringLiteral("%1 (line %2, column %3)")
                            .arg(reader.errorString())
                            .arg(reader.lineNumber())
                            .arg(reader.columnNumber());
    } else if (!sawDocumentEnd) {
        m_parserError = QStringLiteral("The document is empty.");
    }
    if (!m_parserError.isNull()) {
        delegate.parseErrorOccurred(*this, m_parserError);
        return false;
    }
    delegate.parserDidEndDocument(*this);
    return true;
}

} // namespace platform
