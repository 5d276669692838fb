#include "editor/view_zone_dialog.h"

#include <gtest/gtest.h>

#include "editor_test_support.h"

namespace ws {
namespace {

TEST(ViewZoneListingTest, TheTwoKindBitsChooseTheText) {
  EXPECT_EQ(ViewZoneEntryText(5 | ViewZone::kLowPriority), "Poly Low - 5");
  EXPECT_EQ(ViewZoneEntryText(5 | ViewZone::kIsVector), "Vect Hgh - 5");
  EXPECT_EQ(ViewZoneEntryText(5 | ViewZone::kIsVector | ViewZone::kLowPriority), "Vect Low - 5");
  EXPECT_EQ(ViewZoneEntryText(5), "Poly Hgh - 5");
  // Only the 14 index bits are shown.
  EXPECT_EQ(ViewZoneEntryText(0x3FFF | ViewZone::kLowPriority), "Poly Low - 16383");
}

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

TEST_F(ViewZoneDialogTest, OpensOnTheLastSelectedPolygonWithTheOthersToChoose) {
  ViewZoneDialog dialog(t, ui);
  EXPECT_EQ(dialog.zone(), 4u);
  EXPECT_EQ(dialog.polygonChoices(),
            (std::vector<std::string>{"Polygon 0", "Polygon 2", "Polygon 3", "Polygon 5"}));
  EXPECT_EQ(ViewZoneDialog::PriorityChoices(), (std::vector<std::string>{"Low", "High"}));
  EXPECT_EQ(dialog.polygonChoice, 0);
  EXPECT_EQ(dialog.priorityChoice, kPriorityLow);
  EXPECT_EQ(dialog.Listing(), (std::vector<std::string>{"Vect Hgh - 3", "Poly Hgh - 5"}));
}

TEST_F(ViewZoneDialogTest, AddAppendsOrRewritesThePolygonsEntry) {
  ViewZoneDialog dialog(t, ui);
  dialog.polygonChoice = 2;  // polygon 3: only a vector 3 is listed
  dialog.priorityChoice = kPriorityLow;
  EXPECT_TRUE(dialog.Add());
  EXPECT_EQ(dialog.Listing(),
            (std::vector<std::string>{"Vect Hgh - 3", "Poly Hgh - 5", "Poly Low - 3"}));
  dialog.polygonChoice = 3;  // polygon 5, listed High: rewritten Low in place
  EXPECT_TRUE(dialog.Add());
  dialog.polygonChoice = 2;  // polygon 3 back to High
  dialog.priorityChoice = kPriorityHigh;
  EXPECT_TRUE(dialog.Add());
  EXPECT_EQ(dialog.Listing(),
            (std::vector<std::string>{"Vect Hgh - 3", "Poly Low - 5", "Poly Hgh - 3"}));
  EXPECT_EQ(dialog.entries(),
            (std::vector<std::uint32_t>{3 | ViewZone::kIsVector, 5 | ViewZone::kLowPriority, 3}));
  // The stored list is untouched until "Done".
  EXPECT_EQ(t.polygons[4].viewZoneCount, 2u);
  dialog.Commit(t);
  EXPECT_EQ(t.polygons[4].viewZoneCount, 3u);
  EXPECT_EQ(t.polygons[4].viewZones[1], 5u | ViewZone::kLowPriority);
  EXPECT_EQ(t.polygons[4].viewZones[2], 3u);
  EXPECT_TRUE(ui.Messages().empty());
}

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

TEST_F(ViewZoneDialogTest, DeleteRemovesTheSelectedEntry) {
  t.polygons[4].viewZoneCount = 4;
  t.polygons[4].viewZones[2] = 0;
  t.polygons[4].viewZones[3] = 2 | ViewZone::kLowPriority;
  ViewZoneDialog dialog(t, ui);
  EXPECT_FALSE(dialog.Delete());  // nothing selected in the list box
  dialog.listSelection = 1;
  EXPECT_TRUE(dialog.Delete());
  EXPECT_EQ(dialog.Listing(),
            (std::vector<std::string>{"Vect Hgh - 3", "Poly Hgh - 0", "Poly Low - 2"}));
  EXPECT_EQ(dialog.listSelection, 1);
  dialog.listSelection = 2;  // the last one: the selection moves up
  EXPECT_TRUE(dialog.Delete());
  EXPECT_EQ(dialog.listSelection, 1);
  EXPECT_TRUE(dialog.Delete());
  EXPECT_TRUE(dialog.Delete());
  EXPECT_EQ(dialog.listSelection, -1);
  EXPECT_TRUE(dialog.entries().empty());
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_FALSE(dialog.Delete());
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{std::string(kMsgNoEntriesToDelete)});
  dialog.Commit(t);
  EXPECT_EQ(t.polygons[4].viewZoneCount, 0u);
}

TEST_F(ViewZoneDialogTest, ADamagedCountReadsAtMostTwentyEntries) {
  t.polygons[4].viewZoneCount = 0xFFFFFFFFu;
  ViewZoneDialog dialog(t, ui);
  EXPECT_EQ(dialog.entries().size(), kMaxViewZones);
}

}  // namespace
}  // namespace ws
