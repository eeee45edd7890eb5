#pragma once

#include "reports/print/PrintLayout.h"

#include <QSizeF>
#include <QString>

#include <functional>
#include <optional>

class MVX_NWLog;

/// What the net-worth statement shows: its record, the two records it is compared with (each
/// may be null) and how category IDs become names.
struct StatementContent {
    const MVX_NWLog* record = nullptr;
    const MVX_NWLog* pastMonthRecord = nullptr;
    const MVX_NWLog* pastYearRecord = nullptr;
    /// The name line; none is printed when it is empty.
    QString name;
    std::function<std::optional<QString>(const QString&)> assetName;
    std::function<std::optional<QString>(const QString&)> liabilityName;
};

/// The name a value of a category that no longer exists is printed under, so that the rows
/// still add up to the totals.
QString unknownCategoryName();

/// Places every part of the statement of `content.record` (not null) on pages of `pageSize`
/// points. Pure: reads only the content and the fonts.
PrintLayout layOutStatement(const StatementContent& content, const QSizeF& pageSize);
