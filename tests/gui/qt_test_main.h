// The body of a Qt test program's main: one QApplication for every test,
// the settings store kept in a private directory named after the program.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace ws::test {

inline int RunQtTests(int argc, char** argv, const char* program) {
  const std::string config = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/" + program + "_config_" + std::to_string(getpid());
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Calvane");
  QApplication::setApplicationName("Wirestead");
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(config, ignored);
  return result;
}

}  // namespace ws::test
