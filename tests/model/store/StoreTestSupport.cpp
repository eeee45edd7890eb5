#include "StoreTestSupport.h"

#include "model/ModelNotifications.h"
#include "platform/NotificationCenter.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

void StoreTest::SetUp()
{
    TempHomeTest::SetUp();
    m_context = std::make_unique<QObject>();
    platform::NotificationCenter::defaultCenter().addObserver(m_context.get(), notifications::dataReFetched,
        [this](const platform::Notification&) { ++m_refetches; });
    m_store = std::make_unique<NWData>();
}

void StoreTest::TearDown()
{
    m_store.reset();
    m_context.reset();
    TempHomeTest::TearDown();
}

std::map<QString, QByteArray> StoreTest::dataFiles() const
{
    std::map<QString, QByteArray> files;
    for (const QString& name :
        QDir(home()).entryList({ NWData::dataFileName + u'*' }, QDir::Files | QDir::Hidden))
        files[name] = readFile(homePath(name));
    return files;
}

void StoreTest::restart()
{
    m_store = std::make_unique<NWData>();
}

void StoreTest::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

QByteArray StoreTest::sampleDocument()
{
    return R"({"version":"2.12","base_currency":"USD","net_worth_goal":100000,
"tags":[{"ID":"T1","name":"Liquid","desc":"","hexColorString":"BLUE"}],
"a_cat":[{"ID":"A1","name":"Bank €","desc":"","is_foreign":0,"currency":null,"tags":["T1"],"is_depreciable":0,"depr_rate":null,"sort_order":0,"is_hidden":0},
         {"ID":"A2","name":"Konto","desc":"","is_foreign":1,"currency":"EUR","is_depreciable":0,"depr_rate":null,"sort_order":1,"is_hidden":0}],
"l_cat":[{"ID":"L1","name":"Loan","desc":"лв.","is_foreign":0,"currency":null,"tags":null,"is_depreciable":0,"depr_rate":null,"sort_order":0,"is_hidden":0}],
"nw_logs":[
 {"year":2020,"month":1,"TS":0,"note":"January","assets":300,"liabilities":100,"nw":200,
  "a_logs":[{"cat":"A1","year":2020,"month":1,"value":100,"exch":null,"fvalue":null},{"cat":"A2","year":2020,"month":1,"value":200,"exch":1.1915,"fvalue":167.86}],
  "l_logs":[{"cat":"L1","year":2020,"month":1,"value":100,"exch":null,"fvalue":null}],"gold":null,"bitcoin":null},
 {"year":2021,"month":6,"TS":0,"note":"June €","assets":500,"liabilities":50,"nw":450,"a_logs":[],"l_logs":[],"gold":null,"bitcoin":null},
 {"year":2019,"month":12,"TS":0,"note":null,"assets":10,"liabilities":0,"nw":10,"a_logs":[],"l_logs":[],"gold":null,"bitcoin":null}
]})";
}

} // namespace mervane::test
