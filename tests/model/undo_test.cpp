#include "model/undo.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "model/view_plot_state.h"
#include "model_test_util.h"

namespace ws {
namespace {

struct UndoFixture : test::OwnTables {
  UndoTarget target() { return {tables, view, plot}; }
  ObjectTables& tables = t;
  ViewState view;
  PlotState plot;
  UndoHistory history{rt};
};

// The counts, then the raw bytes of every used record, padding included.
using UsedBytes = std::vector<std::uint8_t>;
UsedBytes CaptureUsed(const ObjectTables& t) {
  UsedBytes out;
  auto add = [&](const void* records, std::size_t size) {
    const auto* b = static_cast<const std::uint8_t*>(records);
    out.insert(out.end(), b, b + size);
  };
  const std::uint32_t counts[3] = {t.pointCount, t.vectorCount, t.polygonCount};
  add(counts, sizeof counts);
  add(t.points, t.pointCount * sizeof(Point));
  add(t.vectors, t.vectorCount * sizeof(Vector));
  add(t.polygons.data(), t.polygonCount * sizeof(Polygon));
  add(t.polygonSelected.data(), t.polygonCount * sizeof(t.polygonSelected[0]));
  return out;
}

// User records of arbitrary bytes, padding and unused list slots included:
// undo must not care what the records mean.
void RandomObject(ObjectTables& t, std::mt19937& rng, std::uint32_t points, std::uint32_t vectors,
                  std::uint32_t polygons) {
  auto fill = [&](void* from, void* to) {
    for (auto* b = static_cast<std::uint8_t*>(from); b < to; ++b) *b = rng();
  };
  t.pointCount = points, t.vectorCount = vectors, t.polygonCount = polygons;
  fill(t.points + kReservedPoints, t.points + std::max(points, kReservedPoints));
  fill(t.vectors + kReservedVectors, t.vectors + std::max(vectors, kReservedVectors));
  fill(t.polygons.data(), t.polygons.data() + polygons);
  for (std::uint32_t i = 0; i < polygons; ++i) t.polygonSelected[i] = rng() % 3 == 0 ? 1 : 0;
}

// The view and plot fields an undo puts back.
auto ViewAndPlot(const UndoFixture& f) {
  const ViewState& v = f.view;
  const PlotState& p = f.plot;
  return std::make_tuple(v.viewCode, v.orientation, v.turns, v.activeTurn, p.step, p.ep1Pending,
                         p.ep1X, p.ep1Y, p.ep1Z, p.ep1Point, p.viewMemory);
}

// Undo must not care what the records mean; the current polygon survives
// only below the restored count.
TEST(UndoRestore, TablesViewPlotAndCurrentPolygonComeBack) {
  UndoFixture f;
  std::mt19937 rng(1234);
  const std::uint32_t sizes[][3] = {{8, 7, 1},       {7, 6, 0},
                                    {500, 900, 300}, {8, 6, 0},
                                    {7, 7, 0},       {kMaxPoints, kMaxVectors, kMaxPolygons},
                                    {1200, 40, 999}, {3000, 6000, 1}};
  for (int i = 0; i < 8; ++i) {
    RandomObject(f.tables, rng, sizes[i][0], sizes[i][1], sizes[i][2]);
    f.view.viewCode = i % 6, f.view.orientation[0][2] = 0.25 * i, f.view.turns[1][2][0] = -i;
    f.view.activeTurn = 1 + i % 3;
    f.plot = PlotState{i % 6, i % 2 == 0, 10.0 * i, 20.0, -30.0, 12u + i, {'F', 'T', 'R'}};
    const UsedBytes before = CaptureUsed(f.tables);
    const auto viewAndPlot = ViewAndPlot(f);
    ASSERT_TRUE(f.history.PushUndo(UndoLabel::kDrag, f.target()));
    // Change every part, including the counts, before undoing.
    RandomObject(f.tables, rng, 1 + rng() % kMaxPoints, 1 + rng() % kMaxVectors,
                 rng() % kMaxPolygons);
    f.view = ViewState{}, f.plot = PlotState{};
    const int current = static_cast<int>(sizes[i][2]) - i % 2;  // the count itself, or the last
    f.tables.currentPolygon = current;
    ASSERT_TRUE(f.history.PopUndo(f.target()));
    EXPECT_TRUE(CaptureUsed(f.tables) == before) << i;
    EXPECT_EQ(std::make_tuple(ViewAndPlot(f), f.tables.currentPolygon),
              std::make_tuple(viewAndPlot, current < static_cast<int>(sizes[i][2]) ? current : -1))
        << i;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(UndoStack, KeepsTwentyLevelsLabelsAndAnEmptyNoteAndRefusesWithoutMemory) {
  UndoFixture f;
  EXPECT_EQ(f.history.UndoMenuState(), (UndoMenuItem{"&Undo\tCtrl+Z", false}));
  const std::size_t baseBlocks = f.rt.memory.LiveCount();
  f.rt.menuRefreshRequested = false;
  for (int i = 0; i < 21; ++i) {
    f.tables.AddPoint(i, 0, 0);  // push i sees 7 + (i + 1) points
    ASSERT_TRUE(f.history.PushUndo("step " + std::to_string(i), f.target()));
  }
  // The dropped block was released.
  EXPECT_EQ(std::make_tuple(f.rt.menuRefreshRequested, f.history.depth(), f.rt.memory.LiveCount()),
            std::make_tuple(true, kUndoDepth, baseBlocks + kUndoDepth));
  // Without memory neither a push nor a restore changes the history (the
  // bottom step stays) or the object.
  f.tables.AddPoint(99, 0, 0);
  const UsedBytes changed = CaptureUsed(f.tables);
  f.rt.memory.SetFailAbove(16);
  EXPECT_FALSE(f.history.PushUndo(UndoLabel::kDrag, f.target()));
  EXPECT_FALSE(f.history.PopUndo(f.target()));
  EXPECT_EQ(std::make_tuple(f.ui.Messages(), CaptureUsed(f.tables) == changed, f.history.depth(),
                            f.history.CurrentStack().front().label, f.rt.busy),
            std::make_tuple(
                std::vector<RecordedMessage>{
                    {"Notification", "Not enough memory to keep an undo step for this command."},
                    {"General Error", "Not enough memory to undo. The object was left as it is."}},
                true, kUndoDepth, "step 1", false));
  f.rt.memory.SetFailAbove(std::nullopt);
  f.ui.ClearMessages();
  for (int i = 20; i >= 1; --i) {
    EXPECT_EQ(f.history.UndoMenuState(), (UndoMenuItem{"step " + std::to_string(i), true}));
    ASSERT_TRUE(f.history.PopUndo(f.target()));
    EXPECT_EQ(f.tables.pointCount, kReservedPoints + i + 1u);
  }
  f.plot.step = 2;
  EXPECT_FALSE(f.history.PopUndo(f.target()));
  // The first step is gone.
  EXPECT_EQ(
      std::make_tuple(f.rt.memory.LiveCount(), f.tables.pointCount, f.plot.step, f.ui.Messages()),
      std::make_tuple(baseBlocks, kReservedPoints + 2u, 2,
                      std::vector<RecordedMessage>{{"Notification", "Nothing to Undo!"}}));
  // Labels are cut at 255 characters.
  f.history.PushUndo(std::string(300, 'a'), f.target());
  EXPECT_EQ(f.history.UndoMenuState().text, std::string(255, 'a'));
  // The busy flag is raised only for the restore.
  f.rt.busy = true;
  f.history.PopUndo(f.target());
  EXPECT_TRUE(f.rt.busy);
}

// Gives object i a stack of i + 1 snapshots labelled "o<i>".
void FillObjects(UndoFixture& f, std::uint32_t objects) {
  for (std::uint32_t i = 0; i < objects; ++i) {
    f.history.SelectObject(i);
    for (std::uint32_t k = 0; k <= i; ++k) f.history.PushUndo("o" + std::to_string(i), f.target());
  }
}

// Object 1 of four is dropped: the later stacks (of 3 and 4 snapshots) move
// down a number. Rows: the current object, then the one current after.
TEST(UndoObjects, DropRenumbersLaterStacksAndClearEmptiesAll) {
  const std::tuple<std::uint32_t, std::uint32_t, const char*> rows[] = {
      {3, 2, "o3"},  // the current object moves down with its number
      {1, 1, "o2"},  // the dropped current object's history is never handed over
      {0, 0, "o0"},  // a current number below the dropped one is kept
  };
  for (const auto& [current, newCurrent, label] : rows) {
    UndoFixture f;
    const std::size_t baseBlocks = f.rt.memory.LiveCount();
    FillObjects(f, 4);
    f.history.SelectObject(current);
    f.history.DropObject(1);
    EXPECT_EQ(std::make_tuple(f.history.currentObject(), f.history.UndoMenuState().text,
                              f.history.DepthOf(0), f.history.DepthOf(1), f.history.DepthOf(2),
                              f.history.ObjectSpan()),
              std::make_tuple(newCurrent, label, 1u, 3u, 4u, 3u))
        << current;
    f.history.Clear();
    EXPECT_EQ(
        std::make_tuple(f.rt.memory.LiveCount(), f.history.ObjectSpan(), f.history.currentObject()),
        std::make_tuple(baseBlocks, 0u, 0u));
  }
}

}  // namespace
}  // namespace ws
