#include "StoreTestSupport.h"

#include "model/store/DataFileWriter.h"

#include <QDir>

#include <map>

using namespace Qt::Literals::StringLiterals;
using mervane::test::StoreTest;

namespace {

// One household spoilt in one way, written both as a backup and as a CSV export: the
// categories Bank (A) and Loan (L), and two records, 2020-04 and the spoilt one.
struct Hostile {
    const char* name;
    // The second record's year, month and value of Bank, as they stand in both files.
    const char* year = "2020";
    const char* month = "5";
    const char* value = "12";
    bool repeatedAssetRow = false;
    bool assetIDAsLiability = false;

    QString restoreRefusal {};
    QString csvRefusal {};
    // Empty: the data file cannot be read at all.
    QString startupNote {};
    qsizetype recordsAtStartup = 2;
    qsizetype assetsAtStartup = 1;
    qsizetype liabilitiesAtStartup = 1;

    QList<QPair<QString, QString>> assets() const
    {
        QList<QPair<QString, QString>> list { { u"A"_s, u"Bank"_s } };
        if (repeatedAssetRow)
            list.append({ u"A"_s, u"Bank"_s });
        return list;
    }
    QList<QPair<QString, QString>> liabilities() const
    {
        QList<QPair<QString, QString>> list { { u"L"_s, u"Loan"_s } };
        if (assetIDAsLiability)
            list.append({ u"A"_s, u"Card"_s });
        return list;
    }

    QByteArray json() const
    {
        const auto categories = [](const QList<QPair<QString, QString>>& list) {
            QStringList items;
            for (const auto& [id, name] : list)
                items.append(u"{\"ID\":\"%1\",\"name\":\"%2\"}"_s.arg(id, name));
            return items.join(u',');
        };
        const QString y = QString::fromLatin1(year);
        const QString m = QString::fromLatin1(month);
        const QString document
            = u"{\"version\":\"2.12\",\"a_cat\":[%1],\"l_cat\":[%2],\"tags\":[],\"nw_logs\":["
              "{\"year\":2020,\"month\":4,\"assets\":10,\"liabilities\":4,\"nw\":6,"
              "\"a_logs\":[{\"cat\":\"A\",\"year\":2020,\"month\":4,\"value\":10}],"
              "\"l_logs\":[{\"cat\":\"L\",\"year\":2020,\"month\":4,\"value\":4}]},"
              "{\"year\":%3,\"month\":%4,\"assets\":12,\"liabilities\":3,\"nw\":9,"
              "\"a_logs\":[{\"cat\":\"A\",\"year\":%3,\"month\":%4,\"value\":%5}],"
              "\"l_logs\":[{\"cat\":\"L\",\"year\":%3,\"month\":%4,\"value\":3}]}]}"_s.arg(
                  categories(assets()), categories(liabilities()), y, m, QString::fromLatin1(value));
        return document.toUtf8();
    }

    QByteArray csv() const
    {
        QString text = u"TAGS,ID,Name,Description\n\n"
                       "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"_s;
        QStringList ids;
        QStringList firstValues;
        QStringList secondValues;
        for (const auto& [id, name] : assets()) {
            text += u",%1,%2,,0,USD,\n"_s.arg(id, name);
            ids.append(id);
            firstValues.append(u"10"_s);
            secondValues.append(QString::fromLatin1(value));
        }
        text += u"\nLiability Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"_s;
        for (const auto& [id, name] : liabilities()) {
            text += u",%1,%2,,0,USD,\n"_s.arg(id, name);
            ids.append(id);
            firstValues.append(u"4"_s);
            secondValues.append(u"3"_s);
        }
        text += u"\nNW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,,"_s + ids.join(u',')
            + u"\n,2020,4,,10,4,6,"_s + firstValues.join(u',')
            + u"\n,%1,%2,,12,3,9,"_s.arg(QString::fromLatin1(year), QString::fromLatin1(month))
            + secondValues.join(u',') + u'\n';
        return text.toUtf8();
    }
};

QString ruleNote(const QString& breach)
{
    return u"left out as breaking the model's rules: "_s + breach;
}

QString restoreRefusal(const QString& reason)
{
    return u"The file cannot be restored: "_s + reason + u'.';
}

const QString monthRule = u"record 2 (year 2020, month %1): the month is not from 1 to 12"_s;
const QString yearRule = u"record 2 (year %1, month 5): the year is not from 1900 to 9999"_s;
const QString sameMonth
    = u"record 2 (year 2020, month 4): record 1 (year 2020, month 4) is for the same month"_s;
const QString repeatedRow
    = u"asset category \"Bank\" (ID \"A\"): the ID is also that of the asset category \"Bank\" (ID \"A\")"_s;
const QString bothSides
    = u"liability category \"Card\" (ID \"A\"): the ID is also that of the asset category \"Bank\" (ID \"A\")"_s;

std::vector<Hostile> hostileFiles()
{
    std::vector<Hostile> cases;
    for (const char* month : { "0", "13" }) {
        Hostile c { .name = month, .month = month };
        const QString breach = monthRule.arg(QString::fromLatin1(month));
        c.restoreRefusal = restoreRefusal(breach);
        c.csvRefusal = breach;
        c.startupNote = ruleNote(breach);
        c.recordsAtStartup = 1;
        cases.push_back(c);
    }
    for (const char* year : { "0", "10000" }) {
        Hostile c { .name = year, .year = year };
        const QString breach = yearRule.arg(QString::fromLatin1(year));
        c.restoreRefusal = restoreRefusal(breach);
        c.csvRefusal = breach;
        c.startupNote = ruleNote(breach);
        c.recordsAtStartup = 1;
        cases.push_back(c);
    }
    // Beyond the integers: the document reader cannot read the record, the CSV reader
    // clamps the year to the largest integer, which the rules refuse.
    cases.push_back({ .name = "99999999999",
        .year = "99999999999",
        .restoreRefusal = restoreRefusal(u"1 record could not be read"_s),
        .csvRefusal = yearRule.arg(u"2147483647"_s),
        .startupNote = u"1 record could not be read"_s,
        .recordsAtStartup = 1 });
    cases.push_back({ .name = "repeated month",
        .month = "4",
        .restoreRefusal = restoreRefusal(sameMonth),
        .csvRefusal = sameMonth,
        .startupNote = ruleNote(sameMonth),
        .recordsAtStartup = 1 });
    cases.push_back({ .name = "repeated category row",
        .repeatedAssetRow = true,
        .restoreRefusal = restoreRefusal(repeatedRow),
        .csvRefusal = repeatedRow,
        .startupNote = ruleNote(repeatedRow) });
    cases.push_back({ .name = "one ID on both sides",
        .assetIDAsLiability = true,
        .restoreRefusal = restoreRefusal(bothSides),
        .csvRefusal = u"the category ID \"A\" is both an asset and a liability category"_s,
        .startupNote = ruleNote(bothSides) });
    // JSON has no NaN: such a document is no JSON at all.
    cases.push_back({ .name = "NaN",
        .value = "NaN",
        .restoreRefusal = u"Missing JSON dictionary: the file is not a JSON document"_s,
        .csvRefusal = u"record line 2: \"NaN\" is not a number"_s });
    cases.push_back({ .name = "1e400",
        .value = "1e400",
        .restoreRefusal = restoreRefusal(u"1 category value could not be read"_s),
        .csvRefusal = u"record line 2: \"1e400\" is not a number"_s,
        .startupNote = u"1 category value could not be read"_s });
    // A number, but one whose sums would not be: refused, or left out at start, by the rules.
    for (const char* value : { "-1.7976931348623157e308", "1.0000000000000001e250" }) {
        const QString breach
            = u"record 2 (year 2020, month 5): the value of category ID \"A\" is not from -1e+250 to 1e+250"_s;
        cases.push_back({ .name = value,
            .value = value,
            .restoreRefusal = restoreRefusal(breach),
            .csvRefusal = breach,
            .startupNote = ruleNote(breach),
            .recordsAtStartup = 1 });
    }
    return cases;
}

using HostileFilesTest = StoreTest;

TEST_F(HostileFilesTest, RestoreAndImportRefuseEachWithItsReasonAndChangeNoFile)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    // Copies of both kinds already there, which a refusal must not rotate away.
    const QString backup = homePath(u"good.json"_s);
    ASSERT_EQ(store().backupToFilePath(backup), std::nullopt);
    ASSERT_EQ(store().restoreFromFilePath(backup), std::nullopt);
    const QString export_ = homePath(u"good.csv"_s);
    ASSERT_EQ(store().exportToCSV(export_), std::nullopt);
    ASSERT_EQ(store().installImportedModel(*NWData::importCSVFromFilePath(export_)), std::nullopt);
    const std::map<QString, QByteArray> before = dataFiles();
    ASSERT_EQ(before.size(), 3u);
    const auto model = store().appData();
    const int refetches = refetchCount();

    for (const Hostile& c : hostileFiles()) {
        SCOPED_TRACE(c.name);
        const QString json = homePath(u"hostile.json"_s);
        writeFile(json, c.json());
        const platform::MaybeError restored = store().restoreFromFilePath(json);
        ASSERT_TRUE(restored);
        EXPECT_TRUE(restored->contains(c.restoreRefusal)) << restored->toStdString();

        const QString csv = homePath(u"hostile.csv"_s);
        writeFile(csv, c.csv());
        const platform::Expected<std::shared_ptr<MVX_Model>> read = NWData::importCSVFromFilePath(csv);
        const platform::MaybeError imported = read ? store().installImportedModel(*read) : read.errorIfAny();
        ASSERT_TRUE(imported);
        EXPECT_EQ(*imported, c.csvRefusal);

        EXPECT_EQ(dataFiles(), before);
        EXPECT_EQ(store().appData(), model);
        EXPECT_EQ(refetchCount(), refetches);
    }
}

TEST_F(HostileFilesTest, AtStartUpTheRestOpensAndTheFileIsKeptBeforeTheFirstSave)
{
    for (const Hostile& c : hostileFiles()) {
        SCOPED_TRACE(c.name);
        const QByteArray document = c.json();
        writeFile(dataFile(), document);
        restart();
        const platform::MaybeError note = store().getApplicationData();
        ASSERT_TRUE(note);
        const MVX_Model& model = *store().appData();
        if (c.startupNote.isEmpty()) {
            EXPECT_TRUE(note->contains(u"not a JSON document"_s)) << note->toStdString();
            EXPECT_TRUE(model.nwLogArray()->isEmpty());
        } else {
            EXPECT_EQ(*note, c.startupNote);
            EXPECT_EQ(model.nwLogArray()->size(), c.recordsAtStartup);
            EXPECT_EQ(model.assetscat()->size(), c.assetsAtStartup);
            EXPECT_EQ(model.liabilitycat()->size(), c.liabilitiesAtStartup);
            EXPECT_EQ(model.nwLogArray()->last()->year(), 2020);
            EXPECT_EQ(model.nwLogArray()->last()->month(), 4);
        }

        ASSERT_EQ(store().saveData(false), std::nullopt);
        const QStringList kept = platform::keptCopies(dataFile(), DataFileWriter::unreadableKind);
        ASSERT_FALSE(kept.isEmpty());
        EXPECT_EQ(readFile(kept.last()), document);
        // What was saved keeps the rules: it opens without a word.
        restart();
        EXPECT_EQ(store().getApplicationData(), std::nullopt);
        EXPECT_EQ(store().appData()->nwLogArray()->size(), c.startupNote.isEmpty() ? 0 : c.recordsAtStartup);
    }
}

} // namespace
