// The issue report and the feature request as the mail program receives them: the mailto:
// address is taken apart by hand, as RFC 6068 says a reader does.

#include "ShareTestSupport.h"

#include "app/share/MailDrafts.h"
#include "app/share/MakerAddresses.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

const QString hyphens47 = u"-----------------------------------------------"_s;

MailDrafts::Diagnostics diagnostics(DIOSVersion os, const QString& system, double memory)
{
    return { os, system, memory, u"24 inch"_s, u"1920x1080"_s, u"Non-retina screen"_s };
}

QString expectedBody(const QString& diagnostics)
{
    return u"What I did:\n\n\n\n\nWhat happened:\n\n\n\n\nWhat I expected:\n\n\n\n\nDiagnostics:\n"_s
        + hyphens47 + u"\n"_s + diagnostics;
}

TEST(MailDrafts, IssueReportReachesTheMailProgramWordForWord)
{
    const QUrl url = MailDrafts::mailtoUrl(MailDrafts::issueReport(
        u"0.1.0"_s, diagnostics({ 6, 1, 76 }, u"Debian GNU/Linux 12 (bookworm), x86_64"_s, 15.64)));
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_EQ(url.scheme(), u"mailto"_s);

    const DecodedMail mail = decodeMailto(url);
    EXPECT_EQ(mail.recipients, MakerAddresses::supportEmails());
    EXPECT_EQ(mail.recipients.size(), 2);
    EXPECT_EQ(mail.fieldOrder, (QStringList { u"subject"_s, u"body"_s }));
    EXPECT_EQ(mail.fields.at(u"subject"_s), u"Issue Report: Mervane 2 - 0.1.0"_s);
    EXPECT_EQ(mail.fields.at(u"body"_s),
        expectedBody(u"Linux 6.1.76\nSystemInfo: Debian GNU/Linux 12 (bookworm), x86_64\nRAM: 15.6 GB\n"
                     "Screen: 24 inch 1920x1080 Non-retina screen\n"_s));

    // Qt's own reader agrees, and every line break goes out as CRLF.
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Issue Report: Mervane 2 - 0.1.0"_s);
    const QString body = query.queryItemValue(u"body"_s, QUrl::FullyDecoded);
    EXPECT_TRUE(body.startsWith(u"What I did:\r\n\r\n\r\n\r\n\r\nWhat happened:"_s));
    EXPECT_EQ(body.count(u'\n'), body.count(u"\r\n"_s));
}

TEST(MailDrafts, HostileTextStaysInsideItsOwnField)
{
    const QString version = u"1.0&body=spoofed?cc=evil@example.com#top 100% \r\nBcc: x@y.z+"_s;
    const QString system = u"Box & Co?x=1#2 %41 50%\nextra line"_s;
    const QUrl url
        = MailDrafts::mailtoUrl(MailDrafts::issueReport(version, diagnostics({ 5, 10, 0 }, system, 8)));
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_FALSE(url.hasFragment());

    const DecodedMail mail = decodeMailto(url);
    EXPECT_FALSE(mail.hasFragment);
    EXPECT_EQ(mail.recipients, MakerAddresses::supportEmails());
    EXPECT_EQ(mail.fieldOrder, (QStringList { u"subject"_s, u"body"_s }));
    // A subject is one line: a line break in it could start a header of its own.
    EXPECT_EQ(mail.fields.at(u"subject"_s),
        u"Issue Report: Mervane 2 - 1.0&body=spoofed?cc=evil@example.com#top 100%  Bcc: x@y.z+"_s);
    EXPECT_EQ(mail.fields.at(u"body"_s),
        expectedBody(u"Linux 5.10.0\nSystemInfo: "_s + system
            + u"\nRAM: 8.0 GB\nScreen: 24 inch 1920x1080 Non-retina screen\n"_s));

    // Odd recipients cannot start the fields either.
    MailDrafts::Draft odd;
    odd.recipients = { u"a?b=c@example.com"_s, u"x#y&z@example.com"_s };
    odd.subject = u"50% off"_s;
    const DecodedMail oddMail = decodeMailto(MailDrafts::mailtoUrl(odd));
    EXPECT_EQ(oddMail.recipients, odd.recipients);
    EXPECT_EQ(oddMail.fieldOrder, QStringList { u"subject"_s });
    EXPECT_EQ(oddMail.fields.at(u"subject"_s), u"50% off"_s);
}

TEST(MailDrafts, FeatureRequestHasASubjectAndNoBody)
{
    const QUrl url = MailDrafts::mailtoUrl(MailDrafts::featureRequest(u"2.3.1"_s));
    const DecodedMail mail = decodeMailto(url);
    EXPECT_EQ(mail.recipients, QStringList { MakerAddresses::informationEmail() });
    EXPECT_EQ(mail.fieldOrder, QStringList { u"subject"_s });
    EXPECT_EQ(mail.fields.at(u"subject"_s), u"Mervane 2.3.1 for Mac - feature request"_s);
}

TEST(MailDrafts, WithoutAVersionNeitherMailHasASubject)
{
    const DecodedMail issue = decodeMailto(
        MailDrafts::mailtoUrl(MailDrafts::issueReport({}, diagnostics({ 6, 1, 0 }, u"Debian"_s, 4))));
    EXPECT_EQ(issue.fieldOrder, QStringList { u"body"_s });
    EXPECT_TRUE(issue.fields.at(u"body"_s).startsWith(u"What I did:"_s));

    const QUrl feature = MailDrafts::mailtoUrl(MailDrafts::featureRequest({}));
    EXPECT_EQ(feature.toEncoded(), "mailto:" + MakerAddresses::informationEmail().toUtf8());
}

TEST(MailDrafts, UnknownDeviceReadsAsZerosAndTheMemoryHasOneDecimal)
{
    const MailDrafts::Draft draft = MailDrafts::issueReport(u"1"_s, {});
    EXPECT_TRUE(draft.body.endsWith(
        u"Diagnostics:\n"_s + hyphens47 + u"\nLinux 0.0.0\nSystemInfo: \nRAM: 0.0 GB\nScreen:   \n"_s))
        << draft.body.toStdString();
    const QString body = MailDrafts::issueReport(u"1"_s, diagnostics({ 6, 12, 3 }, u"x"_s, 31.96)).body;
    EXPECT_TRUE(body.contains(u"\nLinux 6.12.3\nSystemInfo: x\nRAM: 32.0 GB\n"_s)) << body.toStdString();
}

TEST(MailDrafts, TheRunningComputerIsDescribed)
{
    const MailDrafts::Diagnostics here = MailDrafts::currentDiagnostics();
    EXPECT_GT(here.osVersion.major, 2u);
    EXPECT_TRUE(here.systemInfo.endsWith(QSysInfo::currentCpuArchitecture()))
        << here.systemInfo.toStdString();
    EXPECT_GT(here.physicalMemory, 0.1);
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QSize pixels = screen->geometry().size();
    EXPECT_EQ(here.screenPixelSize, u"%1x%2"_s.arg(pixels.width()).arg(pixels.height()));
    EXPECT_FALSE(here.screenSizeName.isEmpty());
    EXPECT_FALSE(here.screenResolutionName.isEmpty());
}

} // namespace
