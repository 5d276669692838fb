// trueSpace binary object files (".cob"): a 32-byte header, then chunks of
// 20-byte headers. Groups ("Grou") and polygon objects ("PolH") become
// Separators nested under their parents; materials ("Mat1") colour the
// polygon object they belong to. Everything else is skipped.
//
// Each chunk is read within the bytes its header gives it, and the next
// header is looked for where the chunk ends: the versions of "PolH" differ
// in a few trailing fields nobody here needs, and a chunk's own data never
// decides where its neighbour starts.
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "import/hand_over.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"

namespace ws {
namespace {

using namespace scene;

constexpr std::size_t kFileHeaderBytes = 32;
constexpr std::size_t kChunkHeaderBytes = 20;
constexpr std::size_t kBinaryFlagByte = 15;
constexpr std::string_view kSignature = "Caligari";
// Objects that later chunks can name as their parent; one beyond is still
// imported, but nothing can be attached to it.
constexpr std::size_t kMaxObjects = 1024;
constexpr std::uint8_t kHoleFlag = 0x08;
// A material without an ambient factor would import black in its shadows.
constexpr double kDefaultAmbientFactor = 0.1;
constexpr std::size_t kMatrixFloats = 12;

constexpr char kShortHeader[] = "Permature EOF";
constexpr char kShortChunk[] = "Premature EOF";
constexpr char kNotBinary[] = "Selected file is not a binary Caligari COB file";

struct ChunkHeader {
  std::string type;
  std::uint32_t id = 0, parent = 0, size = 0;
};

struct ObjectEntry {
  std::uint32_t chunkId = 0;
  Separator* separator = nullptr;
  Material* material = nullptr;
  bool polygons = false;  // only polygon objects take materials
};

// One chunk's data: its bytes and where they start in the file.
struct ChunkData {
  ByteReader in;
  std::size_t base;
};

class CobReader {
 public:
  CobReader(Importer& importer, std::size_t fileSize) : importer_(importer), fileSize_(fileSize) {}

  // Reads the chunks after the header; false when the file ends inside one.
  bool ReadChunks(std::span<const std::uint8_t> bytes);
  bool anyObject() const { return anyObject_; }

 private:
  void Progress(const ChunkData& c) {
    importer_.Progress(static_cast<int>((c.base + c.in.position()) * 100 / fileSize_));
  }
  std::optional<std::string> String(ChunkData& c);
  bool ReadObject(ChunkData& c, const ChunkHeader& h, bool polygons);
  bool ReadPolygons(ChunkData& c, Coordinate3& points, IndexedFaceSet& faces);
  bool ReadMaterial(ChunkData& c, const ChunkHeader& h);
  ObjectEntry* Entry(std::uint32_t chunkId);

  Importer& importer_;
  std::size_t fileSize_;
  std::vector<ObjectEntry> objects_;
  bool anyObject_ = false;
};

std::optional<ChunkHeader> ReadChunkHeader(ByteReader& in) {
  if (in.remaining() < kChunkHeaderBytes) return std::nullopt;
  ChunkHeader h;
  for (int i = 0; i < 4; ++i) h.type.push_back(static_cast<char>(*in.U8()));
  in.Skip(4);  // major and minor version
  h.id = *in.U32();
  h.parent = *in.U32();
  h.size = *in.U32();
  return h;
}

bool CobReader::ReadChunks(std::span<const std::uint8_t> bytes) {
  ByteReader file(bytes);
  file.Seek(kFileHeaderBytes);
  while (std::optional<ChunkHeader> h = ReadChunkHeader(file)) {
    const std::size_t start = file.position();
    const bool cut = h->size > file.remaining();
    const std::size_t available = cut ? file.remaining() : h->size;
    ChunkData c{ByteReader(bytes.subspan(start, available)), start};
    Progress(c);
    bool complete = true;
    if (h->type == "Grou") complete = ReadObject(c, *h, false);
    if (h->type == "PolH") complete = ReadObject(c, *h, true);
    if (h->type == "Mat1") complete = ReadMaterial(c, *h);
    if (!complete || cut) return false;
    file.Skip(available);
  }
  return true;
}

std::optional<std::string> CobReader::String(ChunkData& c) {
  const std::optional<std::uint16_t> length = c.in.U16();
  if (!length || *length > c.in.remaining()) return std::nullopt;
  std::string s(*length, '\0');
  c.in.Bytes({reinterpret_cast<std::uint8_t*>(s.data()), s.size()});
  Progress(c);
  return s;
}

ObjectEntry* CobReader::Entry(std::uint32_t chunkId) {
  for (ObjectEntry& e : objects_) {
    if (e.chunkId == chunkId) return &e;
  }
  return nullptr;
}

bool CobReader::ReadObject(ChunkData& c, const ChunkHeader& h, bool polygons) {
  std::optional<std::string> name;
  if (!c.in.Skip(2) || !(name = String(c))) return false;  // dupecount, then the name
  if (!c.in.Skip(kMatrixFloats * 4)) return false;         // local axes, not used
  // The current position: three rows of a 4 x 4 matrix that moves column
  // vectors; the scene's matrices move row vectors, hence the transpose.
  Matrix position = IdentityMatrix();
  bool identity = true;
  for (std::size_t row = 0; row < 3; ++row) {
    for (std::size_t column = 0; column < 4; ++column) {
      const std::optional<float> f = c.in.F32();
      if (!f) return false;
      position[column * 4 + row] = *f;
      identity = identity && *f == (row == column ? 1.0f : 0.0f);
    }
  }
  auto separator =
      std::make_unique<Separator>(name->empty() || *name == "NoName" ? "" : GroupNodeName(*name));
  if (polygons) {
    auto points = std::make_unique<Coordinate3>();
    auto faces = std::make_unique<IndexedFaceSet>();
    if (!ReadPolygons(c, *points, *faces)) return false;
    if (!identity) separator->Make<MatrixTransform>(position);
    separator->Add(std::move(points));
    if (!faces->materialIndex.empty()) {
      separator->children.insert(separator->children.begin(),
                                 std::make_unique<MaterialBinding>(Binding::kPerFaceIndexed));
    }
    separator->Add(std::move(faces));
  }
  // The parent is looked up before this object is entered, so an object
  // naming itself as its parent goes to the scene root, not into itself.
  ObjectEntry* parent = Entry(h.parent);
  GroupNode& into = parent ? static_cast<GroupNode&>(*parent->separator) : importer_.root();
  Separator& added = static_cast<Separator&>(into.Add(std::move(separator)));
  if (objects_.size() < kMaxObjects) objects_.push_back({h.id, &added, nullptr, polygons});
  anyObject_ = true;
  return true;
}

bool CobReader::ReadPolygons(ChunkData& c, Coordinate3& points, IndexedFaceSet& faces) {
  const std::optional<std::uint32_t> vertexCount = c.in.U32();
  if (!vertexCount || *vertexCount > c.in.remaining() / 12) return false;
  points.point.reserve(*vertexCount);
  for (std::uint32_t i = 0; i < *vertexCount; ++i) {
    const float x = *c.in.F32(), y = *c.in.F32(), z = *c.in.F32();
    points.point.push_back({x, y, z});
  }
  Progress(c);
  const std::optional<std::uint32_t> uvCount = c.in.U32();
  if (!uvCount || *uvCount > c.in.remaining() / 8 || !c.in.Skip(std::size_t{*uvCount} * 8)) {
    return false;
  }
  const std::optional<std::uint32_t> faceCount = c.in.U32();
  if (!faceCount) return false;
  for (std::uint32_t f = 0; f < *faceCount; ++f) {
    const std::optional<std::uint8_t> flags = c.in.U8();
    const std::optional<std::uint16_t> corners = c.in.U16();
    if (!corners) return false;
    const bool hole = (*flags & kHoleFlag) != 0;
    std::optional<std::uint16_t> material;
    if (!hole && !(material = c.in.U16())) return false;
    if (*corners > c.in.remaining() / 8) return false;
    if (hole) {  // holes are read and dropped
      c.in.Skip(std::size_t{*corners} * 8);
      continue;
    }
    faces.materialIndex.push_back(*material);
    for (std::uint16_t k = 0; k < *corners; ++k) {
      const std::uint32_t vertex = *c.in.U32();
      c.in.Skip(4);  // the texture coordinate, not used
      // A number beyond the face list's range names no point; it must not
      // wrap round to -1, which would end the face.
      faces.coordIndex.push_back(vertex > INT32_MAX ? INT32_MAX
                                                    : static_cast<std::int32_t>(vertex));
    }
    faces.coordIndex.push_back(-1);
  }
  Progress(c);
  return true;
}

// Stores `value` as material number n, the lists growing to reach it.
void StoreMaterial(Material& m, std::size_t n, const MaterialValue& value) {
  while (m.LongestList() <= n) m.Append(MaterialValue{});
  m.ambientColor[n] = value.ambient;
  m.diffuseColor[n] = value.diffuse;
  m.specularColor[n] = value.specular;
  m.emissiveColor[n] = value.emissive;
  m.shininess[n] = value.shininess;
  m.transparency[n] = value.transparency;
}

bool CobReader::ReadMaterial(ChunkData& c, const ChunkHeader& h) {
  const std::optional<std::uint16_t> number = c.in.U16();
  float v[8];  // red, green, blue, alpha, ka, ks, exponent, index of refraction
  if (!number || !c.in.Skip(3)) return false;  // shader, facet type, autofacet angle
  for (float& f : v) {
    const std::optional<float> read = c.in.F32();
    if (!read) return false;
    f = *read;
  }
  // Texture ("t:") records end in data of their own length; what follows
  // one is not read.
  for (bool more = true; more && c.in.remaining() >= 2;) {
    const std::size_t at = c.in.position();
    const char a = static_cast<char>(*c.in.U8()), b = static_cast<char>(*c.in.U8());
    const std::string tag{a, b};
    const std::size_t floats = tag == "t:" ? 4 : tag == "b:" ? 5 : 0;
    if (tag != "e:" && floats == 0) {
      c.in.Seek(at);  // not a record: the material ends here
      break;
    }
    if (!c.in.Skip(1) || !String(c) || !c.in.Skip(floats * 4)) return false;
    more = tag != "t:";
  }
  Progress(c);
  const double ka = v[4] == 0 ? kDefaultAmbientFactor : v[4];
  MaterialValue value;
  value.ambient = {ka * v[0], ka * v[1], ka * v[2]};
  value.diffuse = {v[0], v[1], v[2]};
  value.specular = {v[5], v[5], v[5]};
  value.emissive = {0, 0, 0};
  value.shininess = v[6];
  value.transparency = 1.0 - v[3];
  ObjectEntry* owner = Entry(h.parent);
  const auto n = static_cast<std::int16_t>(*number);
  // A material of no polygon object, or with a negative number, colours
  // nothing: read and dropped.
  if (owner == nullptr || !owner->polygons || n < 0) return true;
  if (owner->material == nullptr) {
    auto& children = owner->separator->children;
    children.insert(children.begin(), std::make_unique<Material>());
    owner->material = static_cast<Material*>(children.front().get());
  }
  StoreMaterial(*owner->material, static_cast<std::size_t>(n), value);
  return true;
}

}  // namespace

bool ImportTrueSpace(Importer& importer, const std::string& path) {
  Separator& root = importer.root();
  root.Make<MaterialBinding>(Binding::kOverall);
  // The file's z axis points up; the editor's y axis does.
  root.Make<Rotation>(Vec3{1, 0, 0}, -std::numbers::pi / 2);
  root.Make<Rotation>(Vec3{0, 0, 1}, -std::numbers::pi / 2);
  auto fail = [&](std::string_view why) {
    importer.Log(why);
    importer.SetEmptyReason(std::string(why));
    return true;  // the format counts as read; the reason says why nothing came
  };
  bool tooLarge = false;
  const auto bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    return fail(tooLarge ? "File '" + path + "' is too large to import"
                         : "Unable to open file '" + path + "'");
  }
  if (bytes->size() < kFileHeaderBytes) return fail(kShortHeader);
  if (std::string_view(reinterpret_cast<const char*>(bytes->data()), kSignature.size()) !=
          kSignature ||
      (*bytes)[kBinaryFlagByte] != 'B') {
    return fail(kNotBinary);
  }
  importer.Title("Importing TrueSpace File...");
  CobReader reader(importer, bytes->size());
  if (!reader.ReadChunks(*bytes)) {
    if (!reader.anyObject()) return fail(kShortChunk);
    importer.Log(kShortChunk);
    importer.NoteDropped("The file ends inside a chunk; only the objects before it were read");
  }
  return true;
}

}  // namespace ws
