// Addresses handed to the desktop through a stand-in xdg-open, and what the user is told
// when nothing opens them.

#include "app/alerts/ExternalLinks.h"
#include "app/alerts/MessagePopover.h"
#include "uikit/popover/PKPopoverController.h"

#include "support/Eventually.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

class ExternalLinksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bin.isValid());
        m_path = qgetenv("PATH");
        m_browser = qgetenv("BROWSER");
        qputenv("PATH", QFile::encodeName(m_bin.path()));
        qunsetenv("BROWSER");
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(40, 40, 500, 300);
        m_anchor = new QPushButton(u"Help"_s, m_window.get());
        m_anchor->setGeometry(400, 8, 23, 23);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void TearDown() override
    {
        m_window.reset();
        qputenv("PATH", m_path);
        if (!m_browser.isEmpty())
            qputenv("BROWSER", m_browser);
        ExternalLinks::setOpenerForTesting({});
    }

    // An xdg-open that writes down its argument and ends with `exitCode` (3: no program
    // handles the address).
    void installLauncher(int exitCode)
    {
        const QString path = m_bin.filePath(u"xdg-open"_s);
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >>'%1'\nexit %2\n")
                         .arg(m_bin.filePath(u"opened.txt"_s))
                         .arg(exitCode)
                         .toUtf8());
        script.close();
        ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    QStringList launched() const
    {
        QFile file(m_bin.filePath(u"opened.txt"_s));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Launchers started and not yet ended, or whose end has not been handled yet.
    int launchersRunning() const
    {
        int running = 0;
        for (const QProcess* process :
            QCoreApplication::instance()->findChildren<QProcess*>(Qt::FindDirectChildrenOnly))
            running += process->program().startsWith(m_bin.path()) ? 1 : 0;
        return running;
    }
    MessagePopover* messages() const { return m_window->findChild<MessagePopover*>(); }
    bool messageShown() const { return messages() && messages()->isShown(); }

    QTemporaryDir m_bin;
    QByteArray m_path;
    QByteArray m_browser;
    std::unique_ptr<QWidget> m_window;
    QPushButton* m_anchor = nullptr;
};

// The message points at what asked, and the address stands alone on its line, as typed, so
// that it can be selected whole and copied.
void expectAddressSelectable(MessagePopover* messages, QWidget* anchor, const QString& address)
{
    ASSERT_TRUE(messages && messages->isShown());
    EXPECT_EQ(messages->popover()->positionView(), anchor);
    const QString text = messages->text();
    EXPECT_TRUE(text.split(u'\n').contains(address)) << text.toStdString();
    auto* label = messages->popover()->contentView()->findChild<QLabel*>(u"alertCtl"_s);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_TRUE(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    label->setSelection(int(text.indexOf(address)), int(address.size()));
    EXPECT_EQ(label->selectedText(), address);
}

TEST_F(ExternalLinksTest, ALauncherThatFindsNoProgramIsToldWithTheAddress)
{
    installLauncher(3);
    const QUrl page(u"https://example.org/manual/Guide.pdf?lang=en"_s);
    ExternalLinks::openFrom(page, m_anchor);
    // What follows needs the message: without it the test stops here.
    ASSERT_TRUE(QTest::qWaitFor([this] { return messageShown(); })) << "no message";
    EXPECT_EQ(launched(), QStringList { page.toString(QUrl::FullyEncoded) });
    ASSERT_NO_FATAL_FAILURE(expectAddressSelectable(messages(), m_anchor, page.toString()));

    // A mail names its recipients, not the whole draft.
    messages()->close();
    EXPECT_EVENTUALLY(!messageShown());
    ExternalLinks::openFrom(
        QUrl(u"mailto:support@example.org,bugs@example.org?subject=Hi%20there"_s), m_anchor);
    ASSERT_TRUE(QTest::qWaitFor([this] { return messageShown(); })) << "no message of the mail";
    ASSERT_NO_FATAL_FAILURE(
        expectAddressSelectable(messages(), m_anchor, u"support@example.org, bugs@example.org"_s));
    EXPECT_FALSE(messages()->text().contains(u"Hi there"_s));
}

TEST_F(ExternalLinksTest, WithoutALauncherTheMessageComesAtOnce)
{
    // No xdg-open on the PATH, and Qt finds no browser there either.
    const QUrl page(u"https://example.org/"_s);
    ExternalLinks::openFrom(page, m_anchor);
    expectAddressSelectable(messages(), m_anchor, page.toString());
}

TEST_F(ExternalLinksTest, NothingIsToldOnceTheAskerIsGoneNorOfARefusedAddress)
{
    installLauncher(3);
    QStringList told;
    auto context = std::make_unique<QObject>();
    ExternalLinks::open(
        QUrl(u"https://example.org/a"_s), context.get(), [&](const QString& text) { told.append(text); });
    ExternalLinks::open(
        QUrl(u"https://example.org/b"_s), m_window.get(), [&](const QString& text) { told.append(text); });
    context.reset();
    // Both launchers have ended and their ends were handled, in whichever order they came:
    // only then does a single message say that the one whose asker is gone told nothing.
    ASSERT_TRUE(QTest::qWaitFor([this] { return launched().size() == 2 && launchersRunning() == 0; }))
        << "launched: " << launched().join(u' ').toStdString() << "; still running: " << launchersRunning();
    ASSERT_EQ(told.size(), 1) << told.join(u'\n').toStdString();
    EXPECT_TRUE(told.constFirst().contains(u"https://example.org/b"_s)) << told.constFirst().toStdString();

    // Only web and mail addresses go out; anything else is no failure to tell either.
    QList<QUrl> opened;
    ExternalLinks::setOpenerForTesting([&](const QUrl& url) {
        opened.append(url);
        return false;
    });
    ExternalLinks::openFrom(QUrl(u"file:///etc/passwd"_s), m_anchor);
    ExternalLinks::openFrom(QUrl(u"javascript:alert(1)"_s), m_anchor);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(messageShown());
}

} // namespace
