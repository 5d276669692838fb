// The start-up steps that concern the files beside the program, as core
// functions the application calls in order (RunStartup does them all):
//
//   1. the base directory: the environment value WIRESTEAD_ROOT when set,
//      else the settings-store value "Root", else the per-user data
//      directory ~/.local/share/wirestead/; none of them: "Can't find Prefs
//      File" and the program ends;
//   2. a base directory without a Preferences file is created if needed and
//      given copies of the default Preferences file and textures/ground.bmp;
//      the Preferences file must then open, else the "can't locate" message
//      and the program ends;
//   3. the sounds 'PLAY' 0 to 7 (a missing one stays empty);
//   4. the working file "temp" of the last run is copied to "backup" and
//      deleted;
//   5. the vector-font glyphs into the glyph store;
//   6. the preferences record 'PREF' 128 (defaults when missing);
//   7. the first working file with "Default Object" (CreateWorkingCluster);
//   8. the colour state from the Preferences file's 'clut' 1000.
//
// The environment is passed in (no getenv here), so tests can set it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/model.h"

namespace ws {

inline constexpr std::string_view kMsgCantFindPrefsFile = "Can't find Prefs File";
inline constexpr std::string_view kMsgCantLocatePreferences =
    "Wirestead can't locate the \"Preferences\" file.\r\rIt must be in the same directory as "
    "Wirestead.";
inline constexpr std::string_view kSettingsRootKey = "Root";
inline constexpr std::string_view kGroundTexture = "textures/ground.bmp";

struct StartupInputs {
  std::optional<std::string> rootFromEnvironment;  // WIRESTEAD_ROOT
  std::optional<std::string> homeDirectory;        // HOME
  const SettingsStore* settings = nullptr;
  // Where the default "Preferences" and "textures/ground.bmp" are installed
  // (FindDefaultsDirectory); empty for none.
  std::string defaultsDirectory;
};

enum class StartupOutcome { kContinue, kEndProgram };

// Step 1; no value when there is none (empty values count as unset). The
// result ends with '/'.
std::optional<std::string> ResolveBaseDirectory(const StartupInputs& inputs);

// Step 2 for the paths already in model.paths: false (message shown) when
// the program must end.
bool ProvidePreferencesFile(Model& model, const std::string& defaultsDirectory);

// Step 3: model.sounds from 'PLAY' 0 to 7 of the Preferences file.
void LoadSounds(Model& model);

// Step 4: copies "temp" to "backup" when it exists, then deletes "temp". A
// missing "temp" leaves "backup" untouched.
void BackUpLastSession(Model& model);

// The folder holding the default Preferences file for a program that runs
// from `programDirectory`, trying in order: the program's own folder (a
// portable copy), the installed data folder ../share/wirestead, and the top
// of the build tree two levels up (build/src/app, build/src/cli). Empty when
// none of them holds a Preferences file.
std::string FindDefaultsDirectory(const std::string& programDirectory);

// Steps 1 to 8. kEndProgram after a message when the program cannot go on
// (the runtime's fatal flag is then set as well).
StartupOutcome RunStartup(Model& model, const StartupInputs& inputs);

}  // namespace ws
