// The Open, Insert and Merge commands of the File menu, and the one
// function that opens any file as they do (the command line and the CLI).
//
// The first dispatch decides by the path (import_dispatch.h):
//   cluster file   LoadCluster in every mode;
//   object text    Open: Start New Cluster, LoadObjectText into "Default
//                  Object"; Insert: NewObject("new object"), LoadObjectText;
//                  Merge: LoadObjectText into the current object;
//   3DMF           the 3DMF reader (always flipping), after Start New
//                  Cluster (Open) or NewObject("new object") (Insert),
//                  which happen only when the file brings geometry;
//   anything else  ImportScene, after Start New Cluster (Open) or
//                  NewObject("new object") (Insert), which happen only once
//                  the file has been read and holds something to import.
// Insert and Merge leave the file state (file state, cluster path, object
// file path, window title) as it was before the command.
#pragma once

#include <string>

#include "import/import_scene.h"
#include "model/model.h"

namespace ws {

enum class OpenMode { kOpen, kInsert, kMerge };

inline constexpr unsigned kOpenCommandId = 57601;    // "&Open...\tCtrl+O"
inline constexpr unsigned kInsertCommandId = 32848;  // "&Insert..."
inline constexpr unsigned kMergeCommandId = 32849;   // "Merge..."

struct OpenOutcome {
  bool ok = false;
  // "object" (object text), "cluster" (cluster file) or "import" (scene
  // import or 3DMF), whatever the outcome.
  std::string kind;
};

// Opens `path` in `mode` without a dialog.
OpenOutcome OpenFile(Model& model, ImportServices& services, const std::string& path,
                     OpenMode mode);

// The commands: their dialog ("Select directory.."; Open with
// OpenDialogFilters, Insert and Merge with InsertDialogFilters), then
// OpenFile. A cancelled dialog does nothing (false).
bool OpenCommand(Model& model, ImportServices& services);
bool InsertCommand(Model& model, ImportServices& services);
bool MergeCommand(Model& model, ImportServices& services);

// OpenFile for the command-line tool: its own notifier, logging to
// import_log.txt in the model's base directory, and no progress dialog.
OpenOutcome OpenFileAs(Model& model, const std::string& path, OpenMode mode);

}  // namespace ws
