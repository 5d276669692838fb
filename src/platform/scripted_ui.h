// Test and CLI double for Ui: records every message box in order and answers
// prompts and file dialogs from queues filled beforehand. An empty queue
// answers "cancelled". Optionally echoes messages to a stream (the CLI sends
// them to stderr).
#pragma once

#include <deque>
#include <map>
#include <ostream>
#include <string>

#include "platform/ui.h"

namespace ws {

struct RecordedMessage {
  std::string caption;
  std::string text;
  bool operator==(const RecordedMessage&) const = default;
};

class ScriptedUi : public Ui {
 public:
  explicit ScriptedUi(std::ostream* echo = nullptr) : echo_(echo) {}

  std::optional<std::string> AskValue(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> AskOpenPath(std::string_view title,
                                         const std::vector<FileFilter>& filters) override;
  std::optional<std::string> AskSavePath(const SaveDialogOptions& options) override;
  void SetBusyCursor(bool busy) override;

  // Queue answers. std::nullopt stands for the user pressing Cancel.
  void QueueValue(std::optional<std::string> answer) { values_.push_back(std::move(answer)); }
  void QueueOpenPath(std::optional<std::string> path) { openPaths_.push_back(std::move(path)); }
  void QueueSavePath(std::optional<std::string> path) { savePaths_.push_back(std::move(path)); }

  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  // Texts only, in order: handy for exact comparisons.
  std::vector<std::string> MessageTexts() const;

  // What the prompts were asked with, in order.
  const std::vector<std::string>& Prompts() const { return prompts_; }
  const std::vector<SaveDialogOptions>& SaveDialogs() const { return saveDialogs_; }
  const std::vector<std::string>& OpenDialogTitles() const { return openTitles_; }
  const std::vector<std::vector<FileFilter>>& OpenDialogFilters() const { return openFilters_; }

  bool busy() const { return busy_; }
  int busyTransitions() const { return busyTransitions_; }

 protected:
  void PresentMessage(std::string_view caption, std::string_view text) override;

 private:
  std::ostream* echo_;
  std::vector<RecordedMessage> messages_;
  std::deque<std::optional<std::string>> values_, openPaths_, savePaths_;
  std::vector<std::string> prompts_, openTitles_;
  std::vector<std::vector<FileFilter>> openFilters_;
  std::vector<SaveDialogOptions> saveDialogs_;
  bool busy_ = false;
  int busyTransitions_ = 0;
};

// Settings store held in memory (tests, CLI).
class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> Value(std::string_view key) const override;
  void SetValue(std::string_view key, std::string_view value) override;

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace ws
