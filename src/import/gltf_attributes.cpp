#include "import/gltf_attributes.h"

#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "model/object_tables.h"

namespace ws {
namespace {

using Value = tinygltf::Value;

struct Named {
  const char* name;
  std::uint32_t bit;
};

constexpr std::array<Named, 7> kBooleans{
    {{"collision", PolyFlag::kCollision},
     {"entrance", PolyFlag::kEntrance},
     {"viewZone", PolyFlag::kViewZone},
     {"higherSortingPriority", PolyFlag::kHigherPriority},
     {"invisible", PolyFlag::kInvisible},
     {"notVisibleFromCollision", PolyFlag::kNotVisibleFromCollision},
     {"neverDrawBackFace", PolyFlag::kNeverDrawBackFace}}};
constexpr std::array<Named, 4> kColorModes{{{"shaded", PolyFlag::kShaded},
                                            {"selected", PolyFlag::kSelectedColor},
                                            {"adopted", PolyFlag::kAdopted},
                                            {"eachSide", PolyFlag::kEachSideDifferent}}};
constexpr std::array<Named, 2> kStyles{
    {{"outline", PolyFlag::kOutline}, {"bordered", PolyFlag::kBordered}}};

template <std::size_t N>
constexpr std::uint32_t AllBits(const std::array<Named, N>& names) {
  std::uint32_t bits = 0;
  for (const Named& n : names) bits |= n.bit;
  return bits;
}
constexpr std::uint32_t kNamedBits = AllBits(kBooleans) | AllBits(kColorModes) | AllBits(kStyles);

// The set bits of `names` joined by "+", or `none` when there is none.
template <std::size_t N>
std::string JoinBits(std::uint32_t flags, const std::array<Named, N>& names, const char* none) {
  std::string text;
  for (const Named& n : names) {
    if ((flags & n.bit) == 0) continue;
    if (!text.empty()) text += '+';
    text += n.name;
  }
  return text.empty() ? none : text;
}

template <std::size_t N>
std::optional<std::uint32_t> SplitBits(const Value& v, const std::array<Named, N>& names,
                                       const char* none) {
  if (!v.IsString()) return std::nullopt;
  const std::string& text = v.Get<std::string>();
  if (text == none) return 0u;
  std::uint32_t bits = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('+', start), text.size());
    const std::string_view part = std::string_view(text).substr(start, end - start);
    bool known = false;
    for (const Named& n : names) {
      if (part == n.name) bits |= n.bit, known = true;
    }
    if (!known) return std::nullopt;
    start = end + 1;
  }
  return bits;
}

// Every number written fits an int (polygon numbers, flag bits below
// 0x40000000), which the library writes without a decimal point.
Value Number(std::uint32_t n) { return Value(static_cast<int>(n)); }

Value Numbers(const std::vector<std::uint32_t>& list) {
  Value::Array a;
  for (std::uint32_t n : list) a.push_back(Number(n));
  return Value(std::move(a));
}

// A whole number 0 .. limit.
std::optional<std::uint32_t> Whole(const Value& v, std::uint32_t limit) {
  if (!v.IsNumber()) return std::nullopt;
  const double d = v.GetNumberAsDouble();
  if (!(d >= 0 && d <= limit) || std::floor(d) != d) return std::nullopt;
  return static_cast<std::uint32_t>(d);
}

std::optional<std::vector<std::uint32_t>> WholeList(const Value& v) {
  if (!v.IsArray()) return std::nullopt;
  std::vector<std::uint32_t> out;
  for (const Value& e : v.Get<Value::Array>()) {
    const auto n = Whole(e, 0xFFFFFFFFu);
    if (!n) return std::nullopt;
    out.push_back(*n);
  }
  return out;
}

Value ZoneEntry(std::uint32_t entry) {
  Value::Object o;
  o[(entry & ViewZone::kIsVector) ? "vector" : "polygon"] = Number(entry & ViewZone::kIndexMask);
  o["priority"] = Value(std::string((entry & ViewZone::kLowPriority) ? "low" : "high"));
  return Value(std::move(o));
}

std::optional<std::uint32_t> ParseZoneEntry(const Value& v) {
  if (!v.IsObject() || v.Size() != 2) return std::nullopt;
  const Value& priority = v.Get("priority");
  if (!priority.IsString()) return std::nullopt;
  const std::string& p = priority.Get<std::string>();
  if (p != "low" && p != "high") return std::nullopt;
  std::uint32_t entry = p == "low" ? ViewZone::kLowPriority : 0;
  const bool vector = v.Has("vector");
  const auto index = Whole(v.Get(vector ? "vector" : "polygon"), ViewZone::kIndexMask);
  if (!index) return std::nullopt;
  return entry | *index | (vector ? ViewZone::kIsVector : 0);
}

}  // namespace

Value AttributesToExtras(const GltfAttributes& a, bool back,
                         const std::vector<std::uint32_t>& polygons,
                         const std::vector<std::uint32_t>& triangles) {
  Value::Object o;
  o["side"] = Value(std::string(back ? "back" : "front"));
  o["polygons"] = Numbers(polygons);
  o["triangles"] = Numbers(triangles);
  for (const Named& n : kBooleans) o[n.name] = Value((a.flags & n.bit) != 0);
  o["colorMode"] = Value(JoinBits(a.flags, kColorModes, "none"));
  o["style"] = Value(JoinBits(a.flags, kStyles, "normal"));
  // The library writes an empty list as null: an empty list is left out.
  Value::Array zones;
  for (std::uint32_t e : a.zones) zones.push_back(ZoneEntry(e));
  if (!zones.empty()) o["viewZonePriorities"] = Value(std::move(zones));
  if (a.leader) o["groupLeader"] = Number(*a.leader);
  if (const std::uint32_t other = a.flags & kGltfFlagMask & ~kNamedBits; other != 0) {
    o["otherFlags"] = Number(other);
  }
  return Value(std::move(o));
}

std::optional<GltfPrimitiveExtras> ExtrasToAttributes(const Value& extras) {
  if (!extras.IsObject()) return std::nullopt;
  GltfPrimitiveExtras out;
  const Value& side = extras.Get("side");
  if (!side.IsString() ||
      (side.Get<std::string>() != "front" && side.Get<std::string>() != "back")) {
    return std::nullopt;
  }
  out.back = side.Get<std::string>() == "back";
  auto polygons = WholeList(extras.Get("polygons"));
  auto triangles = WholeList(extras.Get("triangles"));
  if (!polygons || !triangles || polygons->size() != triangles->size()) return std::nullopt;
  out.polygons = std::move(*polygons);
  out.triangles = std::move(*triangles);
  std::uint32_t flags = 0;
  for (const Named& n : kBooleans) {
    const Value& b = extras.Get(n.name);
    if (!b.IsBool()) return std::nullopt;
    if (b.Get<bool>()) flags |= n.bit;
  }
  const auto modes = SplitBits(extras.Get("colorMode"), kColorModes, "none");
  const auto styles = SplitBits(extras.Get("style"), kStyles, "normal");
  if (!modes || !styles) return std::nullopt;
  flags |= *modes | *styles;
  if (extras.Has("otherFlags")) {
    const auto other = Whole(extras.Get("otherFlags"), kGltfFlagMask);
    if (!other || (*other & kNamedBits) != 0) return std::nullopt;
    flags |= *other;
  }
  out.attributes.flags = flags;
  const Value& zones = extras.Get("viewZonePriorities");
  if (extras.Has("viewZonePriorities") && (!zones.IsArray() || zones.ArrayLen() > kMaxViewZones)) {
    return std::nullopt;
  }
  for (const Value& z : zones.IsArray() ? zones.Get<Value::Array>() : Value::Array{}) {
    const auto entry = ParseZoneEntry(z);
    if (!entry) return std::nullopt;
    out.attributes.zones.push_back(*entry);
  }
  if (extras.Has("groupLeader")) {
    const auto leader = Whole(extras.Get("groupLeader"), 0xFFFFFFFFu);
    if (!leader) return std::nullopt;
    out.attributes.leader = *leader;
  }
  return out;
}

std::optional<std::uint8_t> PaletteIndexOf(const Value& extras) {
  if (!extras.IsObject()) return std::nullopt;
  const auto n = Whole(extras.Get("paletteIndex"), 255);
  if (!n) return std::nullopt;
  return static_cast<std::uint8_t>(*n);
}

}  // namespace ws
