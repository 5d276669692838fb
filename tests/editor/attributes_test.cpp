#include "editor/interaction/attributes.h"

#include <gtest/gtest.h>

#include "editor/shell/command_ids.h"
#include "editor/interaction/selection.h"
#include "editor/interaction/view_zone_dialog.h"
#include "interaction_test_support.h"

namespace ws {
namespace {

using test::AddPolygon;
using namespace PolyFlag;

class AttributeTest : public test::InteractionTest {
 protected:
  std::uint32_t Square(double x, std::uint32_t flags, std::uint8_t colour = 3) {
    return AddPolygon(t(), {{x, 0, 0}, {x, 10, 0}, {x + 10, 10, 0}, {x + 10, 0, 0}}, flags, colour);
  }
  std::uint32_t Flags(std::uint32_t k) { return t().polygons[k].flags; }
  void Select(std::initializer_list<std::uint32_t> ks) {
    for (std::uint32_t k : ks) t().polygonSelected[k] = kSelected;
  }
};

TEST_F(AttributeTest, EachCommandsFlagChangeOnOneAndOnSeveral) {
  struct Case {
    int id;
    std::uint32_t before;
    std::uint32_t one;      // the result with one polygon selected
    std::uint32_t several;  // with two selected
  };
  const std::uint32_t all = 0x1FFF;
  const Case cases[] = {
      {Cmd::kStyleNormal, all, all & ~(kOutline | kBordered), all & ~(kOutline | kBordered)},
      {Cmd::kStyleBordered, kOutline, kBordered, kBordered},
      {Cmd::kOutlineStyle, kBordered | kShaded, kOutline | kShaded, kOutline | kShaded},
      {Cmd::kColorSelected, kShaded | kAdopted | kBordered, kSelectedColor | kBordered,
       kSelectedColor | kBordered},
      {Cmd::kColorShaded, kSelectedColor | kAdopted, kShaded, kShaded},
      {Cmd::kColorEachSide, kAdopted, kEachSideDifferent, kEachSideDifferent},
      {Cmd::kColorEachSide, kEachSideDifferent | kAdopted, kAdopted, kEachSideDifferent},
      {Cmd::kVisibilityNormal, all,
       all & ~(kInvisible | kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority),
       all & ~(kInvisible | kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority)},
      {Cmd::kVisibilityInvisible,
       kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority | kCollision,
       kInvisible | kCollision, kInvisible | kCollision},
      {Cmd::kVisibilityNeverBackFace, kNeverDrawBackFace | kInvisible, 0,
       kNeverDrawBackFace | kInvisible},
      {Cmd::kVisibilityNeverBackFace, kInvisible, kNeverDrawBackFace,
       kNeverDrawBackFace | kInvisible},
      {Cmd::kVisibilityNotFromCollision, kNotVisibleFromCollision, 0, kNotVisibleFromCollision},
      {Cmd::kVisibilityNotFromCollision, 0, kNotVisibleFromCollision, kNotVisibleFromCollision},
      {Cmd::kVisibilityHigherPriority, kHigherPriority | kInvisible, 0, kHigherPriority},
      {Cmd::kVisibilityHigherPriority, kInvisible, kHigherPriority, kHigherPriority},
      {Cmd::kPurposeNormal, kCollision | kEntrance | kViewZone | kBordered, kBordered, kBordered},
      {Cmd::kPurposeCollision, kEntrance, kCollision, kCollision},
      {Cmd::kPurposeEntrance, kCollision, kEntrance, kEntrance},
  };
  Square(0, 0);
  Square(20, 0);
  Square(40, 0);
  for (const Case& c : cases) {
    for (std::uint32_t k = 0; k < 3; ++k) t().polygons[k].flags = c.before;
    UnselectAll(t());
    Select({0});
    EXPECT_TRUE(RunAttributeCommand(ctx, c.id));
    EXPECT_EQ(Flags(0), c.one) << c.id;
    EXPECT_EQ(Flags(2), c.before) << c.id;
    for (std::uint32_t k = 0; k < 3; ++k) t().polygons[k].flags = c.before;
    Select({1});
    EXPECT_TRUE(RunAttributeCommand(ctx, c.id));
    EXPECT_EQ(Flags(0), c.several) << c.id;
    EXPECT_EQ(Flags(1), c.several) << c.id;
    EXPECT_EQ(Flags(2), c.before) << c.id;
  }
  EXPECT_TRUE(shell.redraw);
  EXPECT_TRUE(shell.menuRefreshPending);
  EXPECT_EQ(m().undo.depth(), 0u);  // attribute commands take no undo step
}

// The follower takes the leader's colour mode bits and keeps its others.
TEST_F(AttributeTest, TheLeaderIsAskedAgainUntilItExistsAndLendsItsColourMode) {
  const std::uint32_t leader = Square(0, kShaded | kEachSideDifferent | kBordered);
  const std::uint32_t k = Square(20, kSelectedColor | kCollision);
  Select({k});
  for (const char* answer : {"2", "-7", "0"}) f.ui.QueueValue(answer);
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(f.ui.Prompts(), std::vector<std::string>(3, std::string(kPromptGroupLeader)));
  EXPECT_EQ(Messages(), (std::vector<std::string>(2, std::string(kMsgNoSuchPolygon))));
  EXPECT_EQ(std::make_tuple(t().polygons[k].viewZones[0], Flags(k), Flags(leader)),
            std::make_tuple(leader, kAdopted | kShaded | kEachSideDifferent | kCollision,
                            kShaded | kEachSideDifferent | kBordered));
  // The follower as its own leader: its own bits, read after the change.
  t().polygons[k].flags = kSelectedColor;
  f.ui.QueueValue("1");
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(Flags(k), kAdopted);

  // Cancel (or an answer of -1) ends the command with nothing changed.
  t().polygons[k].flags = kSelectedColor;
  f.ui.QueueValue(std::nullopt);
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(Flags(k), kSelectedColor);
  f.ui.QueueValue("-1");
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(Flags(k), kSelectedColor);
}

TEST_F(AttributeTest, ViewZoneNeedsExactlyOneOfAtLeastTwo) {
  int dialogs = 0;
  ctx.runViewZoneDialog = [&](ViewZoneDialog&) { return ++dialogs > 0; };
  Square(0, 0);
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // nothing selected
  Select({0});
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // no other polygon
  Square(20, 0);
  Select({1});
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // two selected
  EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(kMsgViewZoneNone),
                                                  std::string(kMsgViewZoneNoOthers),
                                                  std::string(kMsgViewZoneSeveral)}));
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(Flags(0) & kViewZone, 0u);
}

}  // namespace
}  // namespace ws
