#include "editor/view_zone_dialog.h"

#include <gtest/gtest.h>

#include "editor_test_support.h"

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
  // Rewriting an entry already listed still works.
  dialog.polygonChoice = 4;
  dialog.priorityChoice = kPriorityHigh;
  EXPECT_TRUE(dialog.Add());
  EXPECT_EQ(dialog.entries().size(), kMaxViewZones);
  dialog.polygonChoice = -1;
  EXPECT_FALSE(dialog.Add());
}

}  // namespace
}  // namespace ws
