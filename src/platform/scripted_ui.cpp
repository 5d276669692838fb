#include "platform/scripted_ui.h"

namespace ws {

void ScriptedUi::PresentMessage(std::string_view caption, std::string_view text) {
  messages_.push_back({std::string(caption), std::string(text)});
  if (echo_) *echo_ << caption << ": " << text << '\n';
}

std::vector<std::string> ScriptedUi::MessageTexts() const {
  std::vector<std::string> out;
  out.reserve(messages_.size());
  for (const auto& m : messages_) out.push_back(m.text);
  return out;
}

namespace {
std::optional<std::string> Take(std::deque<std::optional<std::string>>& queue) {
  if (queue.empty()) return std::nullopt;
  auto answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}
}  // namespace

std::optional<std::string> ScriptedUi::AskValue(std::string_view prompt, std::string_view) {
  prompts_.emplace_back(prompt);
  return Take(values_);
}

std::optional<std::string> ScriptedUi::AskOpenPath(std::string_view title,
                                                   const std::vector<FileFilter>& filters) {
  openTitles_.emplace_back(title);
  openFilters_.push_back(filters);
  return Take(openPaths_);
}

std::optional<std::string> ScriptedUi::AskSavePath(const SaveDialogOptions& options) {
  saveDialogs_.push_back(options);
  return Take(savePaths_);
}

void ScriptedUi::SetBusyCursor(bool busy) {
  if (busy != busy_) ++busyTransitions_;
  busy_ = busy;
}

std::optional<std::string> MemorySettingsStore::Value(std::string_view key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void MemorySettingsStore::SetValue(std::string_view key, std::string_view value) {
  values_.insert_or_assign(std::string(key), std::string(value));
}

}  // namespace ws
