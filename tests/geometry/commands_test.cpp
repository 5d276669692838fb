#include "geometry/commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "geometry/primitives.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

// A small object every command has work on: a selected hexagon with its
// edges (two of them selected), a selected view zone, a duplicate point and
// an opposite duplicate vector.
void BuildObject(GeometryFixture& f) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < 6; ++i) p.push_back(f.P(i * 10.0, (i % 3) * 7.0, i * 3.0));
  for (int i = 0; i < 6; ++i) f.V(p[i], p[(i + 1) % 6], i < 2);
  const auto hexagon = f.Poly({p[0], p[1], p[2], p[3], p[4], p[5]}, true);
  f.t().polygons[hexagon].viewZoneCount = 1;
  f.t().polygons[hexagon].viewZones[0] = 0x4000;
  f.Poly({p[0], p[2], p[4]});
  const auto again = f.P(0, 0, 0);
  f.V(p[1], again);
  f.V(again, p[1]);
  f.t().currentPolygon = 1;
}

struct Case {
  const char* name;
  std::string_view label;
  std::function<bool(GeometryFixture&)> run;
};

TEST(GeometryCommands, EachTakesItsUndoStepAndUndoRestoresTheTables) {
  namespace id = GeometryCommandId;
  auto menu = [](int command) {
    return [command](GeometryFixture& f) { return RunGeometryCommand(f.ctx, command).value(); };
  };
  const Case cases[] = {
      {"rotate x 45", "Undo Rotate\tCtrl+Z", menu(id::kRotateX45)},
      {"rotate x 90", "Undo Rotate\tCtrl+Z", menu(id::kRotateX90)},
      {"rotate y 45", "Undo Rotate\tCtrl+Z", menu(id::kRotateY45)},
      {"rotate y 90", "Undo Rotate\tCtrl+Z", menu(id::kRotateY90)},
      {"flip vertically", "Undo Flip\tCtrl+Z", menu(id::kFlipVertically)},
      {"flip horizontally", "Undo Flip\tCtrl+Z", menu(id::kFlipHorizontally)},
      {"flip front and back", "Undo Flip\tCtrl+Z", menu(id::kFlipFrontAndBack)},
      {"duplicate", "Undo Duplicate\tCtrl+Z", menu(id::kDuplicate)},
      {"duplicate (pop-up)", "Undo Duplicate\tCtrl+Z", menu(id::kDuplicatePopup)},
      {"connect copy", "Undo Vector Connect\tCtrl+Z", menu(id::kConnectCopy)},
      {"remove duplicates", "Undo Remove Duplicates", menu(id::kRemoveDuplicates)},
      {"delete", "Undo Delete\tCtrl+Z", menu(id::kDeletePopup)},
      {"tessellate", "Undo Tessulate", menu(id::kTessellate)},
      {"flip polygon face", "Undo Flip Backface", menu(id::kFlipPolygonFace)},
      {"clear view zone list", "Undo Reset View Zone", menu(id::kClearViewZoneList)},
      {"circle", "Undo Circle\tCtrl+Z",
       [](GeometryFixture& f) {
         return CreateCircle(f.ctx, {"8", "100", "0,0,0", false});
       }},
      {"cylinder", "Undo Cylinder\tCtrl+Z",
       [](GeometryFixture& f) {
         return CreateCylinder(f.ctx, {"6", "30", "60", "0,0,0", false});
       }},
      {"sphere", "Undo Sphere\tCtrl+Z",
       [](GeometryFixture& f) {
         return CreateSphere(f.ctx, {"4", "5", "80", "0,0,0", false});
       }},
      {"cube", "Undo Rectangle\tCtrl+Z",
       [](GeometryFixture& f) {
         return CreateCube(f.ctx, {"10", "20", "30", "1,2,3", false});
       }},
  };
  // One object for all: each undo must bring it back for the next command.
  GeometryFixture f;
  BuildObject(f);
  ObjectTables before{f.rt};
  before.AllocateObjectTables();
  CopyUsed(f.t(), before);
  for (const Case& c : cases) {
    EXPECT_TRUE(c.run(f)) << c.name;
    EXPECT_FALSE(SameUsedTables(f.t(), before)) << c.name << " changed nothing";
    ASSERT_EQ(f.model.undo.depth(), 1u) << c.name;
    EXPECT_EQ(f.model.undo.CurrentStack().back().label, c.label) << c.name;
    ASSERT_TRUE(f.model.PopUndo()) << c.name;
    ASSERT_TRUE(SameUsedTables(f.t(), before)) << c.name;
    EXPECT_FALSE(f.ui.busy()) << c.name;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(GeometryCommands, NothingToDoStillTakesTheUndoStep) {
  GeometryFixture f;
  f.V(f.P(0, 0, 0), f.P(1, 0, 0));
  EXPECT_FALSE(TessellateCommand(f.ctx));
  EXPECT_FALSE(FlipPolygonFaceCommand(f.ctx));
  EXPECT_FALSE(ClearViewZoneListCommand(f.ctx));
  EXPECT_EQ(f.model.undo.depth(), 3u);
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(GeometryCommands, PrimitiveAndUnknownIdsAreNotRunDirectly) {
  GeometryFixture f;
  for (int command : {GeometryCommandId::kCube, GeometryCommandId::kCircle,
                      GeometryCommandId::kCylinder, GeometryCommandId::kSphere, 57643}) {
    EXPECT_FALSE(RunGeometryCommand(f.ctx, command).has_value()) << command;
  }
  EXPECT_EQ(f.model.undo.depth(), 0u);
}

}  // namespace
}  // namespace ws::test
