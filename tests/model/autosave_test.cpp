// Autosave: when it stores, what counts as a change, and what a failed
// store does.
#include "model/autosave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "model/cluster.h"
#include "model_test_util.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
const std::string kOpenError = "CLVlib:OpenResFile - error opening file.";

// The point count of object 0 as the working file has it now.
std::uint32_t StoredPoints(Model& m) {
  EXPECT_TRUE(LoadObject(m, 0));
  return m.tables.pointCount;
}

// The clock starts at the first tick; each check comes exactly one interval
// after the last, stores the first time and then only after a change. A
// store that fails says why and counts as not done; a lasting failure is
// retried after 2, 4, 8 and then 16 intervals, each retry saying why again;
// the first store that succeeds restores the interval.
TEST(Autosave, StoresOncePerIntervalOnlyAfterAChangeAndBacksOffWhileStoresFail) {
  test::ModelFixture f;
  Model& m = f.m();
  ASSERT_TRUE(CreateWorkingCluster(m));
  AutosaveState s;
  enum Change { kNone, kEdit, kBreak, kMend };  // kBreak edits too
  using enum AutosaveResult;
  // clang-format off
  const std::tuple<Clock::duration, Change, AutosaveResult> steps[] = {
      {0s, kNone, kNotDue}, {60s - 1ns, kNone, kNotDue}, {60s, kNone, kStored},
      {120s, kNone, kUnchanged}, {130s, kEdit, kNotDue}, {180s - 1ns, kNone, kNotDue},
      {180s, kNone, kStored}, {240s, kNone, kUnchanged}, {250s, kEdit, kNotDue},
      {400s, kNone, kStored}, {460s - 1ns, kNone, kNotDue}, {460s, kBreak, kFailed},
      {580s - 1ns, kNone, kNotDue}, {580s, kNone, kFailed}, {820s - 1ns, kNone, kNotDue},
      {820s, kNone, kFailed}, {1300s - 1ns, kNone, kNotDue}, {1300s, kNone, kFailed},
      {2260s - 1ns, kNone, kNotDue}, {2260s, kNone, kFailed}, {3220s - 1ns, kNone, kNotDue},
      {3220s, kMend, kStored}, {3280s, kBreak, kFailed}, {3400s - 1ns, kNone, kNotDue},
      {3400s, kNone, kFailed},  // two intervals again
  };
  // clang-format on
  std::vector<std::string> said;
  double x = 0;
  for (const auto& [at, change, want] : steps) {
    if (change == kBreak || change == kMend) std::filesystem::remove(m.paths.working);
    if (change == kMend) {
      ASSERT_TRUE(CreateWorkingCluster(m));
    }
    if (change == kEdit || change == kBreak) f.tables().AddPoint(++x, 1, 2);
    if (change == kBreak) std::filesystem::create_directory(m.paths.working);
    const std::uint32_t points = f.tables().pointCount;
    EXPECT_EQ(AutosaveTick(m, s, Clock::time_point{} + at), want)
        << std::chrono::duration<double>(at).count() << " s";
    if (want == kFailed) said.insert(said.end(), {kOpenError, std::string(kMsgCantOpenWorking)});
    // What was stored is in the working file.
    if (want == kStored) {
      EXPECT_EQ(StoredPoints(m), points);
    }
  }
  EXPECT_EQ(f.ui.MessageTexts(), said);
}

// Every resource that a store writes takes part in the fingerprint.
TEST(Autosave, FingerprintFollowsWhatAStoreWrites) {
  test::ModelFixture f;
  ASSERT_TRUE(CreateWorkingCluster(f.m()));
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(1, 2, 3), b = t.AddPoint(4, 5, 6), c = t.AddPoint(7, 8, 10);
  const std::uint32_t v = t.AddVector(a, b);
  Polygon& p = t.polygons[t.polygonCount++] = test::MakePolygon({a, b, c}, {});
  const std::pair<const char*, std::function<void(Model&)>> changes[] = {
      {"point moved", [&](Model&) { t.points[c].z += 0.5; }},
      {"vector colour", [&](Model&) { t.vectors[v].color ^= 1; }},
      {"polygon flag", [&](Model&) { p.flags ^= PolyFlag::kInvisible; }},
      {"object word", [](Model& m) { m.objectWord ^= 1; }},
      {"animation", [](Model& m) { m.animation.slots[0].active = m.animation.activeCount = 1; }},
  };
  for (const auto& [name, change] : changes) {
    const std::uint64_t before = ObjectFingerprint(f.m());
    change(f.m());
    EXPECT_NE(ObjectFingerprint(f.m()), before) << name;
  }
}

}  // namespace
}  // namespace ws
