#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "records/list/NWCellView.h"
#include "records/list/TableBaseViewController.h"
#include "support/Contrast.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// From nothing to just under a hundred million, with the cents that round up.
constexpr double amounts[]
    = { 0, 0.49, 7, 999.99, 12'345.67, 999'999.99, 1'232'812.78, 9'999'999.99, 99'999'999.99 };
// Every amount up to here is shown whole, whatever the other amounts of its row.
constexpr double wholeUpTo = 9'999'999.99;

struct Currency {
    const char* name;
    QString baseCurrency; // null: the household has none and the user's locale decides
    QLocale::Language language;
    QLocale::Territory territory;
    QString sample; // how 1,232,812.78 is written in the list
};

const Currency currencies[] = {
    { "USD", u"USD"_s, QLocale::English, QLocale::UnitedStates, u"$1,232,813"_s },
    { "CHF", u"CHF"_s, QLocale::English, QLocale::UnitedStates, u"CHF 1’232’813"_s },
    { "JPY", u"JPY"_s, QLocale::English, QLocale::UnitedStates, u"¥1,232,813"_s },
    { "EUR in German", QString(), QLocale::German, QLocale::Germany, u"1.232.813 €"_s },
};

class RecordListLayoutTest : public SharedStoreTest {
protected:
    void TearDown() override
    {
        m_list.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        SharedStoreTest::TearDown();
    }

    /// Loads a household of `currency` whose 40 records hold the largest amounts, and shows
    /// the list at its width in the dashboard, 340 points, with enough rows for a scroll bar.
    void showList(const Currency& currency)
    {
        QLocale::setDefault(QLocale(currency.language, currency.territory));
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(currency.baseCurrency);
        auto cash = std::make_shared<MVX_Category>();
        cash->setID(u"CASH"_s);
        cash->setCategoryName(u"Cash"_s);
        model->assetscat()->append(cash);
        MVX_NWLogList records;
        for (int month = 0; month < 40; ++month)
            records.append(recordWithTotals(2030 - month / 12, 12 - month % 12, month % 2 ? 99'999'999.99 : 0,
                month % 2 ? 0 : 99'999'999.99));
        model->setNwLogArray(records);
        loadAsAtStart(*model);
        m_list = std::make_unique<TableBaseViewController>();
        m_list->resize(340, 500);
        m_list->show();
        QCoreApplication::processEvents();
    }

    NWCellView* cell(int row) const
    {
        const QModelIndex index = m_list->tableView()->model()->index(row, 0);
        QWidget* widget = m_list->tableView()->indexWidget(index);
        return widget ? widget->findChild<NWCellView*>() : nullptr;
    }

    /// Every field of the row lies inside the row, and its text, as drawn with the font the
    /// field really has, within the field; the net worth and its change do not overlap, nor do
    /// the assets and the liabilities.
    static ::testing::AssertionResult fits(const NWCellView& row)
    {
        const QList<QLabel*> fields
            = { row.nwField(), row.nwDeltaField(), row.asField(), row.lbField(), row.monthField(),
                  row.yearField(), row.commentField(), row.assetsCaption(), row.liabilitiesCaption() };
        for (const QLabel* field : fields) {
            const int advance = QFontMetrics(field->font()).horizontalAdvance(field->text());
            if (advance > field->contentsRect().width())
                return ::testing::AssertionFailure()
                    << field->objectName().toStdString() << " \"" << field->text().toStdString()
                    << "\" needs " << advance << " of " << field->contentsRect().width();
            if (!row.rect().contains(field->geometry()))
                return ::testing::AssertionFailure()
                    << field->objectName().toStdString() << " leaves the row";
        }
        if (!row.nwDeltaField()->text().isEmpty()
            && row.nwField()->geometry().intersects(row.nwDeltaField()->geometry()))
            return ::testing::AssertionFailure() << "the net worth overlaps its change";
        if (row.asField()->geometry().intersects(row.lbField()->geometry()))
            return ::testing::AssertionFailure() << "the assets overlap the liabilities";
        return ::testing::AssertionSuccess();
    }

    static QList<FittingLabel*> amountFields(const NWCellView& row)
    {
        return { row.nwField(), row.nwDeltaField(), row.asField(), row.lbField() };
    }

    std::unique_ptr<TableBaseViewController> m_list;
};

TEST_F(RecordListLayoutTest, RowsUseTheDesignsFontsStandInNotTheSystemDefault)
{
    if (!QFontDatabase::families().contains(u"Liberation Sans"_s))
        GTEST_SKIP() << "fonts-liberation is not installed";
    if (QFontDatabase::families().contains(u"Helvetica Neue"_s))
        GTEST_SKIP() << "the design's own family is installed";
    showList(currencies[0]);
    NWCellView* row = cell(0);
    ASSERT_NE(row, nullptr);
    const QList<QLabel*> fields
        = { row->nwField(), row->nwDeltaField(), row->asField(), row->lbField(), row->monthField(),
              row->yearField(), row->commentField(), row->assetsCaption(), row->liabilitiesCaption() };
    for (const QLabel* field : fields)
        EXPECT_EQ(QFontInfo(field->font()).family(), u"Liberation Sans"_s)
            << field->objectName().toStdString();
    EXPECT_TRUE(QFontInfo(row->nwField()->font()).bold());
}

TEST_F(RecordListLayoutTest, EveryAmountFitsItsFieldAtTheListsWidthAndIsShownWhole)
{
    for (const Currency& currency : currencies) {
        SCOPED_TRACE(currency.name);
        showList(currency);
        // The narrowest the rows get: the list's 340 points less its scroll bar.
        ASSERT_TRUE(m_list->tableView()->verticalScrollBar()->isVisible());
        NWCellView* row = cell(0);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->width(), m_list->tableView()->viewport()->width());
        EXPECT_LT(row->width(), 340);
        EXPECT_EQ(row->height(), NWCellView::rowHeight);
        for (int shown = 0; shown < 6; ++shown) {
            ASSERT_NE(cell(shown), nullptr);
            EXPECT_TRUE(fits(*cell(shown))) << "row " << shown;
        }

        const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
        EXPECT_EQ(money.stringFromNumber(1'232'812.78).replace(QChar(0xa0), u' '), currency.sample);
        int shrunk = 0;
        for (const double assets : amounts) {
            for (const double liabilities : amounts) {
                for (const double older : amounts) {
                    // The older record's net worth both ways: gains and losses, and both signs.
                    for (const bool olderOwes : { false, true }) {
                        const auto record = recordWithTotals(2030, 5, assets, liabilities);
                        const auto previous
                            = recordWithTotals(2030, 4, olderOwes ? 0 : older, olderOwes ? older : 0);
                        row->setRecord(*record, previous.get(), money);
                        const ::testing::AssertionResult fitted = fits(*row);
                        EXPECT_TRUE(fitted) << assets << " - " << liabilities << " after " << older
                                            << (olderOwes ? " owed" : "");
                        if (!fitted)
                            return;
                        // Whole up to 9,999,999.99; beyond, only a change of a billion
                        // percent and more may be elided (from almost nothing to a fortune).
                        const double largest = std::max({ assets, liabilities, older });
                        const double olderNetWorth = olderOwes ? -older : older;
                        const double change = assets - liabilities - olderNetWorth;
                        const bool mayElide
                            = largest > wholeUpTo && std::abs(change) >= 1e7 * std::abs(olderNetWorth);
                        for (const FittingLabel* field : amountFields(*row)) {
                            shrunk += field->naturalWidth() > field->contentsRect().width() ? 1 : 0;
                            if (field->isElided()) {
                                EXPECT_TRUE(mayElide) << field->fullText().toStdString();
                                EXPECT_TRUE(field->text().endsWith(QChar(0x2026)));
                                EXPECT_EQ(field->toolTip(), field->fullText());
                            } else {
                                EXPECT_EQ(field->text(), field->fullText());
                                EXPECT_TRUE(field->toolTip().isEmpty());
                            }
                        }
                    }
                }
            }
        }
        // The largest amounts do not fit at the fields' own sizes: the matrix reaches the shrinking.
        EXPECT_GT(shrunk, 0);
    }
}

TEST_F(RecordListLayoutTest, ASelectedRowKeepsItsAmountsReadable)
{
    showList(currencies[0]);
    m_list->tableView()->selectRow(1);
    QCoreApplication::processEvents();
    NWCellView* row = cell(1);
    ASSERT_NE(row, nullptr);
    // The background behind the liabilities, right of their text, as the list draws it.
    const QImage drawn = m_list->tableView()->viewport()->grab().toImage();
    const QRect field
        = row->lbField()->geometry().translated(row->mapTo(m_list->tableView()->viewport(), QPoint()));
    const QColor background = drawn.pixelColor(field.right() - 2, field.center().y());
    const QColor text = row->lbField()->palette().color(row->lbField()->foregroundRole());
    EXPECT_GE(contrast(text, background), 4.5)
        << background.name().toStdString() << " behind " << text.name().toStdString();
    EXPECT_NE(background, m_list->tableView()->palette().color(QPalette::Active, QPalette::Highlight));
}

} // namespace
