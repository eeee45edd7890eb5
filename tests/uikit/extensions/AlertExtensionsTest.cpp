#include "uikit/extensions/AlertPopover.h"
#include "uikit/extensions/AlertSynchronousSheet.h"

#include "uikit/popover/PKPopoverController.h"

#include "platform/Dispatch.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(AlertSynchronousSheetTest, AnswersTheClickedButtonsIndexPlusThousand)
{
    QWidget window;
    window.show();
    QMessageBox alert;
    alert.setText(u"Replace?"_s);
    alert.addButton(u"One"_s, QMessageBox::AcceptRole);
    alert.addButton(u"Two"_s, QMessageBox::AcceptRole);
    QAbstractButton* fourth = nullptr;
    alert.addButton(u"Three"_s, QMessageBox::AcceptRole);
    fourth = alert.addButton(u"Four"_s, QMessageBox::AcceptRole);
    ASSERT_EQ(alert.buttons().indexOf(fourth), 3);

    platform::runLater(&alert, [fourth] { fourth->click(); });
    EXPECT_EQ(AlertSynchronousSheet::runModalSheetForWindow(alert, &window), 1003);
    EXPECT_FALSE(alert.isVisible());

    platform::runLater(&alert, [&alert] { alert.buttons().first()->click(); });
    EXPECT_EQ(AlertSynchronousSheet::runModalSheet(alert), 1000);

    QMessageBox closed;
    closed.addButton(u"One"_s, QMessageBox::AcceptRole);
    closed.addButton(u"Two"_s, QMessageBox::AcceptRole);
    platform::runLater(&closed, [&closed] { closed.reject(); });
    EXPECT_EQ(AlertSynchronousSheet::runModalSheet(closed), 0);
}

std::unique_ptr<QMessageBox> makeAlert(const QString& text, int buttons)
{
    auto alert = std::make_unique<QMessageBox>();
    alert->setText(text);
    for (int i = 0; i < buttons; ++i)
        alert->addButton(u"Button %1"_s.arg(i + 1), QMessageBox::AcceptRole);
    return alert;
}

TEST(AlertPopoverTest, SecondAlertDisplacesTheFirstWhichComesBackWhereItWas)
{
    QWidget window;
    window.resize(400, 300);
    auto* firstView = new QWidget(&window);
    firstView->setGeometry(20, 200, 80, 30);
    auto* secondView = new QWidget(&window);
    secondView->setGeometry(250, 200, 80, 30);
    window.show();

    std::vector<std::pair<QString, int>> answers;
    auto first = makeAlert(u"First"_s, 4);
    auto second = makeAlert(u"Second"_s, 2);
    AlertPopover::runAsPopoverForView(
        first.get(), firstView, [&](int r) { answers.emplace_back(u"first"_s, r); });
    PKPopoverController* firstPopover = AlertPopover::parentPopover(first.get());
    ASSERT_TRUE(firstPopover);
    EXPECT_TRUE(firstPopover->shown());
    EXPECT_EQ(firstPopover->positionView(), firstView);
    EXPECT_EQ(AlertPopover::targetView(first.get()), firstView);
    const PKPopoverGeometry::ArrowDirection aboveArrow = firstPopover->arrowDirection();

    AlertPopover::runAsPopoverForView(second.get(), secondView, platform::RectEdge::MinX,
        [&](int r) { answers.emplace_back(u"second"_s, r); });
    EXPECT_EQ(AlertPopover::shownAlert(), second.get());
    EXPECT_FALSE(AlertPopover::parentPopover(first.get())); // its popover was closed
    ASSERT_TRUE(AlertPopover::parentPopover(second.get()));
    // The min x edge was asked for; the popover opens above the view all the same.
    EXPECT_EQ(AlertPopover::parentPopover(second.get())->arrowDirection(), aboveArrow);
    EXPECT_EQ(AlertPopover::parentPopover(second.get())->positionView(), secondView);

    second->buttons().at(1)->click();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], std::make_pair(u"second"_s, 1001));
    // The first comes back at its own view.
    EXPECT_EQ(AlertPopover::shownAlert(), first.get());
    ASSERT_TRUE(AlertPopover::parentPopover(first.get()));
    EXPECT_TRUE(AlertPopover::parentPopover(first.get())->shown());
    EXPECT_EQ(AlertPopover::parentPopover(first.get())->positionView(), firstView);

    first->buttons().at(3)->click();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1], std::make_pair(u"first"_s, 1003));
    EXPECT_FALSE(AlertPopover::shownAlert());
    EXPECT_FALSE(first->isVisible());
}

} // namespace
