// ASCII Drawing Interchange Files: the surface entities of the ENTITIES
// section and of the blocks it inserts become faces of a MeshBuilder, one
// group per layer, handed over as scene nodes at the end.
//
// A DXF file is a list of groups, each a code line and a value line. Values
// are taken as whole lines (trimmed), so names with blanks in them keep the
// reading in step; numbers are read from the start of their line.
//
// Every drawing (the ENTITIES section and each block) collects its faces
// as records over its own welded point list, at most 10,001 of them. A
// block keeps the INSERTs it holds and expands them where it is inserted
// itself, so a block may insert blocks defined after it; nesting is cut at
// kMaxInsertDepth, which also stops a block that inserts itself.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/hand_over.h"
#include "import/mesh_builder.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/dxf/dxf_colors.h"
#include "import/readers/readers.h"

namespace ws {
namespace {

using dxf::Trace;

// A drawing stores a face while its count is at most this.
constexpr std::size_t kMaxDrawingFaces = 10000;
constexpr std::size_t kMaxBlocks = 256;
constexpr int kMaxInsertDepth = 16;
constexpr std::size_t kProgressEvery = 100;
// Corners 3 and 4 closer than this make a triangle.
constexpr double kSameCorner = 1e-5;
// The height of the thin face a LINE becomes.
constexpr double kLineLift = 0.00001;
// The arbitrary-axis rule: an extrusion this close to the z axis takes
// its x axis from the world's y axis.
constexpr double kArbitraryAxisLimit = 1.0 / 64;
// Colour of an entity without a colour group: its layer's colour.
constexpr int kByLayerDefault = 0;

// One group: its code line and the value line after it.
struct CodePair {
  int code = -1;
  std::string_view value;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Name(std::string_view value) {
  return std::string(value.substr(0, std::min(value.size(), dxf::kMaxNameChars)));
}

// The groups of the text, one at a time, with one group of push-back.
// Every line read counts towards the progress report.
class GroupReader {
 public:
  GroupReader(std::string_view text, Importer& importer, const Trace& trace)
      : text_(text), importer_(importer), trace_(trace) {}

  // False at the end of the input (a code without its value included).
  bool Next(CodePair& group) {
    if (pushedBack_) {
      pushedBack_ = false;
      Count();  // the value line, read again
      group = last_;
      return true;
    }
    std::string_view code, value;
    if (!Line(code) || !Line(value)) return false;
    TokenReader number(code);
    const std::optional<std::int64_t> n = number.Integer();
    last_.code = n && number.AtEnd() && *n >= 0 && *n <= std::numeric_limits<int>::max()
                     ? static_cast<int>(*n)
                     : -1;
    last_.value = Trim(value);
    if (trace_)
      trace_("Read Group (" + std::to_string(last_.code) + ", " + std::string(last_.value) + ")");
    group = last_;
    return true;
  }

  // The group just read comes again from the next Next.
  void PushBack() {
    pushedBack_ = true;
    --reads_;
  }

 private:
  // Lines end at "\n", "\r\n" or a lone "\r".
  bool Line(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = pos_;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
    line = text_.substr(pos_, end - pos_);
    if (end < text_.size() && text_[end] == '\r') ++end;
    if (end < text_.size() && text_[end] == '\n') ++end;
    pos_ = end;
    Count();
    return true;
  }

  void Count() {
    if (++reads_ % kProgressEvery == 0) {
      importer_.Progress(static_cast<int>(pos_ * 100 / text_.size()));
    }
  }

  std::string_view text_;
  Importer& importer_;
  const Trace& trace_;
  std::size_t pos_ = 0;
  std::int64_t reads_ = 0;
  CodePair last_;
  bool pushedBack_ = false;
};

void ReadNumber(std::string_view value, double& out) {
  TokenReader reader(value);
  if (const std::optional<double> d = reader.Double()) out = *d;
}

void ReadInteger(std::string_view value, int& out) {
  TokenReader reader(value);
  if (const std::optional<std::int64_t> n = reader.Integer()) {
    out = static_cast<int>(std::clamp<std::int64_t>(*n, std::numeric_limits<std::int16_t>::min(),
                                                    std::numeric_limits<std::int16_t>::max()));
  }
}

// Sets the x, y or z of `p` for codes base, base + 10 and base + 20.
bool ReadCoordinate(const CodePair& g, int base, Vec3& p) {
  if (g.code == base)
    ReadNumber(g.value, p.x);
  else if (g.code == base + 10)
    ReadNumber(g.value, p.y);
  else if (g.code == base + 20)
    ReadNumber(g.value, p.z);
  else
    return false;
  return true;
}

Vec3 Add(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// p -> linear * p + offset.
struct Affine {
  std::array<std::array<double, 3>, 3> linear{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  Vec3 offset;

  Vec3 Apply(const Vec3& p) const {
    const auto& m = linear;
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + offset.x,
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + offset.y,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + offset.z};
  }
  // This transform after `inner`.
  Affine After(const Affine& inner) const {
    Affine r;
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        r.linear[i][j] = 0;
        for (int k = 0; k < 3; ++k) r.linear[i][j] += linear[i][k] * inner.linear[k][j];
      }
    }
    r.offset = Apply(inner.offset);
    return r;
  }
};

// A face's material: its colour as the diffuse colour, a tenth of it as
// the ambient one.
MaterialValue FaceMaterial(const ColorTriple& color) {
  MaterialValue m;
  m.diffuse = color;
  m.ambient = {color.x * 0.1, color.y * 0.1, color.z * 0.1};
  m.specular = m.emissive = {0, 0, 0};
  m.shininess = 0.2;
  m.transparency = 0;
  return m;
}

struct DxfFace {
  std::array<std::int32_t, 4> corners{};  // a triangle repeats its third corner
  ColorTriple color;
  int colorIndex = 0;  // as the entity gave it, for the faces of blocks
};

struct FaceGroup {
  std::string name;
  std::vector<DxfFace> faces;
};

struct Insert {
  std::string block, layer;
  Vec3 point, extrusion{0, 0, 1};
  Vec3 scale{1, 1, 1};
  double columnSpacing = 0, rowSpacing = 0, rotation = 0;
  int color = kByLayerDefault, columns = 1, rows = 1;
};

struct Drawing {
  MeshBuilder points;  // only its welded point list is used
  std::size_t faceCount = 0;
  std::vector<FaceGroup> groups;
  std::unordered_map<std::string, std::size_t> groupIndex;
  std::vector<Insert> inserts;  // of a block: expanded where it is inserted

  bool full() const { return faceCount > kMaxDrawingFaces; }

  FaceGroup& GroupNamed(const std::string& name) {
    const auto [it, added] = groupIndex.emplace(name, groups.size());
    if (added) groups.push_back({name, {}});
    return groups[it->second];
  }
};

struct Block {
  std::string name;
  Vec3 base;
  std::unique_ptr<Drawing> drawing;
};

// The rotation (degrees, about z) and the arbitrary-axis frame of an
// INSERT, with the block's base point taken off first and the insertion
// point added in the insert's own plane; the array offset steps along the
// block's rotated x and y axes.
Affine InsertTransform(const Insert& in, const Vec3& base, int column, int row) {
  const double length =
      std::sqrt(in.extrusion.x * in.extrusion.x + in.extrusion.y * in.extrusion.y +
                in.extrusion.z * in.extrusion.z);
  const Vec3 n =
      length > 0 && std::isfinite(length)
          ? Vec3{in.extrusion.x / length, in.extrusion.y / length, in.extrusion.z / length}
          : Vec3{0, 0, 1};
  auto cross = [](const Vec3& a, const Vec3& b) {
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  };
  auto unit = [](const Vec3& v) {
    const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return Vec3{v.x / l, v.y / l, v.z / l};
  };
  const bool nearZ = std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit;
  const Vec3 ax = unit(cross(nearZ ? Vec3{0, 1, 0} : Vec3{0, 0, 1}, n));
  const Vec3 ay = unit(cross(n, ax));

  const double angle = in.rotation * 3.14159265358979323846 / 180;
  const double c = std::cos(angle), s = std::sin(angle);
  // In the insert's plane: q = R((p - base) * scale + offset) + point.
  Affine plane;
  plane.linear = {{{c * in.scale.x, -s * in.scale.y, 0},
                   {s * in.scale.x, c * in.scale.y, 0},
                   {0, 0, in.scale.z}}};
  const Vec3 shifted{-base.x * in.scale.x + column * in.columnSpacing,
                     -base.y * in.scale.y + row * in.rowSpacing, -base.z * in.scale.z};
  plane.offset =
      Add({c * shifted.x - s * shifted.y, s * shifted.x + c * shifted.y, shifted.z}, in.point);
  Affine frame;
  frame.linear = {{{ax.x, ay.x, n.x}, {ax.y, ay.y, n.y}, {ax.z, ay.z, n.z}}};
  return frame.After(plane);
}

class DxfReader {
 public:
  DxfReader(std::string_view text, Importer& importer, const Trace& trace)
      : groups_(text, importer, trace), importer_(importer), trace_(trace) {}

  void Read();
  // The ENTITIES drawing into `builder`, one builder group per layer.
  void CopyInto(MeshBuilder& builder) const;
  bool sawSection() const { return sawSection_; }
  // The section the input ended in, when it ended inside one.
  const std::string& cutInSection() const { return cutIn_; }

 private:
  void ReadSection();
  // Reads up to the group that ends the section, left in `g`; false when
  // the input ends first.
  bool ReadTables(CodePair& g);
  void ReadBlock();
  // Reads the entity whose code-0 group was just read into `drawing`, when
  // it is one this reader takes.
  void ReadEntity(std::string_view type, Drawing& drawing, bool inBlock);
  template <class Field>
  void ReadFields(Field&& field);
  void ReadLine(Drawing& drawing);
  void Read3dFace(Drawing& drawing);
  void ReadPolyline(Drawing& drawing);
  Insert ReadInsert();
  void StoreFace(Drawing& drawing, const std::string& layer, std::span<const Vec3> corners,
                 int colorIndex, const ColorTriple& color);
  void StoreEntityFace(Drawing& drawing, const std::string& layer, std::span<const Vec3> corners,
                       int colorIndex);
  // Copies block `b` into `target` through `transform`, with the
  // insert's colour for the faces that take it; `depth` counts the inserts
  // this copy is nested in.
  void Merge(Drawing& target, std::size_t b, const Affine& transform, int insertColor, int depth);
  void ExpandInsert(Drawing& target, const Insert& in, const Affine& outer, int outerColor,
                    int depth);
  // How many faces inserting block `b` with `levels` more nesting levels
  // would bring (saturating): zero means an insert can be passed over.
  std::uint64_t FacesOf(std::size_t b, int levels);
  const Block* FindBlock(std::string_view name) const;

  GroupReader groups_;
  Importer& importer_;
  const Trace& trace_;
  dxf::LayerTable layers_;
  std::vector<Block> blocks_;
  std::unordered_map<std::string, std::size_t> blockIndex_;
  std::vector<std::array<std::uint64_t, kMaxInsertDepth + 1>> facesOf_;
  Drawing entities_;
  bool sawSection_ = false;
  bool depthCutLogged_ = false;
  std::string cutIn_;
};

// Keywords are the values of code-0 groups.
bool Is(const CodePair& g, std::string_view keyword) { return g.code == 0 && g.value == keyword; }

// A code-0 group that no entity or block can run past, even when the file
// leaves out the group that should have ended it.
bool EndsAnySection(const CodePair& g) { return Is(g, "ENDSEC") || Is(g, "EOF"); }

void DxfReader::Read() {
  CodePair g;
  while (groups_.Next(g)) {
    if (Is(g, "EOF")) break;
    if (Is(g, "SECTION")) ReadSection();
  }
}

template <class Field>
void DxfReader::ReadFields(Field&& field) {
  CodePair g;
  while (groups_.Next(g)) {
    if (g.code == 0) {
      groups_.PushBack();
      return;
    }
    field(g);
  }
}

void DxfReader::ReadSection() {
  if (trace_) trace_("DXF: +DXFReadSection()");
  sawSection_ = true;
  CodePair g;
  if (!groups_.Next(g)) return;
  const std::string section(g.value);
  cutIn_ = section;
  const bool closed = section == "TABLES" ? ReadTables(g) : [&] {
    while (groups_.Next(g)) {
      if (EndsAnySection(g)) return true;
      if (section == "BLOCKS" && Is(g, "BLOCK")) ReadBlock();
      if (section == "ENTITIES" && g.code == 0) ReadEntity(g.value, entities_, false);
    }
    return false;
  }();
  if (!closed) return;  // the input ended inside the section
  cutIn_.clear();
  if (Is(g, "EOF")) groups_.PushBack();
}

bool DxfReader::ReadTables(CodePair& g) {
  while (groups_.Next(g)) {
    if (EndsAnySection(g)) return true;
    if (!Is(g, "LAYER")) continue;
    // One entry after another up to ENDTAB; a value an entry does not
    // give stays as the entry before it left it.
    std::string name;
    int color = 0;
    do {
      ReadFields([&](const CodePair& f) {
        if (f.code == 2)
          name = Name(f.value);
        else if (f.code == 62)
          ReadInteger(f.value, color);
      });
      layers_.AddLayer(name, color, trace_);
      if (!groups_.Next(g)) return false;
      if (EndsAnySection(g)) return true;
    } while (!Is(g, "ENDTAB"));
  }
  return false;
}

void DxfReader::ReadBlock() {
  auto drawing = std::make_unique<Drawing>();
  std::string name;
  Vec3 base;
  ReadFields([&](const CodePair& g) {
    if (g.code == 2 || g.code == 3)
      name = Name(g.value);
    else
      ReadCoordinate(g, 10, base);
  });
  CodePair g;
  while (groups_.Next(g) && !Is(g, "ENDBLK")) {
    if (EndsAnySection(g)) {
      groups_.PushBack();
      break;
    }
    if (g.code == 0) ReadEntity(g.value, *drawing, true);
  }
  if (blocks_.size() >= kMaxBlocks || blockIndex_.contains(name)) return;
  facesOf_.clear();  // a new block may make earlier ones bring faces
  blockIndex_.emplace(name, blocks_.size());
  blocks_.push_back({std::move(name), base, std::move(drawing)});
}

void DxfReader::ReadEntity(std::string_view type, Drawing& drawing, bool inBlock) {
  if (type == "LINE") {
    ReadLine(drawing);
  } else if (type == "3DFACE") {
    Read3dFace(drawing);
  } else if (type == "POLYLINE") {
    ReadPolyline(drawing);
  } else if (type == "INSERT") {
    Insert in = ReadInsert();
    if (inBlock) {
      drawing.inserts.push_back(std::move(in));
    } else {
      ExpandInsert(drawing, in, Affine{}, -1, 0);
    }
  }
}

void DxfReader::StoreFace(Drawing& drawing, const std::string& layer, std::span<const Vec3> corners,
                          int colorIndex, const ColorTriple& color) {
  FaceGroup& group = drawing.GroupNamed(layer);
  if (drawing.full()) {
    if (trace_) trace_("DXF:  Maximum Polygon Count exceeded.  Skipping triangle");
    return;
  }
  const MaterialValue material = FaceMaterial(color);
  DxfFace record;
  record.color = color;
  record.colorIndex = colorIndex;
  drawing.points.BeginFace(&material);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::int32_t index =
        i < corners.size() ? drawing.points.AddVertex(corners[i].x, corners[i].y, corners[i].z)
                           : record.corners[2];
    record.corners[i] = index;
  }
  drawing.points.EndFace();
  ++drawing.faceCount;
  if (std::find(record.corners.begin(), record.corners.end(), -1) != record.corners.end()) return;
  group.faces.push_back(record);
}

void DxfReader::StoreEntityFace(Drawing& drawing, const std::string& layer,
                                std::span<const Vec3> corners, int colorIndex) {
  const int index = dxf::FindColor(layers_, layer, colorIndex, true, -1, trace_);
  StoreFace(drawing, layer, corners, colorIndex, dxf::ColorIndexToRGB(index));
}

void DxfReader::ReadLine(Drawing& drawing) {
  Vec3 p1, p2;
  std::string layer;
  int color = kByLayerDefault;
  ReadFields([&](const CodePair& g) {
    if (ReadCoordinate(g, 10, p1) || ReadCoordinate(g, 11, p2)) return;
    if (g.code == 8)
      layer = Name(g.value);
    else if (g.code == 62)
      ReadInteger(g.value, color);
  });
  const Vec3 lift{0, 0, kLineLift};
  const Vec3 corners[4] = {p1, Add(p1, lift), p2, Add(p2, lift)};
  StoreEntityFace(drawing, layer, corners, color);
}

void DxfReader::Read3dFace(Drawing& drawing) {
  Vec3 corners[4];
  std::string layer;
  int color = kByLayerDefault;
  ReadFields([&](const CodePair& g) {
    for (int i = 0; i < 4; ++i) {
      if (ReadCoordinate(g, 10 + i, corners[i])) return;
    }
    if (g.code == 8)
      layer = Name(g.value);
    else if (g.code == 62)
      ReadInteger(g.value, color);
  });
  const bool quad = !(Distance(corners[2], corners[3]) < kSameCorner);
  StoreEntityFace(drawing, layer, std::span(corners, quad ? 4 : 3), color);
}

void DxfReader::ReadPolyline(Drawing& drawing) {
  std::string layer;
  Vec3 origin;
  int color = kByLayerDefault, follow = 0, flags = 0, m = 0, n = 0;
  ReadFields([&](const CodePair& g) {
    if (ReadCoordinate(g, 10, origin)) return;
    if (g.code == 8)
      layer = Name(g.value);
    else if (g.code == 62)
      ReadInteger(g.value, color);
    else if (g.code == 66)
      ReadInteger(g.value, follow);
    else if (g.code == 70)
      ReadInteger(g.value, flags);
    else if (g.code == 71)
      ReadInteger(g.value, m);
    else if (g.code == 72)
      ReadInteger(g.value, n);
  });
  std::vector<Vec3> vertices;
  CodePair g;
  // Up to SEQEND; any other entity ends a polyline whose SEQEND is missing.
  while (groups_.Next(g) && !Is(g, "SEQEND")) {
    if (g.code != 0) continue;
    if (!Is(g, "VERTEX")) {
      groups_.PushBack();
      break;
    }
    Vec3 at;
    int vertexFlags = 0;
    std::array<int, 4> face{};
    ReadFields([&](const CodePair& f) {
      if (ReadCoordinate(f, 10, at)) return;
      if (f.code == 70)
        ReadInteger(f.value, vertexFlags);
      else if (f.code >= 71 && f.code <= 74)
        ReadInteger(f.value, face[f.code - 71]);
    });
    if (follow == 0) continue;
    if (vertexFlags & 64) {
      vertices.push_back(Add(at, origin));
      continue;
    }
    if (!(vertexFlags & 128)) continue;
    for (int& corner : face) corner = std::abs(corner);
    if (face[0] == face[1] || face[1] == face[2] || face[0] == 0 || face[2] == 0) continue;
    const bool triangle = face[3] == face[2] || face[3] == 0;
    Vec3 corners[4];
    const std::size_t count = triangle ? 3 : 4;
    bool known = true;
    for (std::size_t i = 0; i < count; ++i) {
      const auto number = static_cast<std::size_t>(face[i]);
      known = known && number >= 1 && number <= vertices.size();
      if (known) corners[i] = vertices[number - 1];
    }
    if (known) StoreEntityFace(drawing, layer, std::span(corners, count), color);
  }
  if (follow == 0 || !(flags & 16) || m <= 0 || n <= 0) return;
  if (static_cast<std::size_t>(m) * static_cast<std::size_t>(n) > vertices.size()) {
    importer_.Log("DXF: a polygon mesh of " + std::to_string(m) + " x " + std::to_string(n) +
                  " vertices has only " + std::to_string(vertices.size()) + "; it was left out");
    return;
  }
  const int rows = m - 1 + (flags & 1 ? 1 : 0);
  const int columns = n - 1 + (flags & 32 ? 1 : 0);
  auto vertex = [&](int i, int j) {
    return vertices[static_cast<std::size_t>((i % m) * n + (j % n))];
  };
  for (int r = 0; r < rows && !drawing.full(); ++r) {
    for (int c = 0; c < columns; ++c) {
      const Vec3 corners[4] = {vertex(r, c), vertex(r, c + 1), vertex(r + 1, c + 1),
                               vertex(r + 1, c)};
      StoreEntityFace(drawing, layer, corners, color);
    }
  }
}

Insert DxfReader::ReadInsert() {
  Insert in;
  ReadFields([&](const CodePair& g) {
    if (ReadCoordinate(g, 10, in.point) || ReadCoordinate(g, 210, in.extrusion)) return;
    switch (g.code) {
      case 41:
        ReadNumber(g.value, in.scale.x);
        break;
      case 42:
        ReadNumber(g.value, in.scale.y);
        break;
      case 43:
        ReadNumber(g.value, in.scale.z);
        break;
      case 2:
      case 3:
        in.block = Name(g.value);
        break;
      case 8:
        in.layer = Name(g.value);
        break;
      case 44:
        ReadNumber(g.value, in.columnSpacing);
        break;
      case 45:
        ReadNumber(g.value, in.rowSpacing);
        break;
      case 50:
        ReadNumber(g.value, in.rotation);
        break;
      case 62:
        ReadInteger(g.value, in.color);
        break;
      case 70:
        ReadInteger(g.value, in.columns);
        break;
      case 71:
        ReadInteger(g.value, in.rows);
        break;
      default:
        break;
    }
  });
  return in;
}

const Block* DxfReader::FindBlock(std::string_view name) const {
  const auto it = blockIndex_.find(std::string(name));
  return it == blockIndex_.end() ? nullptr : &blocks_[it->second];
}

std::uint64_t DxfReader::FacesOf(std::size_t b, int levels) {
  if (levels <= 0) return 0;
  if (facesOf_.size() < blocks_.size()) facesOf_.resize(blocks_.size(), {});
  std::uint64_t& known = facesOf_[b][static_cast<std::size_t>(levels)];
  if (known != 0) return known - 1;  // stored plus one, so that 0 means "not yet"
  constexpr std::uint64_t kPlenty = std::uint64_t{1} << 40;
  const Drawing& d = *blocks_[b].drawing;
  std::uint64_t total = d.faceCount;
  for (const Insert& in : d.inserts) {
    const auto it = blockIndex_.find(in.block);
    if (it == blockIndex_.end() || in.columns <= 0 || in.rows <= 0) continue;
    const std::uint64_t each = FacesOf(it->second, levels - 1);
    total =
        std::min(kPlenty, total + std::min(kPlenty, each * static_cast<std::uint64_t>(in.columns) *
                                                        static_cast<std::uint64_t>(in.rows)));
  }
  facesOf_[b][static_cast<std::size_t>(levels)] = total + 1;
  return total;
}

void DxfReader::ExpandInsert(Drawing& target, const Insert& in, const Affine& outer, int outerColor,
                             int depth) {
  const Block* block = FindBlock(in.block);
  if (!block) return;
  if (depth >= kMaxInsertDepth) {
    if (!depthCutLogged_) {
      importer_.Log("DXF: block \"" + in.block + "\" is inserted more than " +
                    std::to_string(kMaxInsertDepth) +
                    " levels deep (it may insert itself); the deeper inserts were left out");
      depthCutLogged_ = true;
    }
    return;
  }
  const auto b = static_cast<std::size_t>(block - blocks_.data());
  if (FacesOf(b, kMaxInsertDepth - depth) == 0) return;
  // The insert's own colour; inside a block it may itself take the colour
  // of the insert around it.
  const int color = depth == 0
                        ? dxf::FindColor(layers_, in.layer, in.color, true, -1, trace_)
                        : dxf::FindColor(layers_, in.layer, in.color, false, outerColor, trace_);
  for (int c = 0; c < in.columns && !target.full(); ++c) {
    for (int r = 0; r < in.rows && !target.full(); ++r) {
      Merge(target, b, outer.After(InsertTransform(in, block->base, c, r)), color, depth + 1);
    }
  }
}

void DxfReader::Merge(Drawing& target, std::size_t b, const Affine& transform, int insertColor,
                      int depth) {
  const Drawing& block = *blocks_[b].drawing;
  if (trace_) trace_("Merging object with " + std::to_string(block.groups.size()) + " groups");
  const BlockArray<Vec3>& points = block.points.points();
  for (const FaceGroup& group : block.groups) {
    for (const DxfFace& face : group.faces) {
      if (target.full()) return;
      Vec3 corners[4];
      for (std::size_t i = 0; i < 4; ++i) {
        corners[i] = transform.Apply(points[static_cast<std::size_t>(face.corners[i])]);
      }
      const bool inherits = face.colorIndex == 256 || (face.colorIndex == 0 && group.name == "0");
      const int index = dxf::FindColor(layers_, group.name, face.colorIndex, false, insertColor);
      const bool quad = face.corners[2] != face.corners[3];
      StoreFace(target, group.name, std::span(corners, quad ? 4 : 3), face.colorIndex,
                inherits ? dxf::ColorIndexToRGB(index) : face.color);
    }
  }
  for (const Insert& in : block.inserts) ExpandInsert(target, in, transform, insertColor, depth);
}

void DxfReader::CopyInto(MeshBuilder& builder) const {
  const BlockArray<Vec3>& points = entities_.points.points();
  for (const FaceGroup& group : entities_.groups) {
    builder.SelectGroup(group.name);
    for (const DxfFace& face : group.faces) {
      const MaterialValue material = FaceMaterial(face.color);
      const Vec3* p[4];
      for (std::size_t i = 0; i < 4; ++i) p[i] = &points[static_cast<std::size_t>(face.corners[i])];
      const std::size_t count = Distance(*p[2], *p[3]) < kSameCorner ? 3 : 4;
      builder.BeginFace(&material);
      for (std::size_t i = 0; i < count; ++i) builder.AddVertex(p[i]->x, p[i]->y, p[i]->z);
      builder.EndFace();
    }
  }
}

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

}  // namespace

bool ImportDxfTraced(Importer& importer, const std::string& path, const dxf::Trace& trace) {
  bool tooLarge = false;
  const auto bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    importer.Log(tooLarge ? "File '" + path + "' is too large to import"
                          : "Unable to open file '" + path + "'");
    return false;
  }
  importer.Title("Importing Drawing Interchange File...");
  const std::string text = DecodeText(*bytes);
  if (std::string_view(text).substr(0, kBinarySentinel.size()) == kBinarySentinel) {
    importer.SetEmptyReason(
        "It is a binary DXF file; only DXF files in text form can be imported.");
    return true;
  }
  DxfReader reader(text, importer, trace);
  reader.Read();
  MeshBuilder builder;
  reader.CopyInto(builder);
  if (!reader.sawSection()) {
    importer.SetEmptyReason("It holds no DXF section.");
  } else {
    importer.SetEmptyReason(
        "It holds no LINE, 3DFACE or POLYLINE mesh, directly or through a block.");
  }
  if (!reader.cutInSection().empty()) {
    importer.NoteDropped("the file ends inside its " + reader.cutInSection() +
                         " section; the rest of the drawing is missing");
  }
  HandOverBuilder(importer.root(), builder);
  return true;
}

bool ImportDxf(Importer& importer, const std::string& path) {
  return ImportDxfTraced(importer, path, {});
}

}  // namespace ws
