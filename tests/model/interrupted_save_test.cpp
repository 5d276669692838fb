// Saves cut off at many points, as a crash or a power loss would: the
// target is always the old file or the new one, and the next save leaves
// no temporary file behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "model/cluster.h"
#include "model/object_text.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

// Runs `save` in a child process that may not write a file past `limit`
// bytes: the kernel stops it at that byte with SIGXFSZ, before any
// clean-up of its own can run. True when the save ran to its end.
bool SaveInChildCutAt(const std::function<bool()>& save, rlim_t limit) {
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit noCore{0, 0}, size{limit, limit};
    setrlimit(RLIMIT_CORE, &noCore);
    std::signal(SIGXFSZ, SIG_DFL);
    setrlimit(RLIMIT_FSIZE, &size);
    _exit(save() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

struct Kind {
  const char* name;
  // A cluster save first stores the current object into the working file,
  // a file as large as the cluster itself: every cut stops it there,
  // before the copy begins (the copy goes the same way as the other
  // saves, cut part way through below).
  bool cutsReachTheTarget;
  std::string target;
  std::function<bool()> save;
  std::function<void()> change;  // makes the next save write something new
};

TEST(InterruptedSave, TargetIsOldOrNewAndNoTemporaryIsLeft) {
  test::ModelFixture f;
  Model& m = f.m();
  ASSERT_TRUE(CreateWorkingCluster(m));
  const std::string folder = f.dir.File("saves");
  std::filesystem::create_directory(folder);
  int added = 0;
  auto addPoints = [&] {
    for (int i = 0; i < 40; ++i, ++added) f.tables().AddPoint(added, 2 * i, 3 * i);
  };
  const Kind kinds[] = {
      {".wdo", true, folder + "/a.wdo", [&] { return WriteObjectText(m, folder + "/a.wdo"); }, addPoints},
      {".wdc", false, folder + "/a.wdc",
       [&] {
         m.cluster.clusterPath = folder + "/a.wdc";
         m.cluster.fileState = FileState::kCluster;
         return SaveCluster(m);
       },
       [&] {
         addPoints();
         ASSERT_TRUE(StoreObject(m, m.cluster.current, m.cluster.objectNames[m.cluster.current]));
       }},
  };
  for (const Kind& kind : kinds) {
    ASSERT_TRUE(kind.save()) << kind.name;
    const std::string old = test::ReadFileText(kind.target);
    kind.change();
    // What the new save writes, made once in full and then put back.
    ASSERT_TRUE(kind.save()) << kind.name;
    const std::string fresh = test::ReadFileText(kind.target);
    ASSERT_TRUE(fresh != old) << kind.name;
    test::WriteFileText(kind.target, old);

    int torn = 0;  // cuts that stopped inside the new file's bytes
    const std::size_t n = fresh.size();
    for (std::size_t cut = 0; cut <= n + 1; cut += (cut < 4 || cut + 4 > n) ? 1 : n / 64 + 1) {
      const bool finished = SaveInChildCutAt(kind.save, cut);
      const std::string now = test::ReadFileText(kind.target);
      EXPECT_TRUE(now == old || now == fresh) << kind.name << " cut at " << cut;
      EXPECT_EQ(now == fresh, finished) << kind.name << " cut at " << cut;
      torn += FolderNames(folder).size() > static_cast<std::size_t>(&kind - kinds + 1);
      if (now == fresh) test::WriteFileText(kind.target, old);
    }
    if (kind.cutsReachTheTarget) {
      EXPECT_GT(torn, 10) << kind.name << ": no cut stopped a save part way";
    }
    // The next save that runs to its end clears what the cut ones left.
    ASSERT_TRUE(kind.save()) << kind.name;
    EXPECT_EQ(test::ReadFileText(kind.target), fresh) << kind.name;
    std::vector<std::string> want;
    for (const Kind* k = kinds; k <= &kind; ++k) want.push_back(std::filesystem::path(k->target).filename());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(FolderNames(folder), want) << kind.name;
  }
}

// A store into the working file (an autosave, a change of object) cut at any
// byte leaves the working file as it was, which is what the next start
// restores; the next store leaves no copy behind.
TEST(InterruptedSave, CutStoreLeavesTheWorkingFileAsItWas) {
  test::ModelFixture f;
  Model& m = f.m();
  ASSERT_TRUE(CreateWorkingCluster(m));
  auto store = [&] { return StoreObject(m, m.cluster.current, m.cluster.objectNames[0]); };
  for (int i = 0; i < 40; ++i) f.tables().AddPoint(i, 2 * i, 3 * i);
  ASSERT_TRUE(store());
  const std::string old = test::ReadFileText(m.paths.working);
  // Longer lists: the store moves what follows them in the data area.
  for (int i = 0; i < 400; ++i) f.tables().AddPoint(i, -i, 1);
  ASSERT_TRUE(store());
  const std::string fresh = test::ReadFileText(m.paths.working);
  test::WriteFileText(m.paths.working, old);
  const std::size_t n = fresh.size();
  for (std::size_t cut = 0; cut <= n + 1; cut += n / 64 + 1) {
    const bool finished = SaveInChildCutAt(store, cut);
    EXPECT_TRUE(test::ReadFileText(m.paths.working) == (finished ? fresh : old)) << "cut at " << cut;
    if (finished) test::WriteFileText(m.paths.working, old);
  }
  ASSERT_TRUE(store());
  EXPECT_EQ(test::ReadFileText(m.paths.working), fresh);
  const std::string folder = std::filesystem::path(m.paths.working).parent_path();
  for (const std::string& name : FolderNames(folder)) {
    EXPECT_EQ(name.find(".store"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace ws
