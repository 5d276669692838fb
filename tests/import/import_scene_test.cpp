#include "import/import_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "import/import_commands.h"
#include "import/import_convert.h"
#include "import/import_notifier.h"
#include "import/readers/bounded_reader.h"
#include "import/scene_walk.h"
#include "import_test_support.h"
#include "model/object_text.h"
#include "resource/file_io.h"

namespace ws {
namespace {

using test::ExpectConsistent;
using test::ImportFixture;
using test::kDropped;

// A scene reader that builds its scene from lists given by the test,
// standing in for a format (the file itself is never opened).
struct SceneFromLists {
  std::vector<Vec3> points;
  std::vector<std::int32_t> faces;
  std::vector<MaterialValue> materials;  // per face when given
};

struct SceneImport : ImportFixture {
  using ImportFixture::Import;
  bool Import(SceneFromLists s) {
    services.readers.Set(SceneFormat::kRaw, [s](Importer& importer, const std::string&) {
      scene::Separator& root = importer.root();
      if (!s.materials.empty()) {
        scene::Material& m = root.Make<scene::Material>();
        for (const MaterialValue& v : s.materials) m.Append(v);
        root.Make<scene::MaterialBinding>(scene::Binding::kPerFace);
      }
      root.Make<scene::Coordinate3>().point = s.points;
      root.Make<scene::IndexedFaceSet>().coordIndex = s.faces;
      return true;
    });
    return Import(dir.File("a.raw"));
  }
  bool ImportTriangles(int count) {
    SceneFromLists s{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, {}};
    for (int i = 0; i < count; ++i) s.faces.insert(s.faces.end(), {0, 1, 2, -1});
    return Import(std::move(s));
  }
};

TEST(ImportConversion, ScalesTheLargestExtentTo360AndCentres) {
  ImportFixture f;
  // A 2 x 1 x 0.5 box from (1, 2, 3): scale 180, centre (2, 2.5, 3.25).
  // Faces of two corners, repeats that leave two points, or one point make
  // no polygon and no message.
  ASSERT_TRUE(f.Import(f.Write("box.obj",
                               "v 1 2 3\nv 3 2 3\nv 3 3 3\nv 1 3 3\nv 1 2 3.5\nv 3 2 3.5\n"
                               "v 3 3 3.5\nv 1 3 3.5\nf 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\n"
                               "f 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\nf 1 2\nf 1 1 2 2 1\nf 3 3 3\n")));
  const ObjectTables& t = f.tables();
  EXPECT_EQ(std::tuple(f.userPoints(), f.userVectors(), t.polygonCount), std::tuple(8u, 12u, 6u));
  // Points are numbered as the faces first meet them: 1, 4, 3, 2, 5, ...
  const Point &first = t.points[kReservedPoints], &seventh = t.points[kReservedPoints + 6];
  EXPECT_EQ(std::vector<Vec3>({{first.x, first.y, first.z}, {seventh.x, seventh.y, seventh.z}}),
            std::vector<Vec3>({{-180, -90, -45}, {180, 90, 45}}));
  // The first face keeps its corner order; each vector leaves its corner.
  const Polygon& p = t.polygons[0];
  for (std::uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(p.points[i], kReservedPoints + i);
    const Vector& v = t.vectors[p.vectors[i]];
    EXPECT_EQ(std::minmax(v.p1, v.p2), std::minmax(p.points[i], p.points[(i + 1) % 4])) << i;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(ImportConversion, A150CornerFaceFitsA151CornerFaceIsDropped) {
  ImportFixture f;
  std::string text, face150 = "f", face151 = "f";
  for (int i = 1; i <= 151; ++i) {
    const double a = 2 * std::numbers::pi * i / 151;
    text += "v " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0\n";
    if (i <= 150) face150 += " " + std::to_string(i);
    face151 += " " + std::to_string(i);
  }
  ASSERT_TRUE(f.Import(f.Write("round.obj", text + face151 + "\n" + face150 + "\n")));
  EXPECT_EQ(std::tuple(f.tables().polygonCount, f.tables().polygons[0].pointCount,
                       f.tables().polygons[0].vectorCount),
            std::tuple(1u, 150u, 150u));
  EXPECT_EQ(f.ui.Messages(),
            (std::vector<RecordedMessage>{
                {"Notification", std::string(kDropped) +
                                     "   - Polygons exceeded the maximum number of points\n"}}));
}

TEST(ImportConversion, ThePolygonCountAndTheCollectionCap) {
  const std::string countLine =
      std::string(kDropped) + "   - Object exceeded the maximum polygon count\n";
  // No face after the 9,999th: it stays. One more: the 9,999th is given
  // back. Past 10,000 faces collection stops and the rest are counted.
  const auto beyond = [&](int n) {
    return countLine + "   - " + std::to_string(n) +
           " faces beyond the 10,000 that an object can take were left out\n";
  };
  const std::tuple<int, std::uint32_t, std::vector<std::string>> cases[] = {
      {9999, 9999, {}},
      {10000, 9998, {countLine}},
      {10001, 9998, {beyond(1)}},
      {12000, 9998, {beyond(2000)}}};
  for (const auto& [faces, polygons, messages] : cases) {
    SceneImport f;
    ASSERT_TRUE(f.ImportTriangles(faces));
    // The dialog is hidden for the report.
    EXPECT_EQ(std::tuple(f.tables().polygonCount, f.ui.MessageTexts(), f.observer.helpLines.back(),
                         std::count(f.progress.events.begin(), f.progress.events.end(), "hide")),
              std::tuple(polygons, messages,
                         "Loading Polygon " + std::to_string(std::min(faces, 10000) / 50 * 50),
                         messages.empty() ? 0 : 1))
        << faces;
  }
  // Merging into a full object keeps its polygons (not cut to 9,998).
  SceneImport f;
  ASSERT_TRUE(f.ImportTriangles(9999));
  ASSERT_TRUE(f.ImportTriangles(1));
  EXPECT_EQ(std::tuple(f.tables().polygonCount, f.ui.MessageTexts()),
            std::tuple(9999u, std::vector<std::string>{countLine}));
}

TEST(ImportConversion, PointAndVectorLimitsDropTheFacesThatFoundNoRoom) {
  SceneFromLists many, dense;
  for (int i = 0; i < 7000; ++i) {
    many.points.insert(many.points.end(), {{1.0 * i, 0, 0}, {1.0 * i, 1, 0}, {1.0 * i, 0, 1}});
    many.faces.insert(many.faces.end(), {3 * i, 3 * i + 1, 3 * i + 2, -1});
  }
  constexpr int kPoints = 307;  // prime: every step visits distinct pairs
  for (int i = 0; i < kPoints; ++i)
    dense.points.push_back({std::cos(i * 0.1), std::sin(i * 0.1), i * 0.01});
  for (int m = 1; m <= 150; ++m) {
    for (int k = 0; k < 150; ++k) dense.faces.push_back((k * m) % kPoints);
    dense.faces.push_back(-1);
  }
  for (bool points : {true, false}) {
    SceneImport f;
    ASSERT_TRUE(f.Import(points ? many : dense));
    const ObjectTables& t = f.tables();
    if (points) {  // 19,992 points make 6,664 whole triangles
      EXPECT_EQ(std::tuple(t.pointCount, t.polygonCount, f.userVectors()),
                std::tuple(kImportMaxPoints, 6664u, 6664u * 3));
    } else {
      EXPECT_EQ(t.vectorCount, kImportMaxVectors);
      EXPECT_TRUE(t.polygonCount > 100u && t.polygonCount < 150u);
    }
    EXPECT_EQ(
        f.ui.MessageTexts(),
        (std::vector<std::string>{std::string(kDropped) + "   - Object exceeded the maximum " +
                                  (points ? "number of points\n" : "number of vectors\n")}));
    ExpectConsistent(t);
  }
}

TEST(ImportColors, DiffuseTimesAmbientPlusDiffuseClampsAndTruncates) {
  ColorTable table = test::SampleColorTable();
  table.Set(5, {0xFFFF, 0xFFFF, 0xFFFF});
  table.Set(0, {0, 0, 0});
  table.Set(6, {0xFEFE, 0xFEFE, 0xFEFE});
  table.Set(7, {62708, 62708, 62708});  // 244 x 257: the default material
  MaterialValue bright;
  bright.diffuse = {1, 1, 1};
  bright.ambient = {0.5, 0.5, 0.5};  // 1.5 clamps to 1.0: 0xFFFF
  // 254.7 -> 254; the default 0.8 x 0.2 + 0.8 = 0.96; below 0 and NaN clamp to 0.
  EXPECT_EQ(std::vector({FaceColorIndex(table, bright),
                         FaceColorIndex(table, MaterialFromColor({0.999, 0.999, 0.999})),
                         FaceColorIndex(table, MaterialValue{}),
                         FaceColorIndex(table, MaterialFromColor({-3, -1, NAN}))}),
            std::vector<std::uint8_t>({5, 6, 7, 0}));
}

TEST(ImportColors, FacesTakeTheirOwnMaterialAndSidedness) {
  SceneImport f;
  SceneFromLists s{
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, -1, 0, 1, 2, -1, 0, 2, 1, -1, 1, 2, 0, -1}, {}};
  s.materials = {MaterialFromColor({0, 0, 0}), MaterialFromColor({1, 0, 0}),
                 MaterialFromColor({0, 1, 0}), MaterialFromColor({0, 0, 1})};
  s.materials[2].twoSided = true;  // the first face is dropped: the others keep their colours
  ASSERT_TRUE(f.Import(std::move(s)));
  const ObjectTables& t = f.tables();
  ASSERT_EQ(t.polygonCount, 3u);
  const ColorTable colors = test::SampleColorTable();
  const std::uint8_t expected[] = {NearestColor(colors, 0xFFFF, 0, 0),
                                   NearestColor(colors, 0, 0xFFFF, 0),
                                   NearestColor(colors, 0, 0, 0xFFFF)};
  for (std::uint32_t k = 0; k < 3; ++k) {
    const Polygon& p = t.polygons[k];
    EXPECT_EQ(std::tuple(p.frontColor, p.backColor, p.frontFill, p.backFill, p.flags),
              std::tuple(expected[k], expected[k], expected[k] * 0x01010101u,
                         expected[k] * 0x01010101u, k == 1 ? 0x002u : 0x402u));
  }
}

TEST(ImportPipeline, TitlesProgressHelpLinesAndEscape) {
  SceneImport f;
  ASSERT_TRUE(f.ImportTriangles(120));
  EXPECT_EQ(f.progress.titles,
            (std::vector<std::string>{"Scanning VRML File...", "Loading Polygons...",
                                      "Importing Objects..."}));
  // The walk reports 50 and 100; loading and importing start again at 0.
  EXPECT_EQ(std::tuple(f.progress.events, f.observer.helpLines, f.progress.positions, f.ui.busy()),
            std::tuple(std::vector<std::string>{"open", "close"},
                       std::vector<std::string>{"Loading Polygon 50", "Loading Polygon 100"},
                       std::vector<int>{0, 50, 100, 0, 0, 83}, false));
  // Escape stops collecting; what came is converted. It is asked once per
  // face, and never after it said yes.
  int polls = 0;
  f.services.escapePressed = [&] { return ++polls > 30; };
  ASSERT_TRUE(f.ImportTriangles(100));
  EXPECT_EQ(std::tuple(f.tables().polygonCount, polls, f.observer.helpLines.back()),
            std::tuple(150u, 31, "*** Aborting ***"));
}

// What the user is told about a file ('@' stands for its path), and the
// polygons it makes.
TEST(ImportMessages, NothingToImportAndDroppedFaces) {
  const std::string nothing = "There is nothing Wirestead can import in \"@\"\n";
  const std::string dropped = std::string(kDropped) + "   - ";
  const std::string noMark = {'v', 0, ' ', 0, '0', 0, '\n', 0};  // UTF-16 without its mark
  const std::tuple<const char*, std::string, std::uint32_t, std::string> cases[] = {
      {"a.obj", "p 1\n", 0, nothing + "It holds only points or lines, no faces."},
      {"a.obj", "", 0, nothing + "It holds no faces."},
      {"a.obj", noMark, 0, nothing + "Its text is in an encoding that Wirestead cannot read."},
      {"a.obj", "v 0 0 0\nf 1 2 3\nf 0 1 1\n", 0,
       nothing + "Every face names vertices that the file does not have."},
      {"a.raw", "1 2 3\n", 0, nothing + "No line holds the nine numbers of a triangle."},
      {"a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\nf 1 2 3\nf -4 1 2\nf 1 2 0\n", 1,
       dropped + "3 faces name vertices that the file does not have\n"},
      {"a.raw", "0 0 0 1 0 0 0 1 0\n1 2 3\ng\n0 0 0 1 0 0 0 1\n", 1,
       dropped + "2 lines with fewer than nine numbers were skipped (lines 2, 4)\n"},
      {"a.dxf", "", 0, nothing + "It holds no DXF section."},
      {"a.dxf", "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n0\nENDSEC\n0\nEOF\n", 0,
       nothing + "It holds no LINE, 3DFACE or POLYLINE mesh, directly or through a block."},
      {"a.dxf", "AutoCAD Binary DXF", 0,
       nothing + "It is a binary DXF file; only DXF files in text form can be imported."},
      {"a.wrl", "#VRML V2.0 utf8\nShape { geometry IndexedFaceSet { coordIndex 0 } }", 0,
       nothing + "Every face names points its shape does not have, or has fewer than three "
                 "corners."},
      {"a.cob", "Caligari V00.01XLH" + std::string(13, ' ') + '\n', 0,  // neither A nor B
       nothing + "Selected file is not a binary Caligari COB file"},
      {"model.txt", "", 0, "Could not import \"@\""},     // no reader claims it
      {"a.x", "no X file", 0, "Could not import \"@\""},  // its reader refuses it
      {"a.nff", "", 0, "Wirestead can't read this kind of file yet: \"@\""}};
  for (const auto& [name, text, polygons, message] : cases) {
    ImportFixture f;
    f.services.readers.Set(SceneFormat::kNff, {});  // a format without a reader
    const std::string path = f.Write(name, text);
    const bool imported = f.Import(path);
    std::string expected = message;
    if (expected.find('@') != std::string::npos) expected.replace(expected.find('@'), 1, path);
    EXPECT_EQ(std::tuple(imported, f.ui.MessageTexts(), f.tables().polygonCount),
              std::tuple(polygons > 0, std::vector<std::string>{expected}, polygons))
        << text;
  }
}

TEST(ImportNotifierLines, ProgressTitleAndLogLines) {
  test::TempDir dir;
  const std::string log = dir.File("import_log.txt");
  test::WriteFileText(log, "left from the last run\n");
  test::RecordingProgress progress;
  ImportNotifier notifier(log);
  ASSERT_TRUE(notifier.logOpen());
  notifier.Attach(&progress);
  for (const char* line :
       {"IMPORT_PROGRESS 45", "IMPORT_DLG_TITLE DirectX File...", "Reading 12.5% Complete",
        "step 3: IMPORT_PROGRESS 80",  // the number starts at the first digit
        "IMPORT_PROGRESS", "IMPORT_PROGRESS 250",
        "IMPORT_DLG_TITLE IMPORT_PROGRESS 7",  // progress is tested first
        "xxIMPORT_DLG_TITLE Mesh",             // the title follows the first 17 characters
        "IMPORT_DLG_TITLE", "Syntax error file 'a.obj', line 3"}) {
    notifier.Notify(line);
  }
  notifier.Progress(33);
  notifier.Title("Importing VRML File...");
  notifier.Attach(nullptr);
  notifier.Progress(50);  // no dialog: dropped, not logged
  EXPECT_EQ(progress.positions, (std::vector<int>{45, 3, 0, 100, 7, 33}));
  EXPECT_EQ(progress.titles,
            (std::vector<std::string>{"DirectX File...", "E Mesh", "", "Importing VRML File..."}));
  // Flushed at once: readable while the notifier is alive.
  EXPECT_EQ(test::ReadFileText(log), "Reading 12.5% Complete\nSyntax error file 'a.obj', line 3\n");
  EXPECT_EQ(LogPathFor(Paths::FromBase("/tmp/base")), "/tmp/base/import_log.txt");
}

// --- The bounded reader ---------------------------------------------------

TEST(TokenReaderNumbers, ReadsAsScanfDoes) {
  TokenReader r("  1.5 -2 +3e2 .25 1-2 1e-400 x 1");
  for (float expected : {1.5f, -2.0f, 300.0f, 0.25f, 1.0f, -2.0f, 0.0f})
    EXPECT_EQ(r.Float(), expected);
  EXPECT_EQ((std::tuple{r.Double(), r.Token(), r.Double()}),  // in order
            (std::tuple{std::optional<double>(), std::string("x"), std::optional(1.0)}));
  for (const char* text : {"--1", "inf", "-inf", "nan", "1e400", "-"})
    EXPECT_EQ(TokenReader(text).Double(), std::nullopt) << text;
  TokenReader i(" 12 -3 +4 x 99999999999999999999");
  EXPECT_EQ(
      (std::tuple{i.Integer(), i.Integer(), i.Integer(), i.Integer(), i.Token(), i.Integer()}),
      (std::tuple{12, -3, 4, std::nullopt, "x", std::nullopt}));  // in order
}

TEST(ByteReaderBounds, NeverReadsPastTheEnd) {
  const std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5, 6, 7};
  ByteReader r(bytes);
  EXPECT_EQ((std::tuple{r.U16(), r.U32(), r.U16(), r.U8(), r.U8()}),  // in order
            std::tuple(0x0201, 0x06050403u, std::nullopt, 7, std::nullopt));
  std::uint8_t out[8];
  EXPECT_TRUE(!r.Skip(1) && r.Seek(7) && !r.Seek(8) && r.Seek(0) &&
              !r.Skip(static_cast<std::size_t>(-1)) && !r.Bytes(out) && r.position() == 0);
}

TEST(DecodedText, ByteOrderMarksAndPairs) {
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {{0xEF, 0xBB, 0xBF, 'a'}, "a"},
      {{0xFF, 0xFE, 'a', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE, 'b'},
       "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {{0xFE, 0xFF, 0, 'a', 0xDC, 0x00, 0xD8, 0x00},
       "a\xEF\xBF\xBD\xEF\xBF\xBD"},  // unpaired halves
      {{'a', 0, 'b'}, std::string("a\0b", 3)}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(DecodeText(bytes), text) << text;
}

TEST(FirstDispatch, ByTheExactEnding) {
  using enum FileKind;
  const std::tuple<const char*, FileKind, bool> cases[] = {
      {"a.3dmf", kMetafile, false}, {".3dmf", kScene, false},  // five characters: too short
      {"a.b3d", kMetafile, false},  {"a.B3d", kMetafile, false}, {"a.T3D", kMetafile, false},
      {"a.3DMF", kScene, false},  // exact bytes only
      {"a.wdc", kCluster, false},   {"A.WDC", kScene, false},    {"a.wdo", kObjectText, false},
      {".wdo", kScene, false},      {"ship.x", kScene, true},    {"ship.3ds", kScene, true},
      {"ship.X", kScene, false},    {"ab.x", kScene, false},  // four characters
      {"ship.wrl", kScene, false}};
  for (const auto& [path, kind, flip] : cases) {
    const Dispatched d = FirstDispatch(path);
    EXPECT_EQ(std::tie(d.kind, d.path, d.flip), std::make_tuple(kind, path, flip)) << path;
  }
  const Dispatched metafile = FirstDispatch("model.3dm");
  EXPECT_EQ(std::tie(metafile.path, metafile.kind), std::make_tuple("model.3dmf", kMetafile));
}

TEST(SecondDispatch, ByTheLastCharactersInEitherCase) {
  // The characters alone count, not a dot before them (but glTF's).
  const std::pair<const char*, SceneFormat> cases[] = {
      {"a.Wrl", SceneFormat::kVrml},  {"a.X", SceneFormat::kDirectX},
      {"a.raw", SceneFormat::kRaw},   {"a.COB", SceneFormat::kTrueSpace},
      {"a.oBj", SceneFormat::kObj},   {"a.DXF", SceneFormat::kDxf},
      {"a.nff", SceneFormat::kNff},   {"a.3DS", SceneFormat::k3ds},
      {"drawobj", SceneFormat::kObj}, {"a.txt", SceneFormat::kNone},
      {"x", SceneFormat::kNone},      {"", SceneFormat::kNone},
      {"a.GLTF", SceneFormat::kGltf}, {"a.Glb", SceneFormat::kGltf},  // here the dot counts
      {"agltf", SceneFormat::kNone},  {"a.glbx", SceneFormat::kNone}};
  for (const auto& [path, format] : cases) EXPECT_EQ(SecondDispatch(path), format) << path;
}

TEST(OpenCommands, DialogTitlesAndFiltersCancellingThenOpenInsertAndMerge) {
  ImportFixture f;
  for (int i = 0; i < 3; ++i) f.ui.QueueOpenPath(std::nullopt);
  EXPECT_FALSE(OpenCommand(f.m(), f.services) || InsertCommand(f.m(), f.services) ||
               MergeCommand(f.m(), f.services));
  EXPECT_EQ(f.ui.OpenDialogTitles(), std::vector<std::string>(3, "Select directory.."));
  std::vector<std::string> lists;
  for (const auto& filters : f.ui.OpenDialogFilters()) {
    lists.emplace_back();
    for (const auto& x : filters) lists.back() += x.description + "|" + x.patterns + "\n";
  }
  const std::string common = "3DMF (3dmf,b3d,t3d)|*.3dmf;*.b3d;*.t3d\nVRML (wrl)|*.wrl\n";
  const std::string tail =
      "3D Studio (3ds)|*.3ds\nTrue Space (cob)|*.cob\nDrawing Interchange (dxf)|*.dxf\n"
      "glTF 2.0 (gltf,glb)|*.gltf;*.glb\n";
  const std::string all =
      "All Supported 3D Formats|*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;";
  const std::string b = all + "*.wdo;*.gltf;*.glb\nWirestead Object (wdo)|*.wdo\n" + common +
                        "RAW Files (raw)|*.raw\n" + tail;
  EXPECT_EQ(lists, (std::vector<std::string>{
                       all +
                           "*.wdc;*.wdo;*.x;*.gltf;*.glb\nWirestead Object (wdo)|*.wdo\n"
                           "Wirestead Cluster (wdc)|*.wdc\n" +
                           common + "DirectX (x)|*.x\n" + tail,
                       b, b}));
  EXPECT_EQ(std::tuple(f.ui.Messages().size(), f.m().cluster.objectNames.size()),
            std::tuple(0u, 1u));
  // Open starts a cluster, Insert adds an object, Merge adds to it.
  ASSERT_TRUE(NewObject(f.m(), "kept until Open"));
  const std::string tri = f.Write("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  f.ui.QueueOpenPath(tri);
  ASSERT_TRUE(OpenCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
  // Insert keeps the file state.
  f.m().cluster.fileState = FileState::kCluster;
  f.m().cluster.clusterPath = "/somewhere/work.wdc";
  f.ui.QueueOpenPath(f.Write("tri.raw", "0 0 0 1 0 0 0 1 0\n"));
  ASSERT_TRUE(InsertCommand(f.m(), f.services));
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames, f.m().cluster.current, f.tables().polygonCount,
                       f.m().cluster.fileState, f.m().cluster.clusterPath),
            std::tuple(std::vector<std::string>{"Default Object", "new object"}, 1u, 1u,
                       FileState::kCluster, "/somewhere/work.wdc"));
  f.ui.QueueOpenPath(tri);
  ASSERT_TRUE(MergeCommand(f.m(), f.services));
  // No de-duplication against what was there.
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames.size(), f.userPoints()), std::tuple(2u, 6u));
}

TEST(OpenCommands, RefusalsInEveryModeChangeNothing) {
  for (OpenMode mode : {OpenMode::kOpen, OpenMode::kInsert, OpenMode::kMerge}) {
    ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "second"));
    f.ui.ClearMessages();
    // Nothing to import, and a metafile without a metafile reader.
    for (const std::string& path : {f.Write("empty.obj", ""), f.dir.File("model.b3d")}) {
      const OpenOutcome out = OpenFile(f.m(), f.services, path, mode);
      EXPECT_EQ(std::tuple(out.ok, out.kind), std::tuple(false, "import")) << path;
    }
    EXPECT_EQ(
        std::tuple(f.ui.Messages().size(), f.m().cluster.objectNames, f.m().cluster.current,
                   f.tables().pointCount),
        std::tuple(2u, std::vector<std::string>{"Default Object", "second"}, 1u, kReservedPoints));
  }
}

TEST(OpenCommands, ObjectTextAndClusterFiles) {
  ImportFixture f;
  const std::string cube = test::DataPath("cube.wdo");
  EXPECT_EQ(OpenFile(f.m(), f.services, cube, OpenMode::kInsert).kind, "object");
  const std::uint32_t points = f.userPoints();
  ASSERT_TRUE(OpenFile(f.m(), f.services, cube, OpenMode::kMerge).ok);
  EXPECT_EQ(std::tuple(f.userPoints(), f.m().cluster.objectNames.size(), f.m().cluster.fileState),
            std::tuple(2 * points, 2u, FileState::kNone));  // Insert kept the file state
  ASSERT_TRUE(OpenFile(f.m(), f.services, cube, OpenMode::kOpen).ok);
  EXPECT_EQ(std::tuple(f.userPoints(), f.m().cluster.fileState, f.m().cluster.objectFilePath),
            std::tuple(points, FileState::kObject, cube));
  // A cluster file: Open loads it and takes its path.
  ASSERT_TRUE(NewObject(f.m(), "stored") && StoreObject(f.m(), 1, "stored"));
  const std::string cluster = f.dir.File("copy.wdc");
  test::WriteFileBytes(cluster, ReadWholeFile(f.m().paths.working).value());
  EXPECT_EQ(OpenFile(f.m(), f.services, cluster, OpenMode::kOpen).kind, "cluster");
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames.size(), f.m().cluster.fileState,
                       f.m().cluster.clusterPath),
            std::tuple(2u, FileState::kCluster, cluster));
}

// --- The scene walk -------------------------------------------------------

using namespace scene;
using test::WalkFaces;

// A triangle face set over three points at z = 0.
IndexedFaceSet& AddTriangles(GroupNode& parent, std::vector<std::int32_t> faces = {0, 1, 2, -1}) {
  parent.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  IndexedFaceSet& f = parent.Make<IndexedFaceSet>();
  f.coordIndex = std::move(faces);
  return f;
}

TEST(SceneMaterials, BindingsPickTheMaterialNumber) {
  auto diffuseOf = [](Binding binding, std::vector<std::int32_t> materialIndex) {
    Separator root;
    Material& m = root.Make<Material>();
    m.diffuseColor = {{0, 0, 0}, {0.1, 0, 0}, {0.2, 0, 0}};
    m.ambientColor = {{0.5, 0.5, 0.5}};  // shorter list: its last entry
    root.Make<MaterialBinding>(binding);
    AddTriangles(root, {0, 1, 2, -1, 0, 2, 1, -1, 1, 2, 0, -1}).materialIndex = materialIndex;
    std::vector<double> reds;
    for (const auto& face : WalkFaces(root)) {
      EXPECT_EQ(face.material.ambient, (Vec3{0.5, 0.5, 0.5}));
      EXPECT_EQ(face.material.shininess, 0.2);  // an empty list: the default
      reds.push_back(face.material.diffuse.x);
    }
    return reds;
  };
  const std::tuple<Binding, std::vector<std::int32_t>, std::vector<double>> cases[] = {
      {Binding::kOverall, {2, 2, 2}, {0, 0, 0}},
      {Binding::kPerFace, {2, 2, 2}, {0, 0.1, 0.2}},
      {Binding::kPerFaceIndexed, {2, 1, 0}, {0.2, 0.1, 0}},
      {Binding::kPerFaceIndexed, {2}, {0.2, 0.1, 0.2}},       // too short: the face's own number
      {Binding::kPerFaceIndexed, {4, 6, 5}, {0.1, 0, 0.2}}};  // beyond the list: wrapped
  for (const auto& [binding, indices, reds] : cases)
    EXPECT_EQ(diffuseOf(binding, indices), reds) << static_cast<int>(binding);
}

// The first corner, to nine decimals, of a triangle at (1, 0, 0),
// (1, 1, 0), (1, 0, 1) after the nodes already in `root`.
Vec3 FirstCorner(Separator& root) {
  root.Make<Coordinate3>().point = {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};
  const auto faces = WalkFaces(root);
  if (faces.size() != 1) return {NAN, NAN, NAN};
  const auto round = [](double v) { return std::round(v * 1e9) / 1e9; };
  return {round(faces[0].corners[0].x), round(faces[0].corners[0].y), round(faces[0].corners[0].z)};
}

TEST(SceneState, TransformsAndWhereTheyApply) {
  Separator inSeparator, inGroup, rotated, scaled;
  inSeparator.Make<Separator>().Make<Translation>(Vec3{10, 0, 0});
  inGroup.Make<Group>().Make<Translation>(Vec3{0, 5, 0});  // a Group leaks its state
  // A quarter turn about z after (10, 0, 0): the later node applies first.
  rotated.Make<Rotation>(Vec3{0, 0, 1}, std::numbers::pi / 2);
  rotated.Make<Translation>(Vec3{10, 0, 0});
  scaled.Make<Scale>(Vec3{2, 3, 4});
  scaled.Make<MatrixTransform>().matrix[12] = 1;  // row-vector translation by (1, 0, 0)
  EXPECT_EQ(std::vector({FirstCorner(inSeparator), FirstCorner(inGroup), FirstCorner(rotated),
                         FirstCorner(scaled)}),
            std::vector<Vec3>({{1, 0, 0}, {1, 5, 0}, {0, 11, 0}, {4, 0, 0}}));
}

TEST(SceneFaceSets, BadIndicesMissingStateAndNonFiniteCornersAreSkipped) {
  Separator root;
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};  // no coordinates yet: nothing
  root.Make<MatrixTransform>().matrix[3] = 1;              // w = x + 1: zero for x = -1
  root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  // 7 and -5 name no point, point 3 is at infinity; the last face has no
  // -1 and still counts.
  root.Make<IndexedFaceSet>().coordIndex = {0, 7, 1, -5, 3, 2, -1, 2, 1, 0};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[0].corners.size() * 10 + faces[1].corners.size(), 33u);
  EXPECT_EQ(faces[1].number, 1);
}

TEST(SceneWalkLimits, DeepNestingIsCutOffWithOneLine) {
  Separator root;
  GroupNode* parent = &root;
  for (int depth = 1; depth <= 30; ++depth) {
    parent = &parent->Make<Separator>("s" + std::to_string(depth));
    AddTriangles(*parent);
  }
  std::vector<std::string> lines;
  EXPECT_EQ(WalkFaces(root, &lines).size(), 24u);  // the root's children are level 0
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "Separators nested more than 25 deep; the innermost part was skipped"),
            1);
  // Grouping nodes count to 200 levels, the root's children included.
  for (int levels : {199, 200}) {
    Separator nested;
    parent = &nested;
    for (int depth = 0; depth < levels; ++depth) parent = &parent->Make<Group>();
    AddTriangles(*parent);
    EXPECT_EQ(WalkFaces(nested).size(), levels < 200 ? 1u : 0u) << levels;
  }
  // Groups nested far deeper neither exhaust the stack nor count.
  Separator deep;
  parent = &deep;
  for (int depth = 0; depth < 100000; ++depth) parent = &parent->Make<Group>();
  AddTriangles(*parent);
  lines.clear();
  EXPECT_TRUE(WalkFaces(deep, &lines).empty());
  EXPECT_EQ(lines.empty() ? "" : lines.back(),
            "Scene nested too deeply; the innermost part was skipped");
}

TEST(SceneWalkProgress, ReportsEachSixPercentPastTheLastAndNamesGroups) {
  Separator root;
  root.Make<Separator>("wing").Make<Group>("tip");
  for (int i = 2; i < 100; ++i) root.Make<Material>();
  test::RecordingAction action;
  std::vector<std::string> lines;
  WalkScene(root, action, [&](std::string_view line) { lines.emplace_back(line); });
  // Of 100 nodes (the nested one counts): 6, 12, ..., 96; 100 would be
  // too close to the last.
  std::vector<std::string> expected;
  for (int p = 6; p < 100; p += 6) expected.push_back("IMPORT_PROGRESS " + std::to_string(p));
  EXPECT_EQ(std::tuple(lines, action.groups),
            std::tuple(expected, std::vector<std::string>{"wing", "tip"}));
}

}  // namespace
}  // namespace ws
