// The walk over a scene: the traversal state, the action that receives the
// faces, and the shapes' faces.
//
// WalkScene traverses the root's children in order with one SceneWalk. The
// state is 25 levels deep; a Separator pushes a copy of the current level
// and pops it after its children. A Separator that would need a 26th level
// is skipped with its children (reported once through `report`), and any
// nesting of grouping nodes deeper than kMaxNodeDepth is skipped likewise,
// so a hostile tree cannot exhaust the stack. After every node the visited
// count grows; when visited x 100 / all nodes has grown by 6 or more since
// the last report, "IMPORT_PROGRESS %d" goes to `report`.
//
// Corners are moved by the current matrix; a corner that names no point,
// or that the matrix moves to a non-finite place, is left out of its face.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "import/scene_nodes.h"

namespace ws::scene {

// Receives what the walk finds. Defaults: no groups, faces wanted, nothing
// else.
class SceneAction {
 public:
  virtual ~SceneAction() = default;
  virtual bool WantsGroups() const { return false; }
  virtual void BeginGroup(std::string_view name) {}
  virtual void EndGroup() {}
  virtual bool WantsFaces() const { return true; }
  // `normals` is empty when the shape has none, else one per corner
  // ((0, 0, 0) where the lists name none).
  virtual void AddFace(int faceNumber, std::span<const Vec3> corners, std::span<const Vec3> normals,
                       const MaterialValue& material) {}
  virtual void EndShape() {}
  virtual bool WantsCoordinates() const { return false; }
  virtual void TakeCoordinates(const std::vector<Vec3>& points) {}
  // Asked only when faces are not wanted: the face set's lists as they are.
  virtual bool WantsRawLists() const { return false; }
  virtual void TakeRawLists(const IndexedFaceSet& faceSet) {}
  // True ends the walk early (after the current face).
  virtual bool Stopped() const { return false; }
};

struct TraversalLevel {
  const Material* material = nullptr;
  const Coordinate3* coordinates = nullptr;
  const Normal* normals = nullptr;
  Binding materialBinding = Binding::kDefault;
  Binding normalBinding = Binding::kDefault;
  Matrix matrix = IdentityMatrix();
};

using LineReport = std::function<void(std::string_view line)>;

class SceneWalk {
 public:
  static constexpr int kStateLevels = 25;
  static constexpr int kMaxNodeDepth = 200;

  SceneWalk(SceneAction& action, LineReport report, std::size_t totalNodes);

  SceneAction& action() { return action_; }
  TraversalLevel& state() { return levels_[static_cast<std::size_t>(level_)]; }
  int level() const { return level_; }
  bool stopped() const { return action_.Stopped(); }

  // Copies the current level up one; false (nothing changes) at the top.
  bool PushState();
  void PopState();
  void PushName(std::string_view name) { names_.emplace_back(name); }
  void PopName() {
    if (!names_.empty()) names_.pop_back();
  }
  const std::vector<std::string>& names() const { return names_; }

  // Depth guard around a grouping node's children; false: skip them.
  bool EnterChildren();
  void LeaveChildren() { --depth_; }

  // Counts a visited node and reports progress.
  void NodeVisited();
  std::size_t visited() const { return visited_; }

  // Hands one face of a shape to the action: `local` corners moved by the
  // current matrix, the material of face `faceNumber` under the current
  // binding (`materialIndex` for the indexed bindings, `firstCorner` the
  // position of the face's first entry in its index list, `firstVertex` the
  // number of corners before it).
  void EmitFace(int faceNumber, std::span<const Vec3> local, std::span<const Vec3> localNormals,
                const std::vector<std::int32_t>& materialIndex, std::size_t firstCorner,
                std::size_t firstVertex);
  void ReportOnce(std::string_view line);

 private:
  MaterialValue FaceMaterial(int faceNumber, const std::vector<std::int32_t>& materialIndex,
                             std::size_t firstCorner, std::size_t firstVertex) const;

  SceneAction& action_;
  LineReport report_;
  std::array<TraversalLevel, kStateLevels> levels_{};
  int level_ = 0;
  std::vector<std::string> names_;
  int depth_ = 0;
  std::size_t total_;
  std::size_t visited_ = 0;
  std::size_t lastPercent_ = 0;
  bool reportedDepth_ = false;
  std::vector<Vec3> corners_, normals_;
};

// Walks every child of `root` in order.
void WalkScene(GroupNode& root, SceneAction& action, const LineReport& report);

// The corners of a shape face with every corner closer than 1e-5 to the
// one before it (and a last corner that close to the first) merged away.
std::vector<Vec3> MergeCloseCorners(std::span<const Vec3> corners);

// The shapes' faces in their own coordinates, as handed to the action
// (before the matrix), for the walk and the tests.
std::vector<std::vector<Vec3>> CubeFaces(const Cube& cube);
std::vector<std::vector<Vec3>> SphereFaces(double radius);
std::vector<std::vector<Vec3>> ConeFaces(double bottomRadius, double topRadius, double height,
                                         unsigned parts, bool withTop);

}  // namespace ws::scene
