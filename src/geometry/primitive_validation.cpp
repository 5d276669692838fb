// Field reading and validation of the primitive dialogs (primitives.h).
#include <algorithm>
#include <climits>
#include <cmath>

#include "geometry/geometry_support.h"
#include "geometry/primitives.h"

namespace ws {
namespace {

constexpr std::uint32_t kMaxSize = 5000;  // diameters, widths, heights, depths
constexpr std::uint32_t kMinSize = 5;
constexpr int kMaxCircleOrigin = 1000;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class BadValue {
 public:
  explicit BadValue(Ui& ui) : ui_(ui) {}
  std::nullopt_t operator()(const std::string& text) const {
    ui_.ShowMessage(kBadValueCaption, text);
    return std::nullopt;
  }

 private:
  Ui& ui_;
};

std::string WithNumber(std::string_view before, long long value, std::string_view after) {
  return std::string(before) + std::to_string(value) + std::string(after);
}

// The three-step size check shared by the sphere's diameter and the cube's
// sides: missing, too big, too small (0 included).
std::optional<std::string> CheckSize(const std::optional<std::uint32_t>& value,
                                     std::string_view missing, std::string_view name) {
  if (!value) return std::string(missing);
  if (*value > kMaxSize) return WithNumber(std::string(name) + " too big (", kMaxSize, " max)");
  if (*value < kMinSize) return WithNumber(std::string(name) + " too small (", kMinSize, " min)");
  return std::nullopt;
}

}  // namespace

std::optional<std::uint32_t> ReadDialogNumber(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  if (begin == end) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

PrimitiveOrigin ReadOrigin(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kOriginFieldMaxChars));
  int values[3] = {0, 0, 0};
  std::size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      // The separator must follow at once, as with "%d,%d,%d".
      if (pos >= text.size() || text[pos] != ',') break;
      ++pos;
    }
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos >= text.size() || !IsDigit(text[pos])) break;
    long long value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
      value = std::min<long long>(value * 10 + (text[pos++] - '0'), 1LL << 40);
    }
    if (negative) value = -value;
    values[i] = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
  }
  return {values[0], values[1], values[2]};
}

std::optional<CircleParams> ValidateCircle(const CircleFields& f, const ObjectTables& t, Ui& ui) {
  const BadValue bad(ui);
  CircleParams p;
  const auto diameter = ReadDialogNumber(f.diameter);
  if (!diameter || *diameter == 0) return bad("Missing diameter");
  if (*diameter > kMaxSize) return bad(WithNumber("Diameter too big (", kMaxSize, " max)"));
  if (*diameter < kMinSize) return bad(WithNumber("Diameter too small (", kMinSize, " min)"));
  const auto n = ReadDialogNumber(f.vectors);
  if (!n || *n == 0) return bad("Missing number of vectors");
  const long long byPoints = 20019LL - t.pointCount;
  const long long byVectors = (static_cast<long long>(kMaxVectors) - t.vectorCount) / 3;
  if (*n > byPoints || *n > byVectors) {
    return bad(WithNumber("Too many vectors (", std::min(byPoints, byVectors), " max)"));
  }
  if (*n < 4) return bad("You need at least 4 vectors to define a circle.");
  p.vectorsOnly = f.vectorsOnly;
  if (f.origin.empty()) return bad("Missing Origin");
  p.origin = ReadOrigin(f.origin);
  const int values[3] = {p.origin.x, p.origin.y, p.origin.z};
  if (std::any_of(values, values + 3, [](int v) { return v > kMaxCircleOrigin; })) {
    return bad("Origin parameter too big (1000 max)");
  }
  if (std::any_of(values, values + 3, [](int v) { return v < -kMaxCircleOrigin; })) {
    return bad("Origin parameter too small (-1000 max)");
  }
  p.diameter = *diameter;
  p.vectors = *n;
  const TableNeeds needs{p.vectors + 1ULL, 3ULL * p.vectors, p.vectorsOnly ? 0ULL : p.vectors};
  if (auto refusal = CheckCapacity(t, needs, "for this circle")) return bad(*refusal);
  return p;
}

std::optional<CylinderParams> ValidateCylinder(const CylinderFields& f, const ObjectTables& t,
                                               Ui& ui) {
  const BadValue bad(ui);
  CylinderParams p;
  const auto diameter = ReadDialogNumber(f.diameter);
  if (!diameter || *diameter == 0) return bad("Bad diameter");
  if (*diameter > kMaxSize) return bad(WithNumber("Diameter too big (", kMaxSize, " max)"));
  if (*diameter < kMinSize) return bad(WithNumber("Diameter too small (", kMinSize, " min)"));
  const auto n = ReadDialogNumber(f.slices);
  if (!n || *n == 0) return bad("Bad Slices");
  if (*diameter < *n) return bad("Diameter must equal to or greater than the number of slices");
  if (*n < 3) return bad(WithNumber("Too few slices (", 3, " min)"));
  const long long bySlices = (static_cast<long long>(kMaxVectors) - t.vectorCount) / 7;
  if (*n > bySlices) return bad(WithNumber("Too many slices (", bySlices, " max)"));
  p.vectorsOnly = f.vectorsOnly;
  const auto height = ReadDialogNumber(f.height);
  if (!height || *height < 3) return bad("Bad height");
  if (f.origin.empty()) return bad("Bad Origin");
  p.origin = ReadOrigin(f.origin);
  p.diameter = *diameter;
  p.slices = *n;
  p.height = *height;
  const TableNeeds needs{2ULL * p.slices + 2, 7ULL * p.slices,
                         p.vectorsOnly ? 0ULL : 3ULL * p.slices};
  if (auto refusal = CheckCapacity(t, needs, "for this cylinder")) return bad(*refusal);
  return p;
}

std::optional<SphereParams> ValidateSphere(const SphereFields& f, const ObjectTables& t, Ui& ui) {
  const BadValue bad(ui);
  SphereParams p;
  const auto v = ReadDialogNumber(f.verticalSlices);
  if (!v || *v == 0) return std::nullopt;
  if (*v < 3) return bad("Bad Vertical Slices (3 min).");
  const auto h = ReadDialogNumber(f.horizontalSlices);
  if (!h || *h == 0) return bad("Bad Horizontal Slices");
  if (*h < 3) return bad("Bad Horizontal Slices (3 min).");
  const long long room = static_cast<long long>(kMaxVectors) - t.vectorCount;
  // In doubles: with slices up to 4294967295 the product passes 64 bits.
  const double need = (4.0 * *v + 3.0) * *h + 3.0 * *v;
  if (need > static_cast<double>(room)) {
    long long m = static_cast<long long>(std::sqrt(static_cast<double>(room)));
    while ((4 * m + 6) * m > room) --m;
    return bad("Too many vectors. Reduce vertical or horizontal slices (max " + std::to_string(m) +
               "x" + std::to_string(m) + ").");
  }
  p.vectorsOnly = f.vectorsOnly;
  const auto diameter = ReadDialogNumber(f.diameter);
  if (auto fault = CheckSize(diameter, "Bad Diameter", "Diameter")) return bad(*fault);
  if (f.origin.empty()) return bad("Bad Origin");
  p.origin = ReadOrigin(f.origin);
  p.verticalSlices = *v;
  p.horizontalSlices = *h;
  p.diameter = *diameter;
  const std::uint64_t rings = p.verticalSlices - 1ULL;
  const TableNeeds needs{2 + rings * p.horizontalSlices, 4ULL * p.horizontalSlices * rings,
                         p.vectorsOnly ? 0ULL : 1ULL * p.verticalSlices * p.horizontalSlices};
  if (auto refusal = CheckCapacity(t, needs, "for this sphere")) return bad(*refusal);
  return p;
}

std::optional<CubeParams> ValidateCube(const CubeFields& f, const ObjectTables& t, Ui& ui) {
  const BadValue bad(ui);
  CubeParams p;
  p.vectorsOnly = f.vectorsOnly;
  const auto width = ReadDialogNumber(f.width);
  if (auto fault = CheckSize(width, "Bad width", "Width")) return bad(*fault);
  const auto height = ReadDialogNumber(f.height);
  if (auto fault = CheckSize(height, "Bad height", "Height")) return bad(*fault);
  const auto depth = ReadDialogNumber(f.depth);
  if (auto fault = CheckSize(depth, "Bad depth", "Depth")) return bad(*fault);
  if (f.origin.empty()) return bad("Bad Origin");
  p.origin = ReadOrigin(f.origin);
  p.width = *width;
  p.height = *height;
  p.depth = *depth;
  const TableNeeds needs{8, 12, p.vectorsOnly ? 0ULL : 6ULL};
  if (auto refusal = CheckCapacity(t, needs, "for this cube")) return bad(*refusal);
  return p;
}

}  // namespace ws
