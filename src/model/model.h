// The model aggregate: the current object's tables, the colour state, the
// cluster bookkeeping and the paths of the files beside the program, with
// the resource-file library they are kept in. One instance per editor (or
// per CLI run, or per test); nothing here is global.
//
// Layers above the model (views, main window) learn about changes through
// ModelObserver; its default implementation ignores everything, so the core
// runs headless.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/color_table.h"
#include "model/glyph_store.h"
#include "model/object_resources.h"
#include "model/object_tables.h"
#include "model/preferences.h"
#include "model/undo.h"
#include "model/view_plot_state.h"
#include "resource/resource_file.h"
#include "resource/runtime.h"

namespace ws {

// Which kind of file the current work came from: shared by the object text
// file and the cluster commands.
enum class FileState : int { kNone = 0, kCluster = 1, kObject = 2 };

// Files beside the program. `base` ends with a separator.
struct Paths {
  std::string base;
  std::string preferences;  // base + "Preferences"
  std::string working;      // base + "temp"
  std::string backup;       // base + "backup"

  static Paths FromBase(std::string base);
};

struct ClusterState {
  std::vector<std::string> objectNames;  // the object list; index = resource id
  std::uint32_t current = 0;             // index of the current object
  std::string clusterPath;
  std::string objectFilePath;
  FileState fileState = FileState::kNone;
  std::string windowTitle;
};

inline constexpr std::size_t kSoundCount = 8;  // 'PLAY' 0 to 7

class ModelObserver {
 public:
  virtual ~ModelObserver() = default;
  // The current colour table changed: rebuild the surface palette and the
  // polygon-fill buffer.
  virtual void ColorTableChanged() {}
  // The object was replaced: reset the views and clear every selection.
  virtual void ObjectReplaced() {}
  // The one-line help text of the main window.
  virtual void SetHelpLine(std::string_view text) {}
  virtual void ObjectListChanged() {}
  virtual void WindowTitleChanged() {}
};

class Model {
 public:
  explicit Model(Runtime& rt);

  Runtime& rt;
  ResourceFile resources;
  ObjectTables tables;
  ColorState colors;
  ClusterState cluster;
  Paths paths;
  // Carried with the current object from load to store; no command changes
  // them: the 'ANIM' slots and the 'PINF' object word.
  AnimationSlots animation;
  std::uint32_t objectWord = 0;
  Preferences preferences;
  // The sounds 'PLAY' 0 to 7 of the Preferences file; empty when missing.
  std::array<std::vector<std::uint8_t>, kSoundCount> sounds;
  GlyphStore glyphs;
  // The view and plot state that undo snapshots carry with the tables (the
  // editor keeps the rest of its view state beside them), and the undo
  // history, one stack per object of the cluster.
  ViewState view;
  PlotState plot;
  UndoHistory undo;

  // Snapshot of the current object before a geometry command, labelled with
  // its menu text ("Undo Plot\tCtrl+Z"); and the Undo command itself.
  bool PushUndo(std::string_view label) { return undo.PushUndo(label, {tables, view, plot}); }
  bool PopUndo() { return undo.PopUndo({tables, view, plot}); }

  void SetObserver(ModelObserver* observer) { observer_ = observer ? observer : &nullObserver_; }
  ModelObserver& observer() { return *observer_; }

  Ui& ui() { return rt.ui; }

 private:
  ModelObserver nullObserver_;
  ModelObserver* observer_ = &nullObserver_;
};

}  // namespace ws
