// The paper every printout starts from: the default printer's own, else the locale's.

#include "charts/common/PrintSession.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

class PrintSessionPaper : public ::testing::Test {
protected:
    void TearDown() override { PrintSession::setDefaultPrinterPaperForTesting({}); }
    static void setPrinterPaper(const QPageSize& paper)
    {
        PrintSession::setDefaultPrinterPaperForTesting([paper] { return paper; });
    }
};

TEST_F(PrintSessionPaper, WithoutAPrinterThePaperIsTheLocales)
{
    setPrinterPaper(QPageSize());
    EXPECT_EQ(PrintSession::defaultPaper(QLocale(u"en_US"_s)).id(), QPageSize::Letter);
    EXPECT_EQ(PrintSession::defaultPaper(QLocale(u"en_CA"_s)).id(), QPageSize::A4);
    EXPECT_EQ(PrintSession::defaultPaper(QLocale(u"de_DE"_s)).id(), QPageSize::A4);
    EXPECT_EQ(PrintSession::defaultPaper(QLocale(u"en_GB"_s)).id(), QPageSize::A4);
    EXPECT_EQ(PrintSession::defaultPaper(QLocale::c()).id(), QPageSize::A4);
}

TEST_F(PrintSessionPaper, TheDefaultPrintersOwnPaperComesBeforeTheLocales)
{
    setPrinterPaper(QPageSize(QPageSize::A4));
    EXPECT_EQ(PrintSession::defaultPaper(QLocale(u"en_US"_s)).id(), QPageSize::A4);
    setPrinterPaper(QPageSize(QPageSize::Legal));
    EXPECT_EQ(PrintSession::defaultPaper(QLocale(u"de_DE"_s)).id(), QPageSize::Legal);
    const QPageSize card(QSizeF(100, 150), QPageSize::Millimeter, u"Card"_s);
    setPrinterPaper(card);
    EXPECT_TRUE(PrintSession::defaultPaper(QLocale(u"en_US"_s)).isEquivalentTo(card));
}

// The shared printer is made once per process: this runs in a process of its own, where it is
// made after the printer's paper is known.
TEST_F(PrintSessionPaper, TheSharedPrinterStartsOnTheDefaultPrintersOwnPaper)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setPrinterPaper(QPageSize(QPageSize::Legal));
            const QPageSize paper = PrintSession::printer().pageLayout().pageSize();
            std::fprintf(stderr, "shared paper: %s\n", qPrintable(paper.key()));
            std::fflush(stderr);
            std::_Exit(paper.id() == QPageSize::Legal ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "shared paper: Legal");
}

} // namespace
