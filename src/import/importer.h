// What a format reader is handed: the scene root it adds its nodes to and
// the notifier it reports through.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "import/import_notifier.h"
#include "import/scene_nodes.h"

namespace ws {

class Importer {
 public:
  explicit Importer(ImportNotifier& notifier)
      : notifier_(notifier), root_(std::make_unique<scene::Separator>("root")) {}

  scene::Separator& root() { return *root_; }
  ImportNotifier& notifier() { return notifier_; }

  // A status or error line: goes to the import log.
  void Log(std::string_view line) { notifier_.Notify(line); }
  // "IMPORT_DLG_TITLE " + title.
  void Title(std::string_view title) { notifier_.Title(title); }
  // "IMPORT_PROGRESS %d".
  void Progress(int percent) { notifier_.Progress(percent); }

 private:
  ImportNotifier& notifier_;
  std::unique_ptr<scene::Separator> root_;
};

}  // namespace ws
