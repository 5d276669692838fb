// Autosave: when it stores, what counts as a change, and what a failed
// store does.
#include "model/autosave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "model/cluster.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The point count of object 0 as the working file has it now.
std::uint32_t StoredPoints(Model& m) {
  EXPECT_TRUE(LoadObject(m, 0));
  return m.tables.pointCount;
}

// The clock starts at the first tick; each check comes exactly one interval
// after the last, stores the first time and then only after a change.
TEST(Autosave, StoresOncePerIntervalAndOnlyAfterAChange) {
  test::ModelFixture f;
  ASSERT_TRUE(CreateWorkingCluster(f.m()));
  AutosaveState s;
  const Clock::time_point t0{};
  struct Step { Clock::duration at; bool edit; AutosaveResult want; };
  const Step steps[] = {
      {0s, false, AutosaveResult::kNotDue},    {60s - 1ns, false, AutosaveResult::kNotDue},
      {60s, false, AutosaveResult::kStored},   {120s, false, AutosaveResult::kUnchanged},
      {130s, true, AutosaveResult::kNotDue},   {180s - 1ns, false, AutosaveResult::kNotDue},
      {180s, false, AutosaveResult::kStored},  {240s, false, AutosaveResult::kUnchanged},
      {250s, true, AutosaveResult::kNotDue},   {400s, false, AutosaveResult::kStored},
      {460s - 1ns, false, AutosaveResult::kNotDue},
  };
  std::uint32_t points = f.tables().pointCount;
  for (const Step& step : steps) {
    if (step.edit) points = f.tables().AddPoint(points, 1, 2) + 1;
    EXPECT_EQ(AutosaveTick(f.m(), s, t0 + step.at), step.want)
        << std::chrono::duration<double>(step.at).count() << " s";
  }
  // What was stored last is in the working file: both points added.
  EXPECT_EQ(StoredPoints(f.m()), points);
}

// Every resource that a store writes takes part in the fingerprint.
TEST(Autosave, FingerprintFollowsWhatAStoreWrites) {
  test::ModelFixture f;
  ASSERT_TRUE(CreateWorkingCluster(f.m()));
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(1, 2, 3), b = t.AddPoint(4, 5, 6), c = t.AddPoint(7, 8, 10);
  const std::uint32_t v = t.AddVector(a, b);
  Polygon& p = t.polygons[t.polygonCount++];
  p = Polygon{};
  p.points[0] = a, p.points[1] = b, p.points[2] = c, p.pointCount = 3;
  const std::pair<const char*, std::function<void(Model&)>> changes[] = {
      {"point moved", [&](Model&) { t.points[c].z += 0.5; }},
      {"vector colour", [&](Model&) { t.vectors[v].color ^= 1; }},
      {"polygon flag", [&](Model&) { p.flags ^= PolyFlag::kInvisible; }},
      {"object word", [](Model& m) { m.objectWord ^= 1; }},
      {"animation", [](Model& m) {
         m.animation.slots[0].active = 1;
         m.animation.activeCount = 1;
       }},
  };
  for (const auto& [name, change] : changes) {
    const std::uint64_t before = ObjectFingerprint(f.m());
    change(f.m());
    EXPECT_NE(ObjectFingerprint(f.m()), before) << name;
  }
}

// A store that fails says why and counts as not done; a lasting failure is
// retried after 2, 4, 8 and then 16 intervals, each retry saying why again;
// the first store that succeeds restores the interval.
TEST(Autosave, FailedStoresBackOffUntilOneSucceeds) {
  test::ModelFixture f;
  ASSERT_TRUE(CreateWorkingCluster(f.m()));
  AutosaveState s;
  s.interval = 1s;
  const Clock::time_point t0{};
  EXPECT_EQ(AutosaveTick(f.m(), s, t0), AutosaveResult::kNotDue);
  std::filesystem::remove(f.m().paths.working);
  std::filesystem::create_directory(f.m().paths.working);  // cannot be opened as a file
  const std::vector<std::string> twice{"CLVlib:OpenResFile - error opening file.", std::string(kMsgCantOpenWorking)};
  std::vector<std::string> said;
  // Seconds of each tick: a failure at 1, retries due at 3, 7, 15, 31, 47.
  for (int at : {1, 2, 3, 6, 7, 14, 15, 30, 31, 46, 47}) {
    const bool due = at == 1 || at == 3 || at == 7 || at == 15 || at == 31 || at == 47;
    EXPECT_EQ(AutosaveTick(f.m(), s, t0 + std::chrono::seconds(at)), due ? AutosaveResult::kFailed : AutosaveResult::kNotDue)
        << "at " << at;
    if (due) said.insert(said.end(), twice.begin(), twice.end());
  }
  EXPECT_EQ(f.ui.MessageTexts(), said);
  std::filesystem::remove(f.m().paths.working);
  ASSERT_TRUE(CreateWorkingCluster(f.m()));
  EXPECT_EQ(AutosaveTick(f.m(), s, t0 + 63s), AutosaveResult::kStored);
  f.tables().AddPoint(1, 2, 3);
  EXPECT_EQ(AutosaveTick(f.m(), s, t0 + 64s), AutosaveResult::kStored);
  // A new failure starts the waits again from two intervals.
  std::filesystem::remove(f.m().paths.working);
  std::filesystem::create_directory(f.m().paths.working);
  f.tables().AddPoint(4, 5, 6);
  EXPECT_EQ(AutosaveTick(f.m(), s, t0 + 65s), AutosaveResult::kFailed);
  EXPECT_EQ(AutosaveTick(f.m(), s, t0 + 66s), AutosaveResult::kNotDue);
  EXPECT_EQ(AutosaveTick(f.m(), s, t0 + 67s), AutosaveResult::kFailed);
}

}  // namespace
}  // namespace ws
