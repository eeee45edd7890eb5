#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"
#include "platform/FileIO.h"

#include <QByteArray>
#include <QString>

#include <memory>

/// What reading a data document gave: the model and the parts left out of it.
struct ModelReadResult {
    /// The normalised model; never null.
    std::shared_ptr<MVX_Model> model;
    /// Elements left out because they could not be read (the rest of the document loaded).
    int unreadableRecords = 0;
    int unreadableCategories = 0;
    int unreadableTags = 0;
    int unreadableValues = 0;
    int unreadableTagReferences = 0;

    bool hasUnreadableParts() const;
    /// "2 records could not be read", joined with "; " over the kinds; empty when none.
    QString unreadableSummary() const;
};

/// The data document reader. Reading has no side effects: a failure leaves no partial
/// model, and nothing outside the result is changed. A document that cannot be read at
/// all comes back as the error text of the `Expected`.
///
/// The document must be UTF-8 text (a byte-order mark at its start is skipped), and no
/// object in it may name a member twice: either fails the whole document, since one of two
/// values would be lost or text would be changed without a word.
///
/// The reader is strict about types (a string where a number belongs makes its element
/// unreadable) and lenient about absence: an absent member or null reads as no value,
/// and an absent or null flag or sort order as false or 0. Elements of the lists that
/// cannot be read are left out and counted. Normalisation: a missing version becomes the
/// application's, missing lists become empty, and every record's `TS` is recomputed
/// from its year and month.
class ImportModel {
public:
    static platform::Expected<ModelReadResult> read(const QByteArray& bytes);
    /// Reads the file at `path`; a file that cannot be opened is an error, and so is anything
    /// but a regular file (a pipe, a device) or a file above `maxBytes`.
    static platform::Expected<ModelReadResult> readFile(
        const QString& path, qint64 maxBytes = platform::maxReadableFileSize);
    /// "Error opening data file." and the reason.
    static QString openingFailure(const QString& reason);

    /// The model of the file at `path`, or why it could not be read. Parts that could not
    /// be read do not fail this call; use `readFile` to learn of them.
    platform::Expected<std::shared_ptr<MVX_Model>> open(const QString& path) const;
};
