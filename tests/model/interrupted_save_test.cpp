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

using Strings = std::vector<std::string>;

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

Strings FolderNames(const std::string& folder) {
  Strings names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// `change` cut at many points leaves `target` holding one of `whole`, each
// different from the one before, and the last exactly when the change ran
// to its end, as it must past every file's end; whole[0] is put back. The
// cuts: each of the last bytes first, so that what the others leave stays
// for the caller; 0 and two before the files first part past `skip` (a
// resource file's directory reaches the disk in one write); 64 from there.
void ExpectWholeAfterCuts(const char* name, const std::function<bool()>& change,
                          const std::string& target, const Strings& whole, std::size_t skip) {
  const std::string& first = whole[0];
  std::size_t n = first.size(), from = n;
  for (std::size_t i = 1; i < whole.size(); ++i) {
    const std::string& w = whole[i];
    ASSERT_TRUE(w != whole[i - 1]) << name << " changes nothing";
    n = std::max(n, w.size());
    auto part = std::mismatch(first.begin() + skip, first.end(), w.begin() + skip, w.end()).first;
    from = std::min<std::size_t>(from, part - first.begin());
  }
  std::vector<std::size_t> cuts = {n + 1, n, n - 1, n - 2, n - 3, 0, from / 4, from / 2};
  for (std::size_t cut = from; cut < n - 3; cut += (n - from) / 64 + 1) cuts.push_back(cut);
  for (std::size_t cut : cuts) {
    const bool finished = SaveInChildCutAt(change, cut);
    const std::string now = test::ReadFileText(target);
    EXPECT_TRUE(std::find(whole.begin(), whole.end(), now) != whole.end())
        << name << " cut at " << cut;
    EXPECT_EQ(now == whole.back(), finished) << name << " cut at " << cut;
    EXPECT_TRUE(finished || cut <= n) << name << " did not end";
    test::WriteFileText(target, first);
  }
}

TEST(InterruptedSave, ObjectFileIsOldOrNewAndNoTemporaryIsLeft) {
  test::ModelFixture f;
  const std::string folder = f.dir.File("saves"), target = folder + "/a.wdo";
  std::filesystem::create_directory(folder);
  auto save = [&] { return WriteObjectText(f.m(), target); };
  ASSERT_TRUE(save());
  const std::string old = test::ReadFileText(target);
  for (int i = 0; i < 40; ++i) f.tables().AddPoint(i, 2 * i, 3 * i);
  ASSERT_TRUE(save());
  const std::string fresh = test::ReadFileText(target);
  test::WriteFileText(target, old);
  ExpectWholeAfterCuts(".wdo", save, target, {old, fresh}, 0);
  EXPECT_GT(FolderNames(folder).size(), 10u) << "no cut stopped a save part way";
  // The next save that runs to its end clears what the cut ones left.
  ASSERT_TRUE(save());
  EXPECT_EQ(std::make_tuple(test::ReadFileText(target), FolderNames(folder)),
            std::make_tuple(fresh, Strings{"a.wdo"}));
}

// A change of the working file (a store, an autosave, a deleted or renamed
// object) cut at any byte leaves the working file as it was or as the
// change leaves it, never part way; the next store leaves no copy behind.
TEST(InterruptedSave, CutChangesLeaveTheWorkingFileWhole) {
  test::ModelFixture f;
  Model& m = f.m();
  const std::string& working = m.paths.working;
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
  const std::string old = test::ReadFileText(working);
  auto store = [&] { return StoreObject(m, 1, "b"); };
  auto rename = [&] { return RenameObjectTo(m, "renamed"); };
  auto remove = [&] { return DeleteObject(m); };
  // The file a change leaves when it runs to its end (in a child, so that
  // the model here stays as it is), then put back.
  auto endOf = [&](const std::function<bool()>& change) {
    EXPECT_TRUE(SaveInChildCutAt(change, RLIM_INFINITY));
    const std::string end = test::ReadFileText(working);
    test::WriteFileText(working, old);
    return end;
  };
  const std::string stored = endOf(store);
  const std::size_t skip = ResourceFile::kHeaderSize;
  ExpectWholeAfterCuts("store", store, working, {old, stored}, skip);
  ExpectWholeAfterCuts("delete", remove, working, {old, endOf(remove)}, skip);
  // A rename stores the object under its new name first.
  const std::string storedRenamed = endOf([&] { return StoreObject(m, 1, "renamed"); });
  ExpectWholeAfterCuts("rename", rename, working, {old, storedRenamed, endOf(rename)}, skip);
  ASSERT_TRUE(store());
  EXPECT_EQ(test::ReadFileText(working), stored);
  for (const std::string& name : FolderNames(std::filesystem::path(working).parent_path())) {
    EXPECT_EQ(name.find(".store"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace ws
