#include "cli/cli.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/edit_command.h"
#include "cli/help_text.h"
#include "cli/render_command.h"
#include "cli/walk_command.h"
#include "geometry/object_check.h"
#include "import/import_commands.h"
#include "import/object_exporters.h"
#include "model/cluster.h"
#include "model/color_ops.h"
#include "model/model.h"
#include "model/object_text.h"
#include "model/startup.h"
#include "platform/scripted_ui.h"
#include "resource/file_io.h"

namespace ws::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A private base directory holding a copy of the Preferences file and the
// CLI's own working file, removed when the run ends, so the editor's files
// are never touched.
class PrivateBase {
 public:
  PrivateBase() {
    std::string tmpl = (fs::temp_directory_path() / "wirestead-cli-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data())) path_ = buf.data();
  }
  ~PrivateBase() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The default Preferences file, looked up from the running program's folder.
std::optional<std::string> FindDefaultPreferences() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  const std::string dir = FindDefaultsDirectory(exe.parent_path().string());
  if (dir.empty()) return std::nullopt;
  return (fs::path(dir) / "Preferences").string();
}

struct Session {
  explicit Session(std::ostream& err) : ui(&err), rt(ui), model(rt) {}
  ScriptedUi ui;
  Runtime rt;
  Model model;
  PrivateBase base;
  std::string kind;  // "object", "cluster" or "import"
};

// Sets up the private base directory and the empty first object, as the
// editor does after start-up.
bool StartSession(Session& s, const std::optional<std::string>& prefsOption, std::ostream& err) {
  if (s.base.path().empty()) {
    err << "wirestead-cli: can't create a temporary directory\n";
    return false;
  }
  std::optional<std::string> prefs = prefsOption ? prefsOption : FindDefaultPreferences();
  if (!prefs || !FileExists(*prefs)) {
    err << "wirestead-cli: can't find the Preferences file"
        << (prefsOption ? " " + *prefsOption : std::string()) << "; name one with --prefs PATH\n";
    return false;
  }
  s.model.paths = Paths::FromBase(s.base.path());
  if (!CopyPrivatePreferences(*prefs, s.model.paths.preferences, err)) return false;
  // The editor's own start-up, rooted in the private directory.
  StartupInputs inputs;
  inputs.rootFromEnvironment = s.base.path();
  return RunStartup(s.model, inputs) == StartupOutcome::kContinue;
}

// Opens a file as the editor's Open command does.
bool OpenFile(Session& s, const std::string& path, std::ostream& err) {
  if (!FileExists(path)) {
    err << "wirestead-cli: no such file: " << path << "\n";
    return false;
  }
  OpenOutcome outcome = OpenFileAs(s.model, path, OpenMode::kOpen);
  s.kind = outcome.kind;
  return outcome.ok;
}

json BoundingBox(const ObjectTables& t) {
  if (t.pointCount <= kReservedPoints) return nullptr;
  double lo[3], hi[3];
  for (int k = 0; k < 3; ++k) {
    lo[k] = std::numeric_limits<double>::infinity();
    hi[k] = -lo[k];
  }
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    const double c[3] = {t.points[i].x, t.points[i].y, t.points[i].z};
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], c[k]);
      hi[k] = std::max(hi[k], c[k]);
    }
  }
  return json::array({lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]});
}

json InfoObject(const ObjectTables& t, const std::string& name) {
  return {{"name", name},
          {"points", t.pointCount - kReservedPoints},
          {"vectors", t.vectorCount - kReservedVectors},
          {"polygons", t.polygonCount},
          {"bbox", BoundingBox(t)}};
}

json DumpObject(const ObjectTables& t, const std::string& name) {
  json points = json::array();
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    points.push_back({t.points[i].x, t.points[i].y, t.points[i].z});
  }
  json vectors = json::array();
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    const Vector& v = t.vectors[i];
    vectors.push_back({{"p1", static_cast<std::int64_t>(v.p1) - kReservedPoints},
                       {"p2", static_cast<std::int64_t>(v.p2) - kReservedPoints},
                       {"color", v.color},
                       {"attribute", v.attribute},
                       {"width", v.width},
                       {"selected", v.selected}});
  }
  json polygons = json::array();
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& p = t.polygons[k];
    json pts = json::array(), vecs = json::array(), zones = json::array();
    for (std::uint32_t c = 0; c < p.pointCount && c < kMaxPolygonPoints; ++c) {
      pts.push_back(static_cast<std::int64_t>(p.points[c]) - kReservedPoints);
    }
    for (std::uint32_t c = 0; c < p.vectorCount && c < kMaxPolygonVectors; ++c) {
      vecs.push_back(static_cast<std::int64_t>(p.vectors[c]) - kReservedVectors);
    }
    for (std::uint32_t c = 0; c < p.viewZoneCount && c < kMaxViewZones; ++c) {
      zones.push_back(p.viewZones[c]);
    }
    polygons.push_back({{"flags", p.flags},
                        {"frontColor", p.frontColor},
                        {"backColor", p.backColor},
                        {"frontFill", p.frontFill},
                        {"backFill", p.backFill},
                        {"selected", t.polygonSelected[k]},
                        {"points", pts},
                        {"vectors", vecs},
                        {"viewZones", zones}});
  }
  return {{"name", name}, {"points", points}, {"vectors", vectors}, {"polygons", polygons}};
}

// Calls `visit` with the tables and name of every object of the open file,
// in list order, making each current in turn; the first is current after.
template <typename Visit>
bool ForEachObject(Session& s, Visit visit) {
  Model& m = s.model;
  const std::size_t count = m.cluster.objectNames.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (m.cluster.current != i && !SelectObject(m, static_cast<std::uint32_t>(i))) return false;
    visit(m.tables, m.cluster.objectNames[i]);
  }
  return count == 0 || m.cluster.current == 0 || SelectObject(m, 0);
}

int RunInfo(Session& s, const std::string& file, std::ostream& out) {
  json objects = json::array();
  if (!ForEachObject(s, [&](const ObjectTables& t, const std::string& name) {
        objects.push_back(InfoObject(t, name));
      })) {
    return 1;
  }
  out << json{{"file", file}, {"kind", s.kind}, {"objects", objects}}.dump(2) << "\n";
  return 0;
}

int RunDump(Session& s, const std::string& file, std::ostream& out) {
  json colors = json::array();
  for (std::size_t i = 0; i < kColorCount; ++i) {
    const RGB16& c = s.model.colors.current[i];
    colors.push_back({c.red, c.green, c.blue});
  }
  json objects = json::array();
  if (!ForEachObject(s, [&](const ObjectTables& t, const std::string& name) {
        objects.push_back(DumpObject(t, name));
      })) {
    return 1;
  }
  out << json{{"file", file}, {"colors", colors}, {"objects", objects}}.dump() << "\n";
  return 0;
}

// Check Object on every object; exit 3 when anything is found.
int RunCheck(Session& s, const std::string& file, std::ostream& out) {
  json objects = json::array();
  bool found = false;
  if (!ForEachObject(s, [&](const ObjectTables& t, const std::string& name) {
        json findings = json::array();
        for (const CheckFinding& f : CheckObject(t)) {
          findings.push_back({{"kind", std::string(CheckKindName(f.kind))},
                              {"message", f.message},
                              {"polygons", f.polygons},
                              {"vectors", f.vectors},
                              {"points", f.points}});
        }
        found = found || !findings.empty();
        objects.push_back({{"name", name}, {"findings", findings}});
      })) {
    return 1;
  }
  out << json{{"file", file}, {"objects", objects}}.dump(2) << "\n";
  return found ? kExitFindings : 0;
}

std::string FileStem(const std::string& path) { return fs::path(path).stem().string(); }

// A cluster saved at `target`: an object file becomes a one-object cluster
// named after the file.
int ConvertToCluster(Session& s, const std::string& input, const std::string& target) {
  Model& m = s.model;
  if (s.kind == "object" && !RenameObjectTo(m, FileStem(input))) return 1;
  m.cluster.clusterPath = target;
  m.cluster.fileState = FileState::kCluster;
  return SaveCluster(m) && FileExists(target) ? 0 : 1;
}

// One .wdo per object, named after the object, in an existing directory.
int ConvertToObjectDirectory(Session& s, const std::string& directory) {
  Model& m = s.model;
  bool ok = true;
  ForEachObject(s, [&](const ObjectTables&, const std::string& name) {
    std::string file = name;
    for (char& c : file) {
      if (c == '/') c = '_';
    }
    ok = WriteObjectText(m, (fs::path(directory) / (file + ".wdo")).string()) && ok;
  });
  return ok ? 0 : 1;
}

int RunConvert(Session& s, const std::string& input, const std::string& target, std::ostream& err) {
  std::string lower = target;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::error_code ec;
  if (fs::is_directory(target, ec)) return ConvertToObjectDirectory(s, target);
  if (lower.ends_with(".wdo")) {
    // The current object: the first of a cluster.
    return WriteObjectText(s.model, target) ? 0 : 1;
  }
  if (lower.ends_with(".wdc")) return ConvertToCluster(s, input, target);
  // The current object, at the editor's scale (walk mode is never on here).
  const ObjectExporters exporters = StandardObjectExporters(false);
  const std::size_t dot = target.find_last_of('.');
  if (const ObjectExporter* exporter =
          dot == std::string::npos ? nullptr : FindExporter(exporters, target.substr(dot + 1))) {
    if (exporter->write(s.model, target)) return 0;
    err << "wirestead-cli: Could Not Export \"" << target << "\"\n";
    return 1;
  }
  err << "wirestead-cli: can't write " << target
      << ": the output must end in .wdo, .wdc, .x, .gltf, .glb or .obj, or be a directory\n";
  return 1;
}

}  // namespace

bool CopyPrivatePreferences(const std::string& from, const std::string& to, std::ostream& err) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  // The copy takes the original's mode; a read-only original (an installed
  // file, say) would leave a copy the resource library cannot open for
  // writing.
  if (!ec) {
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  }
  if (ec) {
    err << "wirestead-cli: can't copy the Preferences file: " << ec.message() << "\n";
    return false;
  }
  return true;
}

int RunCli(const std::vector<std::string>& argsIn, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args;
  std::optional<std::string> prefs;
  for (std::size_t i = 0; i < argsIn.size(); ++i) {
    if (argsIn[i] == "--prefs") {
      if (i + 1 >= argsIn.size()) {
        err << UsageText();
        return 1;
      }
      prefs = argsIn[++i];
    } else {
      args.push_back(argsIn[i]);
    }
  }
  // --man writes the manual page the build installs; it stays out of the
  // help text, being of no use to a user.
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "--man")) {
    out << (args[0] == "--help" ? HelpText() : ManPage());
    return 0;
  }
  if (args.empty()) {
    err << UsageText();
    return 1;
  }
  const std::string& command = args[0];
  if (command == "render") {
    const std::optional<RenderOptions> options = ParseRenderArgs(args, err);
    if (!options) return 1;
    auto session = std::make_unique<Session>(err);
    if (!StartSession(*session, prefs, err) || !OpenFile(*session, options->input, err)) return 1;
    return RunRender(session->model, *options, err);
  }
  if (command == "walk") {
    const std::optional<WalkOptions> options = ParseWalkArgs(args, err);
    if (!options) return 1;
    auto session = std::make_unique<Session>(err);
    if (!StartSession(*session, prefs, err) || !OpenFile(*session, options->input, err)) return 1;
    return RunWalk(session->model, *options, out, err);
  }
  if (command == "edit") {
    if (args.size() < 4) {
      err << UsageText();
      return 1;
    }
    auto session = std::make_unique<Session>(err);
    if (!StartSession(*session, prefs, err) || !OpenFile(*session, args[1], err)) return 1;
    GeometryContext ctx{session->model};
    for (std::size_t i = 3; i < args.size(); ++i) {
      if (!ApplyEditCommand(ctx, args[i], err)) return 1;
    }
    return RunConvert(*session, args[1], args[2], err);
  }
  const bool oneFile = command == "info" || command == "dump" || command == "check";
  std::size_t wanted = command == "convert" ? 3 : oneFile ? 2 : 0;
  if (wanted == 0 || args.size() != wanted) {
    err << UsageText();
    return 1;
  }

  auto session = std::make_unique<Session>(err);
  if (!StartSession(*session, prefs, err)) return 1;
  if (!OpenFile(*session, args[1], err)) return 1;
  if (command == "info") return RunInfo(*session, args[1], out);
  if (command == "dump") return RunDump(*session, args[1], out);
  if (command == "check") return RunCheck(*session, args[1], out);
  return RunConvert(*session, args[1], args[2], err);
}

}  // namespace ws::cli
