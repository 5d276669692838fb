#include "model/object_resources.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "resource/byte_order.h"

namespace ws {
namespace {

// Offsets inside one 'FACE' record.
constexpr std::size_t kFaceDepth = 0;
constexpr std::size_t kFacePointCount = 4;
constexpr std::size_t kFaceVectorCount = 8;
constexpr std::size_t kFaceViewZoneCount = 12;
constexpr std::size_t kFaceFlags = 16;
constexpr std::size_t kFaceFrontFill = 20;
constexpr std::size_t kFaceBackFill = 24;
constexpr std::size_t kFaceVectors = 28;
constexpr std::size_t kFaceViewZones = 628;
constexpr std::size_t kFacePoints = 708;
constexpr std::size_t kFaceFrontColor = 1308;
constexpr std::size_t kFaceBackColor = 1309;

// Offsets inside 'ANIM'.
constexpr std::size_t kAnimActiveCount = 0;
constexpr std::size_t kAnimFirstWords = 4;
constexpr std::size_t kAnimPointIndex = 16;
constexpr std::size_t kAnimActiveWords = 28;
constexpr std::size_t kAnimAngles = 40;
constexpr std::size_t kAnimLists = 52;
constexpr std::size_t kAnimListBytes = kAnimSlotPoints * 4;

// True when `length` bytes hold `count` records of `size` bytes; checked by
// division so that a huge count cannot overflow.
bool HoldsRecords(std::size_t length, std::uint32_t count, std::size_t size) {
  return length / size >= count;
}

std::string Describe(std::string_view what, std::uint32_t index, std::string_view detail) {
  return std::string(what) + " " + std::to_string(index) + " " + std::string(detail);
}

}  // namespace

bool AnimationSlots::AnyActive() const { return CountActive() > 0; }

std::uint32_t AnimationSlots::CountActive() const {
  std::uint32_t n = 0;
  for (const AnimationSlot& s : slots) n += s.active != 0 ? 1 : 0;
  return n;
}

std::array<std::uint8_t, kPinfBytes> EncodePinf(std::uint32_t objectWord, std::uint32_t userVectors,
                                                std::uint32_t userPoints, std::uint32_t polygons) {
  std::array<std::uint8_t, kPinfBytes> out{};
  StoreLE32(&out[0], kPinfFormatWord);
  StoreLE32(&out[4], objectWord);
  StoreLE32(&out[8], userVectors);
  StoreLE32(&out[12], userPoints);
  StoreLE32(&out[16], polygons);
  return out;
}

std::vector<std::uint8_t> EncodePoints(const ObjectTables& tables) {
  std::vector<std::uint8_t> out(std::size_t{tables.userPointCount()} * kPointRecordBytes);
  std::uint8_t* p = out.data();
  for (std::uint32_t i = kReservedPoints; i < tables.pointCount; ++i, p += kPointRecordBytes) {
    StoreLEF64(p, tables.points[i].x);
    StoreLEF64(p + 8, tables.points[i].y);
    StoreLEF64(p + 16, tables.points[i].z);
  }
  return out;
}

std::vector<std::uint8_t> EncodeVectors(const ObjectTables& tables) {
  std::vector<std::uint8_t> out(std::size_t{tables.userVectorCount()} * kVectorRecordBytes);
  std::uint8_t* p = out.data();
  for (std::uint32_t i = kReservedVectors; i < tables.vectorCount; ++i, p += kVectorRecordBytes) {
    const Vector& v = tables.vectors[i];
    // Ends at reserved points come out as wrapped negative numbers; the
    // reader adds 7 back with the same wrap.
    StoreLE32(p, v.p1 - kReservedPoints);
    StoreLE32(p + 4, v.p2 - kReservedPoints);
    p[8] = v.color;
    p[9] = static_cast<std::uint8_t>(v.attribute);
    p[10] = static_cast<std::uint8_t>(v.width);
  }
  return out;
}

void EncodeFace(const Polygon& poly, std::uint8_t* out) {
  std::memset(out, 0, kFaceRecordBytes);
  StoreLE32(out + kFacePointCount, poly.pointCount);
  StoreLE32(out + kFaceVectorCount, poly.vectorCount);
  StoreLE32(out + kFaceViewZoneCount, poly.viewZoneCount);
  StoreLE32(out + kFaceFlags, poly.flags);
  StoreLE32(out + kFaceFrontFill, poly.frontFill);
  StoreLE32(out + kFaceBackFill, poly.backFill);
  // The tables never hold more than the record has room for, but a count is
  // only a number: never write past the record.
  const std::uint32_t nv = std::min(poly.vectorCount, kMaxPolygonVectors);
  const std::uint32_t nz = std::min(poly.viewZoneCount, kMaxViewZones);
  const std::uint32_t np = std::min(poly.pointCount, kMaxPolygonPoints);
  for (std::uint32_t k = 0; k < nv; ++k) {
    StoreLE32(out + kFaceVectors + 4 * k, poly.vectors[k] - kReservedVectors);
  }
  for (std::uint32_t k = 0; k < nz; ++k) StoreLE32(out + kFaceViewZones + 4 * k, poly.viewZones[k]);
  for (std::uint32_t k = 0; k < np; ++k) {
    StoreLE32(out + kFacePoints + 4 * k, poly.points[k] - kReservedPoints);
  }
  out[kFaceFrontColor] = poly.frontColor;
  out[kFaceBackColor] = poly.backColor;
}

std::vector<std::uint8_t> EncodeFaces(const ObjectTables& tables) {
  std::vector<std::uint8_t> out(std::size_t{tables.polygonCount} * kFaceRecordBytes);
  for (std::uint32_t i = 0; i < tables.polygonCount; ++i) {
    EncodeFace(tables.polygons[i], out.data() + std::size_t{i} * kFaceRecordBytes);
  }
  return out;
}

std::array<std::uint8_t, kAnimBytes> EncodeAnim(const AnimationSlots& anim) {
  std::array<std::uint8_t, kAnimBytes> out{};
  StoreLE32(&out[kAnimActiveCount], anim.CountActive());
  for (std::size_t s = 0; s < kAnimSlotCount; ++s) {
    const AnimationSlot& slot = anim.slots[s];
    StoreLE32(&out[kAnimFirstWords + 4 * s], slot.firstWord);
    StoreLE32(&out[kAnimPointIndex + 4 * s], slot.point - kReservedPoints);
    StoreLE32(&out[kAnimActiveWords + 4 * s], slot.active);
    StoreLE32(&out[kAnimAngles + 4 * s], static_cast<std::uint32_t>(slot.angle));
    for (std::size_t k = 0; k < kAnimSlotPointsStored; ++k) {
      StoreLE32(&out[kAnimLists + kAnimListBytes * s + 4 * k], slot.points[k] - kReservedPoints);
    }
  }
  return out;
}

StoreStatus StoreObjectResources(ResourceFile& files, RefNum ref, std::uint32_t id,
                                 std::string_view name, const ObjectTables& tables,
                                 const AnimationSlots& animation, std::uint32_t objectWord) {
  struct Part {
    ResType type;
    bool write;
  };
  const Part parts[] = {{kResAnim, animation.AnyActive()},
                        {kResPinf, true},
                        {kResPnts, tables.userPointCount() > 0},
                        {kResTvct, tables.userVectorCount() > 0},
                        {kResFace, tables.polygonCount > 0}};
  // Make sure the directory has room for every resource this store adds
  // before writing any: a 'PINF' whose 'FACE' could not follow would make
  // the object unreadable.
  const std::vector<ResourceEntry> entries = files.Entries(ref);
  std::size_t added = 0;
  for (const Part& part : parts) {
    if (!part.write) continue;
    bool exists = false;
    for (const ResourceEntry& e : entries) exists = exists || (e.type == part.type && e.id == id);
    added += exists ? 0 : 1;
  }
  if (entries.size() + added > ResourceFile::kCapacity) return StoreStatus::kFileFull;
  if (name.size() > ResourceFile::kMaxNameLength) return StoreStatus::kNameTooLong;

  if (animation.AnyActive()) {
    auto anim = EncodeAnim(animation);
    if (!files.WriteResource(ref, kResAnim, id, anim, name)) return StoreStatus::kWriteFailed;
  } else {
    // An 'ANIM' left from an earlier store would bring slots back to life
    // at the next load.
    files.DeleteResource(ref, kResAnim, id);
  }
  auto pinf = EncodePinf(objectWord, tables.userVectorCount(), tables.userPointCount(),
                         tables.polygonCount);
  if (!files.WriteResource(ref, kResPinf, id, pinf, name)) return StoreStatus::kWriteFailed;
  if (tables.userPointCount() > 0 &&
      !files.WriteResource(ref, kResPnts, id, EncodePoints(tables), name)) {
    return StoreStatus::kWriteFailed;
  }
  if (tables.userVectorCount() > 0 &&
      !files.WriteResource(ref, kResTvct, id, EncodeVectors(tables), name)) {
    return StoreStatus::kWriteFailed;
  }
  if (tables.polygonCount > 0 &&
      !files.WriteResource(ref, kResFace, id, EncodeFaces(tables), name)) {
    return StoreStatus::kWriteFailed;
  }
  return StoreStatus::kOk;
}

void DecodeFaceInto(const std::uint8_t* in, StoredPolygon& p) {
  p.depth = static_cast<std::int32_t>(LoadLE32(in + kFaceDepth));
  p.pointCount = LoadLE32(in + kFacePointCount);
  p.vectorCount = LoadLE32(in + kFaceVectorCount);
  p.viewZoneCount = LoadLE32(in + kFaceViewZoneCount);
  p.flags = LoadLE32(in + kFaceFlags);
  p.frontFill = LoadLE32(in + kFaceFrontFill);
  p.backFill = LoadLE32(in + kFaceBackFill);
  for (std::size_t k = 0; k < kMaxPolygonVectors; ++k)
    p.vectors[k] = LoadLE32(in + kFaceVectors + 4 * k);
  for (std::size_t k = 0; k < kMaxViewZones; ++k)
    p.viewZones[k] = LoadLE32(in + kFaceViewZones + 4 * k);
  for (std::size_t k = 0; k < kMaxPolygonPoints; ++k) {
    p.points[k] = static_cast<std::int32_t>(LoadLE32(in + kFacePoints + 4 * k));
  }
  p.frontColor = in[kFaceFrontColor];
  p.backColor = in[kFaceBackColor];
}

StoredPolygon DecodeFace(const std::uint8_t* in) {
  StoredPolygon p;
  DecodeFaceInto(in, p);
  return p;
}

AnimationSlots DecodeAnim(const std::uint8_t* in) {
  AnimationSlots a;
  a.activeCount = LoadLE32(in + kAnimActiveCount);
  for (std::size_t s = 0; s < kAnimSlotCount; ++s) {
    AnimationSlot& slot = a.slots[s];
    slot.firstWord = LoadLE32(in + kAnimFirstWords + 4 * s);
    slot.point = LoadLE32(in + kAnimPointIndex + 4 * s) + kReservedPoints;
    slot.active = LoadLE32(in + kAnimActiveWords + 4 * s);
    slot.angle = static_cast<std::int32_t>(LoadLE32(in + kAnimAngles + 4 * s));
    for (std::size_t k = 0; k < kAnimSlotPointsStored; ++k) {
      slot.points[k] = LoadLE32(in + kAnimLists + kAnimListBytes * s + 4 * k) + kReservedPoints;
    }
  }
  return a;
}

namespace {

ObjectReadResult Damaged(std::string problem) {
  return ObjectReadResult{ObjectReadStatus::kDamaged, std::move(problem)};
}

StoredPoint DecodePoint(const std::uint8_t* p) {
  return {LoadLEF64(p), LoadLEF64(p + 8), LoadLEF64(p + 16)};
}

StoredVector DecodeVector(const std::uint8_t* p) {
  return {LoadLE32(p), LoadLE32(p + 4), p[8], p[9], p[10]};
}

// One object's resources, each present and long enough for its count.
struct RawObject {
  std::string name;
  std::uint32_t formatWord = 0;
  std::uint32_t objectWord = 0;
  std::uint32_t nPoints = 0;
  std::uint32_t nVectors = 0;
  std::uint32_t nPolygons = 0;
  bool hasAnimation = false;
  AnimationSlots animation;
  Block pnts, tvct, face;

  const std::uint8_t* Point(std::uint32_t i) const {
    return pnts.data() + std::size_t{i} * kPointRecordBytes;
  }
  const std::uint8_t* Vector(std::uint32_t i) const {
    return tvct.data() + std::size_t{i} * kVectorRecordBytes;
  }
  const std::uint8_t* Face(std::uint32_t i) const {
    return face.data() + std::size_t{i} * kFaceRecordBytes;
  }
};

// Reads the resource a non-zero count needs and checks it holds `count`
// records; an empty problem on success.
std::string ReadRecords(ResourceFile& files, RefNum ref, ResType type, std::uint32_t id,
                        std::uint32_t count, std::size_t recordBytes, std::string_view what,
                        Block& out) {
  if (count == 0) return {};
  std::optional<Resource> res = files.ReadResource(ref, type, id);
  const std::string name = ResTypeName(type);
  if (!res) return "its " + name + " resource is missing";
  if (!HoldsRecords(res->length(), count, recordBytes)) {
    return "its " + name + " resource is shorter than its " + std::string(what) + " count";
  }
  out = std::move(res->data);
  return {};
}

// Presence, lengths and counts of object `id`; the PNTS coordinates too,
// since nothing else looks at their values.
ObjectReadResult ReadRaw(ResourceFile& files, RefNum ref, std::uint32_t id,
                         const ObjectCapacity& capacity, RawObject& raw) {
  std::optional<Resource> pinf = files.ReadResource(ref, kResPinf, id);
  if (!pinf) return {ObjectReadStatus::kMissingPinf, "it has no PINF resource"};
  raw.name = pinf->name;
  if (pinf->length() < kPinfBytesRead) return Damaged("its PINF resource is too short");
  const std::uint8_t* info = pinf->data.data();
  raw.formatWord = LoadLE32(info);
  raw.objectWord = LoadLE32(info + 4);
  raw.nVectors = LoadLE32(info + 8);
  raw.nPoints = LoadLE32(info + 12);
  raw.nPolygons = LoadLE32(info + 16);
  if (raw.nPoints > capacity.points) return Damaged("it has more points than the tables can hold");
  if (raw.nVectors > capacity.vectors) {
    return Damaged("it has more vectors than the tables can hold");
  }
  if (raw.nPolygons > capacity.polygons) {
    return Damaged("it has more polygons than the tables can hold");
  }
  if (std::optional<Resource> anim = files.ReadResource(ref, kResAnim, id)) {
    if (anim->length() < kAnimBytesRead) return Damaged("its ANIM resource is too short");
    raw.hasAnimation = true;
    raw.animation = DecodeAnim(anim->data.data());
  }
  std::string problem =
      ReadRecords(files, ref, kResPnts, id, raw.nPoints, kPointRecordBytes, "point", raw.pnts);
  if (problem.empty()) {
    problem =
        ReadRecords(files, ref, kResTvct, id, raw.nVectors, kVectorRecordBytes, "vector", raw.tvct);
  }
  if (problem.empty()) {
    problem =
        ReadRecords(files, ref, kResFace, id, raw.nPolygons, kFaceRecordBytes, "polygon", raw.face);
  }
  if (!problem.empty()) return Damaged(std::move(problem));
  for (std::uint32_t i = 0; i < raw.nPoints; ++i) {
    // The projection turns coordinates into pixel numbers; a NaN or an
    // infinity has no pixel.
    const StoredPoint p = DecodePoint(raw.Point(i));
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
      return Damaged("its PNTS resource holds a coordinate that is not a finite number");
    }
  }
  return {};
}

std::string CheckPolygonCounts(const StoredPolygon& p, std::uint32_t i) {
  if (p.pointCount > kMaxPolygonPoints) return Describe("polygon", i, "has more than 150 points");
  if (p.vectorCount > kMaxPolygonVectors) {
    return Describe("polygon", i, "has more than 150 vectors");
  }
  if (p.viewZoneCount > kMaxViewZones) {
    return Describe("polygon", i, "has more than 20 view-zone entries");
  }
  return {};
}

// Stored numbers are table index minus the reserved count, taken as
// signed; the object's own entries run from 0 to its count - 1.
struct IndexBounds {
  std::int64_t points, vectors, polygons, reservedPoints, reservedVectors;
  bool Point(std::uint32_t stored) const {
    const auto e = static_cast<std::int32_t>(stored);
    return e >= -reservedPoints && e < points;
  }
  bool Vector(std::uint32_t stored) const {
    const auto e = static_cast<std::int32_t>(stored);
    return e >= -reservedVectors && e < vectors;
  }
};

std::string CheckVectorEnds(const StoredVector& v, std::uint32_t i, const IndexBounds& b) {
  if (b.Point(v.p1) && b.Point(v.p2)) return {};
  return Describe("vector", i, "has an end point outside the object");
}

std::string CheckPolygonCorners(const StoredPolygon& p, std::uint32_t i, const IndexBounds& b) {
  for (std::uint32_t k = 0; k < p.pointCount; ++k) {
    if (!b.Point(static_cast<std::uint32_t>(p.points[k]))) {
      return Describe("polygon", i, "has a corner outside the object");
    }
  }
  return {};
}

bool LeaderOutside(const StoredPolygon& p, const IndexBounds& b) {
  return (p.flags & PolyFlag::kAdopted) && p.viewZones[0] >= static_cast<std::uint64_t>(b.polygons);
}

std::string CheckPolygonIndices(const StoredPolygon& p, std::uint32_t i, const IndexBounds& b) {
  if (std::string bad = CheckPolygonCorners(p, i, b); !bad.empty()) return bad;
  for (std::uint32_t k = 0; k < p.vectorCount; ++k) {
    if (!b.Vector(p.vectors[k])) return Describe("polygon", i, "has an edge outside the object");
  }
  if (LeaderOutside(p, b)) return Describe("polygon", i, "names a group leader outside the object");
  return {};
}

}  // namespace

ObjectReadResult ReadObjectResources(ResourceFile& files, RefNum ref, std::uint32_t id,
                                     const ObjectCapacity& capacity, StoredObject& out) {
  RawObject raw;
  ObjectReadResult read = ReadRaw(files, ref, id, capacity, raw);
  out.name = raw.name;
  if (!read.ok()) return read;
  out.formatWord = raw.formatWord;
  out.objectWord = raw.objectWord;
  out.hasAnimation = raw.hasAnimation;
  out.animation = raw.animation;
  out.points.resize(raw.nPoints);
  for (std::uint32_t i = 0; i < raw.nPoints; ++i) out.points[i] = DecodePoint(raw.Point(i));
  out.vectors.resize(raw.nVectors);
  for (std::uint32_t i = 0; i < raw.nVectors; ++i) out.vectors[i] = DecodeVector(raw.Vector(i));
  out.polygons.resize(raw.nPolygons);
  for (std::uint32_t i = 0; i < raw.nPolygons; ++i) {
    DecodeFaceInto(raw.Face(i), out.polygons[i]);
    if (std::string bad = CheckPolygonCounts(out.polygons[i], i); !bad.empty()) {
      return Damaged(std::move(bad));
    }
  }
  return {};
}

std::string CheckStoredIndices(const StoredObject& object, std::uint32_t reservedPoints,
                               std::uint32_t reservedVectors) {
  const IndexBounds bounds{static_cast<std::int64_t>(object.points.size()),
                           static_cast<std::int64_t>(object.vectors.size()),
                           static_cast<std::int64_t>(object.polygons.size()), reservedPoints,
                           reservedVectors};
  for (std::size_t i = 0; i < object.vectors.size(); ++i) {
    std::string bad = CheckVectorEnds(object.vectors[i], static_cast<std::uint32_t>(i), bounds);
    if (!bad.empty()) return bad;
  }
  for (std::size_t i = 0; i < object.polygons.size(); ++i) {
    std::string bad =
        CheckPolygonIndices(object.polygons[i], static_cast<std::uint32_t>(i), bounds);
    if (!bad.empty()) return bad;
  }
  return {};
}

// ---- The editor's tables ---------------------------------------------------

namespace {

bool SameCoordinates(double ax, double ay, double az, double bx, double by, double bz) {
  // Compared as doubles, so 0.0 equals -0.0.
  return ax == bx && ay == by && az == bz;
}

}  // namespace

std::uint32_t RebuildPolygonVectorLists(std::span<const VectorEnds> vectors,
                                        std::uint32_t pointCount,
                                        std::span<const std::uint32_t> corners,
                                        std::span<const std::uint32_t> cornerStart,
                                        std::span<std::uint32_t> edges) {
  const auto nVectors = static_cast<std::uint32_t>(vectors.size());
  // Point-to-vectors index: for each point the vectors that end at it, in
  // ascending order, each once (a vector from a point to itself too). An
  // end outside the point table (the callers never pass one) joins no list
  // rather than being written past it.
  std::vector<std::uint32_t> first(std::size_t{pointCount} + 1, 0);
  for (const VectorEnds& v : vectors) {
    if (v.p1 < pointCount) ++first[v.p1 + 1];
    if (v.p2 != v.p1 && v.p2 < pointCount) ++first[v.p2 + 1];
  }
  for (std::uint32_t p = 0; p < pointCount; ++p) first[p + 1] += first[p];
  std::vector<std::uint32_t> touching(first[pointCount]);
  std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
  for (std::uint32_t i = 0; i < nVectors; ++i) {
    const VectorEnds& v = vectors[i];
    if (v.p1 < pointCount) touching[fill[v.p1]++] = i;
    if (v.p2 != v.p1 && v.p2 < pointCount) touching[fill[v.p2]++] = i;
  }

  // used[v] == stamp marks v as one of the entries placed so far in the
  // polygon being rebuilt; a new stamp per polygon needs no clearing.
  std::vector<std::uint32_t> used(nVectors, 0);
  for (std::size_t i = 0; i + 1 < cornerStart.size(); ++i) {
    const auto stamp = static_cast<std::uint32_t>(i + 1);
    for (std::uint32_t at = cornerStart[i]; at < cornerStart[i + 1]; ++at) {
      const std::uint32_t corner = corners[at];
      if (corner >= pointCount) return static_cast<std::uint32_t>(i);
      for (std::uint32_t j = first[corner]; j < first[corner + 1]; ++j) {
        if (used[touching[j]] != stamp) {
          edges[at] = touching[j];
          break;
        }
      }
      if (edges[at] >= nVectors) return static_cast<std::uint32_t>(i);
      used[edges[at]] = stamp;
    }
  }
  return kNoIndex;
}

std::uint32_t RebuildPolygonVectorLists(std::span<const Vector> vectors, std::uint32_t pointCount,
                                        std::span<Polygon> polygons) {
  std::vector<VectorEnds> ends;
  ends.reserve(vectors.size());
  for (const Vector& v : vectors) ends.push_back({v.p1, v.p2});
  std::vector<std::uint32_t> corners, edges, starts{0};
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    const Polygon& p = polygons[i];
    if (p.pointCount > kMaxPolygonPoints) return static_cast<std::uint32_t>(i);
    corners.insert(corners.end(), p.points, p.points + p.pointCount);
    edges.insert(edges.end(), p.vectors, p.vectors + p.pointCount);
    starts.push_back(static_cast<std::uint32_t>(corners.size()));
  }
  const std::uint32_t bad = RebuildPolygonVectorLists(ends, pointCount, corners, starts, edges);
  if (bad != kNoIndex) return bad;
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    Polygon& p = polygons[i];
    std::copy(edges.begin() + starts[i], edges.begin() + starts[i + 1], p.vectors);
    p.vectorCount = p.pointCount;
  }
  return kNoIndex;
}

ObjectReadResult ReadEditorObject(ResourceFile& files, RefNum ref, std::uint32_t id,
                                  const ObjectTables& tables, EditorObject& out) {
  RawObject raw;
  ObjectReadResult read = ReadRaw(files, ref, id, kEditorObjectCapacity, raw);
  out.name = raw.name;
  if (!read.ok()) return read;
  if (!tables.allocated()) return Damaged("the object tables are not set up");
  const IndexBounds bounds{raw.nPoints, raw.nVectors, raw.nPolygons, kReservedPoints,
                           kReservedVectors};

  std::vector<VectorEnds> ends(kReservedVectors + std::size_t{raw.nVectors});
  for (std::uint32_t i = 0; i < kReservedVectors; ++i) {
    ends[i] = {tables.vectors[i].p1, tables.vectors[i].p2};
  }
  for (std::uint32_t i = 0; i < raw.nVectors; ++i) {
    const StoredVector v = DecodeVector(raw.Vector(i));
    if (std::string bad = CheckVectorEnds(v, i, bounds); !bad.empty())
      return Damaged(std::move(bad));
    ends[kReservedVectors + i] = {v.p1 + kReservedPoints, v.p2 + kReservedPoints};
  }

  // What each reserved corner turns into, worked out at its first use: the
  // first point from index 0 with its coordinates, and when that is the
  // origin, the first user point with them or a new one.
  out.addedPoints.clear();
  out.lastPointAdded = kNoIndex;
  std::array<std::uint32_t, kReservedPoints> reservedTarget;
  reservedTarget.fill(kNoIndex);
  auto mapReserved = [&](std::uint32_t r) -> std::uint32_t {
    if (reservedTarget[r] != kNoIndex) return reservedTarget[r];
    const Point& rp = tables.points[r];
    std::uint32_t found = 0;
    // Point r matches itself, so the search never gets past it.
    for (std::uint32_t j = 0; j <= r; ++j) {
      const Point& q = tables.points[j];
      if (SameCoordinates(q.x, q.y, q.z, rp.x, rp.y, rp.z)) {
        found = j;
        break;
      }
    }
    if (found == 0) {
      found = kNoIndex;
      const std::uint32_t total = raw.nPoints + static_cast<std::uint32_t>(out.addedPoints.size());
      for (std::uint32_t u = 0; u < total && found == kNoIndex; ++u) {
        const StoredPoint p =
            u < raw.nPoints ? DecodePoint(raw.Point(u)) : out.addedPoints[u - raw.nPoints];
        if (SameCoordinates(p.x, p.y, p.z, rp.x, rp.y, rp.z)) found = kReservedPoints + u;
      }
      if (found == kNoIndex) {
        if (kReservedPoints + total >= kMaxPoints) return kNoIndex;
        found = kReservedPoints + total;
        out.addedPoints.push_back({rp.x, rp.y, rp.z});
      }
      out.lastPointAdded = found;
    }
    reservedTarget[r] = found;
    return found;
  };

  out.corners.clear();
  out.edges.clear();
  out.cornerStart.assign(1, 0);
  out.corners.reserve(std::size_t{raw.nPolygons} * 4);
  out.edges.reserve(std::size_t{raw.nPolygons} * 4);
  out.cornerStart.reserve(std::size_t{raw.nPolygons} + 1);
  StoredPolygon face;  // one record at a time: the records stay in `raw.face`
  for (std::uint32_t i = 0; i < raw.nPolygons; ++i) {
    DecodeFaceInto(raw.Face(i), face);
    // The stored vector list is replaced by the rebuild below; only the
    // entries it keeps are checked, there. A leader that is not in the
    // object is dropped (as when the leader is deleted) rather than
    // costing the whole cluster.
    std::string bad = CheckPolygonCounts(face, i);
    if (bad.empty()) bad = CheckPolygonCorners(face, i, bounds);
    if (!bad.empty()) return Damaged(std::move(bad));
    if (LeaderOutside(face, bounds)) {
      std::uint8_t* record = raw.face.data() + std::size_t{i} * kFaceRecordBytes;
      StoreLE32(record + kFaceFlags, face.flags & ~PolyFlag::kAdopted);
      StoreLE32(record + kFaceViewZones, 0);
    }
    for (std::uint32_t k = 0; k < face.pointCount; ++k) {
      const std::int32_t e = face.points[k];
      std::uint32_t corner = static_cast<std::uint32_t>(e) + kReservedPoints;
      if (e < 0) {
        corner = mapReserved(static_cast<std::uint32_t>(e + std::int32_t{kReservedPoints}));
        if (corner == kNoIndex) {
          return Damaged(Describe("polygon", i, "needs a point more than the tables can hold"));
        }
      }
      out.corners.push_back(corner);
      out.edges.push_back(face.vectors[k] + kReservedVectors);
    }
    out.cornerStart.push_back(static_cast<std::uint32_t>(out.corners.size()));
  }

  const auto pointCount =
      static_cast<std::uint32_t>(kReservedPoints + raw.nPoints + out.addedPoints.size());
  if (std::uint32_t bad =
          RebuildPolygonVectorLists(ends, pointCount, out.corners, out.cornerStart, out.edges);
      bad != kNoIndex) {
    return Damaged(Describe("polygon", bad, "has a corner that no vector reaches"));
  }

  out.objectWord = raw.objectWord;
  out.animation = raw.hasAnimation ? raw.animation : AnimationSlots{};
  out.userPoints = raw.nPoints;
  out.userVectors = raw.nVectors;
  out.polygonCount = raw.nPolygons;
  out.points = std::move(raw.pnts);
  out.vectors = std::move(raw.tvct);
  out.faces = std::move(raw.face);
  return {};
}

void InstallEditorObject(const EditorObject& object, ObjectTables& tables,
                         AnimationSlots& animation, std::uint32_t& objectWord) {
  std::uint32_t n = kReservedPoints;
  auto putPoint = [&](const StoredPoint& sp) {
    Point& p = tables.points[n++];
    p = Point{};
    p.x = sp.x;
    p.y = sp.y;
    p.z = sp.z;
  };
  for (std::uint32_t i = 0; i < object.userPoints; ++i) {
    putPoint(DecodePoint(object.points.data() + std::size_t{i} * kPointRecordBytes));
  }
  for (const StoredPoint& sp : object.addedPoints) putPoint(sp);
  tables.pointCount = n;

  for (std::uint32_t i = 0; i < kReservedVectors; ++i) tables.vectors[i].selected = kUnselected;
  for (std::uint32_t i = 0; i < object.userVectors; ++i) {
    const StoredVector sv =
        DecodeVector(object.vectors.data() + std::size_t{i} * kVectorRecordBytes);
    Vector& v = tables.vectors[kReservedVectors + i];
    v = Vector{};
    v.p1 = sv.p1 + kReservedPoints;
    v.p2 = sv.p2 + kReservedPoints;
    v.width = sv.width;
    v.attribute = sv.attribute;
    v.color = sv.color;
  }
  tables.vectorCount = kReservedVectors + object.userVectors;

  for (std::uint32_t i = 0; i < object.polygonCount; ++i) {
    const std::uint8_t* in = object.faces.data() + std::size_t{i} * kFaceRecordBytes;
    Polygon& p = tables.polygons[i];
    p.depth = static_cast<std::int32_t>(LoadLE32(in + kFaceDepth));
    p.pointCount = LoadLE32(in + kFacePointCount);
    p.viewZoneCount = LoadLE32(in + kFaceViewZoneCount);
    p.flags = LoadLE32(in + kFaceFlags);
    p.frontFill = LoadLE32(in + kFaceFrontFill);
    p.backFill = LoadLE32(in + kFaceBackFill);
    for (std::size_t k = 0; k < kMaxPolygonVectors; ++k) {
      p.vectors[k] = LoadLE32(in + kFaceVectors + 4 * k) + kReservedVectors;
    }
    for (std::size_t k = 0; k < kMaxViewZones; ++k)
      p.viewZones[k] = LoadLE32(in + kFaceViewZones + 4 * k);
    std::fill(std::begin(p.points), std::end(p.points), 0u);
    const std::uint32_t from = object.cornerStart[i];
    for (std::uint32_t k = 0; k < p.pointCount; ++k) {
      p.points[k] = object.corners[from + k];
      p.vectors[k] = object.edges[from + k];
    }
    p.vectorCount = p.pointCount;
    p.frontColor = in[kFaceFrontColor];
    p.backColor = in[kFaceBackColor];
  }
  tables.polygonCount = object.polygonCount;
  std::fill(tables.polygonSelected.begin(), tables.polygonSelected.end(), kUnselected);
  tables.currentPolygon = -1;
  if (object.lastPointAdded != kNoIndex) tables.lastPointAdded = object.lastPointAdded;
  tables.name = object.name;
  animation = object.animation;
  objectWord = object.objectWord;
}

}  // namespace ws
