// The X-file library: the text writer, and the reader's text,
// binary and compressed forms, its limits and its messages.
#include <gtest/gtest.h>

#include <cmath>

#include "import/xfile/xfile.h"
#include "support/test_support.h"
#include "xfile_test_writer.h"

namespace ws::xfile {
namespace {

using test::xbin::Compress;
using test::xbin::Tokens;
using namespace std::string_literals;

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
  Object red = Obj("Material", "red", "11111111-2222-3333-4444-555555555555", Numbers({1, 0, 0, 1, 5, 0, 0, 0, 0, 0, 0}));
  red.children.push_back(Obj("TextureFilename", "", "", {Value{true, 0, "a b.png"}}));
  Object grey = Obj("Material", "", "", Numbers({0.8, 0.8, 0.8, 1, 0, 0, 0, 0, 0, 0, 0}));
  Object list = Obj("MeshMaterialList", "wdo_matlist", "", Numbers({2, 1, 1}), {grey, Ref("red", "")});
  Object mesh = Obj("Mesh", "wdo_object", "", Numbers({3, 0, 0, 0, 1, 0, 0, 0, 1, 0.5, 1, 3, 0, 1, 2}), {list});
  return {red, mesh};
}

// The same objects in the binary form; the material's members are one list.
std::string SmallBinary(bool doubles) {
  Tokens t;
  t.doubles = doubles;
  t.s = doubles ? "xof 0303bin 0064" : "xof 0303bin 0032";
  t.Name("Material").Name("red").Open().Guid(0x11111111, 0x2222, 0x3333, "\x44\x44\x55\x55\x55\x55\x55\x55");
  t.Floats({1, 0, 0, 1, 5, 0, 0, 0, 0, 0, 0}).Name("TextureFilename").Open().Str("a b.png").Close().Close();
  t.Name("Mesh").Name("wdo_object").Open().Ints({3}).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0.5}).Ints({1, 3, 0, 1, 2});
  t.Name("MeshMaterialList").Name("wdo_matlist").Open().Ints({2, 1, 1});
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
      {Obj("TextureFilename", "", "", Numbers({1})), "values do not fit member 'filename' of 'TextureFilename'"},
      {Obj("Nothing", "", "", {}), "unknown template 'Nothing'"},
      {Obj("Vector", "", "", Numbers({1, std::nan(""), 3})), "member 'y' of 'Vector' is not a finite number"},
      {Obj("Vector", "", "", Numbers({1, 2, -HUGE_VAL})), "member 'z' of 'Vector' is not a finite number"},
  };
  for (const auto& row : rows) {
    std::string error;
    EXPECT_FALSE(WriteText({row.object}, StandardTemplates(), &error));
    EXPECT_EQ(error, row.message);
  }
  // The largest double has 309 digits before its six decimals, and reads back.
  auto text = WriteText({Obj("Vector", "", "", Numbers({-1.7976931348623157e308, 0, 1}))}, StandardTemplates(), nullptr);
  ASSERT_TRUE(text);
  auto back = ReadString(*text);
  ASSERT_TRUE(back.file) << back.error;
  EXPECT_EQ(back.file->objects.at(0).values.at(0).number, -1.7976931348623157e308);
}

TEST(XFileReader, TextBinaryAndCompressedReadAlike) {
  struct Row {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"text", kExpected},
      {"binary 32", SmallBinary(false)},
      {"binary 64", SmallBinary(true)},
      {"tzip, one block", Compress("xof 0303tzip0032", kExpected.substr(16), 60000)},
      {"tzip, blocks of 40", Compress("xof 0303tzip0032", kExpected.substr(16), 40)},
      {"bzip, blocks of 33", Compress("xof 0303bzip0064", SmallBinary(true).substr(16), 33)},
  };
  for (const auto& row : rows) {
    auto r = ReadString(row.bytes);
    EXPECT_EQ(Rewritten(r), kExpected) << row.name;
    if (!r.file) continue;
    const Object* ref = &r.file->objects[1].children[0].children[1];
    EXPECT_EQ(Resolve(*r.file, *ref), &r.file->objects[0]) << row.name;
    EXPECT_EQ(Resolve(*r.file, Ref("", "11111111-2222-3333-4444-555555555555")), &r.file->objects[0]) << row.name;
  }
}

TEST(XFileReader, TemplatesDeclaredInTheFile) {
  auto r = ReadString(
      "xof 0302txt 0064 // comment\n"
      "template Pair { <01234567-89ab-cdef-0123-456789ABCDEF> DWORD n; array SWORD v[n][2]; [...] }\n"
      "# another comment\nPair p { 2; -1, 2, 3, 4;; Vector { 1; 2; 3; } }\n");
  ASSERT_TRUE(r.file) << r.error;
  ASSERT_EQ(r.file->declared.size(), 1u);
  EXPECT_EQ(r.file->declared[0].guid, "01234567-89AB-CDEF-0123-456789ABCDEF");
  std::string error;
  TemplateRegistry reg = StandardTemplates();
  reg.Add(r.file->declared[0]);
  EXPECT_EQ(WriteText(r.file->objects, reg, &error).value_or(error),
            "xof 0303txt 0032\nPair p {\n 2;\n -1,2,3,4;\n Vector {\n  1.000000;\n  2.000000;\n  3.000000;\n }\n}\n");
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

Tokens EmptyLists(Tokens t, int n) {
  while (n-- > 0) t.Ints({});
  return t;
}

TEST(XFileReader, MalformedInputsWithTheirMessages) {
  const std::string hdr = "xof 0303txt 0032\n";
  const std::string pair = hdr + "template P { <00000000-0000-0000-0000-000000000000> DWORD n; array DWORD v[n]; }\n";
  const std::string dims = hdr + "template Q { <00000000-0000-0000-0000-000000000000> array WORD v[";
  Tokens ints;
  ints.s = "xof 0303bin 0032";
  ints.Name("Header").Open();
  struct Row {
    const char* name;
    std::string bytes;
    std::string message;  // empty: reads
  } rows[] = {
      {"float size", "xof 0303txt 0016", "unknown float size '0016'"},
      {"format", "xof 0303abc 0032", "unknown X format 'abc '"},
      {"header only", hdr, ""},
      {"name in another case, closed template", hdr + "vECTOR { 1;2;3; Vector {1;2;3;} }", "template 'Vector' takes no child objects at byte 33"},
      {"undeclared template", hdr + "Foo f { 1; \"s\"; Foo { 2.5; } }", ""},
      {"undeclared, cut", hdr + "Foo { 1;", "unexpected end of data at byte 25"},
      {"undeclared, reference", hdr + "Foo { { f } [ }", "unexpected token in data object at byte 29"},
      {"unknown member type", hdr + "template A { <00000000-0000-0000-0000-000000000000> B b; } A {}",
       "unknown template 'B' at byte 79"},
      {"integer member", hdr + "Header { 1.5; 2; 3; }", "expected a number for 'major' at byte 26"},
      {"string member", hdr + "TextureFilename { 5; }", "expected a string for 'filename' at byte 35"},
      {"no brace", hdr + "Header { 1; 2; 3;", "unexpected end of data at byte 34"},
      {"string", hdr + "TextureFilename { \"a }", "unterminated string at byte 35"},
      {"guid", hdr + "Frame { <1234> }", "malformed GUID at byte 25"},
      {"number", hdr + "Header { 1-2; }", "malformed number at byte 26"},
      {"character", hdr + "Header { 1; @ }", "unexpected character at byte 29"},
      {"empty reference", hdr + "Frame { { } }", "empty reference at byte 27"},
      {"array exactly to the end", pair + "P { 1; 7", "unexpected end of data at byte 106"},
      {"array past the end", pair + "P { 2; 7", "array 'v' longer than the data left at byte 105"},
      {"array size too big", pair + "P { 4294967295; }", "array 'v' longer than the data left at byte 114"},
      {"dimensions at 32 bits", dims + "65535][65537]; } Q {}", "array 'v' longer than the data left at byte 102"},
      {"dimensions over 32 bits", dims + "65536][65536]; } Q {}", "size of array 'v' unknown at byte 102"},
      {"frames at the limit", Nested("frames", kMaxDepth), ""},
      {"frames past the limit", Nested("frames", kMaxDepth + 1), "data objects nested too deeply at byte 465"},
      {"templates at the limit", Nested("templates", kMaxDepth), ""},
      {"templates past the limit", Nested("templates", kMaxDepth + 1), "templates nested too deeply at byte 4100"},
      {"list exactly to the end", Tokens(ints).Ints({1, 2, 3}, 3).s, "unexpected end of data at byte 48"},
      {"list past the end", Tokens(ints).Ints({1, 2, 3}, 4).s, "list longer than the data left at byte 30"},
      {"empty lists", EmptyLists(Tokens(ints), 3).s, "expected a number for 'major' at byte 48"},
      {"binary token", Tokens(ints).T(0x99).s, "unknown binary token at byte 30"},
      {"block magic", "xof 0303tzip0032\x14\0\0\0\x04\0\x02\0CX"s, "malformed compressed block"},
      {"block data", "xof 0303tzip0032\x14\0\0\0\x04\0\x03\0CKx"s, "corrupt compressed block"},
      {"stated size short", Compress("xof 0303tzip0032", hdr, 8, -1), "compressed data larger than its stated size"},
      {"stated size long", Compress("xof 0303tzip0032", hdr, 8, 1), "compressed data shorter than its stated size"},
  };
  for (const auto& row : rows) {
    auto r = ReadString(row.bytes);
    EXPECT_EQ(r.file ? "" : r.error, row.message) << row.name;
  }
}

TEST(XFileReader, EveryCutOfEveryFormNeverCrashes) {
  const std::string forms[] = {kExpected, SmallBinary(false), SmallBinary(true),
                               Compress("xof 0303bzip0032", SmallBinary(false).substr(16), 50)};
  for (const auto& bytes : forms) {
    // A cut reads only when it ends after the header or after a whole
    // top-level object, and then gives the objects before it.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
      auto r = ReadString(bytes.substr(0, n));
      if (r.file) {
        EXPECT_TRUE(kExpected.starts_with(Rewritten(r))) << bytes.substr(8, 8) << " cut at " << n;
      }
      if (n < 16) {
        EXPECT_EQ(r.error, "not an X file") << n;
      }
    }
  }
}

}  // namespace
}  // namespace ws::xfile
