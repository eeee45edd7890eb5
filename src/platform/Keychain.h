#pragma once

#include "platform/Expected.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace platform {

/// Where the keychain's items are kept. Every call is asynchronous: its answer comes later,
/// on the main thread, and only while `context` (not null) lives. A service may take as long
/// as it likes to answer (the desktop may first ask the user to unlock it), or never answer.
class KeychainBackend {
public:
    using ReadDone = std::function<void(const Expected<QString>& text)>;
    using WriteDone = std::function<void(const MaybeError& error)>;

    virtual ~KeychainBackend() = default;
    /// The item's text (empty when the item does not exist), or why it could not be read.
    virtual void read(const QString& account, QObject* context, ReadDone done) = 0;
    /// Creates or replaces the item.
    virtual void write(const QString& account, const QString& text, QObject* context, WriteDone done) = 0;
};

/// Items in memory, for unit tests only: nothing is written anywhere. It answers soon (on a
/// later turn of the event loop), or holds its answers back until `answerHeld`, or never, so
/// that tests can play a slow or silent keychain.
class InMemoryKeychain : public KeychainBackend {
public:
    enum class Answering { Soon, WhenReleased, Never };

    InMemoryKeychain();
    ~InMemoryKeychain() override;

    void read(const QString& account, QObject* context, ReadDone done) override;
    void write(const QString& account, const QString& text, QObject* context, WriteDone done) override;

    void setAnswering(Answering answering) { m_answering = answering; }
    /// Answers the calls held back so far, in the order they were made, against the items
    /// (and the failures set) as they are now.
    void answerHeld();
    int heldCount() const { return int(m_held.size()); }

    /// Every call fails with `reason` while set; none makes the keychain answer again.
    void setUnavailable(std::optional<QString> reason) { m_unavailable = std::move(reason); }
    /// The next writes of `account` fail with `error` (and store nothing).
    void failWrites(const QString& account, const QString& error) { m_failingWrites.insert(account, error); }
    /// The next write of `account` reports success but stores `kept` instead.
    void keepOnWrite(const QString& account, const QString& kept) { m_keptOnWrite.insert(account, kept); }
    /// Reads of `account` fail with `error`.
    void failReads(const QString& account, const QString& error) { m_failingReads.insert(account, error); }
    void stopFailing()
    {
        m_failingWrites.clear();
        m_failingReads.clear();
    }
    /// Puts an item in place at once, as another program would.
    void setItem(const QString& account, const QString& text) { m_items.insert(account, text); }
    const QHash<QString, QString>& items() const { return m_items; }
    /// "read <account>" and "write <account>" for each call answered, in order.
    const QStringList& answered() const { return m_answered; }

private:
    void schedule(std::function<void()> answer);

    QObject m_poster;
    QHash<QString, QString> m_items;
    QHash<QString, QString> m_failingWrites;
    QHash<QString, QString> m_keptOnWrite;
    QHash<QString, QString> m_failingReads;
    std::optional<QString> m_unavailable;
    Answering m_answering = Answering::Soon;
    QList<std::function<void()>> m_held;
    QStringList m_answered;
};

/// Generic password items of the user's keychain (the desktop's secret service), all under
/// the service `serviceName`. Nothing here waits: each answer comes through its callback.
/// Main thread only.
namespace Keychain {

inline const QString serviceName = QStringLiteral("Mervane");

/// The item's text; empty when the item does not exist.
void read(const QString& account, QObject* context, KeychainBackend::ReadDone done);
void write(const QString& account, const QString& text, QObject* context, KeychainBackend::WriteDone done);

/// Replaces where items are kept; null puts the desktop's secret service back.
void setBackend(std::unique_ptr<KeychainBackend> backend);
KeychainBackend& backend();

} // namespace Keychain

} // namespace platform
