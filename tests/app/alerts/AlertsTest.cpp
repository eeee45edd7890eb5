#include "app/alerts/AskDeleteAllData.h"
#include "app/alerts/AskManualDownload.h"
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/MessagePopover.h"
#include "app/alerts/NWTrackedHyperlinkView.h"
#include "app/alerts/NoCategoriesWarningViewController.h"
#include "platform/NotificationCenter.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The alerts' outlets are found by the object names they carry.
template <typename Widget> Widget* outlet(const QWidget& alert, const QString& name)
{
    auto* widget = alert.findChild<Widget*>(name);
    EXPECT_TRUE(widget) << qPrintable(alert.objectName()) << " has no " << qPrintable(name);
    return widget;
}

QPushButton* button(const QWidget& alert, const QString& name)
{
    return outlet<QPushButton>(alert, name);
}

QString text(const QWidget& alert, const QString& name)
{
    const auto* label = outlet<QLabel>(alert, name);
    return label ? label->text() : QString();
}

class Alerts : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_listener, {}, [this](const platform::Notification& n) { m_posted.append(n.name); });
    }
    QObject m_listener;
    QStringList m_posted;
};

TEST_F(Alerts, ConfirmationPostsOnlyItsOwnNotificationOnOk)
{
    AskDeleteAllData deleting;
    QSignalSpy closing(&deleting, &AskDeleteAllData::closeRequested);
    button(deleting, u"okButton"_s)->click();
    // Posted once the click has been handled, never from inside it.
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(closing.count(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_posted, QStringList { u"DeleteAllMERVANEData"_s });

    m_posted.clear();
    AskDeleteAllData restoring;
    QSignalSpy restoreClosing(&restoring, &AskDeleteAllData::closeRequested);
    restoring.changeWarningType(true);
    EXPECT_EQ(text(restoring, u"titleCtl"_s), u"Confirm restoring of all application data"_s);
    button(restoring, u"okButton"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_posted, QStringList { u"RestoreAllMERVANEData"_s });
    EXPECT_EQ(restoreClosing.count(), 1);
}

TEST_F(Alerts, CancelPostsNothingAndCloses)
{
    AskDeleteAllData ask;
    ask.changeWarningType(true);
    QSignalSpy closing(&ask, &AskDeleteAllData::closeRequested);
    button(ask, u"cancelButton"_s)->click();
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(closing.count(), 1);
}

TEST_F(Alerts, AnswersCloseThePopoverThatShowsTheConfirmation)
{
    QWidget window;
    window.resize(400, 300);
    auto* anchor = new QPushButton(u"Document"_s, &window);
    anchor->setGeometry(300, 10, 23, 23);
    window.show();

    auto* ask = new AskDeleteAllData;
    PKPopoverController popover(ask);
    popover.setAnimates(false);
    for (QPushButton* answer : { button(*ask, u"cancelButton"_s), button(*ask, u"okButton"_s) }) {
        popover.showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MinY);
        ASSERT_TRUE(popover.shown());
        answer->click();
        EXPECT_FALSE(popover.shown());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(m_posted, QStringList { u"DeleteAllMERVANEData"_s });
}

TEST_F(Alerts, RestoreModeStaysOnceChosen)
{
    AskDeleteAllData ask;
    const QString deleteTitle = text(ask, u"titleCtl"_s);
    ask.changeWarningType(false);
    EXPECT_FALSE(ask.showRestoreWarning());
    EXPECT_EQ(text(ask, u"titleCtl"_s), deleteTitle);
    ask.changeWarningType(true);
    ask.changeWarningType(false);
    EXPECT_TRUE(ask.showRestoreWarning());
    EXPECT_EQ(text(ask, u"messageCtl"_s),
        u"This action will delete all of your current records and replace them with records saved in a "
        "previously saved backup file."_s);
}

TEST_F(Alerts, ManualDownloadOpensTheManualOnlyOnYes)
{
    QList<QUrl> opened;
    ExternalLinks::setOpenerForTesting([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    AskManualDownload ask;
    QSignalSpy closing(&ask, &AskManualDownload::closeRequested);
    button(ask, u"cancelButton"_s)->click();
    EXPECT_TRUE(opened.isEmpty());
    button(ask, u"yesButton"_s)->click();
    EXPECT_EQ(opened, QList<QUrl> { ExternalLinks::userManual() });
    EXPECT_TRUE(ExternalLinks::userManual().isValid());
    EXPECT_EQ(closing.count(), 2);
    ExternalLinks::setOpenerForTesting({});
}

TEST_F(Alerts, NoCategoriesWarningOnlyClosesOnOk)
{
    NoCategoriesWarningViewController warning;
    QSignalSpy closing(&warning, &NoCategoriesWarningViewController::closeRequested);
    button(warning, u"closeButton"_s)->click();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(m_posted.isEmpty());
}

TEST_F(Alerts, SecondMessageReplacesTheOpenOne)
{
    QWidget window;
    window.resize(400, 300);
    auto* anchor = new QPushButton(u"Document"_s, &window);
    anchor->setGeometry(300, 10, 23, 23);
    window.show();

    MessagePopover messages;
    messages.showMessage(u"Backup written."_s, anchor);
    ASSERT_TRUE(messages.isShown());
    PKPopoverController* popover = messages.popover();
    const quint64 generation = popover->generation();

    messages.showMessage(u"Restore failed: <b>file</b>"_s, anchor);
    EXPECT_TRUE(messages.isShown());
    EXPECT_EQ(messages.popover(), popover);
    EXPECT_EQ(popover->generation(), generation); // not closed and shown again
    EXPECT_EQ(messages.text(), u"Restore failed: <b>file</b>"_s);
    auto* content = qobject_cast<SimpleAlertViewController*>(popover->contentViewController());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->alertCtl()->textFormat(), Qt::PlainText);

    messages.close();
    popover->forceClosePopover();
    messages.showMessage(u"Third"_s, anchor);
    EXPECT_EQ(messages.popover(), popover); // made once, reused
    EXPECT_EQ(messages.text(), u"Third"_s);
}

TEST_F(Alerts, MessagePopoverGrowsWithItsTextAndScrollsPastItsMaximum)
{
    QWidget window;
    window.resize(600, 400);
    auto* anchor = new QPushButton(u"Document"_s, &window);
    anchor->setGeometry(500, 10, 23, 23);
    window.show();

    MessagePopover messages;
    messages.showMessage(u"Backup written."_s, anchor, true);
    PKPopoverController* popover = messages.popover();
    auto* content = qobject_cast<SimpleAlertViewController*>(popover->contentViewController());
    ASSERT_TRUE(content);
    QLabel* label = content->alertCtl();
    auto* scroll = content->findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    const auto wholeTextShown = [&] {
        QCoreApplication::processEvents();
        return label->height() >= label->heightForWidth(label->width())
            && scroll->verticalScrollBar()->maximum() == 0;
    };
    const int shortHeight = popover->contentView()->height();
    EXPECT_EQ(popover->contentView()->width(), SimpleAlertViewController::fixedWidth);
    EXPECT_TRUE(wholeTextShown());

    // The start-up notice: a note and the store's error text, replacing the open message.
    const QString notice
        = u"Your data file could not be read completely. It is kept as it was; a copy is put "
          "aside before anything new is saved.\n\nMissing JSON dictionary: the file is not a "
          "JSON document (unexpected end of input at offset 43 of /home/someone/mervane.json)."_s;
    const quint64 generation = popover->generation();
    messages.showMessage(notice, anchor, true);
    EXPECT_EQ(popover->generation(), generation);
    EXPECT_EQ(label->text(), notice);
    EXPECT_GT(popover->contentView()->height(), shortHeight + 3 * label->fontMetrics().lineSpacing());
    EXPECT_EQ(popover->contentView()->width(), SimpleAlertViewController::fixedWidth);
    EXPECT_TRUE(wholeTextShown());
    // The window grew around the content.
    EXPECT_GE(popover->popoverWindow()->height(), popover->contentView()->height());

    // Past the maximum the height stops growing and the text scrolls; nothing is cut.
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines << u"Line %1 of a long report"_s.arg(i);
    messages.showMessage(lines.join(u'\n'), anchor, true);
    EXPECT_EQ(popover->contentView()->height(), SimpleAlertViewController::maximumHeight);
    QCoreApplication::processEvents();
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(label->text(), lines.join(u'\n'));

    messages.showMessage(u"Done."_s, anchor, true); // and shrinks again
    EXPECT_EQ(popover->contentView()->height(), shortHeight);
    messages.close();
}

TEST_F(Alerts, HyperlinkShowsThePointingHandOnlyInTheActiveWindow)
{
    QWidget window;
    QWidget other;
    auto* link = new NWTrackedHyperlinkView(&window);
    link->resize(120, 20);
    window.show();
    other.show();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), link->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);

    QApplication::setActiveWindow(&other);
    ASSERT_FALSE(window.isActiveWindow());
    QCoreApplication::sendEvent(link, &move);
    EXPECT_FALSE(link->testAttribute(Qt::WA_SetCursor));

    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.isActiveWindow());
    QCoreApplication::sendEvent(link, &move);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

    QApplication::setActiveWindow(&other);
    QCoreApplication::sendEvent(link, &move);
    EXPECT_FALSE(link->testAttribute(Qt::WA_SetCursor));
}

} // namespace
