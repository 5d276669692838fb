#include "import/import_scene.h"

#include <memory>

#include "geometry/faces.h"
#include "import/import_convert.h"
#include "import/mesh_builder.h"
#include "import/scene_walk.h"
#include "model/cluster.h"

namespace ws {
namespace {

// Hands every face of the walk to the collector, watching for Escape and
// the face limit.
class CollectAction : public scene::SceneAction {
 public:
  CollectAction(ImportCollector& collector, const std::function<bool()>& escapePressed,
                ModelObserver& observer)
      : collector_(collector), escapePressed_(escapePressed), observer_(observer) {}

  void AddFace(int, std::span<const Vec3> corners, std::span<const Vec3>,
               const MaterialValue& material) override {
    if (stopped_) return;
    if (escapePressed_ && escapePressed_()) {
      observer_.SetHelpLine(kHelpAborting);
      stopped_ = aborted_ = true;
      return;
    }
    if (faces_ >= kMaxImportFaces) {
      // Walked on only to say in the drop report how many were left out.
      ++beyondCap_;
      return;
    }
    ++faces_;
    if (faces_ % 50 == 0) observer_.SetHelpLine("Loading Polygon " + std::to_string(faces_));
    collector_.BeginFace(&material);
    for (const Vec3& c : corners) collector_.AddVertex(c.x, c.y, c.z);
    collector_.EndFace();
  }
  bool Stopped() const override { return stopped_; }
  bool aborted() const { return aborted_; }
  std::size_t beyondCap() const { return beyondCap_; }

 private:
  ImportCollector& collector_;
  const std::function<bool()>& escapePressed_;
  ModelObserver& observer_;
  std::size_t faces_ = 0;
  std::size_t beyondCap_ = 0;
  bool stopped_ = false;
  bool aborted_ = false;
};

// The progress dialog and its place in the notifier for one import.
class ProgressScope {
 public:
  explicit ProgressScope(ImportServices& s) : s_(s) {
    s_.progress.Open();
    s_.notifier.Attach(&s_.progress);
  }
  ~ProgressScope() { Close(); }
  void Close() {
    if (!open_) return;
    open_ = false;
    s_.notifier.Attach(nullptr);
    s_.progress.Close();
  }

 private:
  ImportServices& s_;
  bool open_ = true;
};

std::string Quoted(std::string_view prefix, std::string_view path) {
  return std::string(prefix) + std::string(path) + "\"";
}

}  // namespace

Collected CollectScene(scene::GroupNode& root, ImportCollector& collector,
                       const std::function<bool()>& escapePressed, ModelObserver& observer,
                       const scene::LineReport& report) {
  CollectAction action(collector, escapePressed, observer);
  scene::WalkScene(root, action, report);
  return {action.aborted(), action.beyondCap()};
}

std::string BeyondCapNote(std::size_t faces) {
  return std::to_string(faces) + " faces beyond the 10,000 that an object can take were left out";
}

std::string CouldNotImportMessage(std::string_view path) {
  return Quoted("Could not import \"", path);
}
std::string NoReaderYetMessage(std::string_view path) { return Quoted(kMsgNoReaderYet, path); }
std::string NothingToImportMessage(std::string_view path) {
  return Quoted(kMsgNothingToImport, path);
}

bool ImportScene(Model& model, ImportServices& services, const std::string& path, bool flip,
                 const std::function<bool()>& prepare) {
  const std::optional<ColorTable> colors =
      ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors) {
    model.ui().ShowNote(kMsgNoClutInPrefs);
    return false;
  }
  WaitScope wait(model.rt);
  ProgressScope progress(services);
  // Every message box below first closes the dialog and restores the arrow.
  auto refuse = [&](const std::string& message) {
    progress.Close();
    wait.End();
    model.ui().ShowNote(message);
    return false;
  };

  services.progress.SetTitle("Scanning VRML File...");
  const SceneFormat format = SecondDispatch(path);
  if (format == SceneFormat::kNone) return refuse(CouldNotImportMessage(path));
  const SceneReader& reader = services.readers.For(format);
  if (!reader) return refuse(NoReaderYetMessage(path));
  Importer importer(services.notifier);
  if (!reader(importer, path)) return refuse(CouldNotImportMessage(path));

  services.progress.SetTitle("Loading Polygons...");
  services.progress.SetPosition(0);
  auto collector = std::make_unique<ImportCollector>();
  const Collected collected =
      CollectScene(importer.root(), *collector, services.escapePressed, model.observer(),
                   [&](std::string_view line) { services.notifier.Notify(line); });
  if (collector->points().empty()) {
    if (collected.aborted) return false;
    const std::string& why = importer.emptyReason();
    return refuse(NothingToImportMessage(path) + (why.empty() ? "" : "\n" + why));
  }
  if (prepare && !prepare()) return false;

  services.progress.SetTitle("Importing Objects...");
  services.progress.SetPosition(0);
  ObjectTables& t = model.tables;
  if (!t.allocated()) return false;  // no object to convert into (never so in the editor)
  const std::uint32_t firstPolygon = t.polygonCount;
  std::vector<std::uint32_t> polygonOfFace;
  const auto& after = importer.afterConversion();
  DropReasons reasons =
      ConvertCollected(t, *collector, *colors, services.progress, after ? &polygonOfFace : nullptr);
  if (after) after(t, polygonOfFace, *colors);
  reasons.notes = importer.dropped();
  if (collected.beyondCap > 0) reasons.notes.push_back(BeyondCapNote(collected.beyondCap));
  if (reasons.any()) {
    services.progress.Hide();
    model.ui().ShowNote(DropReport(reasons));
  }
  progress.Close();
  collector.reset();
  if (flip) {
    // Faces of X and 3D Studio files wind the other way round.
    for (std::uint32_t k = firstPolygon; k < t.polygonCount; ++k) FlipFace(t, k);
  }
  return true;
}

}  // namespace ws
