#include "import/readers/bounded_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "resource/byte_order.h"
#include "resource/file_io.h"

namespace ws {

std::optional<std::vector<std::uint8_t>> ReadImportFile(const std::string& path, bool* tooLarge) {
  if (tooLarge != nullptr) *tooLarge = false;
  FileHandle file = OpenFileRead(path);
  if (!file) return std::nullopt;
  const std::optional<std::uint64_t> size = FileSize(file);
  if (!size) return std::nullopt;
  if (*size > kMaxImportFileBytes) {
    if (tooLarge != nullptr) *tooLarge = true;
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
  if (!bytes.empty() && !ReadBytes(file, bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

// ---------------------------------------------------------------------------

namespace {

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string DecodeText(std::span<const std::uint8_t> bytes) {
  const auto starts = [&](std::initializer_list<std::uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
  };
  if (starts({0xEF, 0xBB, 0xBF})) return std::string(bytes.begin() + 3, bytes.end());
  const bool little = starts({0xFF, 0xFE});
  if (!little && !starts({0xFE, 0xFF})) return std::string(bytes.begin(), bytes.end());
  std::string out;
  out.reserve(bytes.size() / 2);
  constexpr std::uint32_t kReplacement = 0xFFFD;
  // Whole code units only: an odd last byte is no character.
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const std::uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
    return little ? (b << 8 | a) : (a << 8 | b);
  };
  for (std::size_t i = 1; i < units; ++i) {
    const std::uint32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? kReplacement : u);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------

bool ByteReader::Skip(std::size_t n) {
  if (n > remaining()) return false;
  pos_ += n;
  return true;
}

bool ByteReader::Seek(std::size_t position) {
  if (position > bytes_.size()) return false;
  pos_ = position;
  return true;
}

std::optional<std::uint8_t> ByteReader::U8() {
  if (remaining() < 1) return std::nullopt;
  return bytes_[pos_++];
}

std::optional<std::uint16_t> ByteReader::U16() {
  if (remaining() < 2) return std::nullopt;
  const std::uint16_t v = LoadLE16(bytes_.data() + pos_);
  pos_ += 2;
  return v;
}

std::optional<std::uint32_t> ByteReader::U32() {
  if (remaining() < 4) return std::nullopt;
  const std::uint32_t v = LoadLE32(bytes_.data() + pos_);
  pos_ += 4;
  return v;
}

std::optional<float> ByteReader::F32() {
  const std::optional<std::uint32_t> bits = U32();
  if (!bits) return std::nullopt;
  float f;
  std::memcpy(&f, &*bits, sizeof f);
  return f;
}

bool ByteReader::Bytes(std::span<std::uint8_t> out) {
  if (out.size() > remaining()) return false;
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + pos_, out.size());
  pos_ += out.size();
  return true;
}

// ---------------------------------------------------------------------------

bool LineReader::Next(std::string_view& piece) {
  if (pos_ >= text_.size()) return false;
  const std::size_t limit = max_ < text_.size() - pos_ ? max_ : text_.size() - pos_;
  const std::string_view window = text_.substr(pos_, limit);
  const std::size_t newline = window.find('\n');
  const std::size_t length = newline == std::string_view::npos ? limit : newline + 1;
  piece = text_.substr(pos_, length);
  pos_ += length;
  return true;
}

// ---------------------------------------------------------------------------

void TokenReader::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

bool TokenReader::AtEnd() {
  SkipBlanks();
  return pos_ >= text_.size();
}

std::string_view TokenReader::Token() {
  SkipBlanks();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

template <class T>
std::optional<T> TokenReader::Real() {
  SkipBlanks();
  std::size_t p = pos_;
  bool negative = false;
  if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
    negative = text_[p] == '-';
    ++p;
  }
  // from_chars takes no sign of its own here: a second sign ("--1") is no
  // number, as for scanf.
  if (p >= text_.size() || text_[p] == '+' || text_[p] == '-') return std::nullopt;
  const char* first = text_.data() + p;
  const char* last = text_.data() + text_.size();
  T value{};
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (end == first) return std::nullopt;
  pos_ = static_cast<std::size_t>(end - text_.data());
  if (error == std::errc::result_out_of_range) {
    // Too small to represent reads as zero (as strtod gives it); too large
    // is refused below with the other non-finite values.
    const std::string_view digits(first, static_cast<std::size_t>(end - first));
    const std::size_t e = digits.find_first_of("eE");
    bool tiny = false;
    if (e != std::string_view::npos) {
      tiny = e + 1 < digits.size() && digits[e + 1] == '-';
    } else {
      const std::string_view whole = digits.substr(0, digits.find('.'));
      tiny = whole.find_first_not_of('0') == std::string_view::npos;
    }
    if (!tiny) return std::nullopt;
    value = 0;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<float> TokenReader::Float() { return Real<float>(); }
std::optional<double> TokenReader::Double() { return Real<double>(); }

std::optional<std::int64_t> TokenReader::Integer() {
  SkipBlanks();
  std::size_t p = pos_;
  bool negative = false;
  if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
    negative = text_[p] == '-';
    ++p;
  }
  if (p >= text_.size() || !(text_[p] >= '0' && text_[p] <= '9')) return std::nullopt;
  std::uint64_t magnitude = 0;
  const char* first = text_.data() + p;
  const auto [end, error] = std::from_chars(first, text_.data() + text_.size(), magnitude);
  pos_ = static_cast<std::size_t>(end - text_.data());
  if (error != std::errc()) return std::nullopt;
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (magnitude > kMax) return std::nullopt;
  const auto v = static_cast<std::int64_t>(magnitude);
  return negative ? -v : v;
}

// ---------------------------------------------------------------------------

std::string FormatFixed1(double value) {
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
  std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0.0");
  if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
  return text;
}

std::string ReadingCompleteLine(std::size_t position, std::size_t size) {
  const double percent =
      size == 0 ? 0.0 : static_cast<double>(position) / static_cast<double>(size) * 100.0;
  return "Reading " + FormatFixed1(percent) + "% Complete";
}

}  // namespace ws
