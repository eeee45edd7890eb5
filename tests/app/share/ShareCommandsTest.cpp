// The share menu and the help popover at buttons of a real window, as the title bar shows them.

#include "ShareTestSupport.h"

#include "app/alerts/AskManualDownload.h"
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/MessagePopover.h"
#include "app/share/MakerAddresses.h"
#include "app/share/ShareCommands.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class ShareCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(40, 40, 700, 500);
        m_share = new QPushButton(m_window.get());
        m_share->setGeometry(700 - 137, 8, 23, 23);
        m_help = new QPushButton(m_window.get());
        m_help->setGeometry(700 - 267, 8, 23, 23);
        m_window->show();
        m_commands = std::make_unique<ShareCommands>(ShareCommands::Host {
            [this] { return m_window.get(); }, [this](const QString& text) { m_messages.append(text); } });
    }
    void TearDown() override
    {
        m_commands.reset();
        m_window.reset();
        QCoreApplication::processEvents();
    }

    QMenu* openShareMenu()
    {
        m_commands->shareButtonHandler(m_share);
        QMenu* menu = m_commands->sharePicker();
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }
    // Chooses a menu item as a click on it does: the menu hides, then the item acts.
    void choose(const QString& item)
    {
        QMenu* menu = openShareMenu();
        ASSERT_TRUE(menu);
        auto* action = menu->findChild<QAction*>(item);
        ASSERT_TRUE(action) << item.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QCoreApplication::processEvents();
        EXPECT_FALSE(m_commands->sharePicker()) << "the menu stays after " << item.toStdString();
    }

    std::unique_ptr<QWidget> m_window;
    QPushButton* m_share = nullptr;
    QPushButton* m_help = nullptr;
    QStringList m_messages;
    std::unique_ptr<ShareCommands> m_commands;
};

TEST_F(ShareCommandsTest, MenuOffersCopyThenTheTwoMailsBelowTheButton)
{
    QMenu* menu = openShareMenu();
    ASSERT_TRUE(menu);
    QStringList titles;
    QStringList names;
    for (QAction* action : menu->actions()) {
        titles.append(action->text());
        names.append(action->objectName());
    }
    EXPECT_EQ(titles, (QStringList { u"Copy"_s, u"Report an Issue ..."_s, u"Feature request"_s }));
    EXPECT_EQ(names, (QStringList { u"copyShareItem"_s, u"reportAnIssueItem"_s, u"featureRequestItem"_s }));
    EXPECT_FALSE(menu->actions().at(1)->icon().isNull());
    EXPECT_FALSE(menu->actions().at(2)->icon().isNull());

    // Right below the button (the maximum-y edge of the y-up design), under its middle.
    const QRect button(m_share->mapToGlobal(QPoint(0, 0)), m_share->size());
    const QRect shown = menu->geometry();
    EXPECT_EQ(shown.top(), button.bottom() + 1);
    EXPECT_LE(shown.left(), button.center().x());
    EXPECT_GE(shown.right(), button.center().x());

    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_commands->sharePicker());
}

TEST_F(ShareCommandsTest, MenuPositionFollowsTheEdgeInTheYUpSpace)
{
    const QSize menu(180, 90);
    const QPoint at = ShareCommands::menuPosition(QRect(500, 10, 23, 23), menu);
    EXPECT_EQ(at.y(), 33);
    EXPECT_NEAR(at.x() + menu.width() / 2.0, 500 + 23 / 2.0, 1.0);
}

TEST_F(ShareCommandsTest, CopyPutsThePromotionalTextOnTheClipboard)
{
    QApplication::clipboard()->setText(u"something else"_s);
    CapturedLinks links;
    choose(u"copyShareItem"_s);
    EXPECT_EQ(QApplication::clipboard()->text(),
        u"#Mervane 2 app for Mac from @"_s + MakerAddresses::socialHandle() + u". "_s
            + ExternalLinks::productPage().toString());
    EXPECT_TRUE(
        MakerAddresses::socialHandle().size() > 0 && !MakerAddresses::socialHandle().startsWith(u'@'));
    EXPECT_TRUE(links.opened.isEmpty());
}

TEST_F(ShareCommandsTest, ReportAnIssueHandsTheMailWithDiagnosticsToTheMailProgram)
{
    CapturedLinks links;
    choose(u"reportAnIssueItem"_s);
    ASSERT_EQ(links.opened.size(), 1);
    const DecodedMail mail = decodeMailto(links.opened.constFirst());
    EXPECT_EQ(mail.recipients, MakerAddresses::supportEmails());
    EXPECT_EQ(
        mail.fields.at(u"subject"_s), u"Issue Report: Mervane 2 - "_s + QStringLiteral(MERVANE_VERSION));
    const QString body = mail.fields.at(u"body"_s);
    const QString head
        = u"What I did:\n\n\n\n\nWhat happened:\n\n\n\n\nWhat I expected:\n\n\n\n\nDiagnostics:\n"_s
        + QString(47, u'-') + u'\n';
    ASSERT_TRUE(body.startsWith(head)) << body.toStdString();
    const QStringList lines = body.mid(head.size()).split(u'\n');
    ASSERT_EQ(lines.size(), 5) << body.toStdString();
    EXPECT_TRUE(QRegularExpression(u"^Linux \\d+\\.\\d+\\.\\d+$"_s).match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(QRegularExpression(u"^SystemInfo: \\S.*$"_s).match(lines[1]).hasMatch())
        << lines[1].toStdString();
    EXPECT_TRUE(QRegularExpression(u"^RAM: [1-9]\\d*\\.\\d GB$"_s).match(lines[2]).hasMatch())
        << lines[2].toStdString();
    EXPECT_TRUE(QRegularExpression(u"^Screen: \\S.* \\d+x\\d+ \\S.*$"_s).match(lines[3]).hasMatch())
        << lines[3].toStdString();
    EXPECT_TRUE(lines[4].isEmpty());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(ShareCommandsTest, FeatureRequestGoesToTheInformationAddress)
{
    CapturedLinks links;
    choose(u"featureRequestItem"_s);
    ASSERT_EQ(links.opened.size(), 1);
    const DecodedMail mail = decodeMailto(links.opened.constFirst());
    EXPECT_EQ(mail.recipients, QStringList { MakerAddresses::informationEmail() });
    EXPECT_EQ(mail.fieldOrder, QStringList { u"subject"_s });
    EXPECT_EQ(mail.fields.at(u"subject"_s),
        u"Mervane "_s + QStringLiteral(MERVANE_VERSION) + u" for Mac - feature request"_s);
}

TEST_F(ShareCommandsTest, WithoutAVersionTheMailsHaveNoSubject)
{
    CapturedLinks links;
    QCoreApplication::setApplicationVersion({});
    m_commands->reportingAnIssue();
    m_commands->featureRequest();
    QCoreApplication::setApplicationVersion(QStringLiteral(MERVANE_VERSION));
    ASSERT_EQ(links.opened.size(), 2);
    EXPECT_EQ(decodeMailto(links.opened[0]).fieldOrder, QStringList { u"body"_s });
    EXPECT_TRUE(decodeMailto(links.opened[1]).fieldOrder.isEmpty());
}

TEST_F(ShareCommandsTest, AMailNoProgramTookIsSaidWithTheAddress)
{
    CapturedLinks links;
    links.answer = false;
    m_commands->featureRequest();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages.constFirst().contains(MakerAddresses::informationEmail()))
        << m_messages.constFirst().toStdString();
    m_commands->reportingAnIssue();
    ASSERT_EQ(m_messages.size(), 2);
    for (const QString& address : MakerAddresses::supportEmails())
        EXPECT_TRUE(m_messages.constLast().contains(address)) << m_messages.constLast().toStdString();
}

TEST_F(ShareCommandsTest, AMailFromTheMenuNoProgramTookIsToldAtTheShareButton)
{
    CapturedLinks links;
    links.answer = false;
    choose(u"featureRequestItem"_s);
    ASSERT_EQ(links.opened.size(), 1);
    auto* messages = m_window->findChild<MessagePopover*>();
    ASSERT_TRUE(messages && messages->isShown());
    EXPECT_EQ(messages->popover()->positionView(), m_share);
    EXPECT_TRUE(messages->text().split(u'\n').contains(MakerAddresses::informationEmail()))
        << messages->text().toStdString();
    EXPECT_TRUE(m_messages.isEmpty()) << "told at the document button";
}

TEST_F(ShareCommandsTest, AManualNoBrowserOpenedIsToldAtTheHelpButtonWithItsAddress)
{
    PKPopoverController::setApplicationActiveOverride(true);
    CapturedLinks links;
    links.answer = false;
    m_commands->helpButtonHandler(m_help);
    PKPopoverController* offer = m_commands->getManualPopover();
    ASSERT_TRUE(offer);
    offer->contentViewController()->findChild<QPushButton*>(u"yesButton"_s)->click();
    EXPECT_EQ(links.opened, QList<QUrl> { ExternalLinks::userManual() });
    auto* messages = m_window->findChild<MessagePopover*>();
    ASSERT_TRUE(messages && messages->isShown());
    EXPECT_EQ(messages->popover()->positionView(), m_help);
    const QString address = ExternalLinks::userManual().toString();
    EXPECT_TRUE(messages->text().split(u'\n').contains(address)) << messages->text().toStdString();
    auto* label = messages->popover()->contentView()->findChild<QLabel*>(u"alertCtl"_s);
    ASSERT_TRUE(label);
    label->setSelection(int(messages->text().indexOf(address)), int(address.size()));
    EXPECT_EQ(label->selectedText(), address);
    EXPECT_TRUE(m_messages.isEmpty()) << "told at the document button";
    PKPopoverController::setApplicationActiveOverride(std::nullopt);
}

TEST_F(ShareCommandsTest, HelpTogglesTheManualPopoverInTheWarningStyle)
{
    PKPopoverController::setApplicationActiveOverride(true);
    CapturedLinks links;
    m_commands->helpButtonHandler(m_help);
    QPointer<PKPopoverController> first = m_commands->getManualPopover();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->shown());
    EXPECT_TRUE(qobject_cast<AskManualDownload*>(first->contentViewController()));
    // The warning look: closes on Escape, on losing the keyboard and when the application goes.
    EXPECT_TRUE(first->closesWhenEscapeKeyPressed());
    EXPECT_TRUE(first->closesWhenPopoverResignsKey());
    EXPECT_TRUE(first->closesWhenApplicationBecomesInactive());
    EXPECT_EQ(first->arrowDirection(), PKPopoverGeometry::ArrowDirection::Up);
    EXPECT_GE(
        first->popoverWindow()->geometry().top(), m_help->mapToGlobal(QPoint(0, m_help->height())).y() - 1);

    m_commands->helpButtonHandler(m_help);
    EXPECT_FALSE(m_commands->getManualPopover());
    EXPECT_TRUE(!first || first->state() == PKPopoverController::State::Closing
        || first->state() == PKPopoverController::State::Hidden);

    // Opened anew; Cancel opens nothing, Yes opens the manual.
    for (const QString& answer : { u"cancelButton"_s, u"yesButton"_s }) {
        m_commands->helpButtonHandler(m_help);
        PKPopoverController* popover = m_commands->getManualPopover();
        ASSERT_TRUE(popover && popover->shown());
        EXPECT_NE(popover, first.data());
        auto* button = popover->contentViewController()->findChild<QPushButton*>(answer);
        ASSERT_TRUE(button);
        const QPointer<PKPopoverController> answered = popover;
        button->click();
        EXPECT_TRUE(!answered || answered->state() != PKPopoverController::State::Shown)
            << answer.toStdString();
        // A press after the answer opens it again rather than closing a closed one.
        m_commands->helpButtonHandler(m_help);
        EXPECT_TRUE(m_commands->getManualPopover() && m_commands->getManualPopover()->shown());
        m_commands->helpButtonHandler(m_help);
    }
    EXPECT_EQ(links.opened, QList<QUrl> { ExternalLinks::userManual() });
    EXPECT_EQ(ExternalLinks::userManual().scheme(), u"https"_s);
    EXPECT_TRUE(ExternalLinks::userManual().path().endsWith(u".pdf"_s));
    PKPopoverController::setApplicationActiveOverride(std::nullopt);
}

} // namespace
