// The editor killed outright after an edit: the autosave has stored it in
// the working file, which the next start restores.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "model/cluster.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

// The editor in a child process on the offscreen platform, working in
// `base`, opening `file`, autosaving every second.
pid_t StartEditor(const std::string& base, const std::string& file) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("WIRESTEAD_ROOT", base.c_str(), 1);
  setenv("WIRESTEAD_NO_SPLASH", "1", 1);
  setenv("WIRESTEAD_AUTOSAVE_SECONDS", "1", 1);
  execl(WS_EDITOR_BINARY, WS_EDITOR_BINARY, file.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

// The user points of object 0 of a copy of the working file, as a second
// start would find them after backing it up; -1 while it cannot be read.
int PointsInWorkingFile(const std::string& base) {
  test::ModelFixture f;
  std::error_code ec;
  std::filesystem::copy_file(base + "temp", f.dir.File("snapshot.wdc"), ec);
  if (ec || !LoadCluster(f.m(), f.dir.File("snapshot.wdc"))) return -1;
  return static_cast<int>(f.tables().userPointCount());
}

// The editor started on the cube and killed with SIGKILL once the working
// file holds the cube (or after 60 seconds at most).
TEST(AutosaveKill, TheWorkingFileHoldsTheEditAfterAKill) {
  test::TempDir dir;
  const std::string base = dir.File("base") + "/";
  std::filesystem::create_directories(base);
  const pid_t pid = StartEditor(base, test::DataPath("cube.wdo"));
  int points = -1;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (points != 8 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    points = PointsInWorkingFile(base);
  }
  bool killed = kill(pid, SIGKILL) == 0;
  int status = 0;
  waitpid(pid, &status, 0);
  killed = killed && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  ASSERT_TRUE(killed) << "the editor ended before it was killed";
  // Read again after the kill: the file the next start backs up and
  // restores (start-up's and the cluster's tests) still holds the edit.
  EXPECT_EQ(std::make_pair(points, PointsInWorkingFile(base)), std::make_pair(8, 8));
}

}  // namespace
}  // namespace ws
