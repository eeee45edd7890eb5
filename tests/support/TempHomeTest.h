#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>

namespace mervane::test {

/// Gives each test its own empty HOME and XDG folders (the runtime folder too), and fresh
/// standard settings.
/// The previous environment comes back when the test ends.
class TempHomeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// The temporary home folder of this test.
    QString home() const;
    /// `relative` inside the temporary home.
    QString homePath(const QString& relative) const;
    /// The bytes of a file; empty when it cannot be read.
    static QByteArray readFile(const QString& path);

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::map<QByteArray, std::optional<QByteArray>> m_savedEnvironment;
};

} // namespace mervane::test
