// The binary form: objects of a type code, a size and that many bytes.
#include <bit>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "import/readers/3dmf/metafile_stream.h"

namespace ws::metafile {
namespace {

// Reads numbers of either byte order from a span, checking what remains
// before every read.
class Cursor {
 public:
  Cursor(std::span<const std::uint8_t> bytes, bool little) : bytes_(bytes), little_(little) {}
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool Skip(std::uint64_t n) {
    if (n > remaining()) return false;
    pos_ += static_cast<std::size_t>(n);
    return true;
  }
  bool Uint(std::size_t width, std::uint32_t& v) {
    if (width > remaining()) return false;
    v = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const std::uint32_t b = bytes_[pos_ + i];
      v |= little_ ? b << (8 * i) : b << (8 * (width - 1 - i));
    }
    pos_ += width;
    return true;
  }
  bool U32(std::uint32_t& v) { return Uint(4, v); }
  bool U64(std::uint64_t& v) {
    std::uint32_t a = 0, b = 0;
    if (!U32(a) || !U32(b)) return false;
    v = little_ ? (std::uint64_t{b} << 32 | a) : (std::uint64_t{a} << 32 | b);
    return true;
  }
  bool Floats(std::uint64_t n, std::vector<float>& out) {
    if (n > remaining() / 4) return false;
    out.resize(static_cast<std::size_t>(n));
    for (float& f : out) {
      std::uint32_t bits = 0;
      U32(bits);
      f = std::bit_cast<float>(bits);
      if (!std::isfinite(f)) return false;
    }
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  bool little_;
  std::size_t pos_ = 0;
};

bool DecodeTriMesh(Cursor& c, MetafileObject& out) {
  for (std::uint32_t& n : out.counts) {
    if (!c.U32(n)) return false;
  }
  const std::uint64_t triangles = out.counts[0], edges = out.counts[2], points = out.counts[4];
  const std::size_t w = TriMeshIndexWidth(out.counts[4]);
  // All three arrays must fit before any is read.
  const std::uint64_t need = 3 * triangles * w + 4 * edges * w + 12 * points;
  if (need > c.remaining()) return false;
  out.triangles.resize(static_cast<std::size_t>(3 * triangles));
  for (std::uint32_t& i : out.triangles) {
    c.Uint(w, i);
    if (i >= points) return false;
  }
  c.Skip(4 * edges * w);
  return c.Floats(3 * points, out.values);
}

bool DecodeMesh(Cursor& c, MetafileObject& out) {
  std::uint32_t vertices = 0, faces = 0, contours = 0;
  if (!c.U32(vertices) || !c.Floats(3ULL * vertices, out.values)) return false;
  if (!c.U32(faces) || !c.U32(contours)) return false;
  const std::uint64_t entries = std::uint64_t{faces} + contours;
  if (entries > c.remaining() / 4) return false;  // each takes at least its count
  out.counts[0] = vertices;
  out.counts[1] = faces;
  out.counts[2] = contours;
  out.faces.resize(static_cast<std::size_t>(entries));
  for (MeshFace& face : out.faces) {
    std::uint32_t stored = 0;
    if (!c.U32(stored)) return false;
    const auto signedCount = static_cast<std::int32_t>(stored);
    const std::uint64_t n = signedCount < 0 ? -static_cast<std::int64_t>(signedCount) : stored;
    if (n > c.remaining() / 4) return false;
    face.count = static_cast<std::uint32_t>(n) | (signedCount < 0 ? 0x80000000u : 0u);
    face.indices.resize(static_cast<std::size_t>(n));
    for (std::uint32_t& i : face.indices) c.U32(i);
  }
  return true;
}

// Fills `out` from the data of a known type; false when the data is short.
bool Decode(std::uint32_t type, Cursor& c, MetafileObject& out) {
  std::uint32_t n = 0;
  switch (type) {
    case kReference:
      return c.U32(out.referenceId);
    case kMatrix:
      return c.Floats(16, out.values);
    case kDiffuseColor:
      return c.Floats(3, out.values);
    case kTriangle:
      return c.Floats(9, out.values);
    case kEllipsoid:
      if (c.remaining() == 0) {
        out.values.assign(kDefaultEllipsoid.begin(), kDefaultEllipsoid.end());
        return true;
      }
      return c.Floats(12, out.values);
    case kPolygon:
      if (!c.U32(n)) return false;
      out.counts[0] = n;
      return c.Floats(3ULL * n, out.values);
    case kTriMesh:
      return DecodeTriMesh(c, out);
    case kMesh:
      return DecodeMesh(c, out);
    default:
      return true;
  }
}

class BinaryReader : public StreamReader {
 public:
  BinaryReader(std::vector<std::uint8_t> bytes, bool little, LogLine log)
      : StreamReader(std::move(log)), bytes_(std::move(bytes)), little_(little) {}

  // Reads the header and the tables of contents; kOk or kNotAMetafile.
  int Start() {
    Cursor c(bytes_, little_);
    std::uint32_t type = 0, size = 0;
    std::uint64_t toc = 0;
    if (!c.U32(type) || !c.U32(size) || size < 16 || size > c.remaining()) return kNotAMetafile;
    if (!c.Skip(8) || !c.U64(toc)) return kNotAMetafile;
    ReadTables(toc);
    Begin(8 + std::size_t{size}, bytes_.size());
    return kOk;
  }

 protected:
  int Parse(std::size_t pos, std::size_t limit, MetafileObject& out, Parsed& p) override {
    if (limit - pos < 8) return kBadObject;
    Cursor head(View().subspan(pos, 8), little_);
    std::uint32_t type = 0, size = 0;
    head.U32(type);
    head.U32(size);
    if (size > limit - pos - 8) return kBadObject;
    p.next = pos + 8 + size;
    out.type = type;
    if (type == kContainer) {
      p.kind = Parsed::kContainer;
      p.childStart = pos + 8;
      p.childEnd = p.next;
      return kOk;
    }
    if (type == kTableOfContents) {
      p.kind = Parsed::kSkip;
      return kOk;
    }
    Cursor data(View().subspan(pos + 8, size), little_);
    return Decode(type, data, out) ? kOk : kBadObject;
  }
  std::uint64_t BytePosition(std::size_t pos) const override { return pos; }
  bool Lookup(std::uint32_t id, std::size_t& pos) const override {
    const auto it = entries_.find(id);
    if (it == entries_.end()) return false;
    pos = it->second;
    return true;
  }

 private:
  // Follows the chain of tables from `at`; a table that does not parse
  // ends the chain (its references are then not found). Each table lies at
  // its own position, so a chain that loops is cut by counting.
  void ReadTables(std::uint64_t at) {
    for (int tables = 0; at != 0 && tables < 64; ++tables) {
      if (at > bytes_.size() || bytes_.size() - at < 8) return;
      Cursor c(View().subspan(static_cast<std::size_t>(at)), little_);
      std::uint32_t type = 0, size = 0, seed = 0, typeSeed = 0, entryType = 0, entrySize = 0,
                    count = 0;
      std::uint64_t next = 0;
      if (!c.U32(type) || !c.U32(size) || type != kTableOfContents || size > c.remaining()) return;
      Cursor t(View().subspan(static_cast<std::size_t>(at) + 8, size), little_);
      if (!t.U64(next) || !t.U32(seed) || !t.U32(typeSeed) || !t.U32(entryType) ||
          !t.U32(entrySize) || !t.U32(count)) {
        return;
      }
      if (entrySize < 12 || count > t.remaining() / entrySize) return;
      for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::uint64_t location = 0;
        t.U32(id);
        t.U64(location);
        t.Skip(entrySize - 12);
        if (location < bytes_.size()) entries_.emplace(id, static_cast<std::size_t>(location));
      }
      at = next;
    }
  }

  std::span<const std::uint8_t> View() const { return bytes_; }

  std::vector<std::uint8_t> bytes_;
  bool little_;
  std::unordered_map<std::uint32_t, std::size_t> entries_;
};

}  // namespace

std::unique_ptr<MetafileReader> MakeBinaryReader(std::vector<std::uint8_t> bytes, bool littleEndian,
                                                 LogLine log, int& status) {
  auto reader = std::make_unique<BinaryReader>(std::move(bytes), littleEndian, std::move(log));
  status = reader->Start();
  return reader;
}

}  // namespace ws::metafile
