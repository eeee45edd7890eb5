#include "platform/XMLParser.h"

#include <gtest/gtest.h>

#include <QStringList>

using platform::XMLParser;

namespace {

// Writes every event as one line, so a test compares the whole sequence at once.
class Recorder : public platform::XMLParserDelegate {
public:
    QStringList events;
    void parserDidStartDocument(XMLParser&) override { events << QStringLiteral("start"); }
    void didStartElement(XMLParser&, const QString& name, const QString& uri, const QString& qualified,
        const QMap<QString, QString>& attributes) override
    {
        QStringList pairs;
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
            pairs << it.key() + u'=' + it.value();
        events << QStringLiteral("<%1|%2|%3 %4").arg(name, uri, qualified, pairs.join(u','));
    }
    void didEndElement(XMLParser&, const QString& name, const QString&, const QString&) override
    {
        events << u"</"_qs + name;
    }
    void parserDidEndDocument(XMLParser&) override { events << QStringLiteral("end"); }
    void parseErrorOccurred(XMLParser&, const QString&) override { events << QStringLiteral("error"); }
};

const QByteArray document = R"(<?xml version="1.0"?>
<e:Root xmlns:e="urn:e" xmlns="urn:d"><Cube a="1" e:b="2"/></e:Root>)";

QStringList eventsOf(const QByteArray& data, bool namespaces)
{
    XMLParser parser(data);
    Recorder recorder;
    parser.setDelegate(&recorder);
    parser.setShouldProcessNamespaces(namespaces);
    const bool parsed = parser.parse();
    EXPECT_EQ(parsed, parser.parserError().isNull());
    return recorder.events;
}

} // namespace

TEST(XMLParser, ReportsLocalNamesAndNamespacesOnlyWhenProcessingThem)
{
    EXPECT_EQ(eventsOf(document, true),
        QStringList({ u"start"_qs, u"<Root|urn:e|e:Root "_qs, u"<Cube|urn:d|Cube a=1,e:b=2"_qs, u"</Cube"_qs,
            u"</Root"_qs, u"end"_qs }));
    // Without namespace processing the declarations are plain attributes.
    EXPECT_EQ(eventsOf(document, false).at(1), u"<e:Root||e:Root xmlns=urn:d,xmlns:e=urn:e"_qs);
}

TEST(XMLParser, RejectedDocumentsEndInOneErrorAndNeverInTheDocumentEnd)
{
    const QByteArray bad[] = {
        "",
        "<a><b></a>",
        "<a><b/>", // truncated
        "<a/><b/>", // two roots
        "not xml at all",
        // Entities that would expand to gigabytes.
        R"(<!DOCTYPE l [<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
           <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
           <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
           <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
           <!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">]><l>&e;&e;&e;</l>)",
    };
    for (const QByteArray& data : bad) {
        const QStringList events = eventsOf(data, true);
        EXPECT_EQ(events.count(u"error"_qs), 1) << data.constData();
        EXPECT_FALSE(events.contains(u"end"_qs)) << data.constData();
    }
}

TEST(XMLParser, AbortingFromACallbackStopsTheParse)
{
    class Aborter : public Recorder {
        void didStartElement(XMLParser& parser, const QString& name, const QString& uri,
            const QString& qualified, const QMap<QString, QString>& attributes) override
        {
            Recorder::didStartElement(parser, name, uri, qualified, attributes);
            parser.abortParsing();
        }
    } aborter;
    XMLParser parser(document);
    parser.setDelegate(&aborter);
    EXPECT_FALSE(parser.parse());
    EXPECT_EQ(aborter.events.filter(u"<"_qs).size(), 1);
    EXPECT_EQ(aborter.events.last(), u"error"_qs);
}
