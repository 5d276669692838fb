// Wavefront OBJ: all vertices in one coordinate list, all normals in one
// normal list, and one Separator with an IndexedFaceSet per named group.
// Materials, texture coordinates and every other statement are ignored.
//
// Lines are read whole, whatever their length. A corner's vertex number
// counts from 1, or back from the last vertex read so far when negative
// (-1 is that vertex); a face may name a vertex that comes later in the
// file, so faces are checked once the whole file is read, and a face that
// names a vertex the file does not have is left out on its own and counted
// for the drop report.
#include <algorithm>
#include <limits>
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

constexpr std::size_t kMaxObjGroups = 2048;
// No list of the scene grows beyond what the face collector could take:
// a file with more stops being read there (what was read is kept).
constexpr std::size_t kMaxObjListEntries = 500000;

enum class Keyword { kGroup, kNormal, kTexture, kVertex, kFace, kPointOrLine, kOther };

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
  if (word == "p" || word == "l") return Keyword::kPointOrLine;
  return Keyword::kOther;
}

// A corner that names no vertex at all (0, or further back than the first
// vertex): no list is that long.
constexpr std::int32_t kNoVertex = std::numeric_limits<std::int32_t>::max();

struct ObjGroup {
  std::string name;
  std::vector<std::int32_t> faces;
  std::vector<std::int32_t> normals;
  // Per face: whether it put a run of normal numbers into `normals`.
  std::vector<bool> faceHasNormals;
};

enum class LineResult { kOk, kSyntaxError, kFull };

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
  std::size_t DropFacesWithoutVertices();
  std::string EmptyReason(std::string_view text, std::size_t dropped) const;
  void BuildScene();

  Importer& importer_;
  const std::string& path_;
  std::vector<Vec3> vertices_, normals_;
  std::vector<std::unique_ptr<ObjGroup>> groups_;
  std::size_t current_ = 0;
  std::vector<std::int32_t> cornerScratch_, normalScratch_;
  bool pointsOrLines_ = false;
};

// Each number starts at the next digit, sign or decimal point (".5",
// "+.5", "-.25", "1e-3", "1E+2"); what comes before it is skipped; after it
// the reader moves on to the next white space.
LineResult ObjReader::ReadThree(std::string_view args, std::vector<Vec3>& list) {
  double v[3];
  std::size_t p = 0;
  for (double& value : v) {
    while (p < args.size() && !IsAsciiDigit(args[p]) && args[p] != '-' && args[p] != '+' &&
           args[p] != '.') {
      ++p;
    }
    if (p >= args.size()) return LineResult::kSyntaxError;
    TokenReader number(args.substr(p));
    const std::optional<double> d = number.Double();
    if (d) {
      value = *d;
    } else {
      // A lone sign or point reads as 0, as atof has it; digits that make
      // no finite number are an error.
      std::size_t q = p;
      while (q < args.size() && q < p + 2 && (args[q] == '-' || args[q] == '+' || args[q] == '.'))
        ++q;
      if (q < args.size() && IsAsciiDigit(args[q])) return LineResult::kSyntaxError;
      value = 0;
    }
    while (p < args.size() && !IsBlank(args[p])) ++p;
  }
  if (list.size() >= kMaxObjListEntries) return LineResult::kFull;
  list.push_back({v[0], v[1], v[2]});
  return LineResult::kOk;
}

// A decimal number at `p`, optionally signed, saturated far beyond any
// list's length; no value when there is no digit.
std::optional<std::int64_t> ReadNumber(std::string_view token, std::size_t& p) {
  bool negative = false;
  if (p < token.size() && (token[p] == '-' || token[p] == '+')) negative = token[p++] == '-';
  if (p >= token.size() || !IsAsciiDigit(token[p])) return std::nullopt;
  constexpr std::int64_t kBeyond = std::int64_t{1} << 40;
  std::int64_t value = 0;
  for (; p < token.size() && IsAsciiDigit(token[p]); ++p) {
    value = std::min(kBeyond, value * 10 + (token[p] - '0'));
  }
  return negative ? -value : value;
}

// The 0-based list index a file number names: n counts from 1, -n back
// from the end of the `count` entries read so far. kNoVertex for 0 and for
// numbers before the first entry; numbers beyond the end stay beyond it.
std::int32_t ListIndex(std::int64_t n, std::size_t count) {
  const auto size = static_cast<std::int64_t>(count);
  if (n > 0) return static_cast<std::int32_t>(std::min<std::int64_t>(n - 1, kNoVertex));
  if (n < 0 && -n <= size) return static_cast<std::int32_t>(size + n);
  return kNoVertex;
}

LineResult ObjReader::ReadFace(std::string_view args) {
  cornerScratch_.clear();
  normalScratch_.clear();
  TokenReader tokens(args);
  for (std::string_view token = tokens.Token(); !token.empty(); token = tokens.Token()) {
    std::size_t p = 0;
    const std::optional<std::int64_t> vertex = ReadNumber(token, p);
    if (!vertex) return LineResult::kSyntaxError;
    cornerScratch_.push_back(ListIndex(*vertex, vertices_.size()));
    if (p < token.size() && token[p] == '/') {
      ++p;
      ReadNumber(token, p);  // texture number: skipped
      if (p < token.size() && token[p] == '/') {
        ++p;
        const std::optional<std::int64_t> normal = ReadNumber(token, p);
        if (normal && ListIndex(*normal, normals_.size()) != kNoVertex) {
          normalScratch_.push_back(ListIndex(*normal, normals_.size()));
        }
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
  g.faceHasNormals.push_back(!normalScratch_.empty());
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
    case Keyword::kPointOrLine:
      pointsOrLines_ = true;
      return LineResult::kOk;
    case Keyword::kTexture:
    case Keyword::kOther:
      return LineResult::kOk;
  }
  return LineResult::kOk;
}

void ObjReader::Read(std::string_view text) {
  LineReader lines(text, text.size() + 1);
  std::size_t lineNumber = 0;
  std::string_view line;
  for (std::size_t before = lines.position(); lines.Next(line); before = lines.position()) {
    if (lineNumber % kStatusEveryLines == 0)
      importer_.Log(ReadingCompleteLine(before, lines.size()));
    ++lineNumber;
    const LineResult result = ReadLine(line);
    if (result == LineResult::kOk) continue;
    const std::string where = "file '" + path_ + "', line " + std::to_string(lineNumber);
    if (result == LineResult::kFull) {
      importer_.Log("Too much data in " + where + "; the rest of the file was not read");
      break;
    }
    importer_.Log("Syntax error " + where);
    importer_.SetEmptyReason("Line " + std::to_string(lineNumber) +
                             " is not what the format allows.");
    return;  // nothing goes into the scene
  }
  importer_.Log(ReadingCompleteLine(lines.size(), lines.size()));
  const std::size_t dropped = DropFacesWithoutVertices();
  if (dropped > 0) {
    importer_.NoteDropped(std::to_string(dropped) + (dropped == 1 ? " face names" : " faces name") +
                          " vertices that the file does not have");
  }
  importer_.SetEmptyReason(EmptyReason(text, dropped));
  BuildScene();
}

std::size_t ObjReader::DropFacesWithoutVertices() {
  std::size_t dropped = 0;
  const auto count = static_cast<std::int32_t>(vertices_.size());
  for (auto& group : groups_) {
    std::vector<std::int32_t> faces, normals;
    std::vector<bool> hasNormals;
    std::size_t start = 0, normalStart = 0;
    for (std::size_t face = 0; face < group->faceHasNormals.size(); ++face) {
      std::size_t end = start;
      bool whole = true;
      for (; group->faces[end] != -1; ++end) whole = whole && group->faces[end] < count;
      std::size_t normalEnd = normalStart;
      if (group->faceHasNormals[face]) {
        while (group->normals[normalEnd] != -1) ++normalEnd;
        ++normalEnd;
      }
      if (whole) {
        faces.insert(faces.end(), group->faces.begin() + start, group->faces.begin() + end + 1);
        normals.insert(normals.end(), group->normals.begin() + normalStart,
                       group->normals.begin() + normalEnd);
        hasNormals.push_back(group->faceHasNormals[face]);
      } else {
        ++dropped;
      }
      start = end + 1;
      normalStart = normalEnd;
    }
    group->faces = std::move(faces);
    group->normals = std::move(normals);
    group->faceHasNormals = std::move(hasNormals);
  }
  return dropped;
}

std::string ObjReader::EmptyReason(std::string_view text, std::size_t dropped) const {
  if (text.find('\0') != std::string_view::npos) {
    return "Its text is in an encoding that Wirestead cannot read.";
  }
  if (dropped > 0) return "Every face names vertices that the file does not have.";
  if (pointsOrLines_ || !vertices_.empty()) return "It holds only points or lines, no faces.";
  return "It holds no faces.";
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
  reader.Read(DecodeText(*bytes));
  return true;
}

}  // namespace ws
