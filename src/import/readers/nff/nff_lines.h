// Shared by the two NFF dialects: the file's lines with comments and blank
// lines taken out, status lines every 100 lines, and the error line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "import/importer.h"
#include "import/readers/bounded_reader.h"

namespace ws::nff {

// No count in an NFF file may ask for more than the face collector can
// hold; a larger one is an error before anything is read for it.
inline constexpr std::int64_t kMaxCount = 500000;

class NffLines {
 public:
  // `comment` starts a comment: anywhere in a line when `anywhere`, else
  // only as the line's first non-blank characters.
  NffLines(std::string_view text, Importer& importer, std::string_view comment, bool anywhere)
      : lines_(text, text.size() + 1),
        importer_(importer),
        comment_(comment),
        anywhere_(anywhere) {}

  // The next line that holds anything but white space and comments.
  bool Next(std::string_view& line);
  std::size_t lineNumber() const { return lineNumber_; }
  std::size_t position() const { return lines_.position(); }
  std::size_t size() const { return lines_.size(); }

 private:
  LineReader lines_;
  Importer& importer_;
  std::string_view comment_;
  bool anywhere_;
  std::size_t lineNumber_ = 0;
};

// A whole word that is a number 0 .. kMaxCount ("0xf00" and "3.5" are
// none).
inline std::optional<std::int64_t> WholeNumber(std::string_view word) {
  TokenReader reader(word);
  const std::optional<std::int64_t> n = reader.Integer();
  if (!n || !reader.AtEnd() || *n < 0 || *n > kMaxCount) return std::nullopt;
  return n;
}

// Sends "Syntax error file '<path>', line <n>" and returns false.
bool SyntaxError(Importer& importer, const std::string& path, std::size_t line);

bool ReadSense8(std::string_view text, Importer& importer, const std::string& path);
bool ReadHaines(std::string_view text, Importer& importer, const std::string& path);

}  // namespace ws::nff
