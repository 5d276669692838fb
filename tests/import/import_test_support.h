// Helpers shared by the import tests: an action that records the faces of
// a scene walk, a progress dialog that records what it is told, and a
// model with an import context around it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "import/import_commands.h"
#include "import/import_notifier.h"
#include "import/import_scene.h"
#include "import/scene_walk.h"
#include "model/cluster.h"
#include "support/model_fixture.h"

namespace ws::test {

struct RecordedFace {
  int number = 0;
  std::vector<Vec3> corners;
  std::vector<Vec3> normals;
  MaterialValue material;
};

class RecordingAction : public scene::SceneAction {
 public:
  void AddFace(int number, std::span<const Vec3> corners, std::span<const Vec3> normals,
               const MaterialValue& material) override {
    faces.push_back({number, {corners.begin(), corners.end()}, {normals.begin(), normals.end()},
                     material});
  }
  bool WantsGroups() const override { return true; }
  void BeginGroup(std::string_view name) override { groups.emplace_back(name); }
  void EndShape() override { ++shapes; }
  std::vector<RecordedFace> faces;
  std::vector<std::string> groups;
  int shapes = 0;
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
  std::string Log() { return ReadFileText(LogPathFor(m().paths)); }
  std::uint32_t userPoints() { return tables().pointCount - kReservedPoints; }
  std::uint32_t userVectors() { return tables().vectorCount - kReservedVectors; }

  RecordingObserver observer;
  ImportNotifier notifier{LogPathFor(m().paths)};
  RecordingProgress progress;
  ImportServices services{notifier, progress, {}, SceneReaders::Defaults(), {}};
};

}  // namespace ws::test
