#pragma once

#include "uikit/window/DIDeviceInfo_Common.h"

#include <QString>
#include <QStringList>
#include <QUrl>

/// The two mails to the maker, and the mailto: address that hands one to the mail program.
namespace MailDrafts {

struct Draft {
    QStringList recipients;
    /// Null for none.
    QString subject;
    /// Empty for none; lines end in "\n".
    QString body;
};

/// What the issue report says of the computer.
struct Diagnostics {
    /// The kernel's release; 0.0.0 when unknown.
    DIOSVersion osVersion;
    QString systemInfo;
    /// GiB.
    double physicalMemory = 0;
    QString screenSizeName;
    QString screenPixelSize;
    QString screenResolutionName;
};

/// The running computer's, from the kit's device information: the hardware model (when the
/// firmware names one), the system and the processor architecture; the primary screen.
Diagnostics currentDiagnostics();

/// The issue report to the support addresses: "Issue Report: Mervane 2 - <version>" (no
/// subject for an empty `version`), the questions and the diagnostics.
Draft issueReport(const QString& version, const Diagnostics& diagnostics);
/// The feature request to the information address, without a body.
Draft featureRequest(const QString& version);

/// "mailto:<to>?subject=...&body=..." (RFC 6068): each address, the subject and the body are
/// percent-encoded on their own, so that no text in them can end its field or add another;
/// line breaks in the body are sent as CRLF, and the subject is kept to one line.
QUrl mailtoUrl(const Draft& draft);

} // namespace MailDrafts
