#pragma once

#include "model/store/NWData.h"
#include "support/TempHomeTest.h"

#include <QByteArray>
#include <QObject>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace mervane::test {

/// A fresh store in a temporary home, counting the "dataReFetched" it posts.
class StoreTest : public TempHomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    NWData& store() { return *m_store; }
    /// A new store, as at the next start.
    void restart();
    int refetchCount() const { return m_refetches; }

    QString dataFile() const { return homePath(NWData::dataFileName); }
    static QByteArray readFile(const QString& path);
    static void writeFile(const QString& path, const QByteArray& bytes);

    /// A document with two asset categories (one in euros), one liability, one tag, records
    /// for 2020-01, 2021-06 and 2019-12 (in that order), base "USD" and a goal.
    static QByteArray sampleDocument();

private:
    std::unique_ptr<QObject> m_context;
    std::unique_ptr<NWData> m_store;
    int m_refetches = 0;
};

/// A save file that accepts `budget` bytes and then fails, as a full disk does.
class FailingSaveFile : public QSaveFile {
public:
    FailingSaveFile(const QString& path, qint64 budget) : QSaveFile(path), m_budget(budget) { }

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    qint64 m_budget;
    qint64 m_written = 0;
};

} // namespace mervane::test
