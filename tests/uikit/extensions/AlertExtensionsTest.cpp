#include "uikit/extensions/AlertSynchronousSheet.h"

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

} // namespace
