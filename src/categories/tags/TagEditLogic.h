#pragma once

#include "model/data/MVX_Tags.h"
#include "platform/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class NWData;

/// What the tag editor knows and does without its widgets: the tag it edits (none for a new
/// one until the first save creates it), the colour choice, the checks of a typed name and
/// the writing of the fields into the tag. Main thread only; reads the store at each call.
class TagEditLogic {
public:
    // The first is kept as written: stored translations are keyed on it.
    static constexpr const char* emptyNameMessage
        = QT_TRANSLATE_NOOP("mervanemac", "A tag name name cannot be empty!");
    static constexpr const char* duplicateNameMessage
        = QT_TRANSLATE_NOOP("mervanemac", "A tag with the same name already exists!");
    /// The colour of a new tag, and of one whose colour is none of the eight.
    static inline const QString defaultColorName = QStringLiteral("WHITE");

    /// The eight colour names in the order the editor shows their buttons.
    static const QStringList& colorNames();

    explicit TagEditLogic(NWData& store) : m_store(store) { }

    /// Opens on `tag` (edit), or for a new tag; the colour choice becomes the tag's colour
    /// (none when it is not one of the eight) or, for a new tag, the default.
    void open(std::shared_ptr<MVX_Tags> tag);

    const std::shared_ptr<MVX_Tags>& tagRecord() const { return m_tagRecord; }
    bool isEditing() const { return m_editing; }

    /// The chosen colour name; none after opening on a tag of an unknown colour.
    const std::optional<QString>& chosenColor() const { return m_chosenColor; }
    /// Chooses one of the eight; any other name chooses the default.
    void chooseColor(const QString& colorName);
    /// What a save stores: the chosen colour, or the default when none is chosen.
    QString colorName() const { return m_chosenColor.value_or(defaultColorName); }

    /// Refuses a name that is empty once its surrounding blanks are gone, and one that
    /// another tag has exactly (case included); the tag being edited is never "another".
    platform::MaybeError check(const QString& typedName) const;
    /// After `check` passed: creates the tag at the first save of a new one, then writes the
    /// trimmed name, the description and the colour into it. Returns the tag.
    std::shared_ptr<MVX_Tags> apply(const QString& typedName, const QString& desc);
    /// After a failed write, which put the store's model back to the data file's: the editor
    /// works on the tag the file holds with this ID (none: the next save makes it anew).
    void rebindToStore();

private:
    NWData& m_store;
    std::shared_ptr<MVX_Tags> m_tagRecord;
    std::optional<QString> m_chosenColor;
    bool m_editing = false;
};
