#pragma once

#include "app/AppNotifications.h"
#include "app/data/CSVImportPanelVC.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace mervane::test {

/// A CSV file of one tag, one asset category and one record, as the panel accepts it.
inline const QByteArray goodCSVFile
    = "TAGS,ID,Name,Description\n,T,Home,\n\n"
      "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n,A,Bank,,0,,T\n\n"
      "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,,A\n"
      ",2020,1,first,100,0,100,100\n";

/// A CSV import panel over a store whose data file holds one asset category "OLD"; what the
/// panel posts is recorded in `m_posted`.
class CSVImportPanelFixture : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        model().setAssetscat(MVX_CategoryList { makeCategory(QStringLiteral("OLD"), QStringLiteral("Old")) });
        ASSERT_EQ(store().saveData(false), std::nullopt);
        m_dataFile = readFile(NWData::dataFilePath());
        m_panel = new CSVImportPanelVC(&store());
        m_alive = m_panel;
        m_observer = std::make_unique<QObject>();
        for (const QString& name : { notifications::csvImporterImport, notifications::csvImporterClose }) {
            platform::NotificationCenter::defaultCenter().addObserver(m_observer.get(), name,
                [this](const platform::Notification& note) { m_posted << note.name; });
        }
    }
    void TearDown() override
    {
        platform::FileChooser::clearQueuedAnswers();
        m_observer.reset();
        // A test may have let the panel go (closed with its popover, or deleted).
        delete m_alive.data();
        ModelTest::TearDown();
    }

    QString writeCSV(const QString& name, const QByteArray& text)
    {
        const QString path = homePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    template <typename T> T* part(const QString& name) const
    {
        T* found = m_panel->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // Chooses `path` and waits until the panel has read it.
    void choose(const QString& path)
    {
        platform::FileChooser::queueAnswer(path);
        QSignalSpy finished(m_panel, &CSVImportPanelVC::readFinished);
        QTest::mouseClick(part<QPushButton>(QStringLiteral("selectButton")), Qt::LeftButton);
        ASSERT_TRUE(!m_panel->isReading() || finished.wait(10000));
    }

    CSVImportPanelVC* m_panel = nullptr;
    QPointer<CSVImportPanelVC> m_alive;
    std::unique_ptr<QObject> m_observer;
    QStringList m_posted;
    QByteArray m_dataFile;
};

} // namespace mervane::test
