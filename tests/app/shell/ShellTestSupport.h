#pragma once

#include "app/shell/AppCommandHandlers.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/ScreenProvider.h"
#include "model/store/NWData.h"
#include "support/TempHomeTest.h"
#include "uikit/window/TBWindowButton.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace mervane::test {

/// Records every handler call by its name (and the notification's, for observers).
class RecordingCommands : public AppCommandHandlers {
public:
    explicit RecordingCommands(QStringList* calls, QString password = {})
        : m_calls(calls), m_password(std::move(password))
    {
    }

    void lockButtonHandler(QAbstractButton*) override { m_calls->append(QStringLiteral("lock")); }
    void showPreferences(QAbstractButton*) override { m_calls->append(QStringLiteral("settings")); }
    void exportButtonHandler(QAbstractButton*) override { m_calls->append(QStringLiteral("document")); }
    void helpButtonHandler(QAbstractButton*) override { m_calls->append(QStringLiteral("help")); }
    void nwPrintPopupClosed(const platform::Notification& n) override { record("nwPrintPopupClosed", n); }
    void nwDeleteAllData(const platform::Notification& n) override { record("nwDeleteAllData", n); }
    void nwRestoreAllData(const platform::Notification& n) override { record("nwRestoreAllData", n); }
    void exchangeRateFetchAGainHandler(const platform::Notification& n) override
    {
        record("exchangeRateFetchAGainHandler", n);
    }
    void finishedGettingCurrencyExchange(const platform::Notification& n) override
    {
        record("finishedGettingCurrencyExchange", n);
    }
    void csvImporterClose(const platform::Notification& n) override { record("csvImporterClose", n); }
    void csvImporterImport(const platform::Notification& n) override { record("csvImporterImport", n); }
    void settingsClose(const platform::Notification& n) override { record("settingsClose", n); }
    void printNotificationHandler(const platform::Notification& n) override
    {
        record("printNotificationHandler", n);
    }
    void retrieveExchangeRates() override { m_calls->append(QStringLiteral("retrieveExchangeRates")); }
    /// With a password the window stays locked ("showPwdWindow"); the unlock is the test's.
    void lockAtLaunch(std::function<void()> openUnlocked) override
    {
        if (m_password.isEmpty())
            openUnlocked();
        else
            m_calls->append(QStringLiteral("showPwdWindow"));
    }

private:
    /// "observed <handler>: <notification name>".
    void record(const char* handler, const platform::Notification& n)
    {
        m_calls->append(QStringLiteral("observed %1: %2").arg(QLatin1StringView(handler), n.name));
    }
    QStringList* m_calls;
    QString m_password;
};

/// Counts the screens it makes and remembers what the delegate told them.
class CountingScreens : public ScreenProvider {
public:
    struct Log {
        std::map<AppScreen, int> created;
        std::map<AppScreen, int> placed;
        std::vector<double> comparedNetWorth;
    };
    explicit CountingScreens(Log* log) : m_log(log) { }

    QWidget* createScreen(AppScreen screen) override
    {
        ++m_log->created[screen];
        return ScreenProvider::createScreen(screen);
    }
    void screenPlaced(AppScreen screen, QWidget*) override { ++m_log->placed[screen]; }
    void compareWithNetWorth(QWidget*, double netWorth) override
    {
        m_log->comparedNetWorth.push_back(netWorth);
    }

private:
    Log* m_log;
};

/// A temporary home with helpers to write the data file, and a delegate on a store of its
/// own whose commands and screens are recorded.
class ShellTest : public TempHomeTest {
protected:
    void TearDown() override;

    /// A new delegate (the previous one is destroyed first); not started.
    AppDelegate& makeDelegate(const QString& password = {});

    /// Two monthly records, the newer (March 2022) with a net worth of 8.
    static QByteArray twoRecordsDocument();
    void writeDataFile(const QByteArray& bytes);
    QString dataFilePath() const;

    // The delegate's widgets, found by their object names; null while not made.
    QWidget* screenView(AppScreen screen) const;
    TBWindowButton* sidebarButton(AppScreen screen) const;
    /// In the order of `TitleBarLayout::buttons`; empty before the title bar is set up.
    QList<TBWindowButton*> titleBarButtons() const;
    QWidget* mainView() const;

    NWData m_store;
    QStringList m_calls;
    CountingScreens::Log m_screens;
    std::unique_ptr<AppDelegate> m_delegate;
};

} // namespace mervane::test
