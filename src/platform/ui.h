// The small interfaces through which the core talks to the person using it.
// The Qt front end implements them with real dialogs; tests and the CLI use
// ScriptedUi. None of the core includes a toolkit header.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ws {

// Captions of the standard message boxes.
inline constexpr std::string_view kGeneralErrorCaption = "General Error";
inline constexpr std::string_view kNotificationCaption = "Notification";
inline constexpr std::string_view kBadValueCaption = "Bad Value";

// One entry of an open/save dialog's filter list: a description shown to the
// user and a semicolon-separated list of patterns ("*.wct;*.act").
struct FileFilter {
  std::string description;
  std::string patterns;
};

struct SaveDialogOptions {
  std::string title;
  std::vector<FileFilter> filters;
  std::string defaultExtension;  // without the dot; empty for none
  std::string defaultName;       // proposed file name; empty for none
  bool overwritePrompt = false;
};

class Ui {
 public:
  virtual ~Ui() = default;

  // Modal message boxes. ShowError uses "General Error", ShowNote
  // "Notification"; ShowMessage takes any caption ("Bad Value"). While a
  // MessageBatch is open the boxes wait for its end (see below).
  void ShowMessage(std::string_view caption, std::string_view text);
  void ShowError(std::string_view text) { ShowMessage(kGeneralErrorCaption, text); }
  void ShowNote(std::string_view text) { ShowMessage(kNotificationCaption, text); }

  // A one-line value prompt; no value when the user cancels.
  virtual std::optional<std::string> AskValue(std::string_view prompt,
                                              std::string_view initial) = 0;
  // Common file dialogs; no value when the user cancels.
  virtual std::optional<std::string> AskOpenPath(std::string_view title,
                                                 const std::vector<FileFilter>& filters) = 0;
  virtual std::optional<std::string> AskSavePath(const SaveDialogOptions& options) = 0;

  // Wait cursor on (true) or the arrow back (false).
  virtual void SetBusyCursor(bool busy) = 0;

 protected:
  // Shows one message box now.
  virtual void PresentMessage(std::string_view caption, std::string_view text) = 0;

 private:
  friend class MessageBatch;
  struct HeldMessage {
    std::string caption, text;
    int count = 0;
  };
  int batchDepth_ = 0;
  std::vector<HeldMessage> held_;
};

// One command's message boxes, held while the command runs and shown when
// the outermost batch ends: each distinct caption and text once, in the
// order they first came, with " (N times)" after the text when it came N
// times. A primitive with degenerate parameters fails hundreds of polygons
// alike, and one box per polygon would bury the user. Open a batch only
// around work that asks no questions, since a prompt would come before the
// messages that led to it.
class MessageBatch {
 public:
  explicit MessageBatch(Ui& ui) : ui_(ui) { ++ui_.batchDepth_; }
  ~MessageBatch();
  MessageBatch(const MessageBatch&) = delete;
  MessageBatch& operator=(const MessageBatch&) = delete;

 private:
  Ui& ui_;
};

// The per-machine settings store (one string value per key).
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Value(std::string_view key) const = 0;
  virtual void SetValue(std::string_view key, std::string_view value) = 0;
};

}  // namespace ws
