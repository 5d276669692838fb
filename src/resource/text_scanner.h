// A bounded reader over text held in memory, with the semantics of the
// scanf conversions the program's own text files were written for: numbers
// and words skip leading white space, literal punctuation does not. Every
// read checks the bytes left; nothing reads past the end. Tracks the line
// number for messages. Accepts LF and CR LF line ends alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ws {

class TextScanner {
 public:
  explicit TextScanner(std::string_view text) : text_(text) {}

  // Up to `maxLength` non-space characters after skipping white space (the
  // rest of a longer word stays for the next read). Empty at the end.
  std::string Word(std::size_t maxLength);
  // Exactly this character, with no white space skipped before it.
  bool Literal(char c);
  // 1 to maxDigits hexadecimal digits after white space.
  std::optional<std::uint32_t> Hex(std::size_t maxDigits);
  // A signed decimal integer after white space; no value on overflow of
  // 64 bits or when no digit follows.
  std::optional<std::int64_t> Integer();
  // A finite decimal floating-point number after white space.
  std::optional<double> Real();

  bool AtEnd();  // only white space left
  std::size_t line() const { return line_; }

 private:
  void SkipSpace();
  bool More() const { return pos_ < text_.size(); }
  char Peek() const { return text_[pos_]; }
  void Advance();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
};

}  // namespace ws
