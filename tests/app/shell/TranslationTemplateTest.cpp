#include "app/shell/AppScreens.h"
#include "app/shell/TitleBarLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Message {
    QString source;
    bool numerus = false;
    QString location;
    QString translation;
};

// Runs the build's template step into a temporary file and reads it back, by context.
class TranslationTemplate : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString output = m_dir.filePath(u"mervane.ts"_s);
        QProcess step;
        step.setProcessChannelMode(QProcess::MergedChannels);
        step.start(QStringLiteral(MERVANE_CMAKE),
            { u"-DLUPDATE="_s + QStringLiteral(MERVANE_LUPDATE),
                u"-DSOURCE_DIR="_s + QStringLiteral(MERVANE_SOURCE_DIR), u"-DOUTPUT="_s + output, u"-P"_s,
                QStringLiteral(MERVANE_TRANSLATION_SCRIPT) });
        ASSERT_TRUE(step.waitForFinished(120'000));
        ASSERT_EQ(step.exitCode(), 0) << step.readAll().toStdString();
        QFile file(output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        read(file);
    }

    void read(QFile& file)
    {
        QXmlStreamReader xml(&file);
        QString context;
        QString lastFile;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto name = xml.name();
            if (name == u"name") {
                context = xml.readElementText();
            } else if (name == u"message") {
                m_contexts[context].push_back({});
                m_contexts[context].back().numerus
                    = xml.attributes().value(QLatin1StringView("numerus")) == u"yes";
            } else if (name == u"location") {
                // Later locations in the same file leave the file name out.
                if (xml.attributes().hasAttribute(QLatin1StringView("filename")))
                    lastFile = xml.attributes().value(QLatin1StringView("filename")).toString();
                if (m_contexts[context].back().location.isEmpty())
                    m_contexts[context].back().location = lastFile;
            } else if (name == u"source") {
                m_contexts[context].back().source = xml.readElementText();
            } else if (name == u"translation") {
                m_contexts[context].back().translation
                    = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        }
        ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }

    const Message* find(const QString& context, const QString& source) const
    {
        const auto it = m_contexts.find(context);
        if (it == m_contexts.end())
            return nullptr;
        for (const Message& message : it->second) {
            if (message.source == source)
                return &message;
        }
        return nullptr;
    }

    QTemporaryDir m_dir;
    std::map<QString, std::vector<Message>> m_contexts;
};

TEST_F(TranslationTemplate, HoldsTheShellsTextsInTheStringsTable)
{
    // Written with Strings::tr where shown.
    for (const QString& text : { u"Confirm deleting of all application data"_s,
             u"Open the Mervane user manual (PDF) from our web site?"_s,
             u"The lock file \"%1\" could not be made."_s,
             u"Mervane could not read all of your data file:"_s }) {
        const Message* message = find(u"mervanemac"_s, text);
        ASSERT_TRUE(message) << qPrintable(text);
        EXPECT_FALSE(message->numerus) << qPrintable(text);
        EXPECT_TRUE(message->location.contains(u"src/app/"_s)) << qPrintable(message->location);
    }
    // Kept in tables and marked where defined: every tooltip must be there, or it would
    // stay English in every language.
    for (const auto& spec : TitleBarLayout::buttons)
        EXPECT_TRUE(find(u"mervanemac"_s, QString::fromUtf8(spec.tooltip))) << spec.tooltip;
    for (const auto& info : appScreens)
        EXPECT_TRUE(find(u"mervanemac"_s, QString::fromUtf8(info.tooltip))) << info.tooltip;
}

TEST_F(TranslationTemplate, IsASourceOnlyTemplateWithRelativeLocations)
{
    ASSERT_FALSE(m_contexts.empty());
    for (const auto& [context, messages] : m_contexts) {
        for (const Message& message : messages) {
            EXPECT_TRUE(message.translation.trimmed().isEmpty()) << qPrintable(message.source);
            EXPECT_FALSE(message.location.isEmpty()) << qPrintable(message.source);
            EXPECT_FALSE(message.location.startsWith(u'/')) << qPrintable(message.location);
        }
    }
}

// Qt chooses a singular only from a translation: every text about a count needs its
// English forms in mervane_en.ts, which the application builds in and installs.
TEST_F(TranslationTemplate, EveryTextAboutACountHasItsEnglishForms)
{
    QFile english(QStringLiteral(MERVANE_SOURCE_DIR) + u"/resources/translations/mervane_en.ts"_s);
    ASSERT_TRUE(english.open(QIODevice::ReadOnly));
    std::map<QString, QStringList> forms;
    QXmlStreamReader xml(&english);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"source")
            source = xml.readElementText();
        else if (xml.name() == u"numerusform")
            forms[source].append(xml.readElementText());
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    int counted = 0;
    for (const Message& message : m_contexts[u"mervanemac"_s]) {
        if (!message.numerus)
            continue;
        ++counted;
        const auto it = forms.find(message.source);
        ASSERT_NE(it, forms.end()) << "no English forms for " << qPrintable(message.source);
        ASSERT_EQ(it->second.size(), 2) << qPrintable(message.source);
        const QByteArray key = message.source.toUtf8();
        EXPECT_EQ(QCoreApplication::translate("mervanemac", key.constData(), nullptr, 1), it->second[0]);
        EXPECT_EQ(QCoreApplication::translate("mervanemac", key.constData(), nullptr, 3),
            QString(it->second[1]).replace(u"%n"_s, u"3"_s));
    }
    EXPECT_GT(counted, 0);
    // Forms of texts the code no longer has are stale.
    for (const auto& [text, _] : forms)
        EXPECT_TRUE(find(u"mervanemac"_s, text)) << "stale English forms for " << qPrintable(text);
}

} // namespace
