// 3D Studio mesh files: one Separator per triangle mesh, named after its
// object, with the mesh's materials, points and faces. Lights, cameras,
// keyframes and every chunk not named below are skipped.
//
// A file is a tree of chunks, each a 6-byte header (id u16, length u32
// counting the header) and its contents. A chunk the reader does not want
// is stepped over by its length. A chunk it wants has its data read, and
// the next header is read where that data ended: the sub-chunks behind a
// chunk's data (the material groups behind a face list) are met as if they
// were its siblings.
//
// Lengths are checked: a chunk shorter than its header, or one reaching
// past the chunk that holds it, is damage, and so is a count that needs
// more bytes than its chunk has left. Only the main chunk may reach past
// the end of the file (a file cut short): it is read up to the cut, and the
// shapes finished before the damage stay in the scene.
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/hand_over.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"

namespace ws {
namespace {

using namespace scene;

enum ChunkId : std::uint16_t {
  kMain = 0x4D4D,
  kVersion = 0x0002,
  kEditor = 0x3D3D,
  kMasterScale = 0x0100,
  kMeshVersion = 0x3D3E,
  kNamedObject = 0x4000,
  kTriangleMesh = 0x4100,
  kVertexList = 0x4110,
  kFaceList = 0x4120,
  kFaceMaterial = 0x4130,
  kMaterialEntry = 0xAFFF,
  kMaterialName = 0xA000,
  kAmbient = 0xA010,
  kDiffuse = 0xA020,
  kSpecular = 0xA030,
  kShininess = 0xA040,
  kTransparency = 0xA050,
  kColorF32 = 0x0010,
  kColorU8 = 0x0011,
  kPercentI16 = 0x0030,
  kPercentF32 = 0x0031,
};

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kMaxNameChars = 255;
constexpr std::size_t kMaxMaterials = 256;

struct Chunk {
  std::uint16_t id = 0;
  std::size_t end = 0;  // may lie past the end of a file cut short
};

struct NamedMaterial {
  std::string name;
  MaterialValue value;
};

// "0 ab" -> "G0_ab": letters and digits stay, anything else becomes '_',
// and a name that does not start with a letter gets a "G" in front.
std::string CleanName(const std::string& name) {
  std::string out = name;
  for (char& c : out) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) c = '_';
  }
  return out.empty() || IsAsciiLetter(out.front()) ? out : "G" + out;
}

class TdsReader {
 public:
  TdsReader(Importer& importer, const std::string& path, std::span<const std::uint8_t> bytes)
      : importer_(importer), path_(path), in_(bytes) {}

  void Read();

 private:
  // The header at the reading position as it stands; none when the file
  // ends first or the length is shorter than a header.
  std::optional<Chunk> RawHeader();
  // The same, also none when the chunk reaches past `limit`.
  std::optional<Chunk> Header(std::size_t limit);
  // Whether `n` more bytes of `chunk` are there to read.
  bool Has(const Chunk& chunk, std::size_t n) const {
    return in_.position() <= chunk.end && n <= chunk.end - in_.position() && n <= in_.remaining();
  }
  bool Skip(const Chunk& chunk) { return in_.Seek(chunk.end); }
  bool ReadMain(const Chunk& main);
  bool ReadEditor(const Chunk& editor);
  bool ReadMaterial(const Chunk& material);
  bool ReadColor(const Chunk& chunk, ColorTriple& color);
  bool ReadPercent(const Chunk& chunk);
  bool ReadObject(const Chunk& object);
  bool ReadMesh(const Chunk& mesh, const std::string& objectName);
  bool ReadFaceMaterial(const Chunk& group, Material& material, std::vector<std::int32_t>& indices,
                        std::size_t faceCount);
  bool ReadName(const Chunk& chunk, std::string& name);
  bool ReadFloat(const Chunk& chunk, double& value);

  Importer& importer_;
  const std::string& path_;
  ByteReader in_;
  std::vector<NamedMaterial> materials_;
};

std::optional<Chunk> TdsReader::RawHeader() {
  const std::size_t start = in_.position();
  if (kHeaderBytes > in_.remaining()) return std::nullopt;
  const std::uint16_t id = *in_.U16();
  const std::uint32_t length = *in_.U32();
  if (length < kHeaderBytes) {
    in_.Seek(start);
    return std::nullopt;
  }
  return Chunk{id, start + length};
}

std::optional<Chunk> TdsReader::Header(std::size_t limit) {
  const std::size_t start = in_.position();
  const std::optional<Chunk> chunk = RawHeader();
  if (chunk && chunk->end > limit) {
    in_.Seek(start);
    return std::nullopt;
  }
  return chunk;
}

// Names are NUL-ended; the first 255 characters are kept, the rest up to
// the NUL is passed over.
bool TdsReader::ReadName(const Chunk& chunk, std::string& name) {
  name.clear();
  for (;;) {
    if (!Has(chunk, 1)) return false;
    const char c = static_cast<char>(*in_.U8());
    if (c == '\0') return true;
    if (name.size() < kMaxNameChars) name.push_back(c);
  }
}

// A coordinate or colour that is not a finite number is damage: nothing in
// a model is infinite.
bool TdsReader::ReadFloat(const Chunk& chunk, double& value) {
  if (!Has(chunk, 4)) return false;
  const float f = *in_.F32();
  if (!std::isfinite(f)) {
    in_.Seek(in_.position() - 4);  // the damage is reported where the number starts
    return false;
  }
  value = f;
  return true;
}

void TdsReader::Read() {
  const std::optional<std::uint16_t> firstId = in_.U16();
  const std::optional<std::uint32_t> firstLength = in_.U32();
  if (!firstId || !firstLength || *firstId != kMain) {
    importer_.Log("File '" + path_ + "' is not a 3ds binary file.");
    importer_.SetEmptyReason("It is not a 3D Studio file.");
    return;
  }
  in_.Seek(0);
  importer_.Title("Importing 3D Studio File...");
  importer_.SetEmptyReason("It holds no triangle meshes.");
  while (in_.position() < in_.size()) {
    // The main chunk alone may claim more than the file has (a file cut
    // short keeps what was finished before the cut).
    const std::optional<Chunk> chunk = RawHeader();
    if (!chunk) break;
    if (chunk->id != kMain) {
      if (!Skip(*chunk)) break;
      continue;
    }
    if (!ReadMain(*chunk)) {
      const std::string where = std::to_string(in_.position());
      importer_.Log("Read failed for 3ds file '" + path_ + "'");
      importer_.SetEmptyReason("It is damaged from byte " + where + " on.");
      if (!importer_.root().children.empty()) {
        importer_.NoteDropped("The file is damaged from byte " + where +
                              " on; the rest was not read");
      }
      return;
    }
  }
}

bool TdsReader::ReadMain(const Chunk& main) {
  materials_.clear();
  while (in_.position() < main.end) {
    const std::optional<Chunk> chunk = Header(main.end);
    if (!chunk) return false;
    bool ok = true;
    if (chunk->id == kVersion) {
      ok = Has(*chunk, 4) && in_.Skip(4);
    } else if (chunk->id == kEditor) {
      ok = ReadEditor(*chunk);
    } else {
      ok = Skip(*chunk);
    }
    if (!ok) return false;
  }
  materials_.clear();
  return true;
}

bool TdsReader::ReadEditor(const Chunk& editor) {
  while (in_.position() < editor.end) {
    const std::optional<Chunk> chunk = Header(editor.end);
    if (!chunk) return false;
    bool ok = true;
    switch (chunk->id) {
      case kNamedObject:
        ok = ReadObject(*chunk);
        break;
      case kMaterialEntry:
        ok = ReadMaterial(*chunk);
        break;
      case kMasterScale:
      case kMeshVersion:
        ok = Has(*chunk, 4) && in_.Skip(4);
        break;
      default:
        ok = Skip(*chunk);
        break;
    }
    if (!ok) return false;
  }
  return true;
}

bool TdsReader::ReadMaterial(const Chunk& material) {
  NamedMaterial m;
  while (in_.position() < material.end) {
    const std::optional<Chunk> chunk = Header(material.end);
    if (!chunk) return false;
    bool ok = true;
    switch (chunk->id) {
      case kMaterialName:
        ok = ReadName(*chunk, m.name);
        if (ok) importer_.Log("Reading material '" + m.name + "'");
        break;
      case kAmbient:
        ok = ReadColor(*chunk, m.value.ambient);
        break;
      case kDiffuse:
        ok = ReadColor(*chunk, m.value.diffuse);
        break;
      case kSpecular:
        ok = ReadColor(*chunk, m.value.specular);
        break;
      case kShininess:
      case kTransparency:
        ok = ReadPercent(*chunk);
        break;
      default:
        ok = Skip(*chunk);
        break;
    }
    if (!ok) return false;
  }
  // The first definition of a name wins.
  for (const NamedMaterial& known : materials_) {
    if (known.name == m.name) return true;
  }
  if (materials_.size() < kMaxMaterials) materials_.push_back(std::move(m));
  return true;
}

// The colour's first sub-chunk holds it: three floats, or three bytes of
// 0 to 255. Any other kind of colour is refused (the whole main chunk
// with it).
bool TdsReader::ReadColor(const Chunk& chunk, ColorTriple& color) {
  const std::size_t start = in_.position();
  const std::optional<Chunk> value = Header(chunk.end);
  if (!value) return false;
  double* parts[] = {&color.x, &color.y, &color.z};
  if (value->id == kColorF32) {
    for (double* p : parts) {
      if (!ReadFloat(*value, *p)) return false;
    }
    return true;
  }
  if (value->id != kColorU8) {
    in_.Seek(start);
    return false;
  }
  if (!Has(*value, 3)) return false;
  for (double* p : parts) *p = *in_.U8() / 255.0;
  return true;
}

// Shininess and transparency are read over and not used; a kind of
// percentage other than the two known ones is stepped over.
bool TdsReader::ReadPercent(const Chunk& chunk) {
  const std::optional<Chunk> value = Header(chunk.end);
  if (!value) return false;
  if (value->id == kPercentI16) return Has(*value, 2) && in_.Skip(2);
  if (value->id == kPercentF32) return Has(*value, 4) && in_.Skip(4);
  return Skip(*value);
}

bool TdsReader::ReadObject(const Chunk& object) {
  std::string name;
  if (!ReadName(object, name)) return false;
  importer_.Log("Reading object '" + name + "'");
  while (in_.position() < object.end) {
    const std::optional<Chunk> chunk = Header(object.end);
    if (!chunk) return false;
    const bool ok = chunk->id == kTriangleMesh ? ReadMesh(*chunk, name) : Skip(*chunk);
    if (!ok) return false;
  }
  return true;
}

bool TdsReader::ReadMesh(const Chunk& mesh, const std::string& objectName) {
  // Built aside and added to the scene only when the whole mesh was read.
  auto separator = std::make_unique<Separator>(CleanName(objectName));
  auto material = std::make_unique<Material>();
  auto coordinates = std::make_unique<Coordinate3>();
  auto faces = std::make_unique<IndexedFaceSet>();
  std::vector<std::int32_t> faceMaterials;
  std::size_t faceCount = 0, groups = 0;
  while (in_.position() < mesh.end) {
    const std::optional<Chunk> chunk = Header(mesh.end);
    if (!chunk) return false;
    if (chunk->id == kVertexList) {
      const std::optional<std::uint16_t> count = Has(*chunk, 2) ? in_.U16() : std::nullopt;
      if (!count || !Has(*chunk, std::size_t{*count} * 12)) return false;
      for (std::uint16_t i = 0; i < *count; ++i) {
        double f[3];
        for (double& v : f) {
          if (!ReadFloat(*chunk, v)) return false;
        }
        // The file's z is up: its (x, y, z) is the editor's (z, x, y).
        coordinates->point.push_back({f[1], f[2], f[0]});
      }
    } else if (chunk->id == kFaceList) {
      const std::optional<std::uint16_t> count = Has(*chunk, 2) ? in_.U16() : std::nullopt;
      if (!count || !Has(*chunk, std::size_t{*count} * 8)) return false;
      for (std::uint16_t i = 0; i < *count; ++i) {
        for (int corner = 0; corner < 3; ++corner) faces->coordIndex.push_back(*in_.U16());
        faces->coordIndex.push_back(-1);
        in_.Skip(2);  // edge visibility flags
      }
      faceCount += *count;
    } else if (chunk->id == kFaceMaterial) {
      if (!ReadFaceMaterial(*chunk, *material, faceMaterials, faceCount)) return false;
      ++groups;
    } else if (!Skip(*chunk)) {
      return false;
    }
  }
  if (groups > 1) separator->Make<MaterialBinding>(Binding::kPerPartIndexed);
  separator->Add(std::move(material));
  separator->Add(std::move(coordinates));
  if (groups > 1) {
    faceMaterials.resize(faceCount, 0);
    faces->materialIndex = std::move(faceMaterials);
  }
  separator->Add(std::move(faces));
  importer_.root().Add(std::move(separator));
  return true;
}

// One material group: its material (from the table by exact name, else
// the default) becomes a new entry of the mesh's Material node, even when
// an earlier group named the same one, and the listed faces take it.
// Faces not named by any group keep material 0.
bool TdsReader::ReadFaceMaterial(const Chunk& group, Material& material,
                                 std::vector<std::int32_t>& indices, std::size_t faceCount) {
  std::string name;
  if (!ReadName(group, name)) return false;
  const std::optional<std::uint16_t> count = Has(group, 2) ? in_.U16() : std::nullopt;
  if (!count || !Has(group, std::size_t{*count} * 2)) return false;
  MaterialValue value;
  for (const NamedMaterial& m : materials_) {
    if (m.name == name) {
      value = m.value;
      break;
    }
  }
  const auto entry = static_cast<std::int32_t>(material.LongestList());
  material.Append(value);
  indices.resize(faceCount, 0);
  for (std::uint16_t i = 0; i < *count; ++i) {
    const std::uint16_t face = *in_.U16();
    if (face < indices.size()) indices[face] = entry;
  }
  return true;
}

}  // namespace

bool Import3ds(Importer& importer, const std::string& path) {
  bool tooLarge = false;
  const auto bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    importer.SetEmptyReason(tooLarge ? "It is too large to import." : "It could not be read.");
    return true;
  }
  TdsReader(importer, path, *bytes).Read();
  return true;
}

}  // namespace ws
