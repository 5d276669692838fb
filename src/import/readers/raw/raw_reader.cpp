// RAW triangle files: each line holds one triangle as nine numbers, or the
// name of the group the following triangles belong to. The triangles go
// into a MeshBuilder, one group per name, handed over at the end.
#include <string_view>

#include "import/hand_over.h"
#include "import/mesh_builder.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"

namespace ws {
namespace {

// Characters read per line; a longer line comes in pieces, each a line.
constexpr std::size_t kRawLineChars = 255;
// A status line goes out before every this many lines.
constexpr std::size_t kStatusEvery = 100;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

void ReadRawLine(std::string_view line, MeshBuilder& builder) {
  TokenReader reader(line);
  reader.SkipBlanks();
  const std::string_view rest = reader.Rest();
  const char first = rest.empty() ? '\0' : rest.front();
  if (IsAsciiDigit(first) || first == '-') {
    float v[9];
    for (float& value : v) {
      const std::optional<float> f = reader.Float();
      if (!f) return;  // fewer than nine numbers: the line is ignored
      value = *f;
    }
    builder.BeginFace(nullptr);
    for (int corner = 0; corner < 3; ++corner) {
      builder.AddVertex(v[corner * 3], v[corner * 3 + 1], v[corner * 3 + 2]);
    }
    builder.EndFace();
    return;
  }
  std::size_t length = 0;
  if (first == '"') {
    const std::string_view quoted = rest.substr(1);
    while (length < quoted.size() && quoted[length] != '"' && !IsLineEnd(quoted[length])) ++length;
    builder.SelectGroup(quoted.substr(0, length));
    return;
  }
  while (length < rest.size() && !IsBlank(rest[length])) ++length;
  builder.SelectGroup(rest.substr(0, length));
}

}  // namespace

bool ImportRaw(Importer& importer, const std::string& path) {
  bool tooLarge = false;
  const auto bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    if (tooLarge) importer.Log("File '" + path + "' is too large to import");
    return true;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  MeshBuilder builder;
  LineReader lines(text, kRawLineChars);
  std::size_t lineNumber = 0;
  std::string_view line;
  for (std::size_t before = lines.position(); lines.Next(line); before = lines.position()) {
    if (lineNumber++ % kStatusEvery == 0) importer.Log(ReadingCompleteLine(before, lines.size()));
    ReadRawLine(line, builder);
  }
  HandOverBuilder(importer.root(), builder);
  return true;
}

}  // namespace ws
