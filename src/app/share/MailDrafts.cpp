#include "app/share/MailDrafts.h"

#include "app/share/MakerAddresses.h"
#include "uikit/window/DIDeviceInfo.h"
#include "uikit/window/OSVMacVersion.h"

#include <QRegularExpression>
#include <QSysInfo>

using namespace Qt::Literals::StringLiterals;

namespace MailDrafts {

Diagnostics currentDiagnostics()
{
    const DIDeviceInfo& device = DIDeviceInfo::deviceInfo();
    QStringList system { QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture() };
    if (!device.rawSystemInfoString().isEmpty())
        system.prepend(device.rawSystemInfoString());
    const QSizeF pixels = OSVMacVersion::deviceScreenResolutionPixelSize();
    return { device.osVersion(), system.join(u", "_s), device.physicalMemory(),
        OSVMacVersion::deviceSizeName(OSVMacVersion::deviceSize()),
        u"%1x%2"_s.arg(qRound(pixels.width())).arg(qRound(pixels.height())),
        OSVMacVersion::deviceScreenResolutionName(OSVMacVersion::deviceScreenResolution()) };
}

Draft issueReport(const QString& version, const Diagnostics& diagnostics)
{
    Draft draft;
    draft.recipients = MakerAddresses::supportEmails();
    if (!version.isEmpty())
        draft.subject = u"Issue Report: Mervane 2 - %1"_s.arg(version);

    const DIOSVersion& os = diagnostics.osVersion;
    draft.body = u"What I did:\n\n\n\n\n"_s + u"What happened:\n\n\n\n\n"_s + u"What I expected:\n\n\n\n\n"_s
        + u"Diagnostics:\n-----------------------------------------------\n"_s
        + u"Linux %1.%2.%3\n"_s.arg(os.major).arg(os.minor).arg(os.patch)
        + u"SystemInfo: %1\n"_s.arg(diagnostics.systemInfo)
        + u"RAM: %1 GB\n"_s.arg(diagnostics.physicalMemory, 0, 'f', 1)
        + u"Screen: %1 %2 %3\n"_s.arg(
            diagnostics.screenSizeName, diagnostics.screenPixelSize, diagnostics.screenResolutionName);
    return draft;
}

Draft featureRequest(const QString& version)
{
    Draft draft;
    draft.recipients = { MakerAddresses::informationEmail() };
    if (!version.isEmpty())
        draft.subject = u"Mervane %1 for Mac - feature request"_s.arg(version);
    return draft;
}

QUrl mailtoUrl(const Draft& draft)
{
    QByteArrayList to;
    for (const QString& address : draft.recipients)
        to.append(QUrl::toPercentEncoding(address, "@"));
    QByteArrayList fields;
    if (!draft.subject.isNull()) {
        // One line: a break in a subject could start a header of its own in a mail program.
        static const QRegularExpression lineBreaks(u"[\r\n]+"_s);
        fields.append(
            "subject=" + QUrl::toPercentEncoding(QString(draft.subject).replace(lineBreaks, u" "_s)));
    }
    if (!draft.body.isEmpty()) {
        QString body = draft.body;
        body.replace(u"\r\n"_s, u"\n"_s).replace(u'\n', u"\r\n"_s);
        fields.append("body=" + QUrl::toPercentEncoding(body));
    }
    QByteArray encoded = "mailto:" + to.join(',');
    if (!fields.isEmpty())
        encoded += '?' + fields.join('&');
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

} // namespace MailDrafts
