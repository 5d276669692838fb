// wirestead-cli: the headless front end over the same core as the editor.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ws::cli {

// Runs one command line (args exclude the program name). JSON and other
// results go to `out`, messages to `err`. Returns the exit status: 0 on
// success, 1 on failure.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ws::cli
