// The one description of wirestead-cli's command line: the usage lines
// printed on a bad command line, the page `--help` prints and the roff
// manual page `--man` writes (the build turns it into wirestead-cli.1), all
// made from the same tables so they cannot drift apart.
#pragma once

#include <string>
#include <string_view>

namespace ws::cli {

// "usage: wirestead-cli [--prefs PATH] info FILE\n       ..." one line per
// command.
std::string UsageText();

// The usage line of one command ("render"); all of them for a name that is
// not a command.
std::string CommandUsage(std::string_view command);

// The usage, then every command and option with its description, wrapped
// to 79 columns.
std::string HelpText();

// The same content as a man(7) page, section 1.
std::string ManPage();

}  // namespace ws::cli
