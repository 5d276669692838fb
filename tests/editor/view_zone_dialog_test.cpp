#include "editor/interaction/view_zone_dialog.h"

#include <gtest/gtest.h>


#include "editor/interaction/attributes.h"
#include "editor/shell/command_ids.h"
#include "editor_test_support.h"
#include "interaction_test_support.h"

namespace ws {
namespace {

class ViewZoneDialogTest : public ::testing::Test, public test::AxisTables {
 protected:
  ViewZoneDialogTest() {
    t.polygonCount = 6;
    for (std::uint32_t k = 0; k < 6; ++k) t.polygons[k] = Polygon{};
    t.polygonSelected[1] = kSelected;
    t.polygonSelected[4] = kSelected;  // the zone: the last one selected
    Polygon& zone = t.polygons[4];
    zone.viewZoneCount = 2;
    zone.viewZones[0] = 3 | ViewZone::kIsVector;
    zone.viewZones[1] = 5;
  }
};

TEST_F(ViewZoneDialogTest, AFullListRefusesAnotherEntry) {
  t.polygonCount = 30;
  for (std::uint32_t k = 6; k < 30; ++k) t.polygons[k] = Polygon{};
  ViewZoneDialog dialog(t, ui);
  for (int i = 4; i < 22; ++i) {
    dialog.polygonChoice = i;
    ASSERT_TRUE(dialog.Add()) << i;
  }
  ASSERT_EQ(dialog.entries().size(), kMaxViewZones);
  dialog.polygonChoice = 23;
  EXPECT_FALSE(dialog.Add());
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{std::string(kMsgViewZoneListFull)});
  // Rewriting an entry already listed still works; no choice adds nothing.
  dialog.polygonChoice = 4;
  dialog.priorityChoice = kPriorityHigh;
  EXPECT_TRUE(dialog.Add() && dialog.entries().size() == kMaxViewZones);
  dialog.polygonChoice = -1;
  EXPECT_FALSE(dialog.Add());
}

// The dialog run from the Purpose menu on polygon 2 of four, whose list
// holds a vector 3, polygon 1 (High) and polygon 0 (Low). The combo offers
// polygons 0, 1 and 3. Ops: "A<choice><l|h>" adds, "D<row>" selects a row
// and deletes it, "d" deletes at the current selection.
class ViewZoneRunTest : public test::InteractionTest {};

TEST_F(ViewZoneRunTest, AddDeleteDoneAndCancel) {
  using V = std::vector<std::uint32_t>;
  const std::uint32_t vec3 = 3 | ViewZone::kIsVector, low = ViewZone::kLowPriority;
  struct Row {
    const char* name;
    const char* ops;
    bool done;
    V after;  // the zone's list afterwards
    const char* message;
  };
  // clang-format off
  const Row rows[] = {
      {"add appends a new polygon",           "A2l",     true,  {vec3, 1, 0 | low, 3 | low}, nullptr},
      {"add rewrites the polygon's entry",    "A1lA0h",  true,  {vec3, 1 | low, 0},          nullptr},
      {"delete removes the selected row",     "D1",      true,  {vec3, 0 | low},             nullptr},
      {"deleting the last row moves up",      "D2d",     true,  {vec3},                      nullptr},
      {"delete with no row selected",         "d",       true,  {vec3, 1, 0 | low},          nullptr},
      {"delete on an empty list says so",     "D0D0D0d", true,  {},                          "There are no entries to delete."},
      {"cancel keeps the list as it was",     "A2hD0",   false, {vec3, 1, 0 | low},          nullptr},
  };
  // clang-format on
  for (double x : {0.0, 20.0, 40.0, 60.0}) {
    test::AddPolygon(t(), {{x, 0, 0}, {x, 9, 0}, {x + 9, 9, 0}}, 0, 3);
  }
  t().polygonSelected[2] = kSelected;
  Polygon& zone = t().polygons[2];
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    f.ui.ClearMessages();
    zone.flags = 0;
    zone.viewZoneCount = 3;
    zone.viewZones[0] = vec3;
    zone.viewZones[1] = 1;
    zone.viewZones[2] = 0 | low;
    ctx.runViewZoneDialog = [&](ViewZoneDialog& dialog) {
      EXPECT_EQ(std::make_tuple(shell.modalDialogOpen, dialog.zone()), std::make_tuple(true, 2u));
      for (const char* op = row.ops; *op; ++op) {
        if (*op == 'A') {
          dialog.polygonChoice = *++op - '0';
          dialog.priorityChoice = *++op == 'l' ? kPriorityLow : kPriorityHigh;
          EXPECT_TRUE(dialog.Add());
        } else if (*op == 'D') {
          dialog.listSelection = *++op - '0';
          EXPECT_TRUE(dialog.Delete());
        } else {
          dialog.Delete();
        }
      }
      return row.done;
    };
    RunAttributeCommand(ctx, Cmd::kPurposeViewZone);
    EXPECT_FALSE(shell.modalDialogOpen);
    EXPECT_EQ(V(zone.viewZones, zone.viewZones + zone.viewZoneCount), row.after);
    EXPECT_EQ(zone.flags, row.done ? PolyFlag::kViewZone : 0u);
    EXPECT_EQ(Messages(),
              row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace ws
