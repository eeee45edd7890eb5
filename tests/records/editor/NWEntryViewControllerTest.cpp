#include "EditorTestSupport.h"

#include "records/RecordsNotifications.h"
#include "records/cells/HoverTableView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWTableTextField.h"
#include "records/editor/NWEntryViewController.h"
#include "records/editor/RecordEditorPopover.h"

#include "model/ModelNotifications.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/Appearances.h"
#include "support/Contrast.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "support/TextFits.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The contrast of the text drawn in `area` of `image`: the colour most of the area has is the
// background, and the pixel that stands out most from it is the text at full strength.
double textContrast(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(background, most) = std::pair(it.key(), it.value());
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(QColor(it.key()), QColor(background)));
    return best;
}

class EntryViewTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        for (const QString& name : { notifications::dataReFetched, notifications::nwRecordSave })
            platform::NotificationCenter::defaultCenter().addObserver(
                &m_context, name, [this](const platform::Notification& n) { posted.append(n.name); });
    }

    std::unique_ptr<NWEntryViewController> openEditor(std::shared_ptr<MVX_NWLog> record)
    {
        auto editor = std::make_unique<NWEntryViewController>();
        if (!record)
            editor->setPreviousEntry(store().appData()->currentLog());
        editor->setValuesForNWLog(record);
        editor->show();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        QCoreApplication::processEvents();
        return editor;
    }
    // The editor as the record list shows it, in a popover over `anchor` that takes the
    // appearance's colours.
    static PKPopoverController* showEditorPopover(std::shared_ptr<MVX_NWLog> record, QWidget* anchor)
    {
        PKPopoverController* popover = newRecordEditorPopover(std::move(record), anchor);
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(10, 10, 20, 20), anchor, platform::RectEdge::MinY);
        QCoreApplication::processEvents();
        return popover;
    }
    template <class T> static T* child(QWidget& editor, const QString& name)
    {
        T* found = editor.findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    static QString text(QWidget& editor, const QString& label)
    {
        return child<QLabel>(editor, label)->text();
    }
    static void save(NWEntryViewController& editor)
    {
        QTest::mouseClick(child<QPushButton>(editor, u"saveButton"_s), Qt::LeftButton);
    }

    QStringList posted;

private:
    QObject m_context;
};

TEST_F(EntryViewTest, ANewRecordShowsThePrefilledRowsAndSavesThem)
{
    const auto editor = openEditor(nullptr);
    EXPECT_EQ(text(*editor, u"titleLabel"_s), u"NEW"_s);
    EXPECT_EQ(editor->selectedYear(), 2024);
    EXPECT_EQ(editor->selectedMonth(), 6);
    // The hidden Old's 0.005 is counted: the totals are those the record will hold.
    EXPECT_EQ(text(*editor, u"totalNWLabel"_s), u"$14,000.01"_s);
    EXPECT_EQ(text(*editor, u"totalAssetLabel"_s), NWEntryLogic::toCurrencyString(19000.005));
    EXPECT_EQ(text(*editor, u"totalLiabilityLabel"_s), u"$5,000.00"_s);
    NWCategoryLogCellView* carCell = editor->cellAt(EntrySide::Assets, 1);
    ASSERT_TRUE(carCell);
    EXPECT_EQ(carCell->categoryLabel()->text(), u"Car"_s);
    EXPECT_EQ(carCell->valueLabel()->text(), u"$18,000.00"_s);
    EXPECT_TRUE(carCell->isPrePopulated());
    EXPECT_EQ(editor->cellAt(EntrySide::Assets, 2), nullptr); // Old is not shown
    EXPECT_EQ(editor->cellAt(EntrySide::Liabilities, 0)->valueLabel()->text(), u"$5,000.00"_s);

    // Typing a value, then Tab, takes it and moves on.
    NWTableTextField* cashField = editor->cellAt(EntrySide::Assets, 0)->valueLabel();
    QTest::mouseClick(cashField, Qt::LeftButton);
    ASSERT_TRUE(cashField->hasFocus());
    cashField->selectAll();
    QTest::keyClicks(cashField, u"1500"_s);
    QTest::keyClick(cashField, Qt::Key_Tab);
    EXPECT_TRUE(carCell->valueLabel()->hasFocus());
    EXPECT_EQ(editor->logic().records(EntrySide::Assets).at(0).categoryValue(), 1500);
    EXPECT_FALSE(editor->cellAt(EntrySide::Assets, 0)->isPrePopulated());
    EXPECT_EQ(text(*editor, u"totalNWLabel"_s), u"$14,500.01"_s);

    child<QLineEdit>(*editor, u"noteLabel"_s)->setText(u"June"_s);
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted, (QStringList { notifications::dataReFetched, notifications::nwRecordSave }));
    const auto june = store().appData()->currentLog();
    ASSERT_NE(june, may);
    EXPECT_EQ(june->month(), 6);
    EXPECT_EQ(june->note(), u"June"_s);
    EXPECT_EQ(june->assets(), 1500 + 18000 + 0.005);
    EXPECT_TRUE(dataFileBytes().contains("June"));
    EXPECT_FALSE(editor->isSaving());
}

TEST_F(EntryViewTest, ATakenPeriodIsRefusedAndTheFileStaysAsItWas)
{
    const QByteArray before = dataFileBytes();
    const auto editor = openEditor(nullptr);
    editor->selectPeriod(2024, 5);
    save(*editor);
    EXPECT_EQ(text(*editor, u"errorLabel"_s), u"ERROR: A net worth record for this period already exists."_s);
    EXPECT_TRUE(child<QLabel>(*editor, u"errorLabel"_s)->isVisible());
    EXPECT_FALSE(editor->isSaving());
    QCoreApplication::processEvents();
    store().waitForPendingWrites();
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_TRUE(posted.isEmpty());

    // Another month then saves.
    editor->selectPeriod(2024, 7);
    save(*editor);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(store().appData()->currentLog()->month(), 7);
}

TEST_F(EntryViewTest, TabAndShiftTabMoveBetweenRowsAndWrap)
{
    const auto editor = openEditor(may);
    EXPECT_EQ(text(*editor, u"titleLabel"_s), u"EDIT"_s);
    auto* table = editor->tableOf(EntrySide::Assets);
    auto field = [&](int row) { return editor->cellAt(EntrySide::Assets, row)->valueLabel(); };
    ASSERT_TRUE(table->startEditModeForRow(0));
    ASSERT_TRUE(field(0)->hasFocus());
    QTest::keyClick(field(0), Qt::Key_Tab);
    EXPECT_TRUE(field(1)->hasFocus());
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(table->selectionModel()->selectedRows().first().row(), 1);
    QTest::keyClick(field(1), Qt::Key_Return);
    EXPECT_TRUE(field(0)->hasFocus()); // wrapped to the first row
    QTest::keyClick(field(0), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(field(1)->hasFocus()); // and back to the last
    // Editing never crosses into the other table.
    NWTableTextField* loanField = editor->cellAt(EntrySide::Liabilities, 0)->valueLabel();
    editor->tableOf(EntrySide::Liabilities)->startEditModeForRow(0);
    QTest::keyClick(loanField, Qt::Key_Tab);
    EXPECT_TRUE(loanField->hasFocus());
    // Values were not changed by moving through them.
    EXPECT_EQ(editor->logic().records(EntrySide::Assets).at(1).categoryValue(), 20000);

    // In a new record, a carried-over value the household only moved through stays
    // carried over; the editor starts on the first value.
    const auto fresh = openEditor(nullptr);
    NWTableTextField* cash = fresh->cellAt(EntrySide::Assets, 0)->valueLabel();
    EXPECT_EVENTUALLY(cash->hasFocus());
    QTest::keyClick(cash, Qt::Key_Tab);
    EXPECT_TRUE(fresh->logic().records(EntrySide::Assets).at(0).prePopulated());
    EXPECT_TRUE(fresh->cellAt(EntrySide::Assets, 0)->isPrePopulated());
}

TEST_F(EntryViewTest, ATypoOrAnAmountTooLargeIsRefusedInTheCell)
{
    const auto editor = openEditor(may);
    NWCategoryLogCellView* cell = editor->cellAt(EntrySide::Assets, 0);
    for (const auto& [typed, note] : { std::pair(u"12x"_s, u"Not a number"_s),
             std::pair(QString(u"1"_s + QString(300, u'0')), u"Too large"_s) }) {
        editor->tableOf(EntrySide::Assets)->startEditModeForRow(0);
        cell->valueLabel()->selectAll();
        QTest::keyClicks(cell->valueLabel(), typed);
        QTest::keyClick(cell->valueLabel(), Qt::Key_Return);
        EXPECT_EQ(cell->entryMessageLabel()->text(), note);
        EXPECT_EQ(cell->entryMessageLabel()->toolTip(), note + u": kept $1,000.00"_s);
        EXPECT_FALSE(cell->entryMessageLabel()->isHidden());
        EXPECT_EQ(editor->logic().records(EntrySide::Assets).at(0).categoryValue(), 1000);
        EXPECT_EQ(cell->valueLabel()->text(), u"$1,000.00"_s); // the field shows what is kept
    }

    // A kept value wider than its field, after a refused one wider still was shown: once the
    // field is left, it shows the kept value from its start.
    may->assetLogs()->at(0)->setValue(1e20);
    const auto huge = openEditor(may);
    NWTableTextField* field = huge->cellAt(EntrySide::Assets, 0)->valueLabel();
    huge->tableOf(EntrySide::Assets)->startEditModeForRow(0);
    QTest::keyClicks(field, u"1"_s + QString(300, u'0'));
    field->window()->grab(); // a line edit scrolls to its cursor when it paints
    QTest::keyClick(field, Qt::Key_Tab);
    ASSERT_FALSE(field->hasFocus());
    EXPECT_EQ(field->text(), NWEntryLogic::toCurrencyString(1e20));
    ASSERT_GT(field->fontMetrics().horizontalAdvance(field->text()), field->width());
    field->window()->grab();
    const int start = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    EXPECT_TRUE(start > -5 && start < field->width() / 4) << "the kept value is shown from " << start;
}

TEST_F(EntryViewTest, AFailedSavePutsTheModelBackAndALaterSaveTriesAgain)
{
    const QByteArray before = dataFileBytes();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    const auto editor = openEditor(may);
    child<QLineEdit>(*editor, u"noteLabel"_s)->setText(u"changed"_s);
    editor->selectPeriod(2024, 2);
    save(*editor);
    EXPECT_EVENTUALLY(!editor->isSaving());
    EXPECT_TRUE(text(*editor, u"errorLabel"_s).contains(u"the disk is full"_s))
        << text(*editor, u"errorLabel"_s).toStdString();
    // Only the store's reload: the editor announced no saved record.
    EXPECT_EQ(posted, QStringList { notifications::dataReFetched });
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(modelIsTheDataFile());
    const auto filed = store().appData()->currentLog();
    EXPECT_EQ(filed->note(), u"May"_s);
    EXPECT_EQ(filed->month(), 5);
    // The editor keeps what was typed, on the file's record.
    EXPECT_EQ(editor->nwLogRecord(), filed);
    EXPECT_EQ(child<QLineEdit>(*editor, u"noteLabel"_s)->text(), u"changed"_s);

    // A new record leaves the store again, and the editor is back to entering a new one.
    const auto fresh = openEditor(nullptr);
    save(*fresh);
    EXPECT_EVENTUALLY(!fresh->isSaving());
    EXPECT_FALSE(text(*fresh, u"errorLabel"_s).isEmpty());
    EXPECT_EQ(fresh->nwLogRecord(), nullptr);
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_EQ(store().chartNwLogArray().size(), 1);

    store().writer().setDeviceFactoryForTesting({});
    posted.clear();
    save(*fresh);
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 2);
    EXPECT_TRUE(dataFileBytes().contains("\"month\":6") || dataFileBytes().contains("\"month\": 6"));
}

TEST_F(EntryViewTest, RatesShowTheSettingsDecimalsWithinTheSettingsChoices)
{
    auto& defaults = platform::UserDefaults::standard();
    defaults.remove(Preferences::maxExchangeRateDecimalsKey);
    EXPECT_EQ(NWEntryViewController().logic().maxDecimalPlaces(), 5);
    for (const auto& [stored, shown] : { std::pair(3, 3), std::pair(-4, 1), std::pair(11, 10) }) {
        defaults.setValue(Preferences::maxExchangeRateDecimalsKey, stored);
        EXPECT_EQ(NWEntryViewController().logic().maxDecimalPlaces(), shown) << stored;
    }
    defaults.remove(Preferences::maxExchangeRateDecimalsKey);
}

TEST_F(EntryViewTest, ThePopoverFillsItsEditorWhenShownAndStopsObservingWhenClosed)
{
    QWidget anchor;
    anchor.resize(300, 200);
    anchor.show();
    PKPopoverController* popover = newRecordEditorPopover(nullptr, &anchor);
    popover->setAnimates(false);
    NWEntryViewController* editor = recordEditorOf(popover);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->logic().records(EntrySide::Assets).isEmpty());
    const int observers = platform::NotificationCenter::defaultCenter().observerCount();
    popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MinY);
    EXPECT_EQ(text(*editor, u"titleLabel"_s), u"NEW"_s);
    EXPECT_EQ(editor->previousEntry(), may);
    EXPECT_EQ(editor->logic().records(EntrySide::Assets).size(), 2);
    QTest::mouseClick(child<QPushButton>(*editor, u"cancelButton"_s), Qt::LeftButton);
    EXPECT_EVENTUALLY(!popover->shown());
    EXPECT_EQ(platform::NotificationCenter::defaultCenter().observerCount(), observers - 1);
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_TRUE(posted.isEmpty());

    PKPopoverController* editing = newRecordEditorPopover(may, &anchor);
    editing->setAnimates(false);
    editing->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MinY);
    EXPECT_EQ(text(*recordEditorOf(editing), u"titleLabel"_s), u"EDIT"_s);
    EXPECT_EQ(recordEditorOf(editing)->nwLogRecord(), may);
    editing->close();
}

TEST_F(EntryViewTest, ReturnInTheNoteSavesAsTheDefaultButtonPromises)
{
    const auto editor = openEditor(nullptr);
    auto* note = child<QLineEdit>(*editor, u"noteLabel"_s);
    QTest::mouseClick(note, Qt::LeftButton);
    ASSERT_TRUE(note->hasFocus());
    QTest::keyClicks(note, u"Bonus paid"_s);
    EXPECT_TRUE(posted.isEmpty());
    QTest::keyClick(note, Qt::Key_Return);
    EXPECT_EVENTUALLY_EQ(posted, (QStringList { notifications::dataReFetched, notifications::nwRecordSave }));
    const auto june = store().appData()->currentLog();
    ASSERT_NE(june, may);
    EXPECT_EQ(june->month(), 6);
    EXPECT_EQ(june->note(), u"Bonus paid"_s);
    EXPECT_TRUE(dataFileBytes().contains("Bonus paid"));

    // Enter on the keypad does the same; the record saved is not made twice.
    posted.clear();
    note->setText(u"Bonus paid in June"_s);
    QTest::keyClick(note, Qt::Key_Enter);
    EXPECT_EVENTUALLY(!editor->isSaving());
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 2);
    EXPECT_FALSE(posted.isEmpty());
}

TEST_F(EntryViewTest, CaptionsAndTheNoteAreReadableInBothAppearances)
{
    const mervane::test::AppearanceRestorer restorer;
    QWidget anchor;
    anchor.resize(300, 200);
    anchor.show();
    using platform::Appearance;
    mervane::test::inAppearances({ Appearance::Light, Appearance::Dark }, [&](bool) {
        PKPopoverController* popover = showEditorPopover(may, &anchor);
        NWEntryViewController* editor = recordEditorOf(popover);
        ASSERT_TRUE(editor);
        auto* note = child<QLineEdit>(*editor, u"noteLabel"_s);
        note->setText(u"Emergency fund topped up"_s);
        QWidget* window = popover->popoverWindow();
        const auto areaOf = [window](const QWidget* widget, int inset) {
            return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size())
                .adjusted(inset, inset, -inset, -inset);
        };

        QImage shot = window->grab().toImage();
        // Inside the field's two-point border and its focus ring.
        EXPECT_GE(textContrast(shot, areaOf(note, 4)), 4.5) << "the note";
        int captions = 0;
        for (const QString& caption :
            { u"Net worth"_s, u"Assets"_s, u"Liabilities"_s, u"Month"_s, u"Year"_s }) {
            for (const QLabel* label : editor->findChildren<QLabel*>()) {
                if (label->text() != caption)
                    continue;
                ++captions;
                EXPECT_GE(textContrast(shot, areaOf(label, 0)), 4.5) << qPrintable(caption);
            }
        }
        EXPECT_EQ(captions, 7) << "Assets and Liabilities head their tables and name their totals";

        note->clear();
        shot = window->grab().toImage();
        EXPECT_GE(textContrast(shot, areaOf(note, 4)), 4.5) << "the note's placeholder";
        popover->forceClosePopover();
        delete popover;
    });
}

TEST_F(EntryViewTest, ValuesReadOnTheirFieldsInBothAppearances)
{
    const mervane::test::AppearanceRestorer restorer;
    QWidget anchor;
    anchor.resize(300, 200);
    anchor.show();
    using platform::Appearance;
    mervane::test::inAppearances({ Appearance::Light, Appearance::Dark }, [&](bool dark) {
        // A new record shows the carried-over grey, the edited May its green and red.
        for (const std::shared_ptr<MVX_NWLog>& record : { std::shared_ptr<MVX_NWLog>(), may }) {
            PKPopoverController* popover = showEditorPopover(record, &anchor);
            NWEntryViewController* editor = recordEditorOf(popover);
            ASSERT_TRUE(editor);
            QWidget* window = popover->popoverWindow();
            const QImage shot = window->grab().toImage();
            int fields = 0;
            for (const auto& [side, rows] :
                { std::pair(EntrySide::Assets, 2), std::pair(EntrySide::Liabilities, 1) }) {
                for (int row = 0; row < rows; ++row) {
                    const NWCategoryLogCellView* cell = editor->cellAt(side, row);
                    ASSERT_TRUE(cell) << "row " << row;
                    const NWTableTextField* field = cell->valueLabel();
                    ASSERT_FALSE(field->text().isEmpty());
                    // The amount stands at the right; left of it the field shows its ground.
                    const QPoint ground = field->mapTo(window, QPoint(6, field->height() / 2));
                    const QColor text = field->palette().color(QPalette::Text);
                    EXPECT_EQ(cell->isPrePopulated(), !record);
                    EXPECT_GE(contrast(text, shot.pixelColor(ground)), 4.5)
                        << (record ? " edited " : " new ") << int(side) << " row " << row << ": "
                        << qPrintable(text.name()) << " on " << qPrintable(shot.pixelColor(ground).name());
                    ++fields;
                }
            }
            EXPECT_EQ(fields, 3);

            // A refused entry's note beside the second asset, in its own red on the row.
            NWCategoryLogCellView* cell = editor->cellAt(EntrySide::Assets, 1);
            cell->setEntryMessage(u"Not a number: kept 1"_s);
            QCoreApplication::processEvents();
            const QLabel* note = cell->entryMessageLabel();
            const QColor drawn = note->palette().color(note->foregroundRole());
            EXPECT_EQ(drawn, NWCategoryLogCellView::entryMessageColor(dark));
            const QPoint beside = note->mapTo(window, QPoint(1, 1));
            EXPECT_GE(contrast(drawn, window->grab().toImage().pixelColor(beside)), 4.5);
            popover->forceClosePopover();
            delete popover;
        }
    });
}

TEST_F(EntryViewTest, HugeTotalsAreSetSmallerOrElidedAtTheirEndNeverCutAtTheFront)
{
    QWidget anchor;
    anchor.resize(300, 200);
    anchor.show();
    constexpr double largest = std::numeric_limits<double>::max();
    // Cash and the loan; the car and the hidden Old keep their May values.
    for (const auto& [cashValue, loanValue] :
        { std::pair(1e20, 5000.0), std::pair(largest, 0.0), std::pair(0.0, largest) }) {
        may->assetLogs()->at(0)->setValue(cashValue);
        may->liabilityLogs()->at(0)->setValue(loanValue);
        PKPopoverController* popover = showEditorPopover(may, &anchor);
        NWEntryViewController* editor = recordEditorOf(popover);
        ASSERT_TRUE(editor);
        const std::string when = QString::number(cashValue, 'g', 17).toStdString() + " less "
            + QString::number(loanValue).toStdString();
        const auto& logic = editor->logic();
        for (const auto& [name, total] : { std::pair(u"totalNWLabel"_s, logic.totalNW()),
                 std::pair(u"totalAssetLabel"_s, logic.totalAssets()),
                 std::pair(u"totalLiabilityLabel"_s, logic.totalLiabilities()) })
            expectShownFromItsStart(*child<QLabel>(*editor, name), NWEntryLogic::toCurrencyString(total),
                (when + " " + name.toStdString()).c_str());
        expectEveryTextFits(*editor, when.c_str());
        // The value fields not being edited show their values from their start, one that does
        // not fit whole with the whole of it in its tooltip. The first one is edited: the whole
        // of its value selected, and shown from its start too.
        const NWTableTextField* first = editor->cellAt(EntrySide::Assets, 0)->valueLabel();
        EXPECT_EVENTUALLY(first->hasFocus() && first->hasSelectedText());
        first->window()->grab(); // a line edit scrolls to its cursor when it paints
        for (EntrySide side : { EntrySide::Assets, EntrySide::Liabilities }) {
            const NWTableTextField* field = editor->cellAt(side, 0)->valueLabel();
            EXPECT_EQ(field->cursorPosition(), 0)
                << when << " " << int(side) << ": the value's start is out of view";
            if (field->hasFocus()) {
                EXPECT_EQ(field->selectedText(), field->text()) << when;
                // A value wider than the field starts at its left edge; one that fits stands right.
                const int cursorX = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
                if (field->fontMetrics().horizontalAdvance(field->text()) > field->width()) {
                    EXPECT_LT(cursorX, field->width() / 4)
                        << when << ": the edited value is shown from " << cursorX;
                }
                continue;
            }
            EXPECT_EQ(field->toolTip().isEmpty(),
                field->width() > field->fontMetrics().horizontalAdvance(field->text()))
                << when << " " << int(side);
        }
        popover->forceClosePopover();
        delete popover;
    }
}

} // namespace
