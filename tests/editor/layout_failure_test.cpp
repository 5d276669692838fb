#include <gtest/gtest.h>

#include <optional>

#include "editor/editor.h"
#include "editor_test_support.h"

namespace ws {
namespace {

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
