// DirectX: the X-file library (the text writer; the reader's text, binary
// and compressed forms, its limits and messages), the import of an X file's
// frames, meshes and materials, and the export, read back and imported.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <set>

#include "import/readers/x/x_loader.h"
#include "import/x_export.h"
#include "import/xfile/xfile.h"
#include "import_test_support.h"

namespace ws {
namespace {

using namespace xfile;
using namespace std::string_literals;
using test::AddPolygon;
using test::ImportFixture;
using test::ModelFixture;
using test::RunReader;

// X files in the binary token form and in the MSZip-compressed forms.
void Put(std::string& s, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i, v >>= 8) s += static_cast<char>(v & 0xFF);
}

// A binary token stream after a header ("xof 0303bin 0032" or "0064").
struct Tokens {
  std::string s;
  bool doubles = false;
  Tokens& T(std::uint16_t code) { return Put(s, code, 2), *this; }
  Tokens& Name(const std::string& n) {
    return T(1), Put(s, std::uint32_t(n.size()), 4), s += n, *this;
  }
  Tokens& Str(const std::string& n) {  // with its terminator
    return T(2), Put(s, std::uint32_t(n.size()), 4), s += n, T(0x14);
  }
  Tokens& Ints(const std::vector<std::uint32_t>& v, std::uint32_t count = ~0u) {
    T(6), Put(s, count == ~0u ? std::uint32_t(v.size()) : count, 4);
    for (auto x : v) Put(s, x, 4);
    return *this;
  }
  Tokens& Floats(const std::vector<double>& v) {
    T(7), Put(s, std::uint32_t(v.size()), 4);
    for (double x : v)
      doubles ? Put(s, std::bit_cast<std::uint64_t>(x), 8)
              : Put(s, std::bit_cast<std::uint32_t>(static_cast<float>(x)), 4);
    return *this;
  }
  Tokens& Guid(std::uint32_t a, std::uint16_t b, std::uint16_t c, const std::string& d8) {
    return T(5), Put(s, a, 4), Put(s, b, 2), Put(s, c, 2), s += d8, *this;
  }
  Tokens& Open() { return T(0x0a); }
  Tokens& Close() { return T(0x0b); }
};

// The body compressed as MSZip blocks of at most `block` bytes each, every
// block after the first using the one before as its dictionary.
std::string Compress(const std::string& header, const std::string& body, std::size_t block,
                     int sizeError = 0) {
  const auto* in = reinterpret_cast<const Bytef*>(body.data());
  std::string out = header;
  Put(out, std::uint32_t(header.size() + body.size() + sizeError), 4);
  for (std::size_t at = 0; at < body.size(); at += block) {
    std::size_t n = std::min(block, body.size() - at);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (at > 0) deflateSetDictionary(&z, in + at - block, uInt(block));
    std::string packed(deflateBound(&z, uLong(n)) + 2, '\0');
    z.next_in = const_cast<Bytef*>(in + at);
    z.avail_in = uInt(n);
    z.next_out = reinterpret_cast<Bytef*>(packed.data() + 2);
    z.avail_out = uInt(packed.size() - 2);
    deflate(&z, Z_FINISH);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    packed[0] = 'C', packed[1] = 'K';
    Put(out, std::uint32_t(n), 2);
    Put(out, std::uint32_t(packed.size()), 2);
    out += packed;
  }
  return out;
}

ReadResult ReadString(const std::string& s, const TemplateRegistry& reg = StandardTemplates()) {
  return Read(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()), reg);
}

std::vector<Value> Numbers(std::initializer_list<double> list) {
  std::vector<Value> out;
  for (double d : list) out.push_back(Value{false, d, {}});
  return out;
}

Object Obj(const char* type, const char* name, const char* guid, std::vector<Value> values,
           std::vector<Object> children = {}) {
  return Object{type, name, guid, std::move(values), std::move(children), false};
}
Object Ref(const char* name, const char* guid) { return Object{"", name, guid, {}, {}, true}; }

// Written by hand from the layout DirectX's own text files use.
const std::string kExpected = R"(xof 0303txt 0032
Material red {
 <11111111-2222-3333-4444-555555555555>
 1.000000;0.000000;0.000000;1.000000;;
 5.000000;
 0.000000;0.000000;0.000000;;
 0.000000;0.000000;0.000000;;
 TextureFilename {
  "a b.png";
 }
}
Mesh wdo_object {
 3;
 0.000000;0.000000;0.000000;,
 1.000000;0.000000;0.000000;,
 0.000000;1.000000;0.500000;;
 1;
 3;0,1,2;;
 MeshMaterialList wdo_matlist {
  2;
  1;
  1;
  Material {
   0.800000;0.800000;0.800000;1.000000;;
   0.000000;
   0.000000;0.000000;0.000000;;
   0.000000;0.000000;0.000000;;
  }
  { red }
 }
}
)";

std::vector<Object> SmallObjects() {
  Object red = Obj("Material", "red", "11111111-2222-3333-4444-555555555555",
                   Numbers({1, 0, 0, 1, 5, 0, 0, 0, 0, 0, 0}));
  red.children.push_back(Obj("TextureFilename", "", "", {Value{true, 0, "a b.png"}}));
  Object grey = Obj("Material", "", "", Numbers({0.8, 0.8, 0.8, 1, 0, 0, 0, 0, 0, 0, 0}));
  Object list =
      Obj("MeshMaterialList", "wdo_matlist", "", Numbers({2, 1, 1}), {grey, Ref("red", "")});
  Object mesh = Obj("Mesh", "wdo_object", "",
                    Numbers({3, 0, 0, 0, 1, 0, 0, 0, 1, 0.5, 1, 3, 0, 1, 2}), {list});
  return {red, mesh};
}

// The same objects in the binary form; the material's members are one list.
std::string SmallBinary(bool doubles) {
  Tokens t{doubles ? "xof 0303bin 0064" : "xof 0303bin 0032", doubles};
  t.Name("Material").Name("red").Open();
  t.Guid(0x11111111, 0x2222, 0x3333, "\x44\x44\x55\x55\x55\x55\x55\x55");
  t.Floats({1, 0, 0, 1, 5, 0, 0, 0, 0, 0, 0});
  t.Name("TextureFilename").Open().Str("a b.png").Close().Close();
  t.Name("Mesh").Name("wdo_object").Open().Ints({3}).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0.5});
  t.Ints({1, 3, 0, 1, 2}).Name("MeshMaterialList").Name("wdo_matlist").Open().Ints({2, 1, 1});
  t.Name("Material").Open().Floats({0.8, 0.8, 0.8, 1, 0, 0, 0, 0, 0, 0, 0}).Close();
  return t.Open().Name("red").Close().Close().Close().s;
}

std::string Rewritten(const ReadResult& r) {
  if (!r.file) return "error: " + r.error;
  std::string error;
  return WriteText(r.file->objects, StandardTemplates(), &error).value_or("write error: " + error);
}

TEST(XFileWriter, SmallObjectsLineByLine) {
  std::string error;
  auto text = WriteText(SmallObjects(), StandardTemplates(), &error);
  EXPECT_EQ(text.value_or(error), kExpected);
  // Empty arrays take no line and read back.
  const std::string empty = "xof 0303txt 0032\nMesh {\n 0;\n 0;\n}\n";
  EXPECT_EQ(WriteText({Obj("Mesh", "", "", Numbers({0, 0}))}, StandardTemplates(), &error), empty);
  EXPECT_EQ(Rewritten(ReadString(empty)), empty);
}

TEST(XFileWriter, RefusesValuesThatDoNotFit) {
  struct Row {
    Object object;
    const char* message;
  } rows[] = {
      {Obj("Vector", "", "", Numbers({1, 2, 3, 4})), "values of 'Vector' do not fit its template"},
      {Obj("Vector", "", "", Numbers({1, 2})), "values do not fit member 'z' of 'Vector'"},
      {Obj("TextureFilename", "", "", Numbers({1})),
       "values do not fit member 'filename' of 'TextureFilename'"},
      {Obj("Nothing", "", "", {}), "unknown template 'Nothing'"},
      {Obj("Vector", "", "", Numbers({1, std::nan(""), 3})),
       "member 'y' of 'Vector' is not a finite number"},
  };
  for (const auto& row : rows) {
    std::string error;
    EXPECT_FALSE(WriteText({row.object}, StandardTemplates(), &error));
    EXPECT_EQ(error, row.message);
  }
  // The largest double has 309 digits before its six decimals, and reads back.
  auto text = WriteText({Obj("Vector", "", "", Numbers({-1.7976931348623157e308, 0, 1}))},
                        StandardTemplates(), nullptr);
  ASSERT_TRUE(text);
  auto back = ReadString(*text);
  ASSERT_TRUE(back.file) << back.error;
  EXPECT_EQ(back.file->objects.at(0).values.at(0).number, -1.7976931348623157e308);
}

// Each form reads as the same objects. A cut of it reads only when it ends
// after the header or after a whole top-level object, and then gives the
// objects before it.
TEST(XFileReader, TextBinaryAndCompressedReadAlikeAndCutsKeepWholeObjects) {
  struct Row {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"text", kExpected},
      {"binary 32", SmallBinary(false)},
      {"binary 64", SmallBinary(true)},
      {"tzip, blocks of 40", Compress("xof 0303tzip0032", kExpected.substr(16), 40)},
      {"bzip, blocks of 33", Compress("xof 0303bzip0064", SmallBinary(true).substr(16), 33)},
  };
  for (const auto& row : rows) {
    auto r = ReadString(row.bytes);
    EXPECT_EQ(Rewritten(r), kExpected) << row.name;
    if (!r.file) continue;
    const Object* ref = &r.file->objects[1].children[0].children[1];
    EXPECT_EQ(Resolve(*r.file, *ref), &r.file->objects[0]) << row.name;
    EXPECT_EQ(Resolve(*r.file, Ref("", "11111111-2222-3333-4444-555555555555")),
              &r.file->objects[0])
        << row.name;
    for (std::size_t n = 0; n < row.bytes.size(); ++n) {
      auto cut = ReadString(row.bytes.substr(0, n));
      if (cut.file) {
        EXPECT_TRUE(kExpected.starts_with(Rewritten(cut))) << row.name << " cut at " << n;
      }
      if (n < 16) {
        EXPECT_EQ(cut.error, "not an X file") << n;
      }
    }
  }
}

TEST(XFileReader, TemplatesDeclaredInTheFile) {
  auto r = ReadString(
      "xof 0302txt 0064 // comment\n"
      "template Pair { <01234567-89ab-cdef-0123-456789ABCDEF> DWORD n; array SWORD v[n][2]; [...] "
      "}\n"
      "# another comment\nPair p { 2; -1, 2, 3, 4;; Vector { 1; 2; 3; } }\n");
  ASSERT_TRUE(r.file) << r.error;
  ASSERT_EQ(r.file->declared.size(), 1u);
  EXPECT_EQ(r.file->declared[0].guid, "01234567-89AB-CDEF-0123-456789ABCDEF");
  std::string error;
  TemplateRegistry reg = StandardTemplates();
  reg.Add(r.file->declared[0]);
  EXPECT_EQ(WriteText(r.file->objects, reg, &error).value_or(error),
            "xof 0303txt 0032\nPair p {\n 2;\n -1,2,3,4;\n Vector {\n  1.000000;\n  2.000000;\n  "
            "3.000000;\n }\n}\n");
}

std::string Nested(const char* kind, int depth) {
  std::string s = "xof 0303txt 0032\n";
  if (std::string(kind) == "frames") {
    for (int i = 0; i < depth; ++i) s += "Frame {";
    return s + std::string(static_cast<std::size_t>(depth), '}');
  }
  s += "template T0 { <00000000-0000-0000-0000-000000000000> DWORD x; }\n";
  for (int i = 1; i < depth; ++i)
    s += "template T" + std::to_string(i) + " { <00000000-0000-0000-0000-000000000000> T" +
         std::to_string(i - 1) + " t; }\n";
  return s + "T" + std::to_string(depth - 1) + " { 7; }";
}

TEST(XFileReader, MalformedInputsWithTheirMessages) {
  const std::string hdr = "xof 0303txt 0032\n";
  const std::string pair =
      hdr + "template P { <00000000-0000-0000-0000-000000000000> DWORD n; array DWORD v[n]; }\n";
  const std::string dims =
      hdr + "template Q { <00000000-0000-0000-0000-000000000000> array WORD v[";
  const Tokens ints = Tokens{"xof 0303bin 0032"}.Name("Header").Open();
  struct Row {
    const char* name;
    std::string bytes;
    std::string message;  // empty: reads
  } rows[] = {
      {"float size", "xof 0303txt 0016", "unknown float size '0016'"},
      {"format", "xof 0303abc 0032", "unknown X format 'abc '"},
      {"header only", hdr, ""},
      {"name in another case, closed template", hdr + "vECTOR { 1;2;3; Vector {1;2;3;} }",
       "template 'Vector' takes no child objects at byte 33"},
      {"undeclared template", hdr + "Foo f { 1; \"s\"; Foo { 2.5; } }", ""},
      {"undeclared, cut", hdr + "Foo { 1;", "unexpected end of data at byte 25"},
      {"undeclared, reference", hdr + "Foo { { f } [ }",
       "unexpected token in data object at byte 29"},
      {"unknown member type",
       hdr + "template A { <00000000-0000-0000-0000-000000000000> B b; } A {}",
       "unknown template 'B' at byte 79"},
      {"integer member", hdr + "Header { 1.5; 2; 3; }", "expected a number for 'major' at byte 26"},
      {"string member", hdr + "TextureFilename { 5; }",
       "expected a string for 'filename' at byte 35"},
      {"no brace", hdr + "Header { 1; 2; 3;", "unexpected end of data at byte 34"},
      {"string", hdr + "TextureFilename { \"a }", "unterminated string at byte 35"},
      {"guid", hdr + "Frame { <1234> }", "malformed GUID at byte 25"},
      {"number", hdr + "Header { 1-2; }", "malformed number at byte 26"},
      {"character", hdr + "Header { 1; @ }", "unexpected character at byte 29"},
      {"empty reference", hdr + "Frame { { } }", "empty reference at byte 27"},
      {"array exactly to the end", pair + "P { 1; 7", "unexpected end of data at byte 106"},
      {"array past the end", pair + "P { 2; 7", "array 'v' longer than the data left at byte 105"},
      {"array size too big", pair + "P { 4294967295; }",
       "array 'v' longer than the data left at byte 114"},
      {"dimensions at 32 bits", dims + "65535][65537]; } Q {}",
       "array 'v' longer than the data left at byte 102"},
      {"dimensions over 32 bits", dims + "65536][65536]; } Q {}",
       "size of array 'v' unknown at byte 102"},
      {"frames at the limit", Nested("frames", kMaxDepth), ""},
      {"frames past the limit", Nested("frames", kMaxDepth + 1),
       "data objects nested too deeply at byte 465"},
      {"templates at the limit", Nested("templates", kMaxDepth), ""},
      {"templates past the limit", Nested("templates", kMaxDepth + 1),
       "templates nested too deeply at byte 4100"},
      {"list exactly to the end", Tokens(ints).Ints({1, 2, 3}, 3).s,
       "unexpected end of data at byte 48"},
      {"list past the end", Tokens(ints).Ints({1, 2, 3}, 4).s,
       "list longer than the data left at byte 30"},
      {"empty lists", Tokens(ints).Ints({}).Ints({}).Ints({}).s,
       "expected a number for 'major' at byte 48"},
      {"binary token", Tokens(ints).T(0x99).s, "unknown binary token at byte 30"},
      {"block magic", "xof 0303tzip0032\x14\0\0\0\x04\0\x02\0CX"s, "malformed compressed block"},
      {"block data", "xof 0303tzip0032\x14\0\0\0\x04\0\x03\0CKx"s, "corrupt compressed block"},
      {"stated size short", Compress("xof 0303tzip0032", hdr, 8, -1),
       "compressed data larger than its stated size"},
      {"stated size long", Compress("xof 0303tzip0032", hdr, 8, 1),
       "compressed data shorter than its stated size"},
  };
  for (const auto& row : rows) {
    auto r = ReadString(row.bytes);
    EXPECT_EQ(r.file ? "" : r.error, row.message) << row.name;
  }
}

// A frame in a frame around mesh m1, and a mesh at the top level.
const std::string kScene =
    "xof 0303txt 0032\n"
    "Header { 1; 0; 1; }\n"
    "Material Red { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
    "Frame _1st {\n"
    " FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 100,0,0,1;; }\n"
    " Frame {\n"
    "  Mesh m1 {\n"
    "   4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n"
    "   3; 3;0,1,2;, 3;0,2,3;, 4;0,1,2,3;;\n"
    "   MeshMaterialList { 2; 2; 1, 0;;\n"  // two indexes for three faces
    "    { Red }\n"
    "    Material { 0;0.5;0;1;; 5; 0;0;0;; 0;0;0;; }\n"
    "   }\n"
    "   MeshNormals { 4; 0;0;1;, 0;0;1;, 0;0;1;, 0;0;1;; 1; 3;0,0,0;; }\n"
    "   MeshTextureCoords { 3; 0;0;, 1;0;, 1;1;; }\n"
    "  }\n"
    " }\n}\n"
    "Mesh { 3; 0;0;5;, 1;0;5;, 0;1;5;; 1; 3;0,1,2;; }\n";

// Frames nest as Separators (named, "G" before a name that does not start
// with a letter) and never move their meshes; a short material index list
// keeps its last entry for the remaining faces; a material may be a
// reference; top-level objects other than frames and meshes are ignored.
TEST(XImport, FramesMeshesAndMaterialsBecomeTheScene) {
  test::ReadResult r = RunReader(ImportXFile, "scene.x", kScene);
  ASSERT_TRUE(r.ok) << testing::PrintToString(r.log);
  EXPECT_EQ(r.Errors(), std::vector<std::string>{});
  auto separators = r.Children<scene::Separator>();
  ASSERT_EQ(separators.size(), 1u);
  ASSERT_EQ(separators[0]->children.size(), 1u);
  auto* inner = dynamic_cast<scene::Separator*>(separators[0]->children[0].get());
  ASSERT_NE(inner, nullptr);
  // At the root, the Coordinate3 of the top-level mesh alone.
  EXPECT_EQ(std::tuple(separators[0]->name, inner->name, r.Children<scene::Coordinate3>().size()),
            std::tuple("G_1st", "", 1u));

  using Face = std::pair<std::vector<Vec3>, ColorTriple>;
  const ColorTriple red{1, 0, 0}, green{0, 0.5, 0};
  const std::vector<Face> want = {
      {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, green},
      {{{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}, red},
      {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, red},
      {{{0, 0, 5}, {1, 0, 5}, {0, 1, 5}},
       MaterialValue{}.diffuse},  // no material list: the default
  };
  std::vector<Face> got;
  for (const auto& face : r.faces) got.emplace_back(face.corners, face.material.diffuse);
  EXPECT_EQ(got, want);

  // What the loader keeps beside the scene: the frame's matrix, normals
  // that come one per vertex, texture coordinates only when they do too.
  std::string error;
  auto root =
      ximport::LoadX({reinterpret_cast<const std::uint8_t*>(kScene.data()), kScene.size()}, &error);
  ASSERT_TRUE(root) << error;
  const ximport::XNode& frame = root->children.at(0);
  ASSERT_TRUE(frame.matrix);
  EXPECT_EQ((*frame.matrix)[12], 100);
  const ximport::XMesh& mesh = frame.children.at(0).children.at(0).mesh;
  EXPECT_EQ(std::tuple(mesh.normals.size(), mesh.textureCoords.size(), mesh.faceMaterials),
            std::tuple(4u, 0u, std::vector<std::uint32_t>{1, 0, 0}));
  EXPECT_EQ(mesh.materials.at(1).power, 5);
}

// A face may name any of more than 65,535 vertices: indices keep 32 bits.
TEST(XImport, VertexIndicesAboveSixteenBitsDoNotWrap) {
  std::string text = "xof 0303txt 0032\nMesh big {\n65540;\n";
  for (int i = 0; i < 65540; ++i)
    text += std::to_string(i) + ";0;0;" + (i + 1 < 65540 ? ",\n" : ";\n");
  text += "1; 3;65537,1,65539;;\n}\n";
  test::ReadResult r = RunReader(ImportXFile, "big.x", text);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0].corners, (std::vector<Vec3>{{65537, 0, 0}, {1, 0, 0}, {65539, 0, 0}}));
}

// Refusals name the file; when the library or the loader refuses, the
// reason follows on its own line. A file may declare its own Mesh template,
// so the loader checks the counts itself.
TEST(XImport, UnreadableFilesAreRefusedWithTheirReason) {
  const std::string own =
      "xof 0303txt 0032\ntemplate Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD n; ";
  struct Row {
    const char* name;
    std::string text, reason;
  };
  const Row rows[] = {
      {"missing", "", ""},
      {"not x", "hello there, this is no X file", "not an X file"},
      {"vertex count", own + "array FLOAT v[2]; [...] }\nMesh m { 1; 0.5, 1.5; }\n",
       "mesh 'm': its vertex count is more than its vertices"},
      {"face count", own + "array FLOAT v[3]; DWORD f; [...] }\nMesh m { 1; 0, 1, 2; 1; }\n",
       "mesh 'm': its face count is more than its faces"},
      {"face indices",
       own + "array FLOAT v[3]; DWORD f; DWORD k; DWORD i; [...] }\nMesh m { 1; 0, 1, 2; 1; 2; 0; "
             "}\n",
       "mesh 'm': face 0 has fewer indices than it says"},
  };
  for (const Row& row : rows) {
    test::ReadResult r =
        RunReader(ImportXFile, "f.x", row.text.empty() ? std::string_view() : row.text);
    const auto errors =
        row.text.empty() ? std::vector<std::string>{"Unable to open file '@'"}
                         : std::vector<std::string>{"Unable to load DirectX file '@'", row.reason};
    EXPECT_EQ(std::tuple(r.ok, r.root().children.size(), r.Errors()), std::tuple(false, 0u, errors))
        << row.name;
  }
}

// Random objects written by the export and read back through Open: every
// visible polygon comes back as its front face in its own winding and
// colour, and (unless it never draws its back) as its back face, wound
// the other way, in the back colour when each side has its own.
TEST(XImport, ExportThenImportGivesTheSameFacesAndColours) {
  std::mt19937 rng(15);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ImportFixture f;
    // A palette far apart in every component: each colour comes back as
    // itself although the file keeps six decimals of it.
    ColorTable table;
    for (std::size_t i = 0; i < 216; ++i) {
      auto c = [&](std::size_t v) { return static_cast<std::uint16_t>(v * 51 * 257); };
      table.Set(i, {c(i / 36), c(i / 6 % 6), c(i % 6)});
    }
    ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
    ObjectTables& t = f.tables();
    std::vector<Vec3> pool;
    for (int i = 0; i < 9; ++i) {
      const Vec3 p{double(rng() % 101) - 50, double(rng() % 101) - 50, double(rng() % 101) - 50};
      if (std::find(pool.begin(), pool.end(), p) == pool.end()) pool.push_back(p);
    }
    const std::uint32_t first = t.pointCount;
    for (const Vec3& p : pool) t.AddPoint(p.x, p.y, p.z);
    const std::uint32_t flagChoices[] = {0, PolyFlag::kNeverDrawBackFace,
                                         PolyFlag::kEachSideDifferent, PolyFlag::kInvisible};
    std::map<std::vector<std::uint32_t>, int> want;  // canonical corners + colour -> count
    auto canonical = [](std::vector<std::uint32_t> c, std::uint32_t color) {
      std::rotate(c.begin(), std::min_element(c.begin(), c.end()), c.end());
      c.push_back(1000 + color);
      return c;
    };
    std::set<std::vector<std::uint32_t>> used;
    std::vector<bool> visible(pool.size());
    for (int n = 1 + rng() % 8; n > 0; --n) {
      std::vector<std::uint32_t> c(pool.size());
      std::iota(c.begin(), c.end(), 0u);
      std::shuffle(c.begin(), c.end(), rng);
      c.resize(3);
      const Vec3 a = pool[c[0]], b = pool[c[1]], d = pool[c[2]];
      const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{d.x - a.x, d.y - a.y, d.z - a.z};
      const Vec3 normal{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
      if (Distance(normal, {}) < 1) continue;  // a triangle, not a line
      auto sorted = c;
      std::sort(sorted.begin(), sorted.end());
      if (!used.insert(sorted).second) continue;
      // Not entry 0: black has no colour of its own in the file's material
      // and is written as the format's default grey.
      const std::uint32_t flags = flagChoices[rng() % 4];
      const auto front = static_cast<std::uint8_t>(1 + rng() % 215),
                 back = static_cast<std::uint8_t>(1 + rng() % 215);
      AddPolygon(t, {first + c[0], first + c[1], first + c[2]}, flags, front, back);
      if (flags & PolyFlag::kInvisible) continue;
      for (std::uint32_t i : c) visible[i] = true;
      ++want[canonical(c, front)];
      if (flags & PolyFlag::kNeverDrawBackFace) continue;
      ++want[canonical({c[2], c[1], c[0]}, flags & PolyFlag::kEachSideDifferent ? back : front)];
    }
    const std::string path = f.dir.File("r.x");
    ASSERT_TRUE(ExportObjectAsX(f.m(), path, false));
    if (want.empty()) continue;

    // Where the import puts each point: placed in the box of the points
    // written.
    Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (std::size_t i = 0; i < pool.size(); ++i) {
      if (!visible[i]) continue;
      lo = {std::min(lo.x, pool[i].x), std::min(lo.y, pool[i].y), std::min(lo.z, pool[i].z)};
      hi = {std::max(hi.x, pool[i].x), std::max(hi.y, pool[i].y), std::max(hi.z, pool[i].z)};
    }
    std::vector<Vec3> placed;
    for (const Vec3& p : pool) placed.push_back(test::Placed(p, lo, hi));

    t.ResetObject();
    ASSERT_TRUE(f.Import(path, FirstDispatch(path).flip));
    std::map<std::vector<std::uint32_t>, int> got;
    for (const Polygon& p : std::span(t.polygons.data(), t.polygonCount)) {
      EXPECT_EQ(p.frontColor, p.backColor);
      std::vector<std::uint32_t> corners;
      for (std::uint32_t k : std::span(p.points, p.pointCount)) {
        const Vec3 at{t.points[k].x, t.points[k].y, t.points[k].z};
        const auto nearest = std::min_element(placed.begin(), placed.end(), [&](auto& x, auto& y) {
          return Distance(x, at) < Distance(y, at);
        });
        EXPECT_LT(Distance(*nearest, at), 1e-3);
        corners.push_back(static_cast<std::uint32_t>(nearest - placed.begin()));
      }
      ++got[canonical(corners, p.frontColor)];
    }
    EXPECT_EQ(got, want);
  }
}

// Entry 1 red only through its low byte, 2 green 0.2, 3 grey 0.8.
void WriteTable(Model& m) {
  ColorTable t;
  t.Set(1, {0x10FF, 0, 0});
  t.Set(2, {0, 0x0033, 0});
  t.Set(3, {0xCC, 0xCC, 0xCC});
  WriteClutToFile(m.resources, m.paths.preferences, kCurrentClutId, t);
}

// What the written file holds, read back: the values of the object's Mesh,
// of its material list and of each material.
struct MeshValues {
  std::vector<double> mesh, list;
  std::vector<std::vector<double>> materials;
};
MeshValues ReadMesh(const std::string& path) {
  const ReadResult read = Read(test::ReadFileBytes(path), StandardTemplates());
  EXPECT_TRUE(read.file) << read.error;
  if (!read.file) return {};
  const auto numbers = [](const Object& o) {
    std::vector<double> out;
    for (const Value& v : o.values) out.push_back(v.number);
    return out;
  };
  const Object& mesh = read.file->objects.at(0);
  MeshValues out{numbers(mesh), numbers(mesh.children.at(0)), {}};
  for (const Object& m : mesh.children[0].children) out.materials.push_back(numbers(m));
  return out;
}

TEST(XExport, SmallObjectsPointsFacesAndMaterials) {
  ModelFixture f;
  WriteTable(f.m());
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(1, 0, 0), c = t.AddPoint(0, 1, 0),
                      d = t.AddPoint(0, 0, 2);
  AddPolygon(t, {a, b, c}, PolyFlag::kEachSideDifferent, 1, 2);  // front C B A, back A B C in 2
  AddPolygon(t, {a, c, d}, PolyFlag::kNeverDrawBackFace, 3, 2);  // front D C A only
  AddPolygon(t, {b, c, d}, PolyFlag::kInvisible, 2, 2);          // skipped
  AddPolygon(t, {a, b, d}, 0, 1, 2);  // front D B A, back A B D, both in 1
  const std::string path = f.dir.File("small.x");
  ASSERT_TRUE(ExportObjectAsX(f.m(), path, false));
  // Points by first use: C 0, B 1, A 2, D 3. Materials: 1, 2, 3. The text's
  // layout is the writer's, checked line by line by the XFileWriter tests.
  const std::string text = test::ReadFileText(path);
  EXPECT_TRUE(text.starts_with("xof 0303txt 0032\nMesh wdo_object {\n") &&
              text.find("\n MeshMaterialList wdo_matlist {\n") != std::string::npos)
      << text;
  const MeshValues small = ReadMesh(path);
  EXPECT_EQ(small.mesh, (std::vector<double>{4, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 5, 3, 0, 1,
                                             2, 3, 2, 1, 0, 3, 3, 0, 2, 3, 3, 1, 2, 3, 2, 1, 3}));
  EXPECT_EQ(small.list, (std::vector<double>{3, 5, 0, 1, 2, 0, 0}));
  EXPECT_EQ(small.materials,
            (std::vector<std::vector<double>>{{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},
                                              {0, 0.2, 0, 1, 0, 0, 0, 0, 0, 0, 0},
                                              {0.8, 0.8, 0.8, 1, 0, 0, 0, 0, 0, 0, 0}}));
  const MaterialValue grey = ExportMaterial(ColorTable{}, 0);
  EXPECT_EQ(std::tuple(grey.diffuse, grey.ambient, grey.shininess),
            std::tuple(Vec3{}, Vec3{}, 0.2));
}

TEST(XExport, WalkModeQuartersWeldsAndEmptyObjects) {
  ModelFixture f;
  WriteTable(f.m());
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(8, 0, 0), c = t.AddPoint(0, 4, 0),
                      near = t.AddPoint(4e-6, 0, 0);
  AddPolygon(t, {a, b, c}, PolyFlag::kNeverDrawBackFace, 3, 3);
  AddPolygon(t, {near, c, b}, PolyFlag::kNeverDrawBackFace, 3, 3);  // same colour, A welded
  const std::string path = f.dir.File("walk.X");
  ASSERT_TRUE(ExportObjectAsX(f.m(), path, true));
  const MeshValues walk = ReadMesh(path);
  EXPECT_EQ(walk.mesh,
            (std::vector<double>{3, 0, 1, 0, 2, 0, 0, 0, 0, 0, 2, 3, 0, 1, 2, 3, 1, 0, 2}));
  EXPECT_EQ(walk.list, (std::vector<double>{1, 2, 0, 0}));

  t.polygons[0].flags = t.polygons[1].flags = PolyFlag::kInvisible;
  ASSERT_TRUE(ExportObjectAsX(f.m(), path, false));
  const MeshValues empty = ReadMesh(path);
  EXPECT_EQ(std::tuple(empty.mesh, empty.list),
            std::tuple(std::vector<double>{0, 0}, std::vector<double>{0, 0}));
}

// A mesh of one face on the point (x, 0, 0).
std::unique_ptr<MeshBuilder> OneFace(const MaterialValue* material, double x) {
  auto builder = std::make_unique<MeshBuilder>();
  builder->BeginFace(material);
  builder->AddVertex(x, 0, 0);
  builder->EndFace();
  return builder;
}

TEST(XExport, FaceColourIsTheFirstColourThatIsNotBlack) {
  const Vec3 black{}, tiny{1e-5, 0, 0}, below{9e-6, 0, 0}, red{1, 0, 0}, blue{0, 0, 0.5};
  struct Row {
    const char* name;
    Vec3 emissive, diffuse, ambient, face;
  } rows[] = {
      {"emissive exactly at the tolerance", tiny, blue, blue, tiny},
      {"emissive below the tolerance", below, blue, red, blue},
      {"then ambient", black, black, red, red},
      {"all black", black, below, black, {0.2, 0.2, 0.2}},
  };
  test::TempDir dir;
  for (const Row& r : rows) {
    MaterialValue m;
    m.emissive = r.emissive, m.diffuse = r.diffuse, m.ambient = r.ambient;
    ASSERT_TRUE(ExportXFile(dir.File("m.x"), *OneFace(&m, 0))) << r.name;
    // Every face colour here has at most six decimals, as the text keeps.
    const std::vector<double> want = {r.face.x, r.face.y, r.face.z, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ReadMesh(dir.File("m.x")).materials, std::vector<std::vector<double>>{want})
        << r.name;
  }
}

TEST(XExport, RefusedPathsAndBadCoordinatesWriteNothing) {
  test::TempDir dir;
  const auto builder = OneFace(nullptr, 1);
  for (const char* name : {"a.xx", "ax", "a.x.wdo", "a.", "x"}) {
    EXPECT_FALSE(ExportXFile(dir.File(name), *builder)) << name;
    EXPECT_FALSE(test::FileExists(dir.File(name))) << name;
  }
  test::WriteFileText(dir.File("old.x"), "kept");
  EXPECT_FALSE(ExportXFile(dir.File("old.x"), *OneFace(nullptr, INFINITY)));
  EXPECT_EQ(test::ReadFileText(dir.File("old.x")), "kept");
}

}  // namespace
}  // namespace ws
