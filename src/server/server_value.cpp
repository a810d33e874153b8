#include "server/server_value.h"

#include <charconv>

namespace zel {
namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string ServerValue::Text() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  return std::to_string(std::get<int64_t>(value_));
}

int64_t ServerValue::Integer(std::string_view what) const {
  if (const auto* number = std::get_if<int64_t>(&value_)) return *number;
  const std::string& text = std::get<std::string>(value_);
  std::string_view digits = Trimmed(text);
  const bool plus = !digits.empty() && digits.front() == '+';
  if (plus) digits.remove_prefix(1);
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const bool bad = digits.empty() || (plus && digits.front() == '-') || ec != std::errc() ||
                   end != digits.data() + digits.size();
  if (bad) {
    // The text itself stays out: a client may send megabytes.
    throw ServerFailure(std::string(what) + ": the value is not an integer");
  }
  return value;
}

std::optional<double> ServerValue::Number() const {
  if (const auto* number = std::get_if<int64_t>(&value_)) return static_cast<double>(*number);
  const std::string_view text = Trimmed(std::get<std::string>(value_));
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace zel
