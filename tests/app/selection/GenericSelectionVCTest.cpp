#include "app/selection/GenericSelectionVC.h"
#include "app/AppNotifications.h"
#include "app/selection/GenericSelCellView.h"

#include "support/TempHomeTest.h"

#include "platform/NotificationCenter.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/avatar/DVAvatarImageView.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

GenericSelectionRecord record(const QString& id, const QString& name, const QString& emoji = {})
{
    GenericSelectionRecord result;
    result.setID(id);
    result.setName(name);
    result.setSubtitle(u"sub "_s + id);
    result.setEmoji(emoji);
    result.setObj(QString(id + u"-object"_s));
    return result;
}

QImage redSquare()
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

class GenericSelectionTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        auto& center = platform::NotificationCenter::defaultCenter();
        center.addObserver(&m_context, notifications::genericSelectSelected,
            [this](const platform::Notification& n) { selected.append(n.object.toList()); });
        center.addObserver(&m_context, notifications::genericSelectClosed,
            [this](const platform::Notification& n) { closedBy.append(n.object.value<QObject*>()); });
    }

    std::unique_ptr<GenericSelectionVC> open(bool multi, const QString& unknownImage = u"unknownPicture"_s)
    {
        auto vc = std::make_unique<GenericSelectionVC>();
        GenericSelectionRecord withImage = record(u"IMG"_s, u"Pictured"_s);
        withImage.setImage(redSquare());
        vc->setSelectionRecords({ record(u"EUR"_s, u"Euro"_s, u"🇪🇺"_s), record(u"CHF"_s, u"Swiss Franc"_s),
            record(u"XOF"_s, u"Côte d'Ivoire franc"_s), withImage, record(u"ISK"_s, u"Icelandic Króna"_s) });
        vc->setUnknownImageName(unknownImage);
        vc->setMultiSelect(multi);
        vc->setViewTitle(u"Select currency"_s);
        vc->reloadData();
        vc->show();
        QCoreApplication::processEvents();
        return vc;
    }
    static QWidget* rowWidget(GenericSelectionVC& vc, int row)
    {
        auto* host = vc.mainTableView()->findChild<TableRowHost*>();
        return host ? host->ensureRowView(row) : nullptr;
    }
    static GenericSelCellView* cell(GenericSelectionVC& vc, int row)
    {
        QWidget* rowView = rowWidget(vc, row);
        return rowView ? rowView->findChild<GenericSelCellView*>() : nullptr;
    }
    static QStringList shownNames(GenericSelectionVC& vc)
    {
        QStringList names;
        for (int row = 0; row < vc.mainTableView()->model()->rowCount(); ++row)
            names.append(cell(vc, row)->nameField()->text());
        return names;
    }
    static QStringList ids(const QVariantList& records)
    {
        QStringList result;
        for (const QVariant& value : records)
            result.append(value.value<GenericSelectionRecord>().ID());
        return result;
    }
    void click(GenericSelectionVC& vc, int row)
    {
        QTest::mouseClick(rowWidget(vc, row), Qt::LeftButton, {}, QPoint(200, 10));
        QCoreApplication::processEvents();
    }

    QVariantList selected;
    QList<QObject*> closedBy;

private:
    QObject m_context;
};

TEST_F(GenericSelectionTest, TypingFiltersByNameAndClearingListsAllInTheCallersOrder)
{
    const auto vc = open(false);
    QAbstractItemModelTester tester(vc->mainTableView()->model());
    EXPECT_EQ(vc->findChild<QLabel*>(u"titleLabel"_s)->text(), u"Select currency"_s);
    EXPECT_EQ(shownNames(*vc),
        (QStringList {
            u"Euro"_s, u"Swiss Franc"_s, u"Côte d'Ivoire franc"_s, u"Pictured"_s, u"Icelandic Króna"_s }));

    auto* search = vc->findChild<QLineEdit*>(u"searchField"_s);
    QTest::keyClicks(search, u"fr"_s);
    EXPECT_EQ(vc->incSearchText(), u"fr"_s);
    EXPECT_EQ(shownNames(*vc), (QStringList { u"Swiss Franc"_s, u"Côte d'Ivoire franc"_s }));
    search->setText(u"krona"_s);
    EXPECT_EQ(shownNames(*vc), (QStringList { u"Icelandic Króna"_s }));
    search->setText(u"d'I"_s);
    EXPECT_EQ(shownNames(*vc), (QStringList { u"Côte d'Ivoire franc"_s }));
    search->setText(u"zzz"_s);
    EXPECT_EQ(vc->mainTableView()->model()->rowCount(), 0);
    search->clear();
    EXPECT_EQ(shownNames(*vc).size(), 5);
    EXPECT_EQ(shownNames(*vc).first(), u"Euro"_s);
    // Set from outside, the field shows the text too.
    vc->searchAction(u"swiss"_s);
    EXPECT_EQ(search->text(), u"swiss"_s);
    EXPECT_EQ(shownNames(*vc), (QStringList { u"Swiss Franc"_s }));
}

TEST_F(GenericSelectionTest, RowsShowTheEmojiThePictureOrTheUnknownImage)
{
    const auto vc = open(false);
    GenericSelCellView* euro = cell(*vc, 0);
    ASSERT_TRUE(euro);
    EXPECT_EQ(euro->descField()->text(), u"sub EUR"_s);
    EXPECT_TRUE(euro->emojiFld()->isVisible());
    EXPECT_EQ(euro->emojiFld()->text(), KitDrawing::drawableEmoji(u"🇪🇺"_s));
    EXPECT_FALSE(euro->photoField()->isVisible());
    EXPECT_FALSE(euro->selectCtl()->isVisible());

    GenericSelCellView* pictured = cell(*vc, 3);
    EXPECT_FALSE(pictured->emojiFld()->isVisible());
    EXPECT_TRUE(pictured->photoField()->isVisible());
    EXPECT_EQ(pictured->photoField()->avImage(), redSquare());
    EXPECT_EQ(pictured->photoField()->borderWidth(), 2.0f);
    EXPECT_EQ(pictured->photoField()->borderColor(), QColor::fromRgbF(1.0f, 149.0f / 255.0f, 0.0f, 0.5f));
    // No image and no emoji: the unknown image, which no resource holds here, so an empty well.
    GenericSelCellView* plain = cell(*vc, 1);
    EXPECT_TRUE(plain->photoField()->isVisible());
    EXPECT_TRUE(plain->photoField()->avImage().isNull());
    EXPECT_EQ(plain->photoField()->borderWidth(), 2.0f);

    const auto bare = open(false, GenericSelCellView::noPictureName);
    for (int row = 0; row < 5; ++row) {
        EXPECT_FALSE(cell(*bare, row)->photoField()->isVisible()) << row;
        EXPECT_FALSE(cell(*bare, row)->emojiFld()->isVisible()) << row;
    }
}

TEST_F(GenericSelectionTest, OnlyRowsInViewGetWidgets)
{
    auto vc = std::make_unique<GenericSelectionVC>();
    QList<GenericSelectionRecord> many;
    for (int i = 0; i < 200; ++i)
        many.append(record(QString::number(i), u"Name %1"_s.arg(i)));
    vc->setSelectionRecords(many);
    vc->reloadData();
    vc->show();
    QCoreApplication::processEvents();
    auto* host = vc->mainTableView()->findChild<TableRowHost*>();
    EXPECT_TRUE(host->rowView(0));
    EXPECT_FALSE(host->rowView(150));
    vc->mainTableView()->scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_TRUE(host->rowView(199));
}

TEST_F(GenericSelectionTest, SingleModePostsOnlyTheRowChosenLast)
{
    const auto vc = open(false);
    EXPECT_TRUE(vc->findChild<QPushButton*>(u"closeBtn2"_s)->isVisible());
    EXPECT_FALSE(vc->findChild<QPushButton*>(u"closeBtn"_s)->isVisible());
    EXPECT_FALSE(vc->findChild<QPushButton*>(u"selectBtn"_s)->isVisible());

    click(*vc, 1);
    ASSERT_EQ(selected.size(), 1);
    const auto chosen = selected.first().value<GenericSelectionRecord>();
    EXPECT_EQ(chosen.ID(), u"CHF"_s);
    EXPECT_TRUE(chosen.isSelected());
    EXPECT_EQ(chosen.obj().toString(), u"CHF-object"_s);

    selected.clear();
    vc->findChild<QLineEdit*>(u"searchField"_s)->setText(u"krona"_s);
    click(*vc, 0);
    EXPECT_EQ(ids(selected), (QStringList { u"ISK"_s }));

    // A double click reports the same row again through the same path.
    selected.clear();
    QTest::mouseDClick(rowWidget(*vc, 0), Qt::LeftButton, {}, QPoint(200, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(ids(selected), (QStringList { u"ISK"_s }));
    EXPECT_TRUE(closedBy.isEmpty());
}

TEST_F(GenericSelectionTest, NothingIsPostedAfterTheControllerIsGoneAndTheOwnerMayDeleteItOnAPost)
{
    auto vc = open(false);
    click(*vc, 0);
    selected.clear();
    vc->mainTableView()->setCurrentIndex(vc->mainTableView()->model()->index(2, 0));
    vc.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(selected.isEmpty());

    // As the settings do: close and drop the picker from the observer.
    QObject owner;
    GenericSelectionVC* picker = open(false).release();
    QPointer<GenericSelectionVC> watch(picker);
    platform::NotificationCenter::defaultCenter().addObserver(
        &owner, notifications::genericSelectSelected, [&picker](const platform::Notification&) {
            delete picker;
            picker = nullptr;
        });
    click(*watch, 4);
    EXPECT_EQ(ids(selected), (QStringList { u"ISK"_s }));
    EXPECT_TRUE(watch.isNull());
}

TEST_F(GenericSelectionTest, MultipleModeTogglesRowsAndSelectPostsEveryCheckedRecord)
{
    const auto vc = open(true);
    EXPECT_FALSE(vc->findChild<QPushButton*>(u"closeBtn2"_s)->isVisible());
    EXPECT_TRUE(vc->findChild<QPushButton*>(u"closeBtn"_s)->isVisible());
    EXPECT_TRUE(vc->findChild<QPushButton*>(u"selectBtn"_s)->isVisible());
    EXPECT_TRUE(cell(*vc, 0)->selectCtl()->isVisible());
    EXPECT_FALSE(cell(*vc, 0)->selectCtl()->isChecked());

    click(*vc, 1);
    EXPECT_TRUE(cell(*vc, 1)->selectCtl()->isChecked());
    click(*vc, 1); // still the selected row: nothing changes
    EXPECT_TRUE(cell(*vc, 1)->selectCtl()->isChecked());
    click(*vc, 3);
    EXPECT_TRUE(cell(*vc, 3)->selectCtl()->isChecked());
    cell(*vc, 3)->selectCtl()->click();
    cell(*vc, 4)->selectCtl()->click();
    EXPECT_TRUE(selected.isEmpty());

    // Hidden by the search, a checked record is still reported, and a new row
    // widget shows its mark.
    vc->searchAction(u"swiss"_s);
    EXPECT_TRUE(cell(*vc, 0)->selectCtl()->isChecked());
    vc->findChild<QPushButton*>(u"selectBtn"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(ids(selected), (QStringList { u"CHF"_s, u"ISK"_s }));

    // Pressed again, the same list: nothing piles up.
    selected.clear();
    vc->findChild<QPushButton*>(u"selectBtn"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(ids(selected), (QStringList { u"CHF"_s, u"ISK"_s }));
}

TEST_F(GenericSelectionTest, BothCloseButtonsPostTheControllerAndTheLookValuesAreOnlyKept)
{
    const auto single = open(false);
    EXPECT_EQ(single->borderWidth(), 2.0);
    single->setRadius(4.5);
    single->setBorderWidth(0.0);
    EXPECT_EQ(single->radius(), 4.5);
    EXPECT_EQ(single->borderWidth(), 0.0);
    single->findChild<QPushButton*>(u"closeBtn2"_s)->click();
    const auto multi = open(true);
    multi->findChild<QPushButton*>(u"closeBtn"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(closedBy, (QList<QObject*> { single.get(), multi.get() }));
    EXPECT_TRUE(selected.isEmpty());
}

TEST_F(GenericSelectionTest, TheSearchFieldHasTheKeyboardWhenThePickerOpens)
{
    // As the settings open the currency picker: in a popover beside a button of a window.
    QWidget window;
    window.setGeometry(100, 100, 600, 500);
    auto* button = new QPushButton(u"Change"_s, &window);
    button->setGeometry(20, 40, 80, 24);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();

    for (int opening = 0; opening < 2; ++opening) {
        auto* picker = new GenericSelectionVC;
        picker->setSelectionRecords({ record(u"EUR"_s, u"Euro"_s), record(u"CHF"_s, u"Swiss Franc"_s) });
        picker->reloadData();
        PKPopoverController popover(picker);
        popover.setDefaultProperties(true, true, true);
        popover.setAnimates(false);
        popover.showRelativeToRect(QRectF(button->rect()), button, platform::RectEdge::MaxX);
        ASSERT_TRUE(QTest::qWaitForWindowActive(popover.popoverWindow()));
        QCoreApplication::processEvents();
        auto* search = picker->findChild<QLineEdit*>(u"searchField"_s);
        EXPECT_EQ(QApplication::focusWidget(), search) << "opening " << opening;

        // Typing at once narrows the list.
        QTest::keyClicks(QApplication::focusWidget(), u"swi"_s);
        EXPECT_EQ(picker->incSearchText(), u"swi"_s);
        EXPECT_EQ(picker->mainTableView()->model()->rowCount(), 1);
        popover.forceClosePopover();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
}

} // namespace
