// NFF: two unrelated formats share the extension. Sense8's WorldToolKit
// files begin with a line holding the word "nff"; anything else is read as
// Eric Haines' ray-tracing format.
#include "import/readers/nff/nff_lines.h"
#include "import/readers/readers.h"

namespace ws {
namespace nff {

bool NffLines::Next(std::string_view& line) {
  std::string_view raw;
  while (lines_.Next(raw)) {
    if (lineNumber_++ % 100 == 0) {
      importer_.Log(ReadingCompleteLine(lines_.position() - raw.size(), lines_.size()));
    }
    std::size_t cut = raw.size();
    if (anywhere_) {
      cut = raw.find(comment_);
      if (cut == std::string_view::npos) cut = raw.size();
    } else {
      TokenReader probe(raw);
      probe.SkipBlanks();
      if (probe.Rest().substr(0, comment_.size()) == comment_) cut = 0;
    }
    TokenReader content(raw.substr(0, cut));
    if (content.AtEnd()) continue;
    line = raw.substr(0, cut);
    return true;
  }
  return false;
}

bool SyntaxError(Importer& importer, const std::string& path, std::size_t line) {
  importer.Log("Syntax error file '" + path + "', line " + std::to_string(line));
  return false;
}

}  // namespace nff

bool ImportNff(Importer& importer, const std::string& path) {
  bool tooLarge = false;
  const auto bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    importer.Log(tooLarge ? "File '" + path + "' is too large to import"
                          : "Unable to open file '" + path + "'");
    return false;
  }
  importer.Title("Importing NFF File...");
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  std::string_view first;
  LineReader firstLine(text, text.size() + 1);
  if (firstLine.Next(first) && TokenReader(first).Token() == "nff") {
    return nff::ReadSense8(text, importer, path);
  }
  return nff::ReadHaines(text, importer, path);
}

}  // namespace ws
