// What a format reader is handed: the scene root it adds its nodes to and
// the notifier it reports through.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "import/import_notifier.h"
#include "import/scene_nodes.h"
#include "model/color_table.h"
#include "model/object_tables.h"

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

  // A line of the one drop report shown after the conversion, for what the
  // reader itself had to leave out ("2 faces name vertices that ...").
  void NoteDropped(std::string line) { dropped_.push_back(std::move(line)); }
  const std::vector<std::string>& dropped() const { return dropped_; }
  // Why the file gave nothing to import, for the message that says so
  // (the log only holds the details).
  void SetEmptyReason(std::string reason) { emptyReason_ = std::move(reason); }
  const std::string& emptyReason() const { return emptyReason_; }

  // For a reader whose file says more about a polygon than a face carries:
  // run once the faces are in the object, with `polygonOfFace[n]` the
  // polygon the n-th face of the walk became (kNoIndex when it was dropped;
  // faces not converted have no entry).
  using AfterConversion =
      std::function<void(ObjectTables& tables, std::span<const std::uint32_t> polygonOfFace,
                         const ColorTable& colors)>;
  void SetAfterConversion(AfterConversion f) { afterConversion_ = std::move(f); }
  const AfterConversion& afterConversion() const { return afterConversion_; }

 private:
  ImportNotifier& notifier_;
  std::unique_ptr<scene::Separator> root_;
  std::vector<std::string> dropped_;
  std::string emptyReason_;
  AfterConversion afterConversion_;
};

}  // namespace ws
