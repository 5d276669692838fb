// Running one format reader on a text and looking at the scene it built.
#pragma once

#include <string>
#include <vector>

#include "import/readers/readers.h"
#include "import_test_support.h"

namespace ws::test {

struct ReadResult {
  bool ok = false;
  std::string path;
  std::vector<std::string> log;  // the lines that reached the log file
  std::unique_ptr<Importer> importer;
  std::vector<RecordedFace> faces;

  scene::Separator& root() { return importer->root(); }
  // The nodes of a type among the root's children (not below).
  template <class T>
  std::vector<T*> Children() {
    std::vector<T*> out;
    for (auto& c : root().children) {
      if (auto* t = dynamic_cast<T*>(c.get())) out.push_back(t);
    }
    return out;
  }
};

using ReaderFunction = bool (*)(Importer&, const std::string&);

// Writes `text` to a file named `name` (in `in`, or a folder of its own),
// runs the reader on it and walks the scene it built.
inline ReadResult RunReader(ReaderFunction reader, const std::string& name, std::string_view text,
                            const TempDir* in = nullptr) {
  TempDir own;
  const TempDir& dir = in ? *in : own;
  const std::string path = dir.File(name);
  WriteFileText(path, text);
  ReadResult r;
  r.path = path;
  {
    ImportNotifier notifier(dir.File("log.txt"));
    r.importer = std::make_unique<Importer>(notifier);
    r.ok = reader(*r.importer, path);
    r.faces = WalkFaces(r.importer->root());
  }
  // (The importer's notifier is gone from here on; only its scene is used.)
  const std::string log = ReadFileText(dir.File("log.txt"));
  std::size_t start = 0;
  for (std::size_t end = log.find('\n'); end != std::string::npos; end = log.find('\n', start)) {
    r.log.push_back(log.substr(start, end - start));
    start = end + 1;
  }
  return r;
}

// The lines of the log that are not "Reading ..% Complete" status lines.
inline std::vector<std::string> ErrorLines(const ReadResult& r) {
  std::vector<std::string> out;
  for (const auto& l : r.log) {
    if (l.rfind("Reading ", 0) != 0) out.push_back(l);
  }
  return out;
}

}  // namespace ws::test
