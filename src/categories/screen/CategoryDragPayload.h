#pragma once

#include <QString>

#include <optional>

class QMimeData;

/// What a row dragged in the category screen carries: its list, its row and its category,
/// under a MIME type of our own. It names this process too, so that a row dragged from
/// another running copy of the application is not taken for one of ours.
struct CategoryDragPayload {
    static inline const QString mimeType = QStringLiteral("application/x-mervane-category-row");

    bool isAsset = true;
    int row = -1;
    QString categoryID;

    /// New MIME data holding the payload (the caller owns it).
    QMimeData* toMimeData() const;
    /// The payload that `data` holds when it is one of ours, dragged in this process; none
    /// for anything else (text from another program, damaged or foreign bytes).
    static std::optional<CategoryDragPayload> fromMimeData(const QMimeData* data);
};
