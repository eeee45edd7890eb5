// A session configured with a cache keeps responses by the rules of HTTP caching; the
// manager's block decides what is kept.
#include "SessionTestSupport.h"

#include "net/serialization/KNHTTPResponseSerializer.h"

#include "support/LocalHttpServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SessionCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const QString& path : { u"/kept"_s, u"/dropped"_s, u"/altered"_s })
            server.setReply(
                path, { 200, { { "Cache-Control", "max-age=600" } }, "fresh " + path.toLatin1() });
    }

    std::shared_ptr<KNURLSessionManager> managerWithCache()
    {
        auto configuration = net::URLSessionConfiguration::defaultSessionConfiguration();
        configuration.URLCacheDirectory = folder.path();
        auto manager = KNURLSessionManager::manager(configuration);
        manager->setResponseSerializer(KNHTTPResponseSerializer::serializer());
        return manager;
    }

    QByteArray fetch(KNURLSessionManager& manager, const QString& path)
    {
        auto completion = std::make_shared<Completion>();
        manager.dataTaskWithRequest(net::URLRequest(server.url(path)), Completion::recorder(completion))
            ->resume();
        EXPECT_TRANSFERRED_EQ(completion->calls, 1);
        EXPECT_FALSE(completion->error);
        return completion->object.toByteArray();
    }

    QTemporaryDir folder;
    LocalHttpServer server;
};

} // namespace

TEST_F(SessionCache, AStoredResponseAnswersTheNextRequestOnlyWhenTheSessionHasACache)
{
    const auto uncached = KNURLSessionManager::manager();
    uncached->setResponseSerializer(KNHTTPResponseSerializer::serializer());
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(fetch(*uncached, u"/kept"_s), QByteArray("fresh /kept"));
    EXPECT_EQ(server.requestCount(u"/kept"_s), 2);

    const auto cached = managerWithCache();
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(fetch(*cached, u"/kept"_s), QByteArray("fresh /kept"));
    EXPECT_EQ(server.requestCount(u"/kept"_s), 3);
}

TEST_F(SessionCache, TheBlockDecidesWhatTheCacheKeeps)
{
    const auto manager = managerWithCache();
    QList<net::CachedURLResponse> proposals;
    manager->setDataTaskWillCacheResponseBlock(
        [&](net::URLSession&, const auto& task, const net::CachedURLResponse& proposed) {
            proposals.append(proposed);
            const QString path = task->originalRequest().url().path();
            if (path == u"/dropped"_s)
                return std::optional<net::CachedURLResponse>();
            net::CachedURLResponse altered = proposed;
            altered.data = "altered";
            return std::optional(altered);
        });

    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(fetch(*manager, u"/dropped"_s), QByteArray("fresh /dropped"));
    EXPECT_EQ(server.requestCount(u"/dropped"_s), 2);
    ASSERT_EQ(proposals.size(), 2);
    EXPECT_EQ(proposals.first().data, QByteArray("fresh /dropped"));
    EXPECT_EQ(proposals.first().response.statusCode(), 200);
    EXPECT_EQ(proposals.first().response.valueForHTTPHeaderField("Cache-Control"), QByteArray("max-age=600"));

    EXPECT_EQ(fetch(*manager, u"/altered"_s), QByteArray("fresh /altered"));
    EXPECT_EQ(fetch(*manager, u"/altered"_s), QByteArray("altered"));
    EXPECT_EQ(server.requestCount(u"/altered"_s), 1);
    EXPECT_EQ(proposals.size(), 3);
}
