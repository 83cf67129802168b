#pragma once

#include <QString>
#include <utility>
#include <variant>

namespace termika {

// A failure the user must be told about, in words ready to show.
struct Error {
  QString message;
};

// The value of an operation that may fail; failures carry a message instead
// of being ignored. Mirrors the parts of std::expected we need (C++20 has none).
template <typename T>
class [[nodiscard]] Result final {
 public:
  Result(T value) : m_value(std::move(value)) {}      // NOLINT(google-explicit-constructor)
  Result(Error error) : m_value(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return std::holds_alternative<T>(m_value); }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<T>(m_value); }
  const T& value() const { return std::get<T>(m_value); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Error& error() const { return std::get<Error>(m_value); }

 private:
  std::variant<T, Error> m_value;
};

template <>
class [[nodiscard]] Result<void> final {
 public:
  Result() = default;
  Result(Error error)
      : m_error(std::move(error)), m_ok(false) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return m_ok; }
  explicit operator bool() const { return m_ok; }
  const Error& error() const { return m_error; }

 private:
  Error m_error;
  bool m_ok = true;
};

}  // namespace termika
