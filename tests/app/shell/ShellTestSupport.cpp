#include "ShellTestSupport.h"

#include "uikit/window/TBAppWindow.h"

#include "app/shell/TitleBarLayout.h"

#include <QFile>

namespace mervane::test {

void ShellTest::TearDown()
{
    m_delegate.reset();
    TempHomeTest::TearDown();
}

AppDelegate& ShellTest::makeDelegate(const QString& password)
{
    m_delegate.reset();
    m_delegate = std::make_unique<AppDelegate>(&m_store);
    m_delegate->setCommandHandlers(std::make_unique<RecordingCommands>(&m_calls, password));
    m_delegate->setScreenProvider(std::make_unique<CountingScreens>(&m_screens));
    return *m_delegate;
}

QByteArray ShellTest::twoRecordsDocument()
{
    return R"({"version": "2.1", "a_cat": [], "l_cat": [], "tags": [], "nw_logs": [
        {"year": 2021, "month": 12, "assets": 5, "liabilities": 1, "nw": 4},
        {"year": 2022, "month": 3, "assets": 10, "liabilities": 2, "nw": 8}]})";
}

QString ShellTest::dataFilePath() const
{
    return homePath(QStringLiteral("mervane.json"));
}

void ShellTest::writeDataFile(const QByteArray& bytes)
{
    QFile file(dataFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QWidget* ShellTest::screenView(AppScreen screen) const
{
    return m_delegate->windowWidget()->findChild<QWidget*>(
        QString::fromLatin1(appScreenInfo(screen).className));
}

TBWindowButton* ShellTest::sidebarButton(AppScreen screen) const
{
    const QString name = QStringLiteral("sb%1Btn").arg(QLatin1StringView(appScreenInfo(screen).imageStem));
    return m_delegate->windowWidget()->findChild<TBWindowButton*>(name);
}

QList<TBWindowButton*> ShellTest::titleBarButtons() const
{
    QList<TBWindowButton*> buttons;
    for (const TitleBarLayout::ButtonSpec& spec : TitleBarLayout::buttons) {
        auto* button = m_delegate->window()->titleBarView()->findChild<TBWindowButton*>(
            QString::fromLatin1(spec.objectName));
        if (button)
            buttons.append(button);
    }
    return buttons;
}

QWidget* ShellTest::mainView() const
{
    return m_delegate->windowWidget()->findChild<QWidget*>(QStringLiteral("mainView"));
}

} // namespace mervane::test
