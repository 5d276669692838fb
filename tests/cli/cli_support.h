// The CLI run in-process against the build tree's Preferences file.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/test_support.h"

namespace ws::cli {

struct CliRun { int status; std::string out, err; };

inline std::string Prefs() { return test::BinaryDir() + "/Preferences"; }
inline std::string Cube() { return test::DataPath("cube.wdo"); }

inline CliRun Cli(std::vector<std::string> args, bool withPrefs = true) {
  if (withPrefs) args.insert(args.begin(), {"--prefs", Prefs()});
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace ws::cli
