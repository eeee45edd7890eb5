#pragma once

#include "platform/Expected.h"

#include <QHash>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace platform {

/// Where the keychain's items are kept. Every call returns within its time-out.
class KeychainBackend {
public:
    virtual ~KeychainBackend() = default;
    /// The item's text; empty when the item does not exist.
    virtual Expected<QString> read(const QString& account) = 0;
    /// Creates or replaces the item.
    virtual MaybeError write(const QString& account, const QString& text) = 0;
    /// Why the keychain cannot be used, or none when it answers.
    virtual std::optional<QString> unavailableReason() = 0;
};

/// Items in memory, for unit tests only: nothing is written anywhere.
class InMemoryKeychain : public KeychainBackend {
public:
    Expected<QString> read(const QString& account) override;
    MaybeError write(const QString& account, const QString& text) override;
    std::optional<QString> unavailableReason() override { return m_unavailable; }

    /// Every call fails with `reason` while set; none makes the keychain answer again.
    void setUnavailable(std::optional<QString> reason) { m_unavailable = std::move(reason); }
    /// The next writes of `account` fail with `error` (and store nothing).
    void failWrites(const QString& account, const QString& error) { m_failingWrites.insert(account, error); }
    /// The next writes of `account` report success but store `kept` instead.
    void keepOnWrite(const QString& account, const QString& kept) { m_keptOnWrite.insert(account, kept); }
    const QHash<QString, QString>& items() const { return m_items; }

private:
    QHash<QString, QString> m_items;
    QHash<QString, QString> m_failingWrites;
    QHash<QString, QString> m_keptOnWrite;
    std::optional<QString> m_unavailable;
};

/// Generic password items of the user's keychain (the desktop's secret service), all under
/// the service `serviceName`. Synchronous: each call waits for the service on the calling
/// thread, at most `timeout`, with user input held back meanwhile. Main thread only.
namespace Keychain {

inline const QString serviceName = QStringLiteral("Mervane");
inline constexpr std::chrono::milliseconds timeout { 4000 };

/// The item's text; empty when the item does not exist.
Expected<QString> read(const QString& account);
MaybeError write(const QString& account, const QString& text);
/// Why no keychain service answers, or none when one does.
std::optional<QString> unavailableReason();

/// Replaces where items are kept; null puts the desktop's secret service back.
void setBackend(std::unique_ptr<KeychainBackend> backend);
KeychainBackend& backend();

} // namespace Keychain

} // namespace platform
