#include "model/cluster.h"

#include <unistd.h>

#include <cstdio>
#include <functional>

#include "model/color_ops.h"
#include "model/object_text.h"
#include "resource/file_io.h"

namespace ws {
namespace {

constexpr ResType kObjectTypes[] = {kResAnim, kResPinf, kResPnts, kResTvct, kResFace};
constexpr std::string_view kClusterExtension = ".wdc";

// What happened to the object list, for the state kept per object (the
// undo history follows the objects it belongs to).
enum class ListEvent { kCleared, kObjectDeleted, kCurrentChanged };

void Notify(Model& model, ListEvent event, std::uint32_t index) {
  switch (event) {
    case ListEvent::kCleared:
      model.undo.Clear();
      break;
    case ListEvent::kObjectDeleted:
      model.undo.DropObject(index);
      break;
    case ListEvent::kCurrentChanged:
      model.undo.SelectObject(index);
      break;
  }
}

void SetCurrent(Model& model, std::uint32_t index) {
  model.cluster.current = index;
  Notify(model, ListEvent::kCurrentChanged, index);
}

void SetWindowTitle(Model& model, std::string title) {
  model.cluster.windowTitle = std::move(title);
  model.observer().WindowTitleChanged();
}

std::string CurrentName(const Model& model) {
  const ClusterState& c = model.cluster;
  return c.current < c.objectNames.size() ? c.objectNames[c.current] : std::string();
}

// Shows why an object could not be read.
void ReportUnreadable(Model& model, std::uint32_t index, std::string_view name,
                      const ObjectReadResult& read) {
  if (read.status == ObjectReadStatus::kMissingPinf) {
    model.ui().ShowError(kMsgNoPinf);
  } else {
    model.ui().ShowError(DamagedObjectMessage(index, name, read.problem));
  }
}

// Removes a file when it goes out of scope unless told to keep it.
class FileRemover {
 public:
  explicit FileRemover(std::string path) : path_(std::move(path)) {}
  ~FileRemover() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  FileRemover(const FileRemover&) = delete;
  FileRemover& operator=(const FileRemover&) = delete;
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

// Copies `source` to `target` through a temporary file beside the target.
// Returns the copy routine's message on failure, an empty text on success.
std::string_view CopyFileSafely(const std::string& source, const std::string& target) {
  auto bytes = ReadWholeFile(source);
  if (!bytes) return kMsgErrorReading;
  std::string_view view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  if (!WriteFileAtomically(target, view)) return kMsgErrorWriting;
  return {};
}

// Copies `source` to a scratch file that is checked and then renamed, or
// removed; it needs no temporary of its own.
std::string_view CopyToScratch(const std::string& source, const std::string& target) {
  auto bytes = ReadWholeFile(source);
  if (!bytes) return kMsgErrorReading;
  FileHandle out = CreateFileTruncated(target);
  if (!out || !WriteBytes(out, bytes->data(), bytes->size())) return kMsgErrorWriting;
  return {};
}

// An object name as a file name: no directory separators or NULs, so a name
// can never lead the file out of the chosen directory.
std::string FileNameFor(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c == '/' || c == '\0') c = '_';
  }
  return out;
}

// Every change to the working file goes into a copy of it that then
// replaces it in one rename. Changing it in place moves data inside the file
// before the directory that describes it is written, so a crash or a full
// disk in the middle (an autosave, say) would leave a working file that no
// longer reads, and that file is what the next start restores. A change
// that returns false leaves the working file as it was; the failures of the
// copy itself are reported here.
bool ChangeThroughCopy(Model& model, const std::function<bool(OpenResource& file)>& change) {
  WaitScope wait(model.rt);
  const std::string copy = model.paths.working + kStoreCopySuffix;
  // Opened first so that a missing or damaged working file is reported as
  // the library reports it.
  const bool readable = static_cast<bool>(OpenResource(model.resources, model.paths.working));
  const std::optional<std::vector<std::uint8_t>> bytes =
      readable ? ReadWholeFile(model.paths.working) : std::nullopt;
  if (!bytes) {
    wait.End();
    model.ui().ShowError(kMsgCantOpenWorking);
    return false;
  }
  // Flushed once, by ReplaceFileWith, when the change is complete.
  FileHandle out = CreateFileTruncated(copy);
  const bool copied = out && WriteBytes(out, bytes->data(), bytes->size());
  CloseFile(out);
  if (!copied) {
    std::remove(copy.c_str());
    wait.End();
    model.ui().ShowError(kMsgErrorWriting);
    return false;
  }
  bool changed = false;
  {
    OpenResource file(model.resources, copy);
    if (!file) {
      std::remove(copy.c_str());
      wait.End();
      model.ui().ShowError(kMsgCantOpenWorking);
      return false;
    }
    changed = change(file);
    // The directory reaches the disk only here; the library says why not.
    changed = file.Close() == 0 && changed;
  }
  if (changed && !ReplaceFileWith(model.paths.working, copy)) {
    wait.End();
    model.ui().ShowError(kMsgErrorWriting);
    changed = false;
  }
  if (!changed) std::remove(copy.c_str());
  return changed;
}

}  // namespace

std::string DamagedObjectMessage(std::uint32_t index, std::string_view name,
                                 std::string_view problem) {
  return "Shape corrupt. Object " + std::to_string(index) + " \"" + std::string(name) +
         "\": " + std::string(problem) + ".";
}

bool StoreObject(Model& model, std::uint32_t index, std::string_view name) {
  StoreStatus status = StoreStatus::kOk;
  const bool stored = ChangeThroughCopy(model, [&](OpenResource& file) {
    status = StoreObjectResources(model.resources, file.ref(), index, name, model.tables,
                                  model.animation, model.objectWord);
    return status == StoreStatus::kOk;
  });
  switch (status) {
    case StoreStatus::kOk:
      return stored;
    case StoreStatus::kFileFull:
      model.ui().ShowNote(kMsgClusterFull);
      return false;
    case StoreStatus::kNameTooLong:
      model.ui().ShowNote(kMsgNameTooLong);
      return false;
    case StoreStatus::kWriteFailed:
      return false;
  }
  return false;
}

bool LoadObject(Model& model, std::uint32_t index) {
  WaitScope wait(model.rt);
  EditorObject object;
  ObjectReadResult read;
  {
    OpenResource file(model.resources, model.paths.working);
    if (!file) {
      wait.End();
      model.ui().ShowError(kMsgCantOpenWorking);
      return false;
    }
    read = ReadEditorObject(model.resources, file.ref(), index, model.tables, object);
  }
  if (!read.ok()) {
    wait.End();
    std::string name =
        index < model.cluster.objectNames.size() ? model.cluster.objectNames[index] : object.name;
    ReportUnreadable(model, index, name, read);
    return false;
  }
  InstallEditorObject(object, model.tables, model.animation, model.objectWord);
  model.observer().ObjectReplaced();
  return true;
}

bool LoadCluster(Model& model, const std::string& path) {
  WaitScope wait(model.rt);
  model.observer().SetHelpLine(kHelpLoadingCluster);

  // The file is copied beside the working file and checked there, so that
  // a damaged cluster never replaces the one being edited.
  const std::string incoming = model.paths.working + ".incoming";
  FileRemover removeIncoming(incoming);
  if (std::string_view error = CopyToScratch(path, incoming); !error.empty()) {
    wait.End();
    model.ui().ShowError(error);
    return false;
  }

  std::vector<std::string> names;
  ColorTable colors;
  {
    OpenResource file(model.resources, incoming);
    if (!file) {
      wait.End();
      model.ui().ShowError(kMsgNotACluster);
      return false;
    }
    const std::uint32_t count = model.resources.CountResourcesOfType(file.ref(), kResPinf);
    if (count == 0) {
      wait.End();
      model.ui().ShowError(kMsgNoPinf);
      return false;
    }
    EditorObject object;
    for (std::uint32_t id = 0; id < count; ++id) {
      ObjectReadResult read =
          ReadEditorObject(model.resources, file.ref(), id, model.tables, object);
      if (!read.ok()) {
        wait.End();
        ReportUnreadable(model, id, object.name, read);
        return false;
      }
      names.push_back(object.name);
    }
    std::optional<Resource> clut =
        model.resources.ReadResource(file.ref(), kResClut, kCurrentClutId);
    std::optional<ColorTable> decoded;
    if (clut) decoded = DecodeClut(clut->bytes());
    if (!decoded) {
      wait.End();
      model.ui().ShowNote(kMsgNoClutInCluster);
      return false;
    }
    colors = *decoded;
  }
  if (std::rename(incoming.c_str(), model.paths.working.c_str()) != 0) {
    wait.End();
    model.ui().ShowError(kMsgErrorWriting);
    return false;
  }
  removeIncoming.Keep();

  model.cluster.objectNames = std::move(names);
  model.cluster.current = 0;
  Notify(model, ListEvent::kCleared, 0);
  model.observer().ObjectListChanged();
  WriteClutToFile(model.resources, model.paths.preferences, kCurrentClutId, colors);
  RebuildColorState(model, model.paths.working);
  // Every object was read above; this cannot find anything new to refuse.
  LoadObject(model, 0);
  SetCurrent(model, 0);
  model.cluster.clusterPath = path;
  model.cluster.fileState = FileState::kCluster;
  SetWindowTitle(model, path);
  return true;
}

bool SaveCluster(Model& model) {
  ClusterState& c = model.cluster;
  if (!StoreObject(model, c.current, CurrentName(model))) return false;
  std::string target = c.clusterPath;
  if (target.empty() || c.fileState != FileState::kCluster) {
    SaveDialogOptions dialog;
    dialog.title = std::string(kSaveClusterTitle);
    dialog.filters = {{"Wirestead Cluster", "*.wdc"}};
    std::optional<std::string> chosen = model.ui().AskSavePath(dialog);
    if (!chosen || chosen->empty()) return false;
    target = *chosen;
    if (!(target.size() > kClusterExtension.size() && target.ends_with(kClusterExtension))) {
      target += kClusterExtension;
    }
  }
  WaitScope wait(model.rt);
  if (std::string_view error = CopyFileSafely(model.paths.working, target); !error.empty()) {
    wait.End();
    model.ui().ShowError(error);
    return false;
  }
  c.clusterPath = target;
  c.fileState = FileState::kCluster;
  return true;
}

bool SaveClusterAsObjects(Model& model) {
  ClusterState& c = model.cluster;
  const FileState previousState = c.fileState;
  c.fileState = FileState::kObject;
  SaveDialogOptions dialog;
  dialog.title = std::string(kSaveObjectsTitle);
  dialog.defaultName = std::string(kSaveObjectsDefaultName);
  dialog.filters = {{"Wirestead Objects", "*.wdo"}};
  std::optional<std::string> chosen = model.ui().AskSavePath(dialog);
  if (!chosen) {
    c.fileState = previousState;
    return false;
  }
  const std::size_t slash = chosen->rfind('/');
  const std::string directory =
      slash == std::string::npos ? std::string() : chosen->substr(0, slash + 1);

  const std::uint32_t current = c.current;
  bool ok = StoreObject(model, current, CurrentName(model));
  for (std::uint32_t i = 0; ok && i < c.objectNames.size(); ++i) {
    if (!LoadObject(model, i)) {
      ok = false;
      break;
    }
    const std::string target = directory + FileNameFor(model.tables.name) + ".wdo";
    model.observer().SetHelpLine(target);
    ok = WriteObjectText(model, target);
  }
  c.fileState = previousState;
  LoadObject(model, current);
  return ok;
}

bool CreateWorkingCluster(Model& model) {
  std::optional<ColorTable> colors =
      ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors) {
    model.ui().ShowNote(kMsgNoClutInPrefs);
    model.rt.fatalError = true;
    return false;
  }
  if (model.resources.CreateResFile(model.paths.working) != 0) {
    model.ui().ShowError(kMsgCantCreateWorking);
    model.rt.fatalError = true;
    return false;
  }
  if (!WriteClutToFile(model.resources, model.paths.working, kCurrentClutId, *colors)) {
    model.ui().ShowError(kMsgCantCreateWorking);
    model.rt.fatalError = true;
    return false;
  }
  if (!model.tables.AllocateObjectTables()) return false;  // fatal flag set there
  model.tables.BuildReservedEntries();
  model.tables.ResetObject();
  model.tables.currentPolygon = -1;
  model.animation.Reset();
  model.objectWord = 0;
  model.tables.name = std::string(kDefaultObjectName);
  model.observer().ObjectReplaced();
  model.cluster.objectNames = {std::string(kDefaultObjectName)};
  model.observer().ObjectListChanged();
  Notify(model, ListEvent::kCleared, 0);
  SetCurrent(model, 0);
  return StoreObject(model, 0, kDefaultObjectName);
}

bool StartNewCluster(Model& model) {
  // Without a colour table for the new working file the editor could not
  // go on; refuse before anything is thrown away.
  if (!ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId)) {
    model.ui().ShowNote(kMsgNoClutInPrefs);
    return false;
  }
  ClusterState& c = model.cluster;
  if (model.tables.allocated() && c.current < c.objectNames.size()) {
    StoreObject(model, c.current, CurrentName(model));
  }
  {
    WaitScope wait(model.rt);
    model.observer().SetHelpLine(kHelpPleaseWait);
    c.objectNames.clear();
    model.observer().ObjectListChanged();
    ::unlink(model.paths.working.c_str());
    WritePreferences(model.resources, model.paths.preferences, model.preferences);
    if (!CreateWorkingCluster(model)) return false;
  }
  c.clusterPath.clear();
  c.objectFilePath.clear();
  c.fileState = FileState::kNone;
  SetWindowTitle(model, std::string());
  return true;
}

bool RestoreLastSession(Model& model) {
  if (!OpenFileRead(model.paths.backup)) {
    model.ui().ShowNote(kMsgNoBackup);
    return false;
  }
  if (!LoadCluster(model, model.paths.backup)) return false;
  model.cluster.clusterPath.clear();
  model.cluster.fileState = FileState::kNone;
  return true;
}

bool NewObjectCommand(Model& model) {
  std::optional<std::string> name = model.ui().AskValue(kPromptNewObject, "");
  if (!name || name->empty()) return false;
  return NewObject(model, *name);
}

bool NewObject(Model& model, std::string_view name) {
  if (name.size() > ResourceFile::kMaxNameLength) {
    model.ui().ShowNote(kMsgNameTooLong);
    return false;
  }
  ClusterState& c = model.cluster;
  const std::uint32_t previous = c.current;
  if (!StoreObject(model, previous, CurrentName(model))) return false;
  std::uint32_t n = 0;
  {
    OpenResource file(model.resources, model.paths.working);
    if (!file) {
      model.ui().ShowError(kMsgCantOpenWorking);
      return false;
    }
    n = model.resources.CountResourcesOfType(file.ref(), kResPinf);
  }
  model.tables.ResetObject();
  model.tables.currentPolygon = -1;
  model.animation.Reset();
  model.objectWord = 0;
  model.tables.name = std::string(name);
  if (!StoreObject(model, n, name)) {
    // The list must not name an object the file does not hold.
    LoadObject(model, previous);
    return false;
  }
  c.objectNames.resize(n);
  c.objectNames.emplace_back(name);
  model.observer().ObjectListChanged();
  SetCurrent(model, n);
  return true;
}

bool DeleteObject(Model& model) {
  ClusterState& c = model.cluster;
  const std::uint32_t deleted = c.current;
  ResourceFile& files = model.resources;
  std::uint32_t n = 0;
  const bool removed = ChangeThroughCopy(model, [&](OpenResource& file) {
    n = files.CountResourcesOfType(file.ref(), kResPinf);
    if (deleted >= n) return false;  // the list and the file are out of step
    for (ResType type : kObjectTypes) files.DeleteResource(file.ref(), type, deleted);
    for (std::uint32_t k = deleted + 1; k < n; ++k) {
      for (ResType type : kObjectTypes)
        files.ChangeResourceInfo(file.ref(), type, k, "", type, k - 1);
    }
    return true;
  });
  if (!removed) return false;
  Notify(model, ListEvent::kObjectDeleted, deleted);
  if (n == 1) {
    c.objectNames.clear();
    model.tables.ResetObject();
    model.tables.currentPolygon = -1;
    model.animation.Reset();
    model.objectWord = 0;
    model.tables.name = std::string(kDefaultObjectName);
    c.objectNames.push_back(std::string(kDefaultObjectName));
    model.observer().ObjectListChanged();
    SetCurrent(model, 0);
    StoreObject(model, 0, kDefaultObjectName);
  } else {
    c.objectNames.erase(c.objectNames.begin() + deleted);
    model.observer().ObjectListChanged();
    SetCurrent(model, deleted + 1 == n ? deleted - 1 : deleted);
  }
  return LoadObject(model, c.current);
}

bool RenameObject(Model& model) {
  std::optional<std::string> name = model.ui().AskValue(kPromptRename, CurrentName(model));
  if (!name || name->empty()) return false;
  return RenameObjectTo(model, *name);
}

bool RenameObjectTo(Model& model, std::string_view name) {
  if (name.empty()) return false;
  if (name.size() > ResourceFile::kMaxNameLength) {
    model.ui().ShowNote(kMsgNameTooLong);
    return false;
  }
  ClusterState& c = model.cluster;
  if (c.current >= c.objectNames.size()) return false;
  if (!StoreObject(model, c.current, name)) return false;
  c.objectNames[c.current] = std::string(name);
  model.tables.name = std::string(name);
  model.observer().ObjectListChanged();
  // Resources left from an earlier store (an emptied table) get the name
  // too; an 'ANIM' gets it when it is next stored.
  return ChangeThroughCopy(model, [&](OpenResource& file) {
    for (ResType type : {kResPinf, kResPnts, kResTvct, kResFace}) {
      model.resources.ChangeResourceInfo(file.ref(), type, c.current, name, type, c.current);
    }
    return true;
  });
}

bool SelectObject(Model& model, std::uint32_t index) {
  ClusterState& c = model.cluster;
  if (index >= c.objectNames.size()) return false;
  const std::uint32_t previous = c.current;
  if (!StoreObject(model, previous, CurrentName(model))) return false;
  if (!LoadObject(model, index)) return false;  // the previous object stays current
  SetCurrent(model, index);
  return true;
}

}  // namespace ws
