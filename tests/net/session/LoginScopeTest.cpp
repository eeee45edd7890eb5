// A login given to one session or one operation must not open the server to anybody else
// in the process: each other party is asked again.
#include "SessionTestSupport.h"

#include "net/operation/KNHTTPRequestOperation.h"
#include "net/serialization/KNHTTPResponseSerializer.h"

#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray annLogin = "Basic " + QByteArray("ann:pw").toBase64();

class LoginScope : public ::testing::Test {
protected:
    LoginScope()
    {
        server.setHandler(u"/private"_s, [](const LocalHttpServer::Request& request) {
            if (request.header("Authorization") == annLogin)
                return LocalHttpServer::Reply { 200, {}, "welcome" };
            return LocalHttpServer::Reply { 401, { { "WWW-Authenticate", "Basic realm=\"vault\"" } },
                "who?" };
        });
    }

    static std::shared_ptr<KNURLSessionManager> sessionManager()
    {
        auto manager = KNURLSessionManager::manager();
        manager->setResponseSerializer(KNHTTPResponseSerializer::serializer());
        return manager;
    }

    std::shared_ptr<Completion> run(KNURLSessionManager& manager)
    {
        auto completion = std::make_shared<Completion>();
        manager
            .dataTaskWithRequest(net::URLRequest(server.url(u"/private"_s)), Completion::recorder(completion))
            ->resume();
        EXPECT_TRANSFERRED_EQ(completion->calls, 1);
        return completion;
    }

    /// The status the operation ended with; 0 when it got no response.
    static int run(const std::shared_ptr<KNHTTPRequestOperation>& operation)
    {
        bool done = false;
        operation->setCompletionBlockWithSuccess(
            [&](KNHTTPRequestOperation&, const QVariant&) { done = true; },
            [&](KNHTTPRequestOperation&, const net::Error&) { done = true; });
        operation->start();
        EXPECT_TRANSFERRED(done);
        return operation->response() ? operation->response()->statusCode() : 0;
    }

    std::shared_ptr<KNHTTPRequestOperation> operation(const QUrl& url)
    {
        return std::make_shared<KNHTTPRequestOperation>(net::URLRequest(url));
    }

    /// Whether the server's latest request carried the login.
    bool lastRequestCarriedLogin() const
    {
        const auto requests = server.requests();
        return !requests.isEmpty() && requests.last().header("Authorization").has_value();
    }

    LocalHttpServer server;
};

} // namespace

TEST_F(LoginScope, ASessionsLoginServesOnlyThatSession)
{
    const auto loggedIn = sessionManager();
    int asked = 0;
    loggedIn->setTaskDidReceiveAuthenticationChallengeBlock(
        [&](net::URLSession&, const auto&, const net::AuthenticationChallenge& challenge,
            std::optional<net::URLCredential>* credential) {
            ++asked;
            if (challenge.previousFailureCount > 0)
                return net::SessionChallengeDisposition::CancelAuthenticationChallenge;
            *credential = net::URLCredential { u"ann"_s, u"pw"_s };
            return net::SessionChallengeDisposition::UseCredential;
        });
    for (int round = 0; round < 2; ++round) {
        const auto answered = run(*loggedIn);
        EXPECT_FALSE(answered->error);
        EXPECT_EQ(answered->object.toByteArray(), QByteArray("welcome"));
    }
    EXPECT_GE(asked, 1);

    const auto stranger = sessionManager();
    const auto refused = run(*stranger);
    ASSERT_TRUE(refused->response);
    EXPECT_EQ(refused->response->statusCode(), 401);
    EXPECT_FALSE(lastRequestCarriedLogin());

    EXPECT_EQ(run(operation(server.url(u"/private"_s))), 401);
    EXPECT_FALSE(lastRequestCarriedLogin());
}

TEST_F(LoginScope, AnOperationsLoginServesOnlyThatOperation)
{
    const auto withCredential = operation(server.url(u"/private"_s));
    withCredential->setCredential(net::URLCredential { u"ann"_s, u"pw"_s });
    EXPECT_EQ(run(withCredential), 200);

    EXPECT_EQ(run(operation(server.url(u"/private"_s))), 401);
    EXPECT_FALSE(lastRequestCarriedLogin());
    const auto refused = run(*sessionManager());
    ASSERT_TRUE(refused->response);
    EXPECT_EQ(refused->response->statusCode(), 401);
    EXPECT_FALSE(lastRequestCarriedLogin());

    // So is a login given only by the operation's challenge block.
    const auto withBlock = operation(server.url(u"/private"_s));
    std::atomic<int> asked = 0;
    withBlock->setWillSendRequestForAuthenticationChallengeBlock([&](const net::AuthenticationChallenge&) {
        ++asked;
        return net::AuthenticationChallengeAnswer {
            net::AuthenticationChallengeAnswer::Disposition::UseCredential,
            net::URLCredential { u"ann"_s, u"pw"_s }
        };
    });
    EXPECT_EQ(run(withBlock), 200);
    EXPECT_EQ(asked.load(), 1);
    EXPECT_EQ(run(operation(server.url(u"/private"_s))), 401);
    EXPECT_FALSE(lastRequestCarriedLogin());

    // A login written into the address is given to that operation alone as well.
    QUrl withLogin = server.url(u"/private"_s);
    withLogin.setUserName(u"ann"_s);
    withLogin.setPassword(u"pw"_s);
    EXPECT_EQ(run(operation(withLogin)), 200);
    EXPECT_EQ(run(operation(server.url(u"/private"_s))), 401);
    EXPECT_FALSE(lastRequestCarriedLogin());
}
