#include "import/import_commands.h"

#include "import/import_3dmf.h"
#include "model/cluster.h"
#include "model/object_text.h"

namespace ws {
namespace {

// Insert and Merge put the file state back when they are done.
class FileStateKeeper {
 public:
  FileStateKeeper(Model& model, bool active) : model_(model), active_(active) {
    const ClusterState& c = model.cluster;
    fileState_ = c.fileState;
    clusterPath_ = c.clusterPath;
    objectFilePath_ = c.objectFilePath;
    windowTitle_ = c.windowTitle;
  }
  ~FileStateKeeper() {
    if (!active_) return;
    ClusterState& c = model_.cluster;
    c.fileState = fileState_;
    c.clusterPath = clusterPath_;
    c.objectFilePath = objectFilePath_;
    if (c.windowTitle != windowTitle_) {
      c.windowTitle = windowTitle_;
      model_.observer().WindowTitleChanged();
    }
  }
  FileStateKeeper(const FileStateKeeper&) = delete;
  FileStateKeeper& operator=(const FileStateKeeper&) = delete;

 private:
  Model& model_;
  bool active_;
  FileState fileState_;
  std::string clusterPath_, objectFilePath_, windowTitle_;
};

// Start New Cluster for Open, a new object for Insert, nothing for Merge.
bool PrepareTarget(Model& model, OpenMode mode) {
  switch (mode) {
    case OpenMode::kOpen:
      return StartNewCluster(model);
    case OpenMode::kInsert:
      return NewObject(model, kInsertedObjectName);
    case OpenMode::kMerge:
      return true;
  }
  return false;
}

}  // namespace

OpenOutcome OpenFile(Model& model, ImportServices& services, const std::string& path,
                     OpenMode mode) {
  const Dispatched d = FirstDispatch(path);
  FileStateKeeper keeper(model, mode != OpenMode::kOpen);
  OpenOutcome out;
  switch (d.kind) {
    case FileKind::kCluster:
      out.kind = "cluster";
      out.ok = LoadCluster(model, d.path);
      break;
    case FileKind::kObjectText:
      out.kind = "object";
      out.ok = PrepareTarget(model, mode) && LoadObjectText(model, d.path);
      break;
    case FileKind::kMetafile:
      out.kind = "import";
      if (!services.metafileReader) {
        model.ui().ShowNote(NoReaderYetMessage(d.path));
        break;
      }
      // Metafile polygons are always flipped at the end, as X and 3D
      // Studio ones are.
      out.ok = services.metafileReader(model, services, d.path, true,
                                       [&] { return PrepareTarget(model, mode); });
      break;
    case FileKind::kScene:
      out.kind = "import";
      out.ok =
          ImportScene(model, services, d.path, d.flip, [&] { return PrepareTarget(model, mode); });
      break;
  }
  return out;
}

namespace {

bool AskAndOpen(Model& model, ImportServices& services, OpenMode mode) {
  const std::optional<std::string> path = model.ui().AskOpenPath(
      kOpenDialogTitle, mode == OpenMode::kOpen ? OpenDialogFilters() : InsertDialogFilters());
  if (!path) return false;
  return OpenFile(model, services, *path, mode).ok;
}

}  // namespace

bool OpenCommand(Model& model, ImportServices& services) {
  return AskAndOpen(model, services, OpenMode::kOpen);
}
bool InsertCommand(Model& model, ImportServices& services) {
  return AskAndOpen(model, services, OpenMode::kInsert);
}
bool MergeCommand(Model& model, ImportServices& services) {
  return AskAndOpen(model, services, OpenMode::kMerge);
}

OpenOutcome OpenFileAs(Model& model, const std::string& path, OpenMode mode) {
  ImportNotifier notifier(LogPathFor(model.paths));
  ImportProgress progress;
  ImportServices services{notifier, progress, {}, SceneReaders::Defaults(), Import3dmf};
  return OpenFile(model, services, path, mode);
}

}  // namespace ws
