#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/startup.h"
#include "support/test_support.h"

namespace ws {
namespace {

namespace fs = std::filesystem;

// Each row lays out a tree under a fresh folder: the program's folder, the
// files named Preferences (a trailing '/' makes a folder of that name
// instead) and the folder the lookup must answer ("" for none).
TEST(FindDefaultsDirectory, BesideThenInstalledThenBuildTree) {
  struct Row {
    const char* name;
    const char* program;
    std::vector<std::string> prefs;
    const char* expected;
  };
  const Row rows[] = {
      {"build tree", "build/src/app", {"build/Preferences"}, "build"},
      {"portable copy wins", "usr/bin",
       {"usr/bin/Preferences", "usr/share/wirestead/Preferences", "Preferences"}, "usr/bin"},
      {"installed before build tree", "a/bin", {"a/share/wirestead/Preferences", "Preferences"},
       "a/share/wirestead"},
      {"other data folder", "usr/bin", {"usr/share/other/Preferences", "usr/Preferences"}, ""},
      {"a folder is not the file", "usr/bin", {"usr/share/wirestead/Preferences/"}, ""},
      {"nothing", "usr/bin", {}, ""},
  };
  for (const Row& row : rows) {
    test::TempDir dir;
    fs::create_directories(dir.File(row.program));
    for (const std::string& p : row.prefs) {
      if (p.back() == '/') {
        fs::create_directories(dir.File(p));
      } else {
        fs::create_directories(fs::path(dir.File(p)).parent_path());
        test::WriteFileText(dir.File(p), "prefs");
      }
    }
    const std::string expected = *row.expected ? dir.File(row.expected) : std::string();
    EXPECT_EQ(FindDefaultsDirectory(dir.File(row.program)), expected) << row.name;
  }
  EXPECT_EQ(FindDefaultsDirectory(""), "");
}

}  // namespace
}  // namespace ws
