// The format readers as rows: a file text, whether the reader succeeds, how
// many faces its scene holds and the lines it logs ('@' stands for the
// file's path).
#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws {
namespace {

struct ReaderCase {
  test::ReaderFunction reader;
  const char* name;
  std::string_view text;  // null: no file
  bool ok;
  std::size_t faces;
  std::vector<std::string> log;
};

std::vector<std::string> Syntax(int line) {
  return {"Syntax error file '@', line " + std::to_string(line)};
}

TEST(ReaderCases, FacesAndLogLinesPerText) {
  const std::string raw255 = std::string(250, ' ') + "1 2 3 4 5 6 7 8 9\n0 0 0 1 0 0 0 1 0\n";
  const std::string rawBinary = "n\r\n0 0 0 1 0 0 0 1 0\r\n" + std::string("\0\xff\x80 1\0 3", 8);
  const ReaderCase cases[] = {
      // NFF: Sense8 mistakes, then Haines ones.
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 3\n", false, 0, Syntax(8)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1\n", false, 0, Syntax(8)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 0xf00\n", false, 0, Syntax(8)},
      {ImportNff, "a.nff", "nff\nA\n3.5\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0\n", false, 0, Syntax(5)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n", false, 0, Syntax(5)},  // ends early
      {ImportNff, "a.nff", "nff\nA\n-1\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "nff\nA\n500001\n", false, 0, Syntax(3)},  // beyond any model
      {ImportNff, "a.nff", "nff\nversion 2.0\nA\n1\n0 0 nan\n", false, 0, Syntax(5)},
      {ImportNff, "a.nff", "p 3\n0 0 0\n1 0 0\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "p 3\n0 0 0\n1 0\n0 1 0\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "p x\n", false, 0, Syntax(1)},
      {ImportNff, "a.nff", "p 3.5\n", false, 0, Syntax(1)},
      {ImportNff, "a.nff", "s 1 2 3\n", false, 0, Syntax(1)},
      {ImportNff, "a.nff", "c\n0 0 0 1\n", false, 0, Syntax(2)},
      {ImportNff, "a.nff", "f 1 0\n", false, 0, Syntax(1)},
      {ImportNff, "missing.nff", {}, false, 0, {"Unable to open file '@'"}},
      // The first line chooses the dialect: Haines unless it is "nff".
      {ImportNff, "a.nff", "\nnff\np 3\n0 0 0\n1 0 0\n0 1 0\n", true, 1, {}},
      {ImportNff, "a.nff", "nff  \r\nT\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 2\n", true, 1, {}},
      {ImportNff, "a.nff", "nff\nversion 2.0\n", true, 0, {}},
      // OBJ always counts as read; a mistake imports nothing.
      {ImportObj, "a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n\nvn 1 2\nf 1 2 3\n", true, 0,
       Syntax(6)},
      {ImportObj, "a.obj", "v 1 2 1e999\n", true, 0, Syntax(1)},
      {ImportObj, "a.obj", "f a b c\n", true, 0, Syntax(1)},
      {ImportObj, "missing.obj", {}, true, 0, {"Unable to open file '@'"}},
      // RAW: nine numbers or twelve (a colour first); eight, or a ninth that
      // is no number, are a group name line.
      {ImportRaw, "t.raw", "0 0 0 1 0 0 0 1\n1 2 3 4 5 6 7 8 x\n0 0 0 1 0 0 0 1 0\n", true, 1, {}},
      {ImportRaw, "t.raw", "-1 0 0 -2 0 0 -1 -1 0.5 extra words\n", true, 1, {}},
      // A triangle cut at the 255-character boundary is two name lines.
      {ImportRaw, "t.raw", raw255, true, 1, {}},
      {ImportRaw, "t.raw", rawBinary, true, 1, {}},
      {ImportRaw, "missing.raw", {}, true, 0, {}}};
  for (const ReaderCase& c : cases) {
    const auto r = test::RunReader(c.reader, c.name, c.text);
    std::vector<std::string> log;
    for (std::string line : c.log) log.push_back(line.replace(line.find('@'), 1, r.path));
    EXPECT_EQ(std::tuple(r.ok, r.faces.size(), r.Errors()), std::tuple(c.ok, c.faces, log))
        << c.text;
  }
}

}  // namespace
}  // namespace ws
