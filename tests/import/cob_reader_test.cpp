// The trueSpace reader on small files written here chunk by chunk.
#include <gtest/gtest.h>

#include "cob_test_writer.h"

namespace ws {
namespace {

using namespace test::cob;
using test::Le, test::U16, test::U32;

TEST(CobReader, RefusesOtherFilesAndKeepsTheObjectsBeforeACut) {
  const std::string drop =
      "| Premature EOF | The file ends inside a chunk; only the objects before it were read ";
  // Four trailing bytes of a later version end the first chunk; "OLay" is skipped.
  const std::string first = Chunk("PolH", 1, 0, Polygons("a") + "\x7f\x7f\x7f\x7f");
  const std::string whole = kHeader + first + Chunk("OLay", 2, 0, Le<U32>({0, 0})) +
                            Chunk("PolH", 3, 0, Polygons("b")) + Chunk("END ", 0, 0, "");
  const std::size_t second = 32 + first.size() + 28;  // where the second object's chunk starts
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {"31 bytes", kHeader.substr(0, 31), "0 faces | Permature EOF | Permature EOF"},
      {"not Caligari", "Caligary" + kHeader.substr(8),
       "0 faces | Selected file is not a binary Caligari COB file | Selected file is not a binary "
       "Caligari COB file"},
      {"the header alone", kHeader, "0 faces | "},
      {"whole", whole, "2 faces "},
      {"cut in the skipped chunk", whole.substr(0, second - 3), "1 faces " + drop},
      {"cut in the second object", whole.substr(0, second + 30), "1 faces " + drop},
      {"cut in the last header", whole.substr(0, whole.size() - 1), "2 faces "},
      {"bump record cut short",
       kHeader + first + Chunk("Mat1", 2, 1, Le<U16>({0}) + std::string(35, '\0') + "b:"),
       "1 faces " + drop},
  };
  for (const auto& [what, file, read] : rows)
    EXPECT_EQ(test::ReadSummary(ImportTrueSpace, "t.cob", file, false), read) << what;
}

// "NoName" names nothing; holes are dropped; a material colours a polygon
// object read before it (ka 0 counts as 0.1), its records end after a
// texture one; the object table keeps 1,024 entries.
TEST(CobReader, BuildsObjectsUnderTheirParentsWithTheirMaterials) {
  const auto material = [](U16 n, float ka, const std::string& records = "") {
    return Le<U16>({n}) + "pf\x1e" + Le<float>({0.5, 1, 0.25, 0.75, ka, 0.5, 8, 1}) + records;
  };
  const std::string x = std::string(1, '\0') + Le<U16>({1}) + "x";  // a byte, a string
  const std::string faces =
      Face({0, 1, 2}, 1) + Face({3, 4, 5}, -1) + Face({0, 2, 1}, 2) + Face({0, 0xFFFFFFFF, 1, 2});
  std::string file =
      kHeader + Chunk("Grou", 1, 0, Object("G")) +
      Chunk("PolH", 2, 1,
            Polygons("NoName", faces, 4, Le<float>({1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0}))) +
      Chunk("Mat1", 3, 2, material(2, 0, "e:" + x + "t:" + x + std::string(16, '\0') + "b:")) +
      Chunk("Mat1", 4, 2, material(0, 0.5)) + Chunk("Mat1", 5, 1, material(1, 1)) +
      Chunk("Mat1", 6, 7, material(1, 1)) + Chunk("Mat1", 7, 2, material(0xFFFF, 1)) +
      Chunk("PolH", 7, 7, Polygons("9 lives")) + Chunk("PolH", 8, 0, Polygons(""));
  std::string groups;  // to fill the table
  for (U32 id = 100; id < 1120; ++id) file += Chunk("Grou", id, 0, Object("g")), groups += "g{} ";
  file += Chunk("Grou", 5000, 0, Object("g")) + Chunk("PolH", 20, 1119, Polygons("in")) +
          Chunk("PolH", 21, 5000, Polygons("out"));
  const std::string tri = "{Binding32 Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 / 0 } ";
  EXPECT_EQ(
      test::ReadSummary(ImportTrueSpace, "t.cob", file),
      "root{Binding2 Turn 1,0,0 -1.5708 Turn 0,0,1 -1.5708 G{{Material 0.25,0.5,0.125 "
      "0.2,0.2,0.2 0.05,0.1,0.025 / 0.5,1,0.25 0.8,0.8,0.8 0.5,1,0.25 / 0.5,0.5,0.5 0,0,0 "
      "0.5,0.5,0.5 / 8 0.2 8 / 0.25 0 0.25 Binding32 Matrix 1 0 0 0 0 1 0 0 0 0 1 0 5 0 0 1 "
      "Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 0 2 1 -1 0 2147483647 1 2 -1 / 1 2 0 } } G9 lives" +
          tri + tri + groups.substr(4) + "g{in" + tri + "} g{} out" + tri + "} ");
}

}  // namespace
}  // namespace ws
