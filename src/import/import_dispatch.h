// Which reader a file goes to: the two dispatches by file name, the open
// dialogs' filters, and the table of scene readers.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/importer.h"
#include "platform/ui.h"

namespace ws {

// --- First dispatch (Open, Insert, Merge), on the exact bytes of the path.
enum class FileKind { kMetafile, kCluster, kObjectText, kScene };

struct Dispatched {
  FileKind kind = FileKind::kScene;
  std::string path;   // ".3dm" gets its "f": the file read is ".3dmf"
  bool flip = false;  // faces of ".x" and ".3ds" files are reversed after the import
};

// n >= 6 and ".3dmf" or ".3dm" (then "f" appended), or n >= 5 and one of
// the eight spellings of ".b3d"/".t3d": 3DMF; n >= 5 and ".wdc": cluster;
// n >= 5 and ".wdo": object text; anything else: scene import, with the
// flip set for n >= 5 and ".x" or ".3ds".
Dispatched FirstDispatch(std::string_view path);

// --- Second dispatch (inside ImportScene), on the last characters of the
// path in either case, tested in this order.
enum class SceneFormat { kVrml, kDirectX, kRaw, kTrueSpace, kObj, kDxf, kNff, k3ds, kGltf, kNone };
inline constexpr std::size_t kSceneFormatCount = 9;

SceneFormat SecondDispatch(std::string_view path);
std::string_view SceneFormatName(SceneFormat format);

// A scene reader: true when it read the file (the VRML and DirectX readers
// return their "0 is success" as true; the others always count as
// successful).
using SceneReader = std::function<bool(Importer& importer, const std::string& path)>;

// The readers by format. The RAW, OBJ and NFF readers are built in; each
// later reader joins with Set; a format without a reader is reported to the
// user as one that cannot be read yet.
class SceneReaders {
 public:
  static SceneReaders Defaults();
  void Set(SceneFormat format, SceneReader reader);
  // Empty when the format has no reader (kNone never has).
  const SceneReader& For(SceneFormat format) const;

 private:
  std::array<SceneReader, kSceneFormatCount> readers_;
  SceneReader none_;
};

// --- The open dialogs.
inline constexpr std::string_view kOpenDialogTitle = "Select directory..";
// Dialog A (Open) and dialog B (Insert, Merge), filters in order.
std::vector<FileFilter> OpenDialogFilters();
std::vector<FileFilter> InsertDialogFilters();

}  // namespace ws
