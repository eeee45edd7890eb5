#pragma once

#include "net/core/URLRequest.h"
#include "net/operation/KNHTTPRequestOperation.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QTest>

#include <gtest/gtest.h>

namespace echotest {

/// Sends every request with its own request operation, all at once, and returns the echo
/// server's descriptions in the same order (an empty object, and a test failure, for one
/// that failed or did not finish).
inline QList<QJsonObject> sendAll(const QList<net::URLRequest>& requests)
{
    QList<QJsonObject> answers(requests.size());
    qsizetype finished = 0;
    QList<std::shared_ptr<KNHTTPRequestOperation>> operations;
    for (qsizetype i = 0; i < requests.size(); ++i) {
        auto operation = std::make_shared<KNHTTPRequestOperation>(requests.at(i));
        operation->setCompletionBlockWithSuccess(
            [&answers, &finished, i](KNHTTPRequestOperation&, const QVariant& body) {
                answers[i] = QJsonDocument::fromJson(body.toByteArray()).object();
                ++finished;
            },
            [&finished, i](KNHTTPRequestOperation&, const net::Error& error) {
                ADD_FAILURE() << "request " << i << " failed: " << error.localizedDescription().toStdString();
                ++finished;
            });
        operations.append(operation);
    }
    for (const auto& operation : operations)
        operation->start();
    // Each request ends by itself within its time-out; waiting longer than that keeps a busy
    // machine from failing the test and no completion from arriving after this returned.
    const int bound = int(net::URLRequest::defaultTimeoutInterval * 1000) + 10000;
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished == requests.size(); }, bound))
        << finished << " of " << requests.size() << " requests finished";
    return answers;
}

inline QJsonObject send(const net::URLRequest& request)
{
    return sendAll({ request }).value(0);
}

} // namespace echotest
