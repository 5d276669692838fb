#include "import/scene_walk.h"

#include <cmath>
#include <numbers>

namespace ws::scene {
namespace {

constexpr int kSegments = 16;  // sphere rings and segments, cone and cylinder segments

bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Position `i` of an index list, or -1 beyond it.
std::int64_t At(const std::vector<std::int32_t>& list, std::size_t i) {
  return i < list.size() ? list[i] : -1;
}

}  // namespace

SceneWalk::SceneWalk(SceneAction& action, LineReport report, std::size_t totalNodes)
    : action_(action), report_(std::move(report)), total_(totalNodes) {}

bool SceneWalk::PushState() {
  if (level_ + 1 >= kStateLevels) return false;
  levels_[static_cast<std::size_t>(level_ + 1)] = levels_[static_cast<std::size_t>(level_)];
  ++level_;
  return true;
}

void SceneWalk::PopState() {
  if (level_ > 0) --level_;
}

bool SceneWalk::EnterChildren() {
  if (depth_ >= kMaxNodeDepth) {
    ReportOnce("Scene nested too deeply; the innermost part was skipped");
    return false;
  }
  ++depth_;
  return true;
}

void SceneWalk::ReportOnce(std::string_view line) {
  if (reportedDepth_) return;
  reportedDepth_ = true;
  if (report_) report_(line);
}

void SceneWalk::NodeVisited() {
  ++visited_;
  if (total_ == 0) return;
  const std::size_t percent = visited_ * 100 / total_;
  if (percent >= lastPercent_ + 6) {
    lastPercent_ = percent;
    if (report_) report_("IMPORT_PROGRESS " + std::to_string(percent));
  }
}

MaterialValue SceneWalk::FaceMaterial(int faceNumber,
                                      const std::vector<std::int32_t>& materialIndex,
                                      std::size_t firstCorner, std::size_t firstVertex) const {
  const TraversalLevel& s = levels_[static_cast<std::size_t>(level_)];
  if (s.material == nullptr || s.material->LongestList() == 0) return MaterialValue{};
  const auto face = static_cast<std::size_t>(faceNumber);
  std::int64_t n = 0;
  switch (s.materialBinding) {
    case Binding::kDefault:
    case Binding::kOverall:
      n = 0;
      break;
    case Binding::kPerFace:
    case Binding::kPerPart:
      n = faceNumber;
      break;
    case Binding::kPerFaceIndexed:
    case Binding::kPerPartIndexed:
      n = At(materialIndex, face);
      if (n < 0) n = faceNumber;
      break;
    case Binding::kPerVertex:
      n = static_cast<std::int64_t>(firstVertex);
      break;
    case Binding::kPerVertexIndexed:
      n = At(materialIndex, firstCorner);
      if (n < 0) n = static_cast<std::int64_t>(firstVertex);
      break;
  }
  return s.material->ValueAt(static_cast<std::size_t>(n));
}

void SceneWalk::EmitFace(int faceNumber, std::span<const Vec3> local,
                         std::span<const Vec3> localNormals,
                         const std::vector<std::int32_t>& materialIndex, std::size_t firstCorner,
                         std::size_t firstVertex) {
  const TraversalLevel& s = state();
  corners_.clear();
  normals_.clear();
  for (std::size_t i = 0; i < local.size(); ++i) {
    const Vec3 p = TransformPoint(s.matrix, local[i]);
    if (!Finite(p)) continue;
    corners_.push_back(p);
    if (!localNormals.empty()) normals_.push_back(TransformDirection(s.matrix, localNormals[i]));
  }
  action_.AddFace(faceNumber, corners_, normals_,
                  FaceMaterial(faceNumber, materialIndex, firstCorner, firstVertex));
}

// ---------------------------------------------------------------------------
// Nodes

void SceneNode::Traverse(SceneWalk& walk) {
  Apply(walk);
  walk.NodeVisited();
}

void GroupNode::TraverseChildren(SceneWalk& walk) {
  if (!walk.EnterChildren()) return;
  for (const auto& child : children) {
    if (walk.stopped()) break;
    child->Traverse(walk);
  }
  walk.LeaveChildren();
}

namespace {

// The part shared by Group, TransformSeparator, Switch and LOD: name,
// group callbacks, the chosen children.
template <class Body>
void AsGroup(SceneWalk& walk, const std::string& name, Body body) {
  walk.PushName(name);
  const bool grouped = walk.action().WantsGroups();
  if (grouped) walk.action().BeginGroup(name);
  body();
  walk.PopName();
  if (grouped) walk.action().EndGroup();
}

}  // namespace

void Separator::Apply(SceneWalk& walk) {
  if (!walk.PushState()) {
    walk.ReportOnce("Separators nested more than 25 deep; the innermost part was skipped");
    return;
  }
  walk.PushName(name);
  const bool grouped = walk.action().WantsGroups();
  if (grouped) walk.action().BeginGroup(name);
  TraverseChildren(walk);
  walk.PopName();
  walk.PopState();
  if (grouped) walk.action().EndGroup();
}

void Group::Apply(SceneWalk& walk) {
  AsGroup(walk, name, [&] { TraverseChildren(walk); });
}

void TransformSeparator::Apply(SceneWalk& walk) {
  AsGroup(walk, name, [&] {
    const Matrix saved = walk.state().matrix;
    TraverseChildren(walk);
    walk.state().matrix = saved;
  });
}

void Switch::Apply(SceneWalk& walk) {
  AsGroup(walk, name, [&] {
    if (whichChild == kAllChildren) {
      TraverseChildren(walk);
    } else if (whichChild >= 0 && static_cast<std::size_t>(whichChild) < children.size()) {
      if (walk.EnterChildren()) {
        children[static_cast<std::size_t>(whichChild)]->Traverse(walk);
        walk.LeaveChildren();
      }
    }
  });
}

void LOD::Apply(SceneWalk& walk) {
  AsGroup(walk, name, [&] {
    if (children.empty()) return;
    const Vec3 c = TransformPoint(walk.state().matrix, center);
    const double d = std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z);
    std::size_t chosen = 0;
    while (chosen < range.size() && d >= range[chosen]) ++chosen;
    if (chosen >= children.size()) chosen = children.size() - 1;
    if (walk.EnterChildren()) {
      children[chosen]->Traverse(walk);
      walk.LeaveChildren();
    }
  });
}

void Material::Apply(SceneWalk& walk) { walk.state().material = this; }
void MaterialBinding::Apply(SceneWalk& walk) { walk.state().materialBinding = value; }
void NormalBinding::Apply(SceneWalk& walk) { walk.state().normalBinding = value; }
void Normal::Apply(SceneWalk& walk) { walk.state().normals = this; }

void Coordinate3::Apply(SceneWalk& walk) {
  walk.state().coordinates = this;
  if (walk.action().WantsCoordinates()) walk.action().TakeCoordinates(point);
}

void TransformNode::Apply(SceneWalk& walk) {
  walk.state().matrix = Multiply(OwnMatrix(), walk.state().matrix);
}

void IndexedFaceSet::Apply(SceneWalk& walk) {
  const TraversalLevel& s = walk.state();
  if (s.coordinates == nullptr) return;
  SceneAction& action = walk.action();
  if (!action.WantsFaces()) {
    if (action.WantsRawLists()) action.TakeRawLists(*this);
    return;
  }
  const std::vector<Vec3>& points = s.coordinates->point;
  const std::vector<Vec3>* normals =
      s.normals != nullptr && !s.normals->vector.empty() ? &s.normals->vector : nullptr;
  const Binding normalBinding = s.normalBinding;

  std::vector<Vec3> corners, cornerNormals;
  int face = 0;
  std::size_t faceStart = 0, vertex = 0, faceFirstVertex = 0;
  auto normalFor = [&](std::size_t pos) {
    std::int64_t n = -1;
    switch (normalBinding) {
      case Binding::kDefault:
      case Binding::kPerVertexIndexed:
        n = normalIndex.empty() ? At(coordIndex, pos) : At(normalIndex, pos);
        break;
      case Binding::kPerFaceIndexed:
      case Binding::kPerPartIndexed:
        n = At(normalIndex, static_cast<std::size_t>(face));
        break;
      case Binding::kPerFace:
      case Binding::kPerPart:
        n = face;
        break;
      case Binding::kPerVertex:
        n = static_cast<std::int64_t>(vertex);
        break;
      case Binding::kOverall:
        n = 0;
        break;
    }
    return n >= 0 && static_cast<std::size_t>(n) < normals->size()
               ? (*normals)[static_cast<std::size_t>(n)]
               : Vec3{};
  };
  auto emit = [&] {
    walk.EmitFace(face, corners,
                  normals ? std::span<const Vec3>(cornerNormals) : std::span<const Vec3>(),
                  materialIndex, faceStart, faceFirstVertex);
    corners.clear();
    cornerNormals.clear();
  };
  for (std::size_t pos = 0; pos < coordIndex.size() && !walk.stopped(); ++pos) {
    const std::int32_t i = coordIndex[pos];
    if (i == -1) {
      emit();
      ++face;
      faceStart = pos + 1;
      faceFirstVertex = vertex;
      continue;
    }
    if (i < 0 || static_cast<std::size_t>(i) >= points.size()) continue;
    corners.push_back(points[static_cast<std::size_t>(i)]);
    if (normals) cornerNormals.push_back(normalFor(pos));
    ++vertex;
  }
  if (!corners.empty() && !walk.stopped()) emit();
  action.EndShape();
}

// ---------------------------------------------------------------------------
// Shapes

std::vector<Vec3> MergeCloseCorners(std::span<const Vec3> corners) {
  std::vector<Vec3> out;
  for (const Vec3& c : corners) {
    if (!out.empty() && Distance(out.back(), c) < kImportTolerance) continue;
    out.push_back(c);
  }
  while (out.size() >= 2 && Distance(out.back(), out.front()) < kImportTolerance) out.pop_back();
  return out;
}

std::vector<std::vector<Vec3>> CubeFaces(const Cube& cube) {
  const double x = 0.5 * cube.width, y = 0.5 * cube.height, z = 0.5 * cube.depth;
  // Counter-clockwise seen from outside.
  return {{{-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z}},       // front
          {{x, -y, -z}, {-x, -y, -z}, {-x, y, -z}, {x, y, -z}},   // back
          {{x, -y, z}, {x, -y, -z}, {x, y, -z}, {x, y, z}},       // right
          {{-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-x, y, -z}},   // left
          {{-x, y, z}, {x, y, z}, {x, y, -z}, {-x, y, -z}},       // top
          {{-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {-x, -y, z}}};  // bottom
}

std::vector<std::vector<Vec3>> SphereFaces(double r) {
  auto point = [r](int i, int j) {
    const double theta = std::numbers::pi * i / kSegments;
    const double phi = 2 * std::numbers::pi * j / kSegments;
    return Vec3{r * std::cos(phi) * std::sin(theta), r * std::cos(theta),
                r * std::sin(phi) * std::sin(theta)};
  };
  std::vector<std::vector<Vec3>> faces;
  for (int i = 1; i <= kSegments; ++i) {
    for (int j = 0; j < kSegments; ++j) {
      const int k = (j + 1) % kSegments;
      // Counter-clockwise seen from outside.
      const Vec3 quad[4] = {point(i - 1, j), point(i - 1, k), point(i, k), point(i, j)};
      faces.push_back(MergeCloseCorners(quad));
    }
  }
  return faces;
}

std::vector<std::vector<Vec3>> ConeFaces(double bottomRadius, double topRadius, double height,
                                         unsigned parts, bool withTop) {
  const double h = 0.5 * height;
  auto ring = [](double r, double y, int j) {
    const double phi = 2 * std::numbers::pi * j / kSegments;
    return Vec3{r * std::cos(phi), y, r * std::sin(phi)};
  };
  std::vector<std::vector<Vec3>> faces;
  if (parts & Parts::kSides) {
    for (int j = 0; j < kSegments; ++j) {
      const int k = (j + 1) % kSegments;
      const Vec3 quad[4] = {ring(topRadius, h, j), ring(topRadius, h, k), ring(bottomRadius, -h, k),
                            ring(bottomRadius, -h, j)};
      faces.push_back(MergeCloseCorners(quad));
    }
  }
  if ((parts & Parts::kBottom) && bottomRadius != 0) {
    std::vector<Vec3> cap;
    for (int j = 0; j < kSegments; ++j) cap.push_back(ring(bottomRadius, -h, j));
    faces.push_back(MergeCloseCorners(cap));
  }
  if (withTop && (parts & Parts::kTop) && topRadius != 0) {
    std::vector<Vec3> cap;
    for (int j = kSegments - 1; j >= 0; --j) cap.push_back(ring(topRadius, h, j));
    faces.push_back(MergeCloseCorners(cap));
  }
  return faces;
}

namespace {

void EmitShape(SceneWalk& walk, const std::vector<std::vector<Vec3>>& faces) {
  if (!walk.action().WantsFaces()) return;
  static const std::vector<std::int32_t> kNoIndices;
  std::size_t vertex = 0;
  for (std::size_t f = 0; f < faces.size() && !walk.stopped(); ++f) {
    walk.EmitFace(static_cast<int>(f), faces[f], {}, kNoIndices, 0, vertex);
    vertex += faces[f].size();
  }
  walk.action().EndShape();
}

}  // namespace

void Cube::Apply(SceneWalk& walk) { EmitShape(walk, CubeFaces(*this)); }
void Sphere::Apply(SceneWalk& walk) { EmitShape(walk, SphereFaces(radius)); }
void Cone::Apply(SceneWalk& walk) {
  EmitShape(walk, ConeFaces(bottomRadius, topRadius, height, parts, topRadius != 0));
}
void Cylinder::Apply(SceneWalk& walk) {
  EmitShape(walk, ConeFaces(radius, radius, height, parts, true));
}

// ---------------------------------------------------------------------------

void WalkScene(GroupNode& root, SceneAction& action, const LineReport& report) {
  SceneWalk walk(action, report, root.CountNodes() - 1);
  root.TraverseChildren(walk);
}

}  // namespace ws::scene
