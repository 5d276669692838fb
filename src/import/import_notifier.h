// The import notifier, through which every reader reports, and the
// progress dialog it drives.
//
// Each line the notifier receives is handled in one of three ways:
// - it contains "IMPORT_PROGRESS": the number that starts at the line's
//   first decimal digit (0 when there is none, at most 100) becomes the
//   progress bar's position;
// - else it contains "IMPORT_DLG_TITLE": the text after the line's first 17
//   characters (the keyword and one blank) becomes the dialog's title;
// - else it is appended to the log file, followed by a line end, and
//   flushed.
// The log file is opened (created or truncated) once, when the notifier is
// made, and written for the notifier's whole life; the editor makes one at
// start-up with LogPathFor(model.paths). When the log cannot be opened its
// lines are dropped.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ws {

struct Paths;

inline constexpr std::string_view kImportLogName = "import_log.txt";
inline constexpr std::string_view kProgressKeyword = "IMPORT_PROGRESS";
inline constexpr std::string_view kTitleKeyword = "IMPORT_DLG_TITLE";

// The progress dialog of one scene import: made at the start, driven with
// titles and positions 0 to 100, hidden before the drop report, closed at
// the end. This base class is the no-op dialog of the command-line tool;
// the editor's Qt dialog overrides it.
class ImportProgress {
 public:
  virtual ~ImportProgress() = default;
  virtual void Open() {}
  virtual void SetTitle(std::string_view title) {}
  virtual void SetPosition(int position) {}
  virtual void Hide() {}
  virtual void Close() {}
};

class ImportNotifier {
 public:
  explicit ImportNotifier(const std::string& logPath);
  ~ImportNotifier();
  ImportNotifier(const ImportNotifier&) = delete;
  ImportNotifier& operator=(const ImportNotifier&) = delete;

  // The dialog that progress and title lines go to (nullptr: none).
  void Attach(ImportProgress* progress) { progress_ = progress; }
  ImportProgress* attached() const { return progress_; }

  void Notify(std::string_view line);

  // Helpers that build the protocol's lines.
  void Progress(int percent);          // "IMPORT_PROGRESS %d"
  void Title(std::string_view title);  // "IMPORT_DLG_TITLE " + title
  void Log(std::string_view line) { Notify(line); }

  bool logOpen() const { return log_ != nullptr; }

  // The progress position a line names: the number from its first decimal
  // digit, clamped to 0 .. 100.
  static int ProgressValue(std::string_view line);

 private:
  std::FILE* log_ = nullptr;
  ImportProgress* progress_ = nullptr;
};

// base + "import_log.txt".
std::string LogPathFor(const Paths& paths);

}  // namespace ws
