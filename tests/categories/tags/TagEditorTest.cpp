#include "categories/CategoriesNotifications.h"
#include "categories/tags/TagEditControl.h"
#include "categories/tags/TagEditLogic.h"
#include "categories/tags/TagEditorPopover.h"
#include "categories/tags/TagsTestSupport.h"
#include "platform/Strings.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

const QString emptyName = u"A tag name name cannot be empty!"_s;
const QString duplicate = u"A tag with the same name already exists!"_s;

class TagEditorTest : public TagsTest {
protected:
    void SetUp() override
    {
        TagsTest::SetUp();
        platform::NotificationCenter::defaultCenter().addObserver(&m_saveObserver,
            notifications::tagRecordSave, [this](auto&&...) { posted.append(notifications::tagRecordSave); });
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(&m_saveObserver);
        m_popover.reset();
        m_anchor.reset();
        TagsTest::TearDown();
    }

    /// The editor of a shown popover, filled as the tags screen fills it.
    TagEditControl* open(std::shared_ptr<MVX_Tags> tag)
    {
        m_anchor = std::make_unique<QWidget>();
        m_anchor->resize(400, 300);
        m_anchor->show();
        m_popover.reset(newTagEditorPopover(std::move(tag), nullptr));
        m_popover->setAnimates(false);
        m_popover->showRelativeToRect(QRectF(10, 10, 20, 20), m_anchor.get(), platform::RectEdge::MaxY);
        return tagEditorOf(m_popover.get());
    }
    template <typename T> static T* child(const TagEditControl& editor, const QString& name)
    {
        T* found = editor.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    static void type(TagEditControl& editor, const QString& name, const QString& desc = {})
    {
        child<QLineEdit>(editor, u"tagNameCtl"_s)->setText(name);
        child<QLineEdit>(editor, u"tagDescCtl"_s)->setText(desc);
    }
    static void save(TagEditControl& editor) { child<QPushButton>(editor, u"saveButton"_s)->click(); }
    static QString message(const TagEditControl& editor)
    {
        const auto* label = child<QLabel>(editor, u"errorLabel"_s);
        return label->isHidden() ? QString() : label->text();
    }
    /// The colour names whose buttons are on.
    static QStringList checked(const TagEditControl& editor)
    {
        QStringList on;
        for (const QString& name : TagEditLogic::colorNames()) {
            if (child<QAbstractButton>(editor, name.toLower() + u"Button"_s)->isChecked())
                on.append(name);
        }
        return on;
    }

    std::unique_ptr<QWidget> m_anchor;
    std::unique_ptr<PKPopoverController> m_popover;
    QObject m_saveObserver;
};

TEST_F(TagEditorTest, ANewTagIsTrimmedSavedAndAnnouncedInOrder)
{
    TagEditControl* editor = open(nullptr);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(child<QLabel>(*editor, u"titleLabel"_s)->text(), u"Add a new category tag"_s);
    EXPECT_EQ(checked(*editor), QStringList { u"WHITE"_s });
    type(*editor, u"  Pension \t"_s, u"Later"_s);
    child<QAbstractButton>(*editor, u"orangeButton"_s)->click();
    save(*editor);
    EXPECT_EVENTUALLY_EQ(
        posted, (QStringList { notifications::dataReFetched, notifications::tagRecordSave }));
    const auto pension = tagNamed(u"Pension"_s);
    ASSERT_NE(pension, nullptr);
    EXPECT_EQ(pension, editor->tagRecord());
    EXPECT_EQ(pension->desc(), u"Later"_s);
    EXPECT_EQ(pension->hexColorString(), u"ORANGE"_s);
    EXPECT_EQ(store().appData()->tags()->size(), 4);
    const auto saved = modelInFile();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->tags()->last()->name(), u"Pension"_s);
    EXPECT_EQ(message(*editor), QString());
}

TEST_F(TagEditorTest, NamesAreRefusedWhenBlankOrTakenByAnotherTagExactly)
{
    TagEditControl* editor = open(nullptr);
    const QByteArray before = dataFileBytes();
    for (const QString& blank : { QString(), u"   "_s, u"\t\n"_s }) {
        type(*editor, blank);
        save(*editor);
        EXPECT_EQ(message(*editor), emptyName);
    }
    // Taken once trimmed: the surrounding blanks do not make it another name.
    for (const QString& taken : { u"Home"_s, u" Home"_s, u"Cars  "_s }) {
        type(*editor, taken);
        save(*editor);
        EXPECT_EQ(message(*editor), duplicate) << taken.toStdString();
    }
    EXPECT_EQ(store().appData()->tags()->size(), 3);
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(posted.isEmpty());

    // The comparison stays exact: another case is another name.
    type(*editor, u"home"_s);
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(message(*editor), QString());
    EXPECT_NE(tagNamed(u"home"_s), nullptr);
}

TEST_F(TagEditorTest, EditingWithoutChangePassesAndRenamingOntoAnotherTagDoesNot)
{
    home->setName(u" Home "_s); // stored with blanks by an older version
    TagEditControl* editor = open(home);
    EXPECT_EQ(child<QLabel>(*editor, u"titleLabel"_s)->text(), u"Edit category tag"_s);
    EXPECT_EQ(child<QLineEdit>(*editor, u"tagNameCtl"_s)->text(), u" Home "_s);
    EXPECT_EQ(child<QLineEdit>(*editor, u"tagDescCtl"_s)->text(), u"Where we live"_s);
    EXPECT_EQ(checked(*editor), QStringList { u"GREEN"_s });

    child<QLineEdit>(*editor, u"tagNameCtl"_s)->setText(u"Cars"_s);
    save(*editor);
    EXPECT_EQ(message(*editor), duplicate);
    EXPECT_EQ(home->name(), u" Home "_s);

    // Unchanged, the tag does not collide with itself; it is stored trimmed.
    child<QLineEdit>(*editor, u"tagNameCtl"_s)->setText(u" Home "_s);
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(message(*editor), QString());
    EXPECT_EQ(home->name(), u"Home"_s);
    EXPECT_EQ(home->hexColorString(), u"GREEN"_s);
    EXPECT_EQ(store().appData()->tags()->size(), 3);
}

TEST_F(TagEditorTest, ExactlyOneColourButtonIsOnAndAnUnknownColourSavesWhite)
{
    TagEditControl* editor = open(cars);
    EXPECT_EQ(checked(*editor), QStringList { u"RED"_s });
    for (const QString& name : TagEditLogic::colorNames()) {
        child<QAbstractButton>(*editor, name.toLower() + u"Button"_s)->click();
        EXPECT_EQ(checked(*editor), QStringList { name });
    }
    // Pressing the button that is on leaves it on.
    child<QAbstractButton>(*editor, u"grayButton"_s)->click();
    EXPECT_EQ(checked(*editor), QStringList { u"GRAY"_s });
    EXPECT_EQ(editor->logic().colorName(), u"GRAY"_s);

    savings->setHexColorString(u"blue"_s); // not one of the eight: case counts
    m_popover.reset();
    editor = open(savings);
    EXPECT_TRUE(checked(*editor).isEmpty());
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(savings->hexColorString(), u"WHITE"_s);
}

TEST_F(TagEditorTest, AFailedSaveShowsWhyTakesTheNewTagBackAndTheNextSaveMakesItOnce)
{
    const QByteArray before = dataFileBytes();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    TagEditControl* editor = open(nullptr);
    type(*editor, u"Boat"_s);
    save(*editor);
    EXPECT_EVENTUALLY(!message(*editor).isEmpty());
    EXPECT_TRUE(message(*editor).contains(u"the disk is full"_s)) << message(*editor).toStdString();
    // Only the store's reload: the editor announced no saved tag.
    EXPECT_EQ(posted, QStringList { notifications::dataReFetched });
    EXPECT_TRUE(m_popover->shown());
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_EQ(tagNamed(u"Boat"_s), nullptr);
    EXPECT_EQ(editor->tagRecord(), nullptr);

    // The typed name is still there and makes one tag once the disk is back.
    store().writer().setDeviceFactoryForTesting({});
    posted.clear();
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(message(*editor), QString());
    const auto boat = tagNamed(u"Boat"_s);
    ASSERT_NE(boat, nullptr);
    EXPECT_EQ(editor->tagRecord(), boat);
    EXPECT_EQ(store().appData()->tags()->size(), 4);
    EXPECT_EQ(modelInFile()->tags()->size(), 4);
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(TagEditorTest, AFailedSaveOfAnEditedTagLeavesTheFilesTagAndTheNextSaveEditsIt)
{
    const auto first = store().appData()->tags()->at(0);
    const QString oldName = first->name();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    TagEditControl* editor = open(first);
    type(*editor, u"Renamed"_s);
    save(*editor);
    EXPECT_EVENTUALLY(!message(*editor).isEmpty());
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_EQ(tagNamed(u"Renamed"_s), nullptr);
    const auto filed = tagNamed(oldName);
    ASSERT_NE(filed, nullptr);
    EXPECT_NE(filed, first);
    EXPECT_EQ(editor->tagRecord(), filed);

    store().writer().setDeviceFactoryForTesting({});
    posted.clear();
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(tagNamed(u"Renamed"_s), filed);
    EXPECT_EQ(store().appData()->tags()->size(), 3);
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(TagEditorTest, CancelClosesWithoutChangingAnything)
{
    TagEditControl* editor = open(home);
    type(*editor, u"Other"_s);
    child<QPushButton>(*editor, u"cancelButton"_s)->click();
    EXPECT_EVENTUALLY(!m_popover->shown());
    EXPECT_EQ(home->name(), u"Home"_s);
    EXPECT_TRUE(posted.isEmpty());
}

} // namespace
