#pragma once

#include "categories/tags/TagEditLogic.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class NWTextField;
class POProgressOverlay;
class QAbstractButton;
class QLabel;
class QPushButton;
class RXRoundedBox;

/// The tag editor, the content of a popover: title, name, description, the eight colour
/// buttons (one on) in a rounded box, a message line, Cancel and Save. Made anew for every
/// opening; the opener sets the tag (none for a new one) and calls `setValues` before the
/// popover shows. Save checks the name, writes the tag, saves under "Saving ..." and, once
/// saved, posts "dataReFetched" then "TagRecordSave"; a failed save shows why, posts
/// nothing and leaves the editor open.
class TagEditControl : public QWidget {
    Q_OBJECT
public:
    explicit TagEditControl(QWidget* parent = nullptr);
    ~TagEditControl() override;

    void setTagRecord(std::shared_ptr<MVX_Tags> tag) { m_pendingTag = std::move(tag); }
    const std::shared_ptr<MVX_Tags>& tagRecord() const { return m_logic.tagRecord(); }
    const TagEditLogic& logic() const { return m_logic; }

    /// Fills the editor from the tag set with `setTagRecord`.
    void setValues();
    void saveButtonClick();
    void cancelButtonClick();

    /// The button of one of the eight colour names, or none.
    QAbstractButton* colorButton(const QString& colorName) const;

Q_SIGNALS:
    void closeRequested();

private:
    void buildView();
    void applyAppearance();
    void colorButtonClick(const QString& colorName);
    /// Every button off, then the chosen colour's on (none when nothing is chosen).
    void showChosenColor();
    void showMessage(const QString& text);
    void saveFinished(const platform::MaybeError& result);

    TagEditLogic m_logic;
    std::shared_ptr<MVX_Tags> m_pendingTag;
    QPointer<QLabel> m_titleLabel;
    QPointer<NWTextField> m_tagNameCtl;
    QPointer<NWTextField> m_tagDescCtl;
    QPointer<RXRoundedBox> m_colorBox;
    QList<QAbstractButton*> m_colorButtons;
    QPointer<QLabel> m_errorLabel;
    QPointer<QPushButton> m_cancelButton;
    QPointer<QPushButton> m_saveButton;
    QPointer<POProgressOverlay> m_overlay;
};
