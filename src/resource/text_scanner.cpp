#include "resource/text_scanner.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace ws {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void TextScanner::Advance() {
  if (text_[pos_] == '\n') ++line_;
  ++pos_;
}

void TextScanner::SkipSpace() {
  while (More() && IsSpace(Peek())) Advance();
}

bool TextScanner::AtEnd() {
  SkipSpace();
  return !More();
}

std::string TextScanner::Word(std::size_t maxLength) {
  SkipSpace();
  std::size_t start = pos_;
  while (More() && !IsSpace(Peek()) && pos_ - start < maxLength) Advance();
  return std::string(text_.substr(start, pos_ - start));
}

bool TextScanner::Literal(char c) {
  if (!More() || Peek() != c) return false;
  Advance();
  return true;
}

std::optional<std::uint32_t> TextScanner::Hex(std::size_t maxDigits) {
  SkipSpace();
  std::uint32_t value = 0;
  std::size_t digits = 0;
  while (More() && digits < maxDigits && HexValue(Peek()) >= 0) {
    value = (value << 4) | static_cast<std::uint32_t>(HexValue(Peek()));
    Advance();
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

std::optional<std::int64_t> TextScanner::Integer() {
  SkipSpace();
  std::size_t start = pos_;
  if (More() && (Peek() == '-' || Peek() == '+')) ++pos_;
  std::size_t digitsFrom = pos_;
  while (More() && std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
  if (pos_ == digitsFrom) {
    pos_ = start;
    return std::nullopt;
  }
  std::string_view number = text_.substr(start, pos_ - start);
  if (number.front() == '+') number.remove_prefix(1);
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

std::optional<double> TextScanner::Real() {
  SkipSpace();
  std::size_t start = pos_;
  // Accept the decimal forms printf writes: sign, digits, point, exponent.
  if (More() && (Peek() == '-' || Peek() == '+')) ++pos_;
  std::size_t mantissa = pos_;
  while (More() && std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
  if (More() && Peek() == '.') {
    ++pos_;
    while (More() && std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
  }
  if (pos_ == mantissa || (pos_ == mantissa + 1 && text_[mantissa] == '.')) {
    pos_ = start;
    return std::nullopt;
  }
  if (More() && (Peek() == 'e' || Peek() == 'E')) {
    std::size_t save = pos_;
    ++pos_;
    if (More() && (Peek() == '-' || Peek() == '+')) ++pos_;
    std::size_t expDigits = pos_;
    while (More() && std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
    if (pos_ == expDigits) pos_ = save;
  }
  std::string_view number = text_.substr(start, pos_ - start);
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
    pos_ = start;
    return std::nullopt;
  }
  return value;
}

}  // namespace ws
