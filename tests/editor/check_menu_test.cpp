#include <gtest/gtest.h>

#include <algorithm>

#include "editor/shell/command_ids.h"
#include "editor/shell/menu_state.h"
#include "editor/shell/menu_table.h"

namespace ws {
namespace {

// "Check Object" follows "Remove Duplicate Geometry" and, like it, is
// greyed in walk mode only.
TEST(CheckObjectMenu, FollowsRemoveDuplicatesAndIsGreyedInWalkMode) {
  const auto ids = MainMenuIds();
  const auto at = std::find(ids.begin(), ids.end(), Cmd::kRemoveDuplicateGeometry) + 1;
  MenuInputs walk, edit;
  walk.walkModeActive = true;
  EXPECT_EQ(std::make_tuple(at < ids.end() ? *at : 0, MenuItemText(Cmd::kCheckObject),
                            RefreshMenuState(edit)[Cmd::kCheckObject].enabled,
                            RefreshMenuState(walk)[Cmd::kCheckObject].enabled),
            std::make_tuple(Cmd::kCheckObject, std::string_view("Check Object"), true, false));
}

}  // namespace
}  // namespace ws
