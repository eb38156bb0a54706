#pragma once

#include <QString>

#include <optional>
#include <utility>

// Why an operation failed, in the user's words.
struct Failure
{
    QString why;
};

// What every fallible operation of the program gives back: its value, or the failure. A function
// returns either a value or `Failure{reason}`; the caller tests the result like a bool.
template <class T> class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(const Failure& failure) : m_error(failure.why) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T& operator*() const& { return *m_value; }
    const T* operator->() const { return &*m_value; }
    T valueOr(T fallback) const { return m_value.value_or(std::move(fallback)); }
    // Empty when the operation succeeded.
    const QString& error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

// An operation that gives back nothing but success or its failure.
template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(const Failure& failure) : m_ok(false), m_error(failure.why) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& error() const { return m_error; }

private:
    bool m_ok = true;
    QString m_error;
};
