#pragma once

#include "model/store/NWData.h"
#include "support/FailingDevices.h"
#include "support/TempHomeTest.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
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
    static void writeFile(const QString& path, const QByteArray& bytes);
    /// The data file and every kept copy of it, by name, with their bytes.
    std::map<QString, QByteArray> dataFiles() const;

    /// A document with two asset categories (one in euros), one liability, one tag, records
    /// for 2020-01, 2021-06 and 2019-12 (in that order), base "USD" and a goal.
    static QByteArray sampleDocument();

private:
    std::unique_ptr<QObject> m_context;
    std::unique_ptr<NWData> m_store;
    int m_refetches = 0;
};

} // namespace mervane::test
