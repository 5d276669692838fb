#include "editor/view/layout.h"

#include <gtest/gtest.h>

#include <optional>

#include "editor/editor.h"
#include "editor_test_support.h"

namespace ws {
namespace {

struct LayoutRow {
  const char* name;
  EditAreaLayout got;
  IntRect editArea;
  int cx, cy, surfaceWidth, surfaceHeight;
  double perspectiveFactor;
};

void ExpectLayouts(std::initializer_list<LayoutRow> rows) {
  for (const LayoutRow& r : rows) {
    const EditAreaLayout& l = r.got;
    EXPECT_EQ(l.editArea, r.editArea) << r.name;
    EXPECT_EQ(l.local, (IntRect{0, 0, l.width() - 1, l.height() - 1})) << r.name;
    EXPECT_EQ(std::make_tuple(l.cx, l.cy, l.surfaceWidth, l.surfaceHeight),
              std::make_tuple(r.cx, r.cy, r.surfaceWidth, r.surfaceHeight))
        << r.name;
    EXPECT_DOUBLE_EQ(l.perspectiveFactor, r.perspectiveFactor) << r.name;
  }
}

TEST(EditAreaLayout, FollowsTheWindowRule) {
  ExpectLayouts({
      // h = 679 -> 676; w = 774 + 8 = 782 -> 776; W = 900 >= w, on the surface 896.
      {"ordinary", ComputeEditAreaLayout(1000, 700, 200), {210, 10, 985, 685}, 388, 338, 896, 827,
       422.5},
      // Narrower than the column plus 26 pixels: width 8; (500 - 21) down to 4.
      {"narrow", ComputeEditAreaLayout(250, 500, 240), {250, 10, 257, 485}, 4, 238, 632, 627,
       290.5},
      // h = 276 gives W = 368 < w = 1376: h becomes 1376 / 4 * 3 = 1032.
      {"wide and short", ComputeEditAreaLayout(1600, 300, 200), {210, 10, 1585, 1041}, 688, 516,
       1376, 1183, 662.5},
      // Lower than the margin: h is 0, then raised by the 4:3 rule.
      {"margin exactly", ComputeEditAreaLayout(400, 21, 100), {110, 10, 389, 219}, 140, 105, 280,
       361, 114.5},
      // 8 pixels past the column and margin: one more step of 8 (16).
      {"one width step", ComputeEditAreaLayout(134, 41, 100), {110, 10, 125, 29}, 8, 10, 24, 171,
       -13.5},
      {"tiny", ComputeEditAreaLayout(1, 1, 500), {510, 10, 517, 15}, 4, 3, 8, 157, -21.5},
  });
}

// A fresh editor's layout takes, in order: the draw surface's pixels and
// row table, the same for the shown surface, the draw list, the polygon
// frames, the sort scratch and the fill tables. Each failure shows its
// message once and stops: no later step runs and nothing is presented.
TEST(EditorLayout, EachFailureShowsItsMessageAndStops) {
  struct Row {
    const char* name;
    bool colours;                      // a colour table was read
    int width;                         // of the area asked for
    std::optional<std::size_t> grant;  // allocations that succeed
    const char* message;               // nullptr: none, and no fatal error
  };
  const char* const kSurface = "CD_Offscreen failed.";
  const char* const kFill = "Not enough memory for polygon filling.";
  // clang-format off
  const Row rows[] = {
      {"zero width waits",             true,  0,   std::nullopt, nullptr},
      {"no colour table",              false, 320, std::nullopt, "Failed to get color table for offscreen."},
      {"draw pixels",                  true,  320, 0,            kSurface},
      {"shown pixels",                 true,  320, 2,            kSurface},
      {"shown row table",              true,  320, 3,            kSurface},
      {"draw list",                    true,  320, 4,            kFill},
      {"sort scratch",                 true,  320, 6,            kFill},
      {"fill tables only",             true,  320, 7,            kFill},
  };
  // clang-format on
  test::EditorFixture source;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedUi ui;
    Runtime rt(ui);
    Editor e(rt);
    if (row.colours) e.model.colors = source.m().colors;
    test::RecordingPresenter presenter;
    e.SetPresenter(&presenter);
    rt.memory.FailAfter(row.grant);
    EXPECT_FALSE(e.LayoutArea(row.width, 240));
    e.ShowFrame();
    const std::vector<RecordedMessage> said =
        row.message ? std::vector<RecordedMessage>{{"General Error", row.message}}
                    : std::vector<RecordedMessage>{};
    EXPECT_EQ(std::make_tuple(e.display.frame.firstLayoutPending, rt.fatalError, ui.Messages(),
                              presenter.shows),
              std::make_tuple(true, row.message != nullptr, said, 0));
  }
}

}  // namespace
}  // namespace ws
