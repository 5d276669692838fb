// "Check Object" in the editor: the check of geometry/object_check.h run on
// the current object, its findings listed in a modal dialog ("No problems
// found." when there are none). Double-clicking a finding selects what it
// names, in place of the selection there was, and redraws; the dialog stays
// open so the user can go through the list.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "editor/interaction/interaction.h"
#include "editor/shell/commands.h"
#include "geometry/object_check.h"

class QListWidget;

namespace ws {

class CheckDialog : public QDialog {
  Q_OBJECT
 public:
  using ChooseFn = std::function<void(const CheckFinding&)>;
  CheckDialog(std::vector<CheckFinding> findings, ChooseFn choose, QWidget* parent);

  // One row per finding, in the check's order (tests double-click them).
  QListWidget* list() const { return list_; }

 private:
  std::vector<CheckFinding> findings_;
  QListWidget* list_ = nullptr;
};

// Wires Cmd::kCheckObject. `ctx` must outlive the registry.
void WireCheckCommand(CommandRegistry& registry, EditContext& ctx,
                      std::function<QWidget*()> dialogParent);

}  // namespace ws
