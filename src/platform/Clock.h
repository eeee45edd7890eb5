#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace platform {

/// The one place the application asks for the current time, so that tests can fix it.
class Clock {
public:
    static QDateTime now();
    static QDate today();

    /// Fixes `now()` at `moment` until cleared; none returns to the system clock.
    static void setOverride(std::optional<QDateTime> moment);
};

/// Fixes the clock for the lifetime of the object.
class ScopedClock {
public:
    explicit ScopedClock(const QDateTime& moment) { Clock::setOverride(moment); }
    ~ScopedClock() { Clock::setOverride(std::nullopt); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace platform
