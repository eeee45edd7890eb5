#include "net/manager/KNHTTPRequestOperationManager.h"

#include "net/reachability/KNNetworkReachabilityManager.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString baseOf(const QString& url)
{
    return KNHTTPRequestOperationManager(QUrl(url)).baseURL().toString();
}

} // namespace

TEST(RequestOperationManager, BaseURLGainsATrailingSlashOnlyWhenItHasAPath)
{
    EXPECT_EQ(baseOf(u"http://example.test/api/v1"_s), u"http://example.test/api/v1/"_s);
    EXPECT_EQ(baseOf(u"http://example.test/api/v1/"_s), u"http://example.test/api/v1/"_s);
    EXPECT_EQ(baseOf(u"http://example.test"_s), u"http://example.test"_s);
    EXPECT_EQ(baseOf(u"http://example.test/api?key=1"_s), u"http://example.test/api/?key=1"_s);
    EXPECT_TRUE(KNHTTPRequestOperationManager().baseURL().isEmpty());
}

TEST(RequestOperationManager, URLStringsResolveAgainstTheBase)
{
    const KNHTTPRequestOperationManager withPath(QUrl(u"http://example.test/api/v1"_s));
    EXPECT_EQ(withPath.absoluteURLString(u"items"_s), u"http://example.test/api/v1/items"_s)
        << "below the base's path, not in place of its last segment";
    EXPECT_EQ(withPath.absoluteURLString(u"items?q=a b"_s), u"http://example.test/api/v1/items?q=a%20b"_s);
    EXPECT_EQ(withPath.absoluteURLString(u"/root"_s), u"http://example.test/root"_s);
    EXPECT_EQ(withPath.absoluteURLString(u"http://other.test:8080/x"_s), u"http://other.test:8080/x"_s);

    const KNHTTPRequestOperationManager withoutPath(QUrl(u"http://example.test"_s));
    EXPECT_EQ(withoutPath.absoluteURLString(u"items"_s), u"http://example.test/items"_s);

    const KNHTTPRequestOperationManager withoutBase;
    EXPECT_EQ(withoutBase.absoluteURLString(u"http://other.test/y"_s), u"http://other.test/y"_s);
}

TEST(RequestOperationManager, Defaults)
{
    const auto manager = KNHTTPRequestOperationManager::manager();
    ASSERT_TRUE(manager->requestSerializer());
    EXPECT_TRUE(std::dynamic_pointer_cast<KNJSONResponseSerializer>(manager->responseSerializer()));
    ASSERT_TRUE(manager->securityPolicy());
    EXPECT_EQ(manager->securityPolicy()->SSLPinningMode(), KNSSLPinningMode::None);
    EXPECT_TRUE(manager->securityPolicy()->validatesDomainName());
    EXPECT_FALSE(manager->securityPolicy()->allowInvalidCertificates());
    EXPECT_EQ(manager->reachabilityManager(), KNNetworkReachabilityManager::sharedManager());
    EXPECT_EQ(
        manager->reachabilityManager()->networkReachabilityStatus(), KNNetworkReachabilityStatus::Unknown)
        << "never started by the manager";
    EXPECT_FALSE(manager->credential());
    EXPECT_FALSE(manager->completionQueue());
    EXPECT_FALSE(manager->completionGroup());
    EXPECT_EQ(manager->operationQueue().operationCount(), 0);
}

TEST(RequestOperationManager, DescriptionNamesTheBaseAndTheQueue)
{
    const KNHTTPRequestOperationManager manager(QUrl(u"http://example.test/api"_s));
    const QRegularExpression pattern(
        uR"(^<KNHTTPRequestOperationManager: 0x[0-9a-f]+, )"
        uR"(baseURL: http://example\.test/api/, operationQueue: <.*0x[0-9a-f]+.*>>$)"_s);
    EXPECT_TRUE(pattern.match(manager.description()).hasMatch()) << manager.description().toStdString();
    EXPECT_TRUE(KNHTTPRequestOperationManager().description().contains(u"baseURL: (null)"_s));
}

TEST(RequestOperationManager, OperationsCarryTheManagersSettings)
{
    KNHTTPRequestOperationManager manager;
    auto policy = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::PublicKey);
    manager.setSecurityPolicy(policy);
    manager.setCredential(net::URLCredential { u"ann"_s, u"secret"_s });
    const auto queue = net::DispatchQueue::serial(u"manager.test.completion"_s);
    const auto group = std::make_shared<net::DispatchGroup>();
    manager.setCompletionQueue(queue);
    manager.setCompletionGroup(group);

    const auto operation = manager.HTTPRequestOperationWithRequest(
        net::URLRequest(QUrl(u"http://127.0.0.1:9/"_s)), nullptr, nullptr);
    EXPECT_EQ(operation->responseSerializer(), manager.responseSerializer());
    EXPECT_EQ(operation->securityPolicy(), policy);
    ASSERT_TRUE(operation->credential());
    EXPECT_EQ(operation->credential()->user, u"ann"_s);
    EXPECT_EQ(operation->completionQueue(), queue);
    EXPECT_EQ(operation->completionGroup(), group);
    EXPECT_TRUE(operation->isReady()) << "neither started";
    EXPECT_EQ(manager.operationQueue().operationCount(), 0) << "nor enqueued";
}

TEST(RequestOperationManager, ArchiveKeepsTheBaseAndBothSerializers)
{
    KNHTTPRequestOperationManager manager(QUrl(u"http://example.test/api"_s));
    manager.requestSerializer()->setValue("mervane-test", "X-Client");
    auto xml = std::make_shared<KNXMLParserResponseSerializer>();
    xml->setAcceptableStatusCodes(QSet<int> { 200, 304 });
    manager.setResponseSerializer(xml);
    manager.setSecurityPolicy(KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::Certificate));

    const auto restored = KNHTTPRequestOperationManager::fromArchive(manager.archive());
    EXPECT_EQ(restored->baseURL(), manager.baseURL());
    EXPECT_EQ(restored->requestSerializer()->valueForHTTPHeaderField("X-Client"), QByteArray("mervane-test"));
    const auto restoredXML
        = std::dynamic_pointer_cast<KNXMLParserResponseSerializer>(restored->responseSerializer());
    ASSERT_TRUE(restoredXML);
    EXPECT_EQ(restoredXML->acceptableStatusCodes(), (QSet<int> { 200, 304 }));
    EXPECT_EQ(restored->securityPolicy()->SSLPinningMode(), KNSSLPinningMode::None) << "not archived";

    const auto empty = KNHTTPRequestOperationManager::fromArchive({});
    EXPECT_TRUE(empty->baseURL().isEmpty());
    EXPECT_TRUE(std::dynamic_pointer_cast<KNJSONResponseSerializer>(empty->responseSerializer()));
}

TEST(RequestOperationManager, ACopyHasItsOwnQueueAndSerializersAndKeepsTheSecurityPolicy)
{
    KNHTTPRequestOperationManager manager(QUrl(u"http://example.test/api/"_s));
    manager.requestSerializer()->setAuthorizationHeaderFieldWithToken(u"t0k"_s);
    auto policy = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::PublicKey);
    policy->setValidatesDomainName(false);
    policy->setAllowInvalidCertificates(true);
    policy->setValidatesCertificateChain(false);
    manager.setSecurityPolicy(policy);
    manager.setCredential(net::URLCredential { u"ann"_s, u"secret"_s });
    manager.setCompletionQueue(net::DispatchQueue::serial(u"manager.test.copy"_s));

    const auto copy = manager.clone();
    EXPECT_EQ(copy->baseURL(), manager.baseURL());
    EXPECT_NE(&copy->operationQueue(), &manager.operationQueue());
    EXPECT_NE(copy->requestSerializer(), manager.requestSerializer());
    EXPECT_EQ(copy->requestSerializer()->valueForHTTPHeaderField("Authorization"),
        manager.requestSerializer()->valueForHTTPHeaderField("Authorization"));
    EXPECT_NE(copy->responseSerializer(), manager.responseSerializer());
    EXPECT_TRUE(std::dynamic_pointer_cast<KNJSONResponseSerializer>(copy->responseSerializer()));

    ASSERT_TRUE(copy->securityPolicy());
    EXPECT_NE(copy->securityPolicy(), policy) << "a copy of its own";
    EXPECT_EQ(copy->securityPolicy()->SSLPinningMode(), KNSSLPinningMode::PublicKey);
    EXPECT_EQ(copy->securityPolicy()->pinnedCertificates(), policy->pinnedCertificates());
    EXPECT_EQ(copy->securityPolicy()->pinnedPublicKeys(), policy->pinnedPublicKeys());
    EXPECT_FALSE(copy->securityPolicy()->validatesDomainName());
    EXPECT_TRUE(copy->securityPolicy()->allowInvalidCertificates());
    EXPECT_FALSE(copy->securityPolicy()->validatesCertificateChain());

    EXPECT_FALSE(copy->credential());
    EXPECT_FALSE(copy->completionQueue());
}
