#include "platform/ui.h"

#include <algorithm>

namespace ws {

void Ui::ShowMessage(std::string_view caption, std::string_view text) {
  if (batchDepth_ == 0) {
    PresentMessage(caption, text);
    return;
  }
  auto same = [&](const HeldMessage& m) { return m.caption == caption && m.text == text; };
  auto it = std::find_if(held_.begin(), held_.end(), same);
  if (it == held_.end()) it = held_.insert(held_.end(), {std::string(caption), std::string(text)});
  ++it->count;
}

MessageBatch::~MessageBatch() {
  if (--ui_.batchDepth_ > 0) return;
  // Taken out first: a box shown below may start work that batches again.
  std::vector<Ui::HeldMessage> held = std::move(ui_.held_);
  ui_.held_.clear();
  for (const Ui::HeldMessage& m : held) {
    if (m.count == 1) {
      ui_.PresentMessage(m.caption, m.text);
    } else {
      ui_.PresentMessage(m.caption, m.text + " (" + std::to_string(m.count) + " times)");
    }
  }
}

}  // namespace ws
