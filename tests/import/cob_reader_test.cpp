// The trueSpace reader on small files written here chunk by chunk.
#include <gtest/gtest.h>

#include "cob_test_writer.h"

namespace ws {
namespace {

using namespace test::cob;
using test::Le, test::U16, test::U32;

TEST(CobReader, RefusesOtherFilesAndKeepsTheObjectsBeforeACut) {
  const std::string no = "| Selected file is not a binary Caligari COB file ",
                    eof = "| Premature EOF ";
  const std::string drop =
      eof + "| The file ends inside a chunk; only the objects before it were read ";
  std::string text = kHeader, other = kHeader, wrongName = kHeader;
  text[15] = 'A', other[15] = 'X', wrongName[7] = 'y';
  // Four trailing bytes of a later version end the first chunk; a chunk
  // of another kind is skipped.
  const std::string first = Chunk("PolH", 1, 0, Polygons("a") + "\x7f\x7f\x7f\x7f");
  const std::string whole = kHeader + first + Chunk("OLay", 2, 0, Le<U32>({0, 0})) +
                            Chunk("PolH", 3, 0, Polygons("b")) + Chunk("END ", 0, 0, "");
  const std::size_t second = 32 + first.size() + 28;  // where the second object's chunk starts
  const std::pair<std::string, std::string> rows[] = {
      {kHeader.substr(0, 31), "0 faces | Permature EOF | Permature EOF"},
      {text, "0 faces " + no + no.substr(0, no.size() - 1)},
      {other, "0 faces " + no + no.substr(0, no.size() - 1)},
      {wrongName, "0 faces " + no + no.substr(0, no.size() - 1)},
      {kHeader, "0 faces | "},
      {whole, "2 faces "},
      {whole.substr(0, 60), "0 faces " + eof + "| Premature EOF"},
      {whole.substr(0, second - 3), "1 faces " + drop},  // in the skipped chunk
      {whole.substr(0, second + 30), "1 faces " + drop},
      {whole.substr(0, whole.size() - 1), "2 faces "},  // in the last header
      {kHeader + first + Chunk("Mat1", 2, 1, Le<U16>({0}) + std::string(35, '\0') + "b:"),
       "1 faces " + drop},
  };
  for (const auto& [file, read] : rows)
    EXPECT_EQ(test::ReadSummary(ImportTrueSpace, "t.cob", file, false), read) << read;
}

// "NoName" names nothing, a name starting with a digit gets a G. Holes are
// dropped, the faces around them kept. A material colours the polygon
// object it names if that was read before it (ambient ka times its colour,
// ka 0 counting as 0.1); its records end after a texture ("t:") one. An
// object naming itself as its parent goes to the root.
TEST(CobReader, BuildsObjectsUnderTheirParentsWithTheirMaterials) {
  const auto material = [](U16 n, float ka, const std::string& records = "") {
    return Le<U16>({n}) + "pf\x1e" + Le<float>({0.5, 1, 0.25, 0.75, ka, 0.5, 8, 1}) + records;
  };
  const std::string x = std::string(1, '\0') + Le<U16>({1}) + "x";  // a byte, a string
  const std::string faces =
      Face({0, 1, 2}, 1) + Face({3, 4, 5}, -1) + Face({0, 2, 1}, 2) + Face({0, 0xFFFFFFFF, 1, 2});
  const std::string file =
      kHeader + Chunk("Grou", 1, 0, Object("G")) +
      Chunk("PolH", 2, 1,
            Polygons("NoName", faces, 4, Le<float>({1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0}))) +
      Chunk("Mat1", 3, 2, material(2, 0, "e:" + x + "t:" + x + std::string(16, '\0') + "b:")) +
      Chunk("Mat1", 4, 2, material(0, 0.5)) + Chunk("Mat1", 5, 1, material(1, 1)) +
      Chunk("Mat1", 6, 7, material(1, 1)) + Chunk("Mat1", 7, 2, material(0xFFFF, 1)) +
      Chunk("PolH", 7, 7, Polygons("9 lives")) + Chunk("PolH", 8, 0, Polygons(""));
  EXPECT_EQ(test::ReadSummary(ImportTrueSpace, "t.cob", file),
            "root{Binding2 Turn 1,0,0 -1.5708 Turn 0,0,1 -1.5708 G{{Material 0.25,0.5,0.125 "
            "0.2,0.2,0.2 0.05,0.1,0.025 / 0.5,1,0.25 0.8,0.8,0.8 0.5,1,0.25 / 0.5,0.5,0.5 0,0,0 "
            "0.5,0.5,0.5 / 8 0.2 8 / 0.25 0 0.25 Binding32 Matrix 1 0 0 0 0 1 0 0 0 0 1 0 5 0 0 1 "
            "Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 0 2 1 -1 0 2147483647 1 2 -1 / 1 2 0 } } "
            "G9 lives{Binding32 Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 / 0 } "
            "{Binding32 Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 / 0 } } ");
}

// The object table keeps 1,024 entries: the 1,025th object is imported
// but takes no children.
TEST(CobReader, TheObjectTableHolds1024Objects) {
  std::string file = kHeader;
  for (U32 id = 1; id <= 1025; ++id) file += Chunk("Grou", id, 0, Object("g"));
  file += Chunk("PolH", 2000, 1024, Polygons("in")) + Chunk("PolH", 2001, 1025, Polygons("out"));
  const std::string read = test::ReadSummary(ImportTrueSpace, "t.cob", file);
  EXPECT_TRUE(
      read.ends_with(" g{in{Binding32 Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 / 0 } } g{} "
                     "out{Binding32 Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 / 0 } } "))
      << read;
}

}  // namespace
}  // namespace ws
