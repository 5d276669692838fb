#include "cli/help_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli_support.h"

namespace ws::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string RoffEscaped(std::string s) {
  for (std::size_t i = 0; (i = s.find('-', i)) != std::string::npos; i += 2) s.insert(i, "\\");
  return s;
}

TEST(CliHelp, HelpAndManPageNeedNoPreferencesAndWriteOnlyStdout) {
  for (const auto& [option, expected] : {std::pair{"--help", HelpText()}, {"--man", ManPage()}}) {
    const CliRun r = Cli({option}, false);
    EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(0, expected, "")) << option;
  }
  EXPECT_EQ(Cli({"--help", "info"}, false).status, 1);  // an option alone, not a command
}

// The help text's prose fills up to 79 columns (the usage lines stay whole):
// no line is longer, and the next line's first word would not have fitted
// after the last one.
TEST(CliHelp, HelpIsWrappedGreedilyTo79Columns) {
  const std::vector<std::string> lines = Lines(HelpText());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find("wirestead-cli [--prefs PATH] ") == std::string::npos) {
      EXPECT_LE(lines[i].size(), 79u) << lines[i];
    }
    if (i + 1 < lines.size() && lines[i].starts_with("      ") &&
        lines[i + 1].starts_with("      ") && lines[i + 1][6] != ' ') {
      const std::string next = lines[i + 1].substr(6, lines[i + 1].find(' ', 6) - 6);
      EXPECT_GT(lines[i].size() + 1 + next.size(), 79u) << lines[i] << " / " << next;
    }
  }
}

// The man page says what --help says: every usage line is in its synopsis
// and every command in its COMMANDS section, hyphens escaped for roff.
TEST(CliHelp, ManPageCarriesEveryUsageLineEscaped) {
  const std::string man = ManPage();
  const std::string help = HelpText();
  const std::vector<std::string> usage = Lines(UsageText());
  ASSERT_EQ(usage.size(), 8u);
  for (const std::string& line : usage) {
    const std::string call = line.substr(line.find("wirestead-cli ") + 14);
    EXPECT_NE(man.find(".B wirestead\\-cli\n" + RoffEscaped(call) + "\n"), std::string::npos) << call;
    EXPECT_NE(help.find(line), std::string::npos) << line;
    if (call.starts_with("[--prefs PATH] ")) {
      const std::string term = call.substr(15);
      EXPECT_NE(man.find(".TP\n.B " + RoffEscaped(term) + "\n"), std::string::npos) << term;
      EXPECT_EQ(CommandUsage(term.substr(0, term.find(' '))), "usage: wirestead-cli " + call + "\n");
    }
  }
  EXPECT_EQ(CommandUsage("frobnicate"), UsageText());
  // Outside the title line no hyphen reaches roff unescaped.
  for (const std::string& line : Lines(man)) {
    if (line.starts_with(".TH")) continue;
    for (std::size_t i = line.find('-'); i != std::string::npos; i = line.find('-', i + 1)) {
      EXPECT_TRUE(i > 0 && line[i - 1] == '\\') << line;
    }
  }
}

}  // namespace
}  // namespace ws::cli
