// A private folder for a harness's files, on tmpfs when there is one (every
// input is written out at least once), removed when the process exits:
// held by a static, it goes at the exit() libFuzzer makes at the end of a
// bounded run, so runs leave no /tmp/ws-fuzz-* folders behind.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz_support {

struct FuzzTempDir {
  std::string path;
  explicit FuzzTempDir(const std::string& stem) {
    std::string tmpl = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/") + stem + "-XXXXXX";
    if (!mkdtemp(tmpl.data())) std::abort();
    path = tmpl;
  }
  ~FuzzTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  FuzzTempDir(const FuzzTempDir&) = delete;
  FuzzTempDir& operator=(const FuzzTempDir&) = delete;
};

}  // namespace fuzz_support
