#include "model/startup.h"

#include <unistd.h>

#include <filesystem>

#include "model/cluster.h"
#include "model/color_ops.h"
#include "resource/file_io.h"

namespace ws {
namespace {

std::string WithSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir.push_back('/');
  return dir;
}

bool MakeDirectories(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

// Whole-file copy through a temporary file beside the target.
bool CopyThroughTemporary(const std::string& source, const std::string& target) {
  auto bytes = ReadWholeFile(source);
  if (!bytes) return false;
  return WriteFileAtomically(
      target, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

StartupOutcome EndProgram(Model& model, std::string_view message) {
  model.ui().ShowError(message);
  model.rt.fatalError = true;
  return StartupOutcome::kEndProgram;
}

}  // namespace

std::optional<std::string> ResolveBaseDirectory(const StartupInputs& inputs) {
  if (inputs.rootFromEnvironment && !inputs.rootFromEnvironment->empty()) {
    return WithSeparator(*inputs.rootFromEnvironment);
  }
  if (inputs.settings) {
    std::optional<std::string> root = inputs.settings->Value(kSettingsRootKey);
    if (root && !root->empty()) return WithSeparator(*root);
  }
  if (inputs.homeDirectory && !inputs.homeDirectory->empty()) {
    return WithSeparator(*inputs.homeDirectory) + ".local/share/wirestead/";
  }
  return std::nullopt;
}

std::string FindDefaultsDirectory(const std::string& programDirectory) {
  if (programDirectory.empty()) return {};
  const std::filesystem::path dir(programDirectory);
  for (const std::filesystem::path& candidate :
       {dir, dir / ".." / "share" / "wirestead", dir / ".." / ".."}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate / "Preferences", ec)) {
      // "bin/../share/wirestead", not the raw path, and "build", not "build/".
      std::filesystem::path normal = candidate.lexically_normal();
      if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
      return normal.string();
    }
  }
  return {};
}

bool ProvidePreferencesFile(Model& model, const std::string& defaultsDirectory) {
  const Paths& paths = model.paths;
  if (!FileExists(paths.preferences)) {
    const std::string defaults = WithSeparator(defaultsDirectory);
    const std::string defaultPrefs = defaults + "Preferences";
    if (!defaultsDirectory.empty() && FileExists(defaultPrefs)) {
      if (!MakeDirectories(paths.base)) {
        EndProgram(model, kMsgCantFindPrefsFile);
        return false;
      }
      if (!CopyThroughTemporary(defaultPrefs, paths.preferences)) {
        model.ui().ShowError(kMsgErrorWriting);
      }
      const std::string defaultGround = defaults + std::string(kGroundTexture);
      const std::string ground = paths.base + std::string(kGroundTexture);
      // The ground texture only decorates the hardware viewer: a failure
      // here is not worth stopping for.
      if (FileExists(defaultGround) && !FileExists(ground) &&
          MakeDirectories(std::filesystem::path(ground).parent_path().string())) {
        CopyThroughTemporary(defaultGround, ground);
      }
    }
  }
  if (!OpenFileRead(paths.preferences)) {
    EndProgram(model, kMsgCantLocatePreferences);
    return false;
  }
  return true;
}

void LoadSounds(Model& model) {
  for (auto& sound : model.sounds) sound.clear();
  OpenResource prefs(model.resources, model.paths.preferences);
  if (!prefs) return;
  for (std::uint32_t id = 0; id < kSoundCount; ++id) {
    if (std::optional<Resource> play = model.resources.ReadResource(prefs.ref(), kResPlay, id)) {
      model.sounds[id].assign(play->bytes().begin(), play->bytes().end());
    }
  }
}

void BackUpLastSession(Model& model) {
  const Paths& paths = model.paths;
  if (!FileExists(paths.working)) return;
  if (!CopyThroughTemporary(paths.working, paths.backup)) model.ui().ShowError(kMsgErrorWriting);
  ::unlink(paths.working.c_str());
}

StartupOutcome RunStartup(Model& model, const StartupInputs& inputs) {
  std::optional<std::string> base = ResolveBaseDirectory(inputs);
  if (!base) return EndProgram(model, kMsgCantFindPrefsFile);
  model.paths = Paths::FromBase(*base);
  if (!ProvidePreferencesFile(model, inputs.defaultsDirectory)) return StartupOutcome::kEndProgram;
  LoadSounds(model);
  BackUpLastSession(model);
  LoadGlyphs(model.resources, model.paths.preferences, model.ui(), model.glyphs);
  model.preferences = ReadPreferences(model.resources, model.paths.preferences);
  if (!CreateWorkingCluster(model)) return StartupOutcome::kEndProgram;
  RebuildColorState(model, model.paths.preferences);
  return StartupOutcome::kContinue;
}

}  // namespace ws
