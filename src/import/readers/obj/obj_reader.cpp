// Wavefront OBJ: all vertices in one coordinate list, all normals in one
// normal list, and one Separator with an IndexedFaceSet per named group.
// Materials, texture coordinates and every other statement are ignored.
#include <charconv>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/hand_over.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"

namespace ws {
namespace {

using namespace scene;

// Characters read per line; a longer line comes in pieces, each a line.
constexpr std::size_t kObjLineChars = 2047;
constexpr std::size_t kStatusEvery = 100;
constexpr std::size_t kMaxObjGroups = 2048;
// No list of the scene grows beyond what the face collector could take:
// a file with more stops being read there (what was read is kept).
constexpr std::size_t kMaxObjListEntries = 500000;

enum class Keyword { kGroup, kNormal, kTexture, kVertex, kFace, kOther };

// The keywords are compared over a fixed number of characters of the
// NUL-ended word, so that longer words starting with "g", "vn", "vt" or
// "fo" match too, while "v" and "f" must stand alone.
Keyword Classify(std::string_view word) {
  auto startsWith = [&](std::string_view k) { return word.substr(0, k.size()) == k; };
  if (startsWith("g")) return Keyword::kGroup;
  if (startsWith("vn")) return Keyword::kNormal;
  if (startsWith("vt")) return Keyword::kTexture;
  if (word == "v") return Keyword::kVertex;
  if (word == "f" || startsWith("fo")) return Keyword::kFace;
  return Keyword::kOther;
}

struct ObjGroup {
  std::string name;
  std::vector<std::int32_t> faces;
  std::vector<std::int32_t> normals;
};

enum class LineResult { kOk, kSyntaxError, kBadVertex, kFull };

class ObjReader {
 public:
  ObjReader(Importer& importer, const std::string& path) : importer_(importer), path_(path) {
    groups_.push_back(std::make_unique<ObjGroup>());
  }

  void Read(std::string_view text);

 private:
  LineResult ReadLine(std::string_view line);
  LineResult ReadThree(std::string_view args, std::vector<Vec3>& list);
  LineResult ReadFace(std::string_view args);
  void SelectGroup(std::string_view args);
  void BuildScene();

  Importer& importer_;
  const std::string& path_;
  std::vector<Vec3> vertices_, normals_;
  std::vector<std::unique_ptr<ObjGroup>> groups_;
  std::size_t current_ = 0;
  std::vector<std::int32_t> cornerScratch_, normalScratch_;
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Each number starts at the next digit or minus sign; what comes before it
// is skipped; after it the reader moves on to the next white space.
LineResult ObjReader::ReadThree(std::string_view args, std::vector<Vec3>& list) {
  double v[3];
  std::size_t p = 0;
  for (double& value : v) {
    while (p < args.size() && !IsAsciiDigit(args[p]) && args[p] != '-') ++p;
    if (p >= args.size()) return LineResult::kSyntaxError;
    TokenReader number(args.substr(p));
    const std::optional<double> d = number.Double();
    if (d) {
      value = *d;
    } else {
      // A lone minus sign reads as 0, as atof has it; digits that make no
      // finite number are an error.
      const char next = p + 1 < args.size() ? args[p + 1] : '\0';
      if (IsAsciiDigit(args[p]) || IsAsciiDigit(next) || next == '.') return LineResult::kSyntaxError;
      value = 0;
    }
    while (p < args.size() && !IsBlank(args[p])) ++p;
  }
  if (list.size() >= kMaxObjListEntries) return LineResult::kFull;
  list.push_back({v[0], v[1], v[2]});
  return LineResult::kOk;
}

// Unsigned decimal digits at `p` (minus signs before them skipped), at
// most 2^31; no value when there is no digit.
std::optional<std::uint32_t> ReadNumber(std::string_view token, std::size_t& p) {
  while (p < token.size() && token[p] == '-') ++p;
  if (p >= token.size() || !IsAsciiDigit(token[p])) return std::nullopt;
  // Saturates one past the largest vertex number any list can hold.
  constexpr std::uint32_t kBeyond = 0x80000000u;
  std::uint32_t value = 0;
  for (; p < token.size() && IsAsciiDigit(token[p]); ++p) {
    const std::uint64_t next = std::uint64_t{value} * 10 + static_cast<std::uint32_t>(token[p] - '0');
    value = next > kBeyond ? kBeyond : static_cast<std::uint32_t>(next);
  }
  return value;
}

LineResult ObjReader::ReadFace(std::string_view args) {
  cornerScratch_.clear();
  normalScratch_.clear();
  TokenReader tokens(args);
  for (std::string_view token = tokens.Token(); !token.empty(); token = tokens.Token()) {
    std::size_t p = 0;
    const std::optional<std::uint32_t> vertex = ReadNumber(token, p);
    if (!vertex) return LineResult::kSyntaxError;
    // Files count from 1; a vertex that is not there yet is an error here
    // rather than a corner that silently goes missing.
    if (*vertex == 0 || *vertex > vertices_.size()) return LineResult::kBadVertex;
    cornerScratch_.push_back(static_cast<std::int32_t>(*vertex - 1));
    if (p < token.size() && token[p] == '/') {
      ++p;
      ReadNumber(token, p);  // texture number: skipped
      if (p < token.size() && token[p] == '/') {
        ++p;
        const std::optional<std::uint32_t> normal = ReadNumber(token, p);
        if (normal && *normal > 0) normalScratch_.push_back(static_cast<std::int32_t>(*normal - 1));
      }
    }
  }
  ObjGroup& g = *groups_[current_];
  if (cornerScratch_.size() + 1 > kMaxObjListEntries - g.faces.size() ||
      normalScratch_.size() + 1 > kMaxObjListEntries - g.normals.size()) {
    return LineResult::kFull;
  }
  g.faces.insert(g.faces.end(), cornerScratch_.begin(), cornerScratch_.end());
  g.faces.push_back(-1);
  if (!normalScratch_.empty()) {
    g.normals.insert(g.normals.end(), normalScratch_.begin(), normalScratch_.end());
    g.normals.push_back(-1);
  }
  return LineResult::kOk;
}

void ObjReader::SelectGroup(std::string_view args) {
  std::string name;
  bool inBlank = false;
  for (char c : args) {
    if (IsLineEnd(c)) continue;
    if (IsBlank(c)) {
      if (!inBlank) name.push_back('_');
      inBlank = true;
      continue;
    }
    inBlank = false;
    name.push_back(IsAsciiLetter(c) || IsAsciiDigit(c) ? c : '_');
  }
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    if (groups_[i]->name == name) {
      current_ = i;
      return;
    }
  }
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    if (groups_[i]->faces.empty()) {
      groups_[i]->name = std::move(name);
      current_ = i;
      return;
    }
  }
  if (groups_.size() >= kMaxObjGroups) return;  // the faces stay in the current group
  groups_.push_back(std::make_unique<ObjGroup>());
  groups_.back()->name = std::move(name);
  current_ = groups_.size() - 1;
}

LineResult ObjReader::ReadLine(std::string_view line) {
  TokenReader reader(line);
  const std::string_view word = reader.Token();
  reader.SkipBlanks();
  const std::string_view args = reader.Rest();
  switch (Classify(word)) {
    case Keyword::kGroup:
      SelectGroup(args);
      return LineResult::kOk;
    case Keyword::kNormal:
      return ReadThree(args, normals_);
    case Keyword::kVertex:
      return ReadThree(args, vertices_);
    case Keyword::kFace:
      return ReadFace(args);
    case Keyword::kTexture:
    case Keyword::kOther:
      return LineResult::kOk;
  }
  return LineResult::kOk;
}

void ObjReader::Read(std::string_view text) {
  LineReader lines(text, kObjLineChars);
  std::size_t lineNumber = 0;
  std::string_view line;
  for (std::size_t before = lines.position(); lines.Next(line); before = lines.position()) {
    if (lineNumber % kStatusEvery == 0) importer_.Log(ReadingCompleteLine(before, lines.size()));
    ++lineNumber;
    const LineResult result = ReadLine(line);
    if (result == LineResult::kOk) continue;
    const std::string where = "file '" + path_ + "', line " + std::to_string(lineNumber);
    if (result == LineResult::kFull) {
      importer_.Log("Too much data in " + where + "; the rest of the file was not read");
      break;
    }
    importer_.Log((result == LineResult::kSyntaxError ? "Syntax error " : "Bad vertex number ") +
                  where);
    return;  // nothing goes into the scene
  }
  importer_.Log(ReadingCompleteLine(lines.size(), lines.size()));
  BuildScene();
}

void ObjReader::BuildScene() {
  Separator& root = importer_.root();
  root.Make<Material>().Append(MaterialValue{});
  root.Make<MaterialBinding>(Binding::kOverall);
  // Normal numbers stand beside their corners, so the normal list is
  // indexed per corner.
  root.Make<NormalBinding>(normals_.empty() ? Binding::kDefault : Binding::kPerVertexIndexed);
  root.Make<Coordinate3>().point = std::move(vertices_);
  if (!normals_.empty()) root.Make<Normal>().vector = std::move(normals_);
  for (auto& group : groups_) {
    if (group->faces.empty()) continue;
    const std::string& name = group->name;
    Separator& separator =
        root.Make<Separator>(name.empty() || IsAsciiLetter(name.front()) ? name : "G" + name);
    IndexedFaceSet& faces = separator.Make<IndexedFaceSet>();
    faces.coordIndex = std::move(group->faces);
    faces.normalIndex = std::move(group->normals);
  }
}

}  // namespace

bool ImportObj(Importer& importer, const std::string& path) {
  bool tooLarge = false;
  const auto bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    importer.Log(tooLarge ? "File '" + path + "' is too large to import"
                          : "Unable to open file '" + path + "'");
    return true;
  }
  ObjReader reader(importer, path);
  reader.Read(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  return true;
}

}  // namespace ws
