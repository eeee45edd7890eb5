#pragma once

#include <QByteArray>
#include <QMutex>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace platform {

/// Per-user key-value settings kept in one file under XDG_CONFIG_HOME
/// ("Mervane/Mervane.cbor"). Values keep their types across runs: numbers,
/// booleans, strings, byte arrays, date-times, lists and maps (lists stay lists,
/// even with zero or one element). Every typed read takes the caller's fallback,
/// used when the key is absent or holds a value of another kind.
/// All members are safe to call from any thread.
class UserDefaults {
public:
    /// The application's settings. Created on first use.
    static UserDefaults& standard();
    /// Forgets the standard instance so that the next `standard()` resolves its file
    /// again from the environment (tests give each case its own XDG_CONFIG_HOME).
    static void resetStandard();
    /// Where the standard settings live for the current environment.
    static QString standardFilePath();

    explicit UserDefaults(const QString& filePath);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    QString filePath() const;

    /// True when the key holds a value, even an empty one.
    bool contains(const QString& key) const;
    /// The stored value, or a null QVariant when absent.
    QVariant value(const QString& key) const;

    QString string(const QString& key, const QString& fallback = {}) const;
    /// A whole number; a stored fraction is cut towards zero, a stored number beyond the
    /// range of qint64 gives its nearer end, and one that is not a number the fallback.
    qint64 integer(const QString& key, qint64 fallback = 0) const;
    /// `integer`, brought into `lowest`..`highest` (which must hold `fallback`): the typed
    /// accessors of a key read it through the range declared with it, as the file is input
    /// from disk like any other.
    qint64 integer(const QString& key, qint64 fallback, qint64 lowest, qint64 highest) const;
    double real(const QString& key, double fallback = 0.0) const;
    /// `real`, with a value that is not finite taken as absent and the rest brought into
    /// `lowest`..`highest`.
    double real(const QString& key, double fallback, double lowest, double highest) const;
    bool boolean(const QString& key, bool fallback = false) const;
    QVariantList list(const QString& key, const QVariantList& fallback = {}) const;
    QStringList stringList(const QString& key, const QStringList& fallback = {}) const;
    QVariantMap map(const QString& key, const QVariantMap& fallback = {}) const;
    QByteArray data(const QString& key, const QByteArray& fallback = {}) const;

    /// Stores `value`; a null QVariant removes the key.
    void setValue(const QString& key, const QVariant& value);
    /// `setValue`, then `synchronize`, so that the value is on disk before whatever the
    /// caller announces next. Returns what `synchronize` returns.
    bool setValueAndSynchronize(const QString& key, const QVariant& value);
    void remove(const QString& key);

    /// Writes pending changes to disk and picks up changes made by other processes.
    /// Returns false when the file could not be read or written. A file that could not be
    /// read (not CBOR, or CBOR that is not a map) is copied to
    /// "<file>.unreadable-<yyyyMMdd-HHmmss>" before it is replaced; if that copy fails it is
    /// not replaced. A file this class creates is private to the user (0600, its folder 0700).
    bool synchronize();

private:
    void ensurePrivateFile();

    mutable QMutex m_mutex;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace platform
