// wirestead-cli: the headless front end over the same core as the editor.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ws::cli {

// The exit status of `check` when it found something.
inline constexpr int kExitFindings = 3;

// Copies the Preferences file `from` into the private base directory as
// `to`, writable by its owner whatever the original's mode. Says why on
// `err` and returns false when it cannot.
bool CopyPrivatePreferences(const std::string& from, const std::string& to, std::ostream& err);

// Runs one command line (args exclude the program name). JSON and other
// results go to `out`, messages to `err`. Returns the exit status: 0 on
// success, 1 on failure, kExitFindings when `check` found something.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ws::cli
