// The one bounded reader every format reader goes through.
//
// A file is read whole into memory (ReadImportFile) and then only looked at
// through these classes, each of which checks what is left before every
// read: nothing here reads past the bytes it was given, and lengths are
// compared with what remains (`n > size - pos`), never by adding to the
// position. Numbers are parsed without the process locale (the editor runs
// under Qt, which sets it from the environment).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ws {

// Larger files are refused before they are read: no importable model needs
// more (the import keeps at most 10,000 faces), and it bounds the memory a
// reader's lists can take.
inline constexpr std::size_t kMaxImportFileBytes = 256u * 1024 * 1024;

// The file's bytes; no value when it cannot be opened or read, or is larger
// than kMaxImportFileBytes (`tooLarge` tells which).
std::optional<std::vector<std::uint8_t>> ReadImportFile(const std::string& path,
                                                        bool* tooLarge = nullptr);

// The file's text as UTF-8 for the text readers: a UTF-8 byte-order mark
// is dropped, and text in UTF-16 with a byte-order mark (either byte
// order) is decoded, a code unit that pairs with nothing becoming U+FFFD.
// Anything else comes back byte for byte.
std::string DecodeText(std::span<const std::uint8_t> bytes);

// Little-endian fixed-size reads over a byte span (the binary readers).
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t position() const { return pos_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool Skip(std::size_t n);
  bool Seek(std::size_t position);
  std::optional<std::uint8_t> U8();
  std::optional<std::uint16_t> U16();
  std::optional<std::uint32_t> U32();
  std::optional<float> F32();
  bool Bytes(std::span<std::uint8_t> out);

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// Lines as fgets reads them with a buffer of maxChars + 1: each piece is at
// most maxChars characters and ends after its '\n' when that fits, so a
// longer line comes in several pieces, each counted as a line.
class LineReader {
 public:
  LineReader(std::string_view text, std::size_t maxChars) : text_(text), max_(maxChars) {}
  // The next piece (with its '\n' when it has one); false at the end.
  bool Next(std::string_view& piece);
  std::size_t position() const { return pos_; }
  std::size_t size() const { return text_.size(); }

 private:
  std::string_view text_;
  std::size_t max_;
  std::size_t pos_ = 0;
};

// White space as the C library's isspace in the "C" locale.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Reading inside one line (or any bounded text), scanf-style.
class TokenReader {
 public:
  explicit TokenReader(std::string_view text) : text_(text) {}

  void SkipBlanks();
  bool AtEnd();  // only white space left
  // The next run of non-blank characters (after white space); empty at the
  // end.
  std::string_view Token();
  // A number as "%f" / "%lf" reads it: white space, an optional sign, then
  // the longest decimal floating-point prefix. No value when none is there,
  // and for values that are not finite (inf, nan, or out of range): no
  // reader here wants those in a model.
  std::optional<float> Float();
  std::optional<double> Double();
  // An optionally signed decimal integer after white space; no value when
  // it has no digit or does not fit 64 bits.
  std::optional<std::int64_t> Integer();
  std::string_view Rest() const { return text_.substr(pos_); }
  std::size_t position() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }

 private:
  template <class T>
  std::optional<T> Real();

  std::string_view text_;
  std::size_t pos_ = 0;
};

// The line readers log their progress before every this many lines.
constexpr std::size_t kStatusEveryLines = 100;
// "Reading %3.1f%% Complete" for position / size x 100 (0 for an empty
// file), formatted without the locale.
std::string ReadingCompleteLine(std::size_t position, std::size_t size);
// A value with one decimal, as "%3.1f" prints it in the "C" locale.
std::string FormatFixed1(double value);

}  // namespace ws
