#include "cli/cli.h"

namespace ws::cli {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  err << "usage: wirestead-cli info|dump|convert ...\n";
  return 1;
}

}  // namespace ws::cli
