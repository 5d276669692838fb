#include "model/cluster.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "model/color_ops.h"
#include "model/object_text.h"
#include "model_test_util.h"
#include "resource/byte_order.h"
#include "resource/file_io.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

using test::Bytes;
using Strings = std::vector<std::string>;
using ResourceMap = std::map<std::pair<ResType, std::uint32_t>, std::pair<std::string, Bytes>>;

ResourceMap ReadAll(ResourceFile& files, const std::string& path) {
  ResourceMap out;
  OpenResource f(files, path);
  for (const ResourceEntry& e : files.Entries(f.ref())) {
    auto r = files.ReadResource(f.ref(), e.type, e.id);
    out[{e.type, e.id}] = {r->name, Bytes(r->bytes().begin(), r->bytes().end())};
  }
  return out;
}

// Everything a load may change.
using ObjectSnapshot = std::tuple<std::vector<double>, std::uint32_t, AnimationSlots>;
ObjectSnapshot Snap(const Model& m) {
  return {test::TableFields(m.tables), m.objectWord, m.animation};
}

// A square at x = dx whose vector list is the one the loader rebuilds.
void AddSquare(ObjectTables& t, double dx, std::uint8_t color) {
  const std::uint32_t p = t.AddPoint(dx, 0, 0);
  t.AddPoint(dx + 10, 0, 0), t.AddPoint(dx + 10, 10, 0), t.AddPoint(dx, 10, 0);
  Polygon poly = test::MakePolygon({p, p + 1, p + 2, p + 3}, {});
  for (std::uint32_t k = 0; k < 4; ++k) {
    const std::uint32_t v = poly.vectors[poly.vectorCount++] = t.AddVector(p + k, p + (k + 1) % 4);
    t.vectors[v].color = color, t.vectors[v].attribute = k, t.vectors[v].width = k % 2;
  }
  poly.viewZoneCount = 1, poly.viewZones[0] = 0x4000 | t.polygonCount;
  poly.flags = PolyFlag::kDefined, poly.frontColor = color, poly.backColor = color + 1;
  poly.frontFill = FillWord(poly.frontColor), poly.backFill = FillWord(poly.backColor);
  t.polygons[t.polygonCount++] = poly;
}

struct ClusterTest : ::testing::Test {
  test::ModelFixture fx;
  Model& m = fx.m();
  ScriptedUi& ui = fx.ui;

  void SetUp() override {
    ASSERT_TRUE(CreateWorkingCluster(m));
    ui.ClearMessages();
  }

  // Objects "zero" (two squares), "one" (two squares, a vector to the
  // origin, animation, object word) and "two" (empty); "zero" is current.
  void BuildThreeObjects() {
    ASSERT_TRUE(RenameObjectTo(m, "zero"));
    AddSquare(m.tables, 0, 16);
    AddSquare(m.tables, 100, 24);
    ASSERT_TRUE(NewObject(m, "one"));
    AddSquare(m.tables, 3, 40);
    AddSquare(m.tables, 30, 40);
    m.tables.AddVector(m.tables.AddPoint(-4, 5.5, 1e-3), 0);
    m.objectWord = 0x12345678;
    m.animation.slots[1].active = 1, m.animation.slots[1].angle = 45,
    m.animation.slots[1].point = 8;
    ASSERT_TRUE(NewObject(m, "two"));
    ASSERT_TRUE(SelectObject(m, 0));
  }

  std::string SaveAs(const std::string& path) {
    m.cluster.fileState = FileState::kNone;
    ui.QueueSavePath(path);
    EXPECT_TRUE(SaveCluster(m));
    return path;
  }
};

// A stored vector list is replaced by the rebuild, so only the entries it
// keeps (at corners no vector reaches) must name a vector; a group leader
// outside the object is dropped as if it had been deleted.
TEST_F(ClusterTest, StaleEdgesAndLeadersDoNotRefuseTheObject) {
  struct Row {
    const char* name;
    std::vector<std::pair<std::size_t, std::uint32_t>> patches;  // FACE offset, LE u32
    bool loads;
    std::uint32_t edge0, flags, leader;
  };
  const std::uint32_t defined = PolyFlag::kDefined, adopted = defined | PolyFlag::kAdopted;
  const Row rows[] = {
      {"stale edge past the vectors", {{28, 0xFFFF}}, true, 6, defined, 0x4000},
      {"leader one past the polygons", {{16, adopted}, {628, 1}}, true, 6, defined, 0},
      {"leader at the last polygon", {{16, adopted}, {628, 0}}, true, 6, adopted, 0},
      {"unreached corner keeps its edge", {{708, 4}, {28, 3}}, true, 9, defined, 0x4000},
      {"unreached corner, edge past the vectors", {{708, 4}, {28, 0xFFFF}}, false, 0, 0, 0},
  };
  AddSquare(m.tables, 0, 8);
  m.tables.AddPoint(99, 99, 99);  // file point 4: no vector reaches it
  ASSERT_TRUE(StoreObject(m, 0, kDefaultObjectName));
  const Bytes face = ReadAll(m.resources, m.paths.working).at({kResFace, 0}).second;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes patched = face;
    for (auto [at, value] : row.patches) StoreLE32(patched.data() + at, value);
    ASSERT_TRUE(m.resources.WriteResource(OpenResource(m.resources, m.paths.working).ref(),
                                          kResFace, 0, patched, "x"));
    ui.ClearMessages();
    m.tables.polygonCount = 0;
    ASSERT_EQ(LoadObject(m, 0), row.loads);
    if (!row.loads) {
      EXPECT_EQ(ui.MessageTexts(), Strings{"Shape corrupt. Object 0 \"Default Object\": polygon 0 "
                                           "has a corner that no vector reaches."});
      EXPECT_EQ(m.tables.polygonCount, 0u);
      continue;
    }
    EXPECT_TRUE(ui.Messages().empty());
    const Polygon& p = m.tables.polygons[0];
    EXPECT_EQ(std::tie(p.vectors[0], p.flags, p.viewZones[0]),
              std::tie(row.edge0, row.flags, row.leader));
  }
}

// Damage to object 1 (at least 8 points, 8 vectors and 2 polygons):
// `bytes` written at `at` into its resource of `type`, or that resource
// removed when there are none. Each resource cut short is refused by the
// reader's own length checks.
const std::tuple<const char*, ResType, std::size_t, Bytes> kDamages[] = {
    {"FACE missing", kResFace, 0, {}},
    {"vector end past the points", kResTvct, 4, {0xFF, 0xFF}},
    {"vector end below the reserved points", kResTvct, 0, {0xF8, 0xFF, 0xFF, 0xFF}},
    {"corner past the points", kResFace, 708 + 4, {0xFF, 0xFF}},
    {"a coordinate that is NaN", kResPnts, 6, {0xF8, 0x7F}},
};
void Damage(ResourceFile& files, const std::string& path, ResType type, std::size_t at,
            const Bytes& bytes) {
  OpenResource f(files, path);
  if (bytes.empty()) return files.DeleteResource(f.ref(), type, 1);
  auto res = files.ReadResource(f.ref(), type, 1);
  Bytes b(res->bytes().begin(), res->bytes().end());
  std::copy(bytes.begin(), bytes.end(), b.begin() + at);
  ASSERT_TRUE(files.WriteResource(f.ref(), type, 1, b, "damaged"));
}

TEST_F(ClusterTest, DamageIsRefusedAndChangesNothing) {
  BuildThreeObjects();
  const std::string good = SaveAs(fx.dir.File("good.wdc")), bad = fx.dir.File("bad.wdc");
  const Bytes goodBytes = test::ReadFileBytes(good);
  // A damaged object of the working file: selecting it keeps object 0.
  const ObjectSnapshot zero = Snap(m);
  for (const auto& [what, type, at, bytes] : kDamages) {
    SCOPED_TRACE(what);
    test::WriteFileBytes(m.paths.working, goodBytes);
    Damage(m.resources, m.paths.working, type, at, bytes);
    ui.ClearMessages();
    EXPECT_FALSE(SelectObject(m, 1));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(std::make_tuple(ui.Messages()[0].text.rfind("Shape corrupt. Object 1 \"one\": ", 0),
                              Snap(m), m.cluster.current),
              std::make_tuple(0u, zero, 0u));
  }
  // A damaged cluster file, while another cluster is being edited.
  ASSERT_TRUE(StartNewCluster(m));
  AddSquare(m.tables, -20, 48);
  ASSERT_TRUE(NewObject(m, "other"));
  m.cluster.clusterPath = m.cluster.windowTitle = "/somewhere/else.wdc";
  m.cluster.fileState = FileState::kCluster;
  // Everything a refused load must leave as it was.
  auto state = [&] {
    const ClusterState& c = m.cluster;
    return std::make_tuple(test::ReadFileBytes(m.paths.working),
                           test::ReadFileBytes(m.paths.preferences), Snap(m),
                           FileExists(m.paths.working + ".incoming"), ui.busy(), c.objectNames,
                           c.current, c.clusterPath, c.fileState, c.windowTitle);
  };
  const auto before = state();
  auto refused = [&](const std::string& message) {
    ui.ClearMessages();
    EXPECT_FALSE(LoadCluster(m, bad));
    EXPECT_EQ(ui.Messages().size(), 1u);
    if (!message.empty()) {
      EXPECT_EQ(ui.MessageTexts(), Strings{message});
    }
    EXPECT_TRUE(state() == before);
  };
  for (const auto& [what, type, at, bytes] : kDamages) {
    SCOPED_TRACE(what);
    test::WriteFileBytes(bad, goodBytes);
    Damage(m.resources, bad, type, at, bytes);
    refused("");
  }
  // The directory's own checks are the resource file tests'; one file that
  // is not a resource file stands for them here.
  const std::string noPinf = "Shape corrupt. It doesn't have PINF resource.";
  const std::tuple<const char*, std::function<void(RefNum)>, std::string> edits[] = {
      {"no clut", [&](RefNum r) { m.resources.DeleteResource(r, kResClut, kCurrentClutId); },
       "Can't find clut in user object file."},
      {"objects not numbered from 0",
       [&](RefNum r) { m.resources.ChangeResourceInfo(r, kResPinf, 0, "", kResPinf, 7); }, noPinf},
      {"no objects",
       [&](RefNum r) {
         for (std::uint32_t i = 0; i < 3; ++i) m.resources.DeleteResource(r, kResPinf, i);
       },
       noPinf},
  };
  for (const auto& [what, edit, message] : edits) {
    SCOPED_TRACE(what);
    test::WriteFileBytes(bad, goodBytes);
    edit(OpenResource(m.resources, bad).ref());
    refused(message);
  }
  test::WriteFileText(bad, "[COLORS256_RGB_1.1]\n");
  refused("That file is not a Wirestead cluster file.");
  std::remove(bad.c_str());
  refused("Error reading file.");
  // Cut anywhere in the data area: refused, never a crash.
  for (std::size_t len = ResourceFile::kHeaderSize; len < goodBytes.size(); len += 97) {
    SCOPED_TRACE(len);
    test::WriteFileBytes(bad, Bytes(goodBytes.begin(), goodBytes.begin() + len));
    refused("");
  }
}

TEST_F(ClusterTest, SavedClusterLoadsBackAndSavesTheSameResourcesOrOneFilePerObject) {
  BuildThreeObjects();
  std::vector<ObjectSnapshot> built(3);
  for (std::uint32_t i : {1u, 2u, 0u}) {
    ASSERT_TRUE(SelectObject(m, i));
    built[i] = Snap(m);
  }
  const std::string first = SaveAs(fx.dir.File("first.wdc"));
  const ColorTable other = test::ShiftedColorTable(3);
  ASSERT_TRUE(WriteClutToFile(m.resources, first, kCurrentClutId, other));
  const ResourceMap saved = ReadAll(m.resources, first);
  // 'clut'; "zero": 'PINF', 'PNTS', 'TVCT', 'FACE'; "one": 'ANIM', 'PINF',
  // 'PNTS', 'TVCT', 'FACE'; "two": 'PINF'.
  EXPECT_EQ(saved.size(), 11u);
  ASSERT_TRUE(StartNewCluster(m));
  ASSERT_TRUE(m.PushUndo("Undo Plot\tCtrl+Z"));
  ASSERT_TRUE(LoadCluster(m, first));
  EXPECT_EQ(
      std::make_tuple(EncodeClut(m.colors.current),
                      ReadAll(m.resources, m.paths.preferences).at({kResClut, kCurrentClutId}),
                      m.cluster.windowTitle, m.cluster.clusterPath, m.cluster.fileState,
                      m.undo.ObjectSpan(), m.cluster.objectNames, Snap(m)),
      std::make_tuple(EncodeClut(other), saved.at({kResClut, kCurrentClutId}), first, first,
                      FileState::kCluster, 0u, Strings{"zero", "one", "two"}, built[0]));
  for (std::uint32_t i : {1u, 2u, 0u}) {
    ASSERT_TRUE(SelectObject(m, i));
    EXPECT_EQ(Snap(m), built[i]) << i;
  }
  EXPECT_EQ(ReadAll(m.resources, SaveAs(fx.dir.File("second.wdc"))), saved);
  EXPECT_TRUE(ui.Messages().empty());
  // Save Cluster As Objects: one text file per object (its layout is the
  // object text tests'); the object that was current is loaded again.
  ASSERT_TRUE(RenameObjectTo(m, "ze/ro"));
  ASSERT_TRUE(SelectObject(m, 1));
  ui.QueueSavePath(fx.dir.File("Not Used - Click Save When Finished"));
  ASSERT_TRUE(SaveClusterAsObjects(m));
  for (const char* name : {"ze_ro.wdo", "one.wdo", "two.wdo"})
    EXPECT_EQ(test::ReadFileText(fx.dir.File(name)).rfind("[COLORS256_RGB_1.1]", 0), 0u) << name;
  EXPECT_EQ(std::make_tuple(m.cluster.fileState, m.cluster.current, Snap(m)),
            std::make_tuple(FileState::kCluster, 1u, built[1]));
  std::remove(fx.dir.File("two.wdo").c_str());
  EXPECT_FALSE(SaveClusterAsObjects(m));  // cancelled: nothing written
  EXPECT_EQ(std::make_tuple(m.cluster.fileState, FileExists(fx.dir.File("two.wdo"))),
            std::make_tuple(FileState::kCluster, false));
}

// The extension is added unless the name ends in exactly ".wdc"; a cluster
// file with a path is saved without asking, an object file asks again.
TEST_F(ClusterTest, SaveClusterAsksWhenItMustAndAppendsTheExtension) {
  const std::string d = fx.dir.path() + "/";
  const std::pair<std::string, std::string> rows[] = {
      {"a.wdc", "a.wdc"}, {"b", "b.wdc"}, {"c.WDC", "c.WDC.wdc"}, {"e.wdcx", "e.wdcx.wdc"}};
  for (const auto& [chosen, expected] : rows) {
    SaveAs(d + chosen);
    EXPECT_EQ(std::make_tuple(m.cluster.clusterPath, m.cluster.fileState, FileExists(d + expected)),
              std::make_tuple(d + expected, FileState::kCluster, true));
  }
  const std::size_t asked = ui.SaveDialogs().size();
  AddSquare(m.tables, 0, 8);
  ASSERT_TRUE(SaveCluster(m));
  EXPECT_EQ(std::make_tuple(ui.SaveDialogs().size(), test::ReadFileBytes(m.cluster.clusterPath),
                            ReadAll(m.resources, m.cluster.clusterPath).count({kResFace, 0})),
            std::make_tuple(asked, test::ReadFileBytes(m.paths.working), 1u));
  m.cluster.fileState = FileState::kObject;
  EXPECT_FALSE(SaveCluster(m));  // cancelled
  EXPECT_EQ(std::make_tuple(ui.SaveDialogs().size(), m.cluster.fileState),
            std::make_tuple(asked + 1, FileState::kObject));
  m.cluster.clusterPath.clear();
  m.cluster.fileState = FileState::kNone;
  ui.QueueSavePath(fx.dir.File("no/such/dir/x.wdc"));
  EXPECT_FALSE(SaveCluster(m));
  EXPECT_EQ(std::make_tuple(ui.MessageTexts(), m.cluster.clusterPath, m.cluster.fileState),
            std::make_tuple(Strings{"Error writing file."}, std::string(), FileState::kNone));
}

TEST_F(ClusterTest, NewAndRenameRefuseAnEmptyOrLongName) {
  AddSquare(m.tables, 0, 8);
  ASSERT_TRUE(StoreObject(m, 0, kDefaultObjectName));
  for (std::optional<std::string> answer :
       {std::optional<std::string>(""), std::optional<std::string>()}) {
    ui.QueueValue(answer);
    EXPECT_FALSE(NewObjectCommand(m));
    ui.QueueValue(answer);
    EXPECT_FALSE(RenameObject(m));
  }
  EXPECT_EQ(m.cluster.objectNames, Strings{"Default Object"});
  // Rename reaches every stored resource, those of emptied tables too.
  m.tables.ResetObject();
  ui.QueueValue("Castle");
  ASSERT_TRUE(RenameObject(m));
  for (const auto& [key, value] : ReadAll(m.resources, m.paths.working))
    if (key.first != kResClut) {
      EXPECT_EQ(value.first, "Castle") << ResTypeName(key.first);
    }
  AddSquare(m.tables, 0, 8);
  ui.QueueValue("Tower");
  ASSERT_TRUE(NewObjectCommand(m));
  EXPECT_EQ(std::make_tuple(m.cluster.current, m.tables.pointCount, m.tables.polygonCount),
            std::make_tuple(1u, 7u, 0u));
  ASSERT_TRUE(SelectObject(m, 0));  // the object that was current went into the file first
  EXPECT_EQ(m.tables.polygonCount, 1u);
  EXPECT_TRUE(NewObject(m, std::string(255, 'x')));
  EXPECT_FALSE(NewObject(m, std::string(256, 'x')) || RenameObjectTo(m, std::string(256, 'x')));
  EXPECT_EQ(std::make_tuple(ui.MessageTexts(), m.cluster.objectNames),
            std::make_tuple(Strings(2, "An object name can have at most 255 characters."),
                            Strings{"Castle", "Tower", std::string(255, 'x')}));
}

TEST_F(ClusterTest, DeletingAnObjectRenumbersTheLaterOnesAndTheirHistory) {
  BuildThreeObjects();
  ASSERT_TRUE(SelectObject(m, 2));  // object 2 gets all five resources
  AddSquare(m.tables, 5, 56);
  m.animation.slots[0].active = 3;
  ASSERT_TRUE(m.PushUndo("Undo Plot\tCtrl+Z"));
  ASSERT_TRUE(SelectObject(m, 1));
  ASSERT_TRUE(m.PushUndo("Undo Drag\tCtrl+Z"));
  const ResourceMap before = ReadAll(m.resources, m.paths.working);
  ASSERT_TRUE(DeleteObject(m));
  const ResourceMap after = ReadAll(m.resources, m.paths.working);
  for (ResType type : {kResAnim, kResPinf, kResPnts, kResTvct, kResFace}) {
    SCOPED_TRACE(ResTypeName(type));  // object 1 is "two" by name and bytes
    EXPECT_EQ(std::make_tuple(after.at({type, 1}), after.count({type, 2}), after.count({type, 0})),
              std::make_tuple(before.at({type, 2}), 0u, before.count({type, 0})));
  }
  // Object 1's history went with it; object 2's is now object 1's.
  EXPECT_EQ(
      std::make_tuple(m.cluster.objectNames, m.cluster.current, m.tables.name,
                      m.tables.polygonCount, m.animation.slots[0].active, m.undo.currentObject(),
                      m.undo.depth(), m.undo.DepthOf(2), m.undo.UndoMenuState().text),
      std::make_tuple(Strings{"zero", "two"}, 1u, "two", 1u, 3u, 1u, 1u, 0u, "Undo Plot\tCtrl+Z"));
  // Deleting the last object makes the previous one current, loaded.
  ASSERT_TRUE(DeleteObject(m));
  EXPECT_EQ(std::make_tuple(m.cluster.objectNames, m.cluster.current, m.tables.name,
                            m.tables.polygonCount),
            std::make_tuple(Strings{"zero"}, 0u, "zero", 2u));
  // Deleting the only object leaves an empty "Default Object".
  ASSERT_TRUE(DeleteObject(m));
  const ResourceMap last = ReadAll(m.resources, m.paths.working);  // 'clut' and the new 'PINF'
  EXPECT_EQ(std::make_tuple(m.cluster.objectNames, m.tables.pointCount, m.tables.vectorCount,
                            m.tables.polygonCount, m.animation.AnyActive(), last.size(),
                            last.at({kResPinf, 0}).first),
            std::make_tuple(Strings{"Default Object"}, 7u, 6u, 0u, false, 2u, "Default Object"));
}

// Whatever replaces the current table (an object file here; the importers
// end in the same store), the working file's 'clut' 1000 follows: Save
// Cluster writes it and the next session restores it. A table the
// Preferences file refuses does not stay in the working file.
TEST_F(ClusterTest, ColourTableTravelsWithTheCluster) {
  ColorTable table = test::SampleColorTable();
  const RGB16 changed{257, 514, 771};
  table.Set(0, changed);
  test::WriteFileText(fx.dir.File("c.wdo"),
                      "[COLORS256_RGB_1.1]\r\n" + FormatColorLines(table, "\r\n") +
                          "[POINTS]\r\n0\r\n[VECTORS]\r\n0\r\n[POLYGONS]\r\n0\r\n");
  ASSERT_TRUE(LoadObjectText(m, fx.dir.File("c.wdo")));
  const std::string saved = SaveAs(fx.dir.File("saved.wdc"));
  EXPECT_EQ((*ReadClutFromFile(m.resources, saved, kCurrentClutId))[0], changed);
  // The next session: this working file becomes the backup, and the
  // Preferences file holds another table until the backup is restored.
  test::WriteFileBytes(m.paths.backup, test::ReadFileBytes(m.paths.working));
  ASSERT_TRUE(StoreCurrentColorTable(m, test::SampleColorTable()));
  ASSERT_TRUE(RestoreLastSession(m));
  // A restored session has no path: the next Save Cluster asks.
  EXPECT_EQ(std::make_tuple(m.colors.current[0], m.cluster.clusterPath, m.cluster.fileState),
            std::make_tuple(changed, std::string(), FileState::kNone));
  m.paths.preferences = fx.dir.File("missing/Preferences");
  EXPECT_FALSE(StoreCurrentColorTable(m, test::SampleColorTable()));
  EXPECT_EQ((*ReadClutFromFile(m.resources, m.paths.working, kCurrentClutId))[0], changed);
}

TEST_F(ClusterTest, StartNewClusterResetsEverythingOrRefusesWithoutAColourTable) {
  for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(NewObject(m, name));
  AddSquare(m.tables, 0, 8);
  m.cluster.clusterPath = m.cluster.windowTitle = "x.wdc", m.cluster.objectFilePath = "x.wdo";
  m.cluster.fileState = FileState::kCluster, m.preferences.thickLine = true;
  m.preferences.viewHalfWidth = 321;
  ASSERT_TRUE(m.PushUndo("Undo Plot\tCtrl+Z"));
  ASSERT_TRUE(SelectObject(m, 1));
  ASSERT_TRUE(m.PushUndo("Undo Plot\tCtrl+Z"));
  ASSERT_TRUE(SelectObject(m, 3));
  ASSERT_TRUE(StartNewCluster(m));
  EXPECT_EQ(
      std::make_tuple(m.cluster.current, m.cluster.objectNames,
                      ReadAll(m.resources, m.paths.working).size(), m.tables.pointCount,
                      m.tables.points[1].x,
                      m.cluster.clusterPath + m.cluster.objectFilePath + m.cluster.windowTitle,
                      m.cluster.fileState, m.undo.currentObject(), m.undo.ObjectSpan()),
      std::make_tuple(0u, Strings{"Default Object"}, 2u, 7u, 150.0, "", FileState::kNone, 0u, 0u));
  EXPECT_EQ(ReadPreferences(m.resources, m.paths.preferences), m.preferences);
  AddSquare(m.tables, 0, 8);
  m.resources.DeleteResource(OpenResource(m.resources, m.paths.preferences).ref(), kResClut,
                             kCurrentClutId);
  const Bytes working = test::ReadFileBytes(m.paths.working);
  EXPECT_FALSE(StartNewCluster(m));
  EXPECT_EQ(std::make_tuple(ui.MessageTexts(), test::ReadFileBytes(m.paths.working),
                            m.tables.polygonCount, m.rt.fatalError),
            std::make_tuple(Strings{"Can't find clut in preferences file."}, working, 1u, false));
  // A working file that cannot be created ends the program.
  test::ModelFixture other;
  other.m().paths.working = other.dir.File("missing-dir/temp");
  EXPECT_FALSE(CreateWorkingCluster(other.m()));
  EXPECT_EQ(std::make_tuple(other.ui.Messages().back(), other.m().rt.fatalError),
            std::make_tuple(
                RecordedMessage{"General Error", "Could not create temp file for default editing."},
                true));
}

}  // namespace
}  // namespace ws
