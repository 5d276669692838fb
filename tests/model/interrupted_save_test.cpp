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
#include "resource/resource_file.h"
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

// A change of the working file (a store, an autosave, a deleted or renamed
// object) cut at any byte leaves the working file as it was or as the
// change leaves it, never part way; the next store leaves no copy behind.
TEST(InterruptedSave, CutChangesLeaveTheWorkingFileWhole) {
  test::ModelFixture f;
  Model& m = f.m();
  ASSERT_TRUE(CreateWorkingCluster(m));
  for (const char* name : {"b", "c"}) {
    for (int i = 0; i < 40; ++i) f.tables().AddPoint(i, 2 * i, 3 * i);
    f.tables().AddVector(0, 1);
    ASSERT_TRUE(NewObject(m, name));
  }
  ASSERT_TRUE(SelectObject(m, 1));
  // Longer lists: the store moves what follows them in the data area. No
  // vectors: the stored ones stay, and only the rename gives them the name.
  f.tables().ResetObject();
  for (int i = 0; i < 440; ++i) f.tables().AddPoint(i, -i, 1);
  const std::string old = test::ReadFileText(m.paths.working);
  auto store = [&] { return StoreObject(m, 1, "b"); };
  auto rename = [&] { return RenameObjectTo(m, "renamed"); };
  // The file a change leaves when it runs to its end (in a child, so that
  // the model here stays as it is), then put back.
  auto endOf = [&](const std::function<bool()>& change) {
    EXPECT_TRUE(SaveInChildCutAt(change, RLIM_INFINITY));
    const std::string end = test::ReadFileText(m.paths.working);
    test::WriteFileText(m.paths.working, old);
    return end;
  };
  const std::string stored = endOf(store);
  const struct {
    const char* name;
    std::function<bool()> change;
    std::vector<std::string> whole;  // the files a cut may leave
  } rows[] = {
      {"store", store, {old, stored}},
      {"delete", [&] { return DeleteObject(m); }, {old, endOf([&] { return DeleteObject(m); })}},
      // A rename stores the object under its new name first.
      {"rename", rename, {old, endOf([&] { return StoreObject(m, 1, "renamed"); }), endOf(rename)}},
  };
  for (const auto& row : rows) {
    for (std::size_t i = 1; i < row.whole.size(); ++i) {
      ASSERT_TRUE(row.whole[i] != row.whole[i - 1]) << row.name << " changes nothing";
    }
    // The directory fills the first 400 KB of the file and reaches it in one
    // write; a change moves data only from where the data areas part, so
    // most cuts land between there and the end, and a few earlier ones stop
    // the copy.
    const std::size_t data = ResourceFile::kHeaderSize;
    std::size_t n = 0, from = old.size();
    for (const std::string& w : row.whole) {
      n = std::max(n, w.size());
      if (&w == &row.whole[0] || w.size() < data) continue;
      const auto part = std::mismatch(old.begin() + data, old.end(), w.begin() + data, w.end()).first;
      from = std::min(from, static_cast<std::size_t>(part - old.begin()));
    }
    std::vector<std::size_t> cuts = {0, data / 2};
    for (std::size_t cut = from; cut <= n + 1; cut += (n + 1 - from) / 64 + 1) cuts.push_back(cut);
    cuts.push_back(n + 1);
    for (std::size_t cut : cuts) {
      SaveInChildCutAt(row.change, cut);
      const std::string now = test::ReadFileText(m.paths.working);
      EXPECT_TRUE(std::find(row.whole.begin(), row.whole.end(), now) != row.whole.end())
          << row.name << " cut at " << cut;
      if (cut > n) {
        EXPECT_TRUE(now == row.whole.back()) << row.name << " did not end";
      }
      test::WriteFileText(m.paths.working, old);
    }
  }
  ASSERT_TRUE(store());
  EXPECT_EQ(test::ReadFileText(m.paths.working), stored);
  const std::string folder = std::filesystem::path(m.paths.working).parent_path();
  for (const std::string& name : FolderNames(folder)) {
    EXPECT_EQ(name.find(".store"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace ws
