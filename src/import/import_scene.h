// The scene import: one file read through its format reader, walked into
// the collector and converted into the current object.
//
// The file is read and its faces collected before the object is touched:
// when the colour table is missing, the file cannot be read or holds
// nothing to import, the user is told and nothing changes (the callers use
// this to start a new cluster or object only for a file that imports).
// Messages (all "Notification"):
//   "Can't find clut in preferences file."
//   "Could not import \"<path>\""                 reader failed, or unknown ending
//   kMsgNoReaderYet with the path                 a format whose reader is not built yet
//   kMsgNothingToImport with the path             the file holds no faces; the
//                                                 reader's reason on a line below
//   the drop report                               limits reached, faces past the
//                                                 collection cap or left out by
//                                                 the reader
// The help line shows "Loading Polygon %ld" every 50th face, and
// "*** Aborting ***" when Escape stops the collection (what was collected
// is converted). Imports never touch the undo stack.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "import/import_dispatch.h"
#include "import/import_notifier.h"
#include "import/mesh_builder.h"
#include "import/scene_walk.h"
#include "model/model.h"

namespace ws {

inline constexpr std::size_t kMaxImportFaces = 10000;
inline constexpr std::string_view kMsgNoReaderYet =
    "Wirestead can't read this kind of file yet: \"";
inline constexpr std::string_view kMsgNothingToImport =
    "There is nothing Wirestead can import in \"";
inline constexpr std::string_view kHelpAborting = "*** Aborting ***";

// Reads a 3DMF file into the current object (the metafile reader, when
// it exists); `flip` and `prepare` as for ImportScene (`prepare` runs before
// the first geometry is written). True on success.
struct ImportServices;
using MetafileReader =
    std::function<bool(Model& model, ImportServices& services, const std::string& path, bool flip,
                       const std::function<bool()>& prepare)>;

// What the front end gives every import. The editor keeps one for its whole
// run (the notifier's log lives as long); the command-line tool makes its
// own with a no-op ImportProgress.
struct ImportServices {
  ImportNotifier& notifier;
  ImportProgress& progress;
  // Polled before each collected face: true when Escape was pressed.
  std::function<bool()> escapePressed;
  SceneReaders readers = SceneReaders::Defaults();
  // Import3dmf in the editor and the command-line tool; when empty, 3DMF
  // files are refused with kMsgNoReaderYet.
  MetafileReader metafileReader;
};

// "Could not import \"<path>\"" and the other path messages above.
std::string CouldNotImportMessage(std::string_view path);
std::string NoReaderYetMessage(std::string_view path);
std::string NothingToImportMessage(std::string_view path);

// Step 3 of ImportScene on its own: walks `root` into `collector` (at most
// kMaxImportFaces faces, the rest counted), polling `escapePressed` before
// each face and showing the help lines through `observer`; progress lines
// go to `report`.
struct Collected {
  bool aborted = false;       // Escape stopped it
  std::size_t beyondCap = 0;  // faces past kMaxImportFaces, left out
};
Collected CollectScene(scene::GroupNode& root, ImportCollector& collector,
                       const std::function<bool()>& escapePressed, ModelObserver& observer,
                       const scene::LineReport& report);
// "N faces beyond the 10,000 that an object can take were left out".
std::string BeyondCapNote(std::size_t faces);

// ImportScene into the current object; `flip` reverses every polygon it
// creates. `prepare`, when given, runs after the file has been read and
// found to hold something, before the conversion (Start New Cluster for
// Open, NewObject for Insert); returning false ends the import there.
// True when the file was converted.
bool ImportScene(Model& model, ImportServices& services, const std::string& path, bool flip,
                 const std::function<bool()>& prepare = {});

}  // namespace ws
