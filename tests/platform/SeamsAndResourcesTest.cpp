#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/ModalPanel.h"
#include "platform/Resources.h"
#include "platform/Strings.h"

#include "support/TempHomeTest.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

using namespace platform;

namespace {

class SeamsTest : public mervane::test::TempHomeTest { };

TEST_F(SeamsTest, FileChooserAnswersFromTheQueueBeforeThePresenter)
{
    int presented = 0;
    FileChooser::setPresenter([&](const FileRequest& request) {
        ++presented;
        return request.suggestedName;
    });
    FileChooser::queueAnswer(QStringLiteral("/tmp/first.json"));
    FileChooser::queueAnswer(QString());

    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.suggestedName = QStringLiteral("mervaneExport.csv");
    EXPECT_EQ(FileChooser::choose(request), QStringLiteral("/tmp/first.json"));
    EXPECT_EQ(FileChooser::choose(request), QString()); // a queued cancel
    EXPECT_EQ(presented, 0);
    EXPECT_EQ(FileChooser::choose(request), QStringLiteral("mervaneExport.csv"));
    EXPECT_EQ(presented, 1);
    EXPECT_EQ(FileChooser::lastRequest().mode, FileRequest::Mode::Save);

    FileChooser::setPresenter({});
    EXPECT_EQ(FileChooser::choose(request), QString()); // no presenter: cancelled, never blocks
}

TEST_F(SeamsTest, AQueuedAnswerComesAfterALoopAsLongAsARealPanels)
{
    // What a panel's time on the screen brings: a timer fires, and what it releases is deleted
    // before the answer; an animation still running (the busy flag) is waited for.
    auto* released = new QObject;
    const QPointer<QObject> watched(released);
    bool busy = true;
    ModalPanel::addBusyCheck([&busy] { return busy; });
    QTimer::singleShot(0, released, &QObject::deleteLater);
    QTimer::singleShot(30, [&busy] { busy = false; });

    FileChooser::queueAnswer(QStringLiteral("/tmp/chosen.json"));
    EXPECT_EQ(FileChooser::choose(FileRequest()), QStringLiteral("/tmp/chosen.json"));
    EXPECT_TRUE(watched.isNull()) << "the nested loop deleted nothing";
    EXPECT_FALSE(busy) << "the answer came while something was still moving";
    EXPECT_TRUE(ModalPanel::settled());
}

TEST(Clock, OverrideFixesNowUntilCleared)
{
    const QDateTime fixed(QDate(2024, 2, 29), QTime(23, 59), Qt::UTC);
    {
        ScopedClock clock(fixed);
        EXPECT_EQ(Clock::now(), fixed);
        EXPECT_EQ(Clock::today(), QDate(2024, 2, 29));
    }
    EXPECT_GE(Clock::today(), QDate(2026, 1, 1));
}

TEST(Resources, HexColoursParseWithAlphaLast)
{
    EXPECT_EQ(colorFromRgbaHex(u"#FF000080"), QColor(255, 0, 0, 128));
    EXPECT_EQ(colorFromRgbaHex(u"00ff00"), QColor(0, 255, 0, 255));
    EXPECT_EQ(colorFromRgbaHex(u"0a0B0c0D"), QColor(10, 11, 12, 13));
    EXPECT_FALSE(colorFromRgbaHex(u""));
    EXPECT_FALSE(colorFromRgbaHex(u"#12345"));
    EXPECT_FALSE(colorFromRgbaHex(u"GG000000"));
    EXPECT_FALSE(colorFromRgbaHex(u"#FF0000FF00"));
}

TEST(Resources, NamedColoursFollowTheAppearance)
{
    EXPECT_EQ(namedColor(QStringLiteral("ContentBackground"), false), QColor(255, 255, 255));
    EXPECT_EQ(namedColor(QStringLiteral("ContentBackground"), true), QColor(0x1E, 0x1E, 0x1E));
    EXPECT_FALSE(namedColor(QStringLiteral("NoSuchColour")).isValid());

    auto& appearance = AppearanceController::instance();
    appearance.setAppearance(Appearance::Dark);
    EXPECT_TRUE(isDarkAppearance());
    EXPECT_EQ(namedColor(QStringLiteral("ContentBackground")), QColor(0x1E, 0x1E, 0x1E));
    EXPECT_EQ(QGuiApplication::palette().color(QPalette::Base), QColor(0x1E, 0x1E, 0x1E));

    appearance.setAppearance(Appearance::Light);
    EXPECT_FALSE(isDarkAppearance());
    EXPECT_EQ(QGuiApplication::palette().color(QPalette::Base), QColor(Qt::white));
}

TEST(Resources, AppearanceChangesAreSignalledOnce)
{
    auto& appearance = AppearanceController::instance();
    appearance.setAppearance(Appearance::Light);
    QList<bool> changes;
    QObject context;
    QObject::connect(
        &appearance, &AppearanceController::appearanceChanged, &context, [&](bool dark) { changes << dark; });
    appearance.setAppearance(Appearance::Light);
    appearance.setAppearance(Appearance::Dark);
    appearance.setAppearance(Appearance::Dark);
    appearance.setAppearance(Appearance::Light);
    EXPECT_EQ(changes, (QList<bool> { true, false }));
}

TEST(Resources, ImagesLoadByNameAtTheRequestedSize)
{
    const QImage icon = image(QStringLiteral("mervane"), QSize(64, 64));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(64, 64));
    EXPECT_TRUE(image(QStringLiteral("no-such-image")).isNull());
}

TEST(Strings, UntranslatedTextsComeBackInEnglish)
{
    EXPECT_EQ(localized("Saving ..."), QStringLiteral("Saving ..."));
    EXPECT_EQ(localized(QStringLiteral("Categories")), QStringLiteral("Categories"));
}

} // namespace
