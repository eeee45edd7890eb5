#pragma once

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace platform {

/// What an operation that returns nothing but may fail answers: none on success, else
/// the error text the user is shown.
using MaybeError = std::optional<QString>;

/// The error half of an `Expected`: `return platform::Unexpected(text);`.
struct Unexpected {
    explicit Unexpected(QString text) : error(std::move(text)) { }
    QString error;
};

/// A value, or the error text of why there is none. The caller owns the value.
/// Reading the value of a failure (or the error of a success) is a programming error
/// and asserts.
template <typename T> class Expected {
    static_assert(!std::is_same_v<std::decay_t<T>, Unexpected>, "Expected of Unexpected");

public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) { }
    Expected(Unexpected failure) : m_state(std::in_place_index<1>, std::move(failure.error)) { }

    bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    T& value() &
    {
        Q_ASSERT(hasValue());
        return std::get<0>(m_state);
    }
    const T& value() const&
    {
        Q_ASSERT(hasValue());
        return std::get<0>(m_state);
    }
    T&& value() &&
    {
        Q_ASSERT(hasValue());
        return std::get<0>(std::move(m_state));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    /// The value, or `fallback` for a failure.
    template <typename U> T valueOr(U&& fallback) const&
    {
        return hasValue() ? std::get<0>(m_state) : static_cast<T>(std::forward<U>(fallback));
    }

    const QString& error() const
    {
        Q_ASSERT(!hasValue());
        return std::get<1>(m_state);
    }
    /// None for a value, else the error text: for callers that only report failures.
    MaybeError errorIfAny() const { return hasValue() ? MaybeError() : MaybeError(error()); }

private:
    std::variant<T, QString> m_state;
};

} // namespace platform
