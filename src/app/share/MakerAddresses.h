#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

/// The maker's addresses, set by the build (the product page and the manual are
/// `ExternalLinks`').
namespace MakerAddresses {

/// The two addresses issue reports go to.
QStringList supportEmails();
/// The address feature requests go to.
QString informationEmail();
/// The maker's social handle, without the "@".
QString socialHandle();
/// The maker's web page, the about sheet's link.
QUrl makerPage();

} // namespace MakerAddresses
