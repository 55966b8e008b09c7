#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace tags {

// The outcome of an ID3v2 operation that touches a file: a value, or the French description of
// the input/output failure that stopped it.
template <typename T> class Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(const QString &error) { return Result(error, 0); }

    bool ok() const { return m_value.has_value(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }
    // Empty when the operation succeeded.
    QString error() const { return m_error; }

private:
    Result(const QString &error, int) : m_error(error) {}
    std::optional<T> m_value;
    QString m_error;
};

} // namespace tags
