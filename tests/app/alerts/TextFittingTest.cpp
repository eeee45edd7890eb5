#include "app/alerts/AlertLayout.h"
#include "app/alerts/AskDeleteAllData.h"
#include "app/alerts/AskManualDownload.h"
#include "app/alerts/MessagePopover.h"
#include "app/alerts/NoCategoriesWarningViewController.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include "support/TextFits.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using mervane::test::expectEveryTextFits;

namespace {

const QString longText
    = u"A household that keeps its records in a folder shared with another computer may find "
      "that the other computer has changed the data file in the meantime; the popover "
      "then says so at length, naming /home/someone/Documents/Household/mervane.json, "
      "and every word of it must stay readable."_s;

// A window with a button in its title strip, below which the popovers hang (and above which
// they stand, for the record list's add button).
class PopoverTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = std::make_unique<QWidget>();
        // On the screen at either scale: at twice the scale the screen is half as large.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_window->setGeometry(screen.x() + 20, screen.y() + 20, std::min(900, screen.width() - 40),
            std::min(700, screen.height() - 40));
        m_anchor = new QPushButton(u"Document"_s, m_window.get());
        m_anchor->setGeometry(m_window->width() - 200, 8, 23, 23);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Shows `content` in a popover as the shell does; the popover owns it.
    PKPopoverController& show(QWidget* content)
    {
        m_popover = std::make_unique<PKPopoverController>(content);
        m_popover->setDefaultProperties_ItemWarning();
        m_popover->setClosesWhenPopoverResignsKey(false);
        m_popover->setAnimates(false);
        m_popover->showRelativeToRect(QRectF(m_anchor->rect()), m_anchor, platform::RectEdge::MaxY);
        settle();
        return *m_popover;
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // The content is laid out at the size the popover gives it, inside the popover's window.
    void expectContentFitsThePopover(const char* when) const
    {
        QWidget* content = m_popover->contentViewController();
        EXPECT_EQ(QSizeF(content->size()), m_popover->contentSize()) << when;
        const QRect inWindow(content->mapTo(content->window(), QPoint(0, 0)), content->size());
        EXPECT_TRUE(content->window()->rect().contains(inWindow)) << when;
        expectEveryTextFits(*content, when);
    }

    std::unique_ptr<QWidget> m_window;
    QPushButton* m_anchor = nullptr;
    std::unique_ptr<PKPopoverController> m_popover;
};

TEST_F(PopoverTexts, RunAtTheScaleAsked)
{
    // The second run of these tests sets QT_SCALE_FACTOR=2: it must really draw at twice the size.
    const double asked = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
        : 1.0;
    EXPECT_DOUBLE_EQ(m_window->windowHandle()->devicePixelRatio(), asked);
}

TEST_F(PopoverTexts, EveryConfirmationShowsAllOfItsTexts)
{
    const std::pair<const char*, std::function<QWidget*()>> alerts[] = {
        { "delete all", [] { return new AskDeleteAllData; } },
        { "restore",
            [] {
                auto* ask = new AskDeleteAllData;
                ask->changeWarningType(true);
                return ask;
            } },
        { "manual", [] { return new AskManualDownload; } },
        { "no categories", [] { return new NoCategoriesWarningViewController; } },
    };
    for (const auto& [name, make] : alerts) {
        show(make());
        expectContentFitsThePopover(name);
        m_popover->forceClosePopover();
    }
}

TEST_F(PopoverTexts, ShownPopoverGrowsAndShrinksWithItsText)
{
    auto* ask = new AskDeleteAllData;
    show(ask);
    auto* message = ask->findChild<QLabel*>(u"messageCtl"_s);
    ASSERT_TRUE(message);
    const QString shortText = message->text();
    const int shortWindow = m_popover->popoverWindow()->height();
    const int top = m_popover->popoverWindow()->y();

    message->setText(longText);
    settle();
    expectContentFitsThePopover("long text");
    EXPECT_GT(m_popover->popoverWindow()->height(), shortWindow + 2 * message->fontMetrics().lineSpacing());
    EXPECT_EQ(m_popover->popoverWindow()->y(), top) << "it grows downwards, away from its button";
    EXPECT_EQ(ask->width(), 380) << "it grows in height, not in width";

    message->setText(shortText);
    settle();
    expectContentFitsThePopover("short text again");
    EXPECT_EQ(m_popover->popoverWindow()->height(), shortWindow);
}

TEST_F(PopoverTexts, ScreensThatOnlyArrangeTheirAlertAreFittedToo)
{
    // As the record list's and the category screen's questions do: arrange, then a fixed size
    // too small for a long question.
    auto* question = new QWidget;
    QLabel* title = AlertLayout::makeTitle(u"Delete the selected category?"_s, question);
    QLabel* message = AlertLayout::makeMessage(longText, question);
    AlertLayout::arrange(question, { title, message }, { new QPushButton(u"OK"_s, question) });
    question->resize(320, 120);
    show(question);
    expectContentFitsThePopover("arranged only");
    EXPECT_EQ(question->width(), 320);
    EXPECT_GT(question->height(), 120);
}

TEST_F(PopoverTexts, AWordWiderThanTheAlertWidensIt)
{
    auto* question = new QWidget;
    // No place to break it (a path breaks after its slashes, a name after its hyphens).
    const QString word = u"Haushaltsbuchfuehrungsdatensicherungskopie"_s;
    QLabel* message = AlertLayout::makeMessage(word, question);
    AlertLayout::arrange(question, { message }, { new QPushButton(u"OK"_s, question) });
    AlertLayout::fitToWidth(question, 120);
    show(question);
    EXPECT_GT(question->width(), 120);
    EXPECT_GE(message->width(), message->fontMetrics().horizontalAdvance(word));
    expectContentFitsThePopover("one long word");
}

TEST_F(PopoverTexts, MessagesShowTheirWholeText)
{
    MessagePopover messages;
    for (const QString& text :
        QStringList { u"Backup written."_s, longText, longText + u"\n\n"_s + longText }) {
        messages.showMessage(text, m_anchor, true);
        settle();
        auto* content = qobject_cast<SimpleAlertViewController*>(messages.popover()->contentViewController());
        ASSERT_TRUE(content);
        EXPECT_EQ(QSizeF(content->size()), messages.popover()->contentSize());
        expectEveryTextFits(*content, qPrintable(text.left(20)));
    }
    messages.close();
}

TEST_F(PopoverTexts, RestoreQuestionSwitchedAsItShowsKeepsItsWidth)
{
    // As the shell asks: the question turns to restoring in the popover's will-show step, when
    // the content still has the size of the window that was never shown.
    for (const bool animates : { false, true }) {
        auto* ask = new AskDeleteAllData;
        m_popover = std::make_unique<PKPopoverController>(ask);
        m_popover->setDefaultProperties_ItemWarning();
        m_popover->setAnimates(animates);
        m_popover->setWillShowBlock([](PKPopoverController* popover) {
            qobject_cast<AskDeleteAllData*>(popover->contentViewController())->changeWarningType(true);
        });
        m_popover->showRelativeToRect(QRectF(m_anchor->rect()), m_anchor, platform::RectEdge::MaxY);
        settle();
        EXPECT_EQ(ask->width(), 380) << "animated " << animates;
        EXPECT_EQ(m_popover->contentSize().width(), 380) << "animated " << animates;
        expectContentFitsThePopover("restore");
        m_popover->forceClosePopover();
    }
}

} // namespace
