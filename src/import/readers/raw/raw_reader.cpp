// RAW triangle files: each line holds one triangle as nine numbers, or the
// name of the group the following triangles belong to. The triangles go
// into a MeshBuilder, one group per name, handed over at the end.
//
// The variant with colours puts twelve numbers on a line: red, green and
// blue (each 0 to 1) and then the triangle. Nine to eleven numbers are a
// triangle and whatever follows it (a texture name, say) is ignored. A
// line that starts like a triangle but has fewer than nine numbers is
// counted, and the drop report names it.
#include <string>
#include <string_view>
#include <vector>

#include "import/hand_over.h"
#include "import/mesh_builder.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"

namespace ws {
namespace {

// Characters read per line; a longer line comes in pieces, each a line.
constexpr std::size_t kRawLineChars = 255;

constexpr int kTriangleNumbers = 9;
constexpr int kColoredNumbers = 12;

// False for a triangle line with fewer than nine numbers.
bool ReadRawLine(std::string_view line, MeshBuilder& builder) {
  TokenReader reader(line);
  reader.SkipBlanks();
  const std::string_view rest = reader.Rest();
  const char first = rest.empty() ? '\0' : rest.front();
  if (IsAsciiDigit(first) || first == '-') {
    float v[kColoredNumbers];
    int count = 0;
    for (; count < kColoredNumbers; ++count) {
      const std::optional<float> f = reader.Float();
      if (!f) break;
      v[count] = *f;
    }
    if (count < kTriangleNumbers) return false;
    const bool colored = count == kColoredNumbers;
    const MaterialValue color = MaterialFromColor({v[0], v[1], v[2]});
    builder.BeginFace(colored ? &color : nullptr);
    const float* corners = colored ? v + 3 : v;
    for (int corner = 0; corner < 3; ++corner) {
      builder.AddVertex(corners[corner * 3], corners[corner * 3 + 1], corners[corner * 3 + 2]);
    }
    builder.EndFace();
    return true;
  }
  std::size_t length = 0;
  if (first == '"') {
    const std::string_view quoted = rest.substr(1);
    while (length < quoted.size() && quoted[length] != '"' && !IsLineEnd(quoted[length])) ++length;
    builder.SelectGroup(quoted.substr(0, length));
    return true;
  }
  while (length < rest.size() && !IsBlank(rest[length])) ++length;
  builder.SelectGroup(rest.substr(0, length));
  return true;
}

// "3 lines with fewer than nine numbers were skipped (lines 4, 9, 12)",
// naming at most the first ten.
std::string ShortLinesNote(const std::vector<std::size_t>& lines) {
  std::string text = std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
                     " with fewer than nine numbers " + (lines.size() == 1 ? "was" : "were") +
                     " skipped (line" + (lines.size() == 1 ? " " : "s ");
  constexpr std::size_t kNamed = 10;
  for (std::size_t i = 0; i < lines.size() && i < kNamed; ++i) {
    text += (i > 0 ? ", " : "") + std::to_string(lines[i]);
  }
  return text + (lines.size() > kNamed ? ", ...)" : ")");
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
  std::vector<std::size_t> shortLines;
  for (std::size_t before = lines.position(); lines.Next(line); before = lines.position()) {
    if (lineNumber++ % kStatusEveryLines == 0)
      importer.Log(ReadingCompleteLine(before, lines.size()));
    if (!ReadRawLine(line, builder)) shortLines.push_back(lineNumber);
  }
  if (!shortLines.empty()) {
    importer.NoteDropped(ShortLinesNote(shortLines));
    importer.SetEmptyReason("No line holds the nine numbers of a triangle.");
  }
  HandOverBuilder(importer.root(), builder);
  return true;
}

}  // namespace ws
