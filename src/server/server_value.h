// A VARIANT argument as a client passed it (a text or an integer), and the
// failure a member raises when a value does not convert or a file fails.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace zel {

/// An unexpected failure of a member: the client gets an error reply with
/// this text and `ServerErrorCode` stays as it was.
class ServerFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ServerValue {
 public:
  ServerValue(std::string text) : value_(std::move(text)) {}  // NOLINT: implicit by design
  ServerValue(const char* text) : value_(std::string(text)) {}
  ServerValue(int64_t number) : value_(number) {}
  ServerValue(int number) : value_(static_cast<int64_t>(number)) {}

  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  /// The value as text; an integer in decimal.
  std::string Text() const;
  /// The value as an integer: an integer as it is, a text of an optional
  /// sign and decimal digits (blanks around allowed). Throws ServerFailure
  /// naming `what` for any other text or a number beyond 64 bits.
  int64_t Integer(std::string_view what) const;
  /// The value as a number: an integer, or a text of a decimal number
  /// ("2.5", blanks around allowed); nullopt for any other text.
  std::optional<double> Number() const;

 private:
  std::variant<std::string, int64_t> value_;
};

}  // namespace zel
