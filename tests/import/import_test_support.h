// Helpers shared by the import tests: the faces of a scene walk, a progress
// dialog and an observer that record what they are told, a model with an
// import context around it, and one format reader run on a text.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "import/import_commands.h"
#include "import/import_convert.h"
#include "import/import_notifier.h"
#include "import/import_scene.h"
#include "import/readers/readers.h"
#include "import/scene_walk.h"
#include "model/cluster.h"
#include "support/model_fixture.h"

namespace ws::test {

struct RecordedFace {
  int number = 0;
  std::vector<Vec3> corners, normals;
  MaterialValue material;
};

class RecordingAction : public scene::SceneAction {
 public:
  void AddFace(int number, std::span<const Vec3> corners, std::span<const Vec3> normals,
               const MaterialValue& material) override {
    faces.push_back(
        {number, {corners.begin(), corners.end()}, {normals.begin(), normals.end()}, material});
  }
  bool WantsGroups() const override { return true; }
  void BeginGroup(std::string_view name) override { groups.emplace_back(name); }
  std::vector<RecordedFace> faces;
  std::vector<std::string> groups;
};

inline std::vector<RecordedFace> WalkFaces(scene::GroupNode& root,
                                           std::vector<std::string>* lines = nullptr) {
  RecordingAction action;
  scene::WalkScene(root, action, [&](std::string_view line) {
    if (lines) lines->emplace_back(line);
  });
  return action.faces;
}

class RecordingProgress : public ImportProgress {
 public:
  void Open() override { events.push_back("open"); }
  void SetTitle(std::string_view title) override { titles.emplace_back(title); }
  void SetPosition(int position) override { positions.push_back(position); }
  void Hide() override { events.push_back("hide"); }
  void Close() override { events.push_back("close"); }
  std::vector<std::string> events, titles;
  std::vector<int> positions;
};

class RecordingObserver : public ModelObserver {
 public:
  void SetHelpLine(std::string_view text) override { helpLines.emplace_back(text); }
  std::vector<std::string> helpLines;
};

// Every entry an import wrote is within the limits, refers only to entries
// that exist, and lies within the 360-unit model size.
inline void ExpectConsistent(const ObjectTables& t) {
  ASSERT_TRUE(t.pointCount <= 19999 && t.vectorCount <= 19999 && t.polygonCount <= 9999);
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
    ASSERT_LT(std::max(t.vectors[v].p1, t.vectors[v].p2), t.pointCount) << v;
  }
  for (const Polygon& p : std::span(t.polygons.data(), t.polygonCount)) {
    ASSERT_TRUE(p.pointCount <= kMaxPolygonPoints && p.vectorCount <= kMaxPolygonVectors);
    for (std::uint32_t i : std::span(p.points, p.pointCount)) ASSERT_LT(i, t.pointCount);
    for (std::uint32_t i : std::span(p.vectors, p.vectorCount)) ASSERT_LT(i, t.vectorCount);
  }
  for (const Point& p : std::span(t.points + kReservedPoints, t.pointCount - kReservedPoints)) {
    ASSERT_LE(std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}), 180 + 1e-9);
  }
}

// Appends a polygon on these corners with its flags and front and back colours.
inline void AddPolygon(ObjectTables& t, const std::vector<std::uint32_t>& corners,
                       std::uint32_t flags, std::uint8_t front, std::uint8_t back) {
  Polygon& p = t.polygons[t.polygonCount++];
  p = Polygon{};
  for (std::uint32_t c : corners) p.points[p.pointCount++] = c;
  p.flags = flags, p.frontColor = front, p.backColor = back;
}

// Where an import puts p (a Vec3 or a Point) of a scene whose points span
// lo..hi: centred, its largest extent scaled to the model size.
template <class P>
Vec3 Placed(const P& p, const Vec3& lo, const Vec3& hi) {
  const double s = kImportModelSize / std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
  return {(p.x - (lo.x + hi.x) / 2) * s, (p.y - (lo.y + hi.y) / 2) * s,
          (p.z - (lo.z + hi.z) / 2) * s};
}

inline constexpr char kDropped[] = "Some of the polygons in this file were dropped because:\n";

// A model with its working cluster, the import notifier logging into the
// base directory, and a recording progress dialog.
struct ImportFixture : ModelFixture {
  ImportFixture() {
    CreateWorkingCluster(m());
    m().SetObserver(&observer);
    ui.ClearMessages();
  }
  ~ImportFixture() { m().SetObserver(nullptr); }

  std::string Write(const std::string& name, std::string_view text) {
    const std::string path = dir.File(name);
    WriteFileText(path, text);
    return path;
  }
  bool Import(const std::string& path, bool flip = false) {
    return ImportScene(m(), services, path, flip);
  }
  std::uint32_t userPoints() { return tables().pointCount - kReservedPoints; }
  std::uint32_t userVectors() { return tables().vectorCount - kReservedVectors; }

  RecordingObserver observer;
  ImportNotifier notifier{LogPathFor(m().paths)};
  RecordingProgress progress;
  ImportServices services{notifier, progress, {}, SceneReaders::Defaults(), {}};
};

// One reader run on a file: its result, its log lines (the file's path in
// them written '@') and its scene.
struct ReadResult {
  bool ok = false;
  std::string path;
  std::vector<std::string> log;
  std::unique_ptr<Importer> importer;
  std::vector<RecordedFace> faces;

  scene::Separator& root() { return importer->root(); }
  // The nodes of a type among the root's children (not below).
  template <class T>
  std::vector<T*> Children() {
    std::vector<T*> out;
    for (auto& c : root().children) {
      if (auto* t = dynamic_cast<T*>(c.get())) out.push_back(t);
    }
    return out;
  }
  // The log without its "Reading ..% Complete" status lines.
  std::vector<std::string> Errors() const {
    std::vector<std::string> out;
    for (const auto& l : log) {
      if (l.rfind("Reading ", 0) != 0) out.push_back(l);
    }
    return out;
  }
};

using ReaderFunction = bool (*)(Importer&, const std::string&);

// Writes `text` to a file named `name` (in `in`, or a folder of its own),
// runs the reader on it and walks the scene it built. A null `text` writes
// no file at all.
inline ReadResult RunReader(ReaderFunction reader, const std::string& name, std::string_view text,
                            const TempDir* in = nullptr) {
  TempDir own;
  const TempDir& dir = in ? *in : own;
  ReadResult r;
  r.path = dir.File(name);
  if (text.data()) WriteFileText(r.path, text);
  {
    ImportNotifier notifier(dir.File("log.txt"));
    r.importer = std::make_unique<Importer>(notifier);
    r.ok = reader(*r.importer, r.path);
    r.faces = WalkFaces(r.importer->root());
  }
  std::istringstream log(ReadFileText(dir.File("log.txt")));
  for (std::string line; std::getline(log, line);) {
    const auto at = line.find(r.path);
    r.log.push_back(at == std::string::npos ? line : line.replace(at, r.path.size(), "@"));
  }
  return r;
}

}  // namespace ws::test
