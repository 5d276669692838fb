// The scene import in the editor: Open of a file that is neither ".wdo" nor
// ".wdc" (the shell's import hook), Insert and Merge (the import module's
// commands, with their own dialogs), one ImportNotifier for the whole run
// logging to the base directory's "import_log.txt", a small Qt progress
// dialog, and Escape (seen by the application's key filter) as the abort.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "import/import_notifier.h"

class QLabel;
class QProgressBar;

namespace ws {

struct Model;
struct ImportServices;

// The progress dialog the notifier's IMPORT_PROGRESS and IMPORT_DLG_TITLE
// lines go to.
class QtImportProgress : public QDialog, public ImportProgress {
  Q_OBJECT
 public:
  explicit QtImportProgress(QWidget* parent);
  void Open() override;
  void SetTitle(std::string_view title) override;
  void SetPosition(int position) override;
  void Hide() override;
  void Close() override;
  int position() const;

 private:
  QLabel* title_ = nullptr;
  QProgressBar* bar_ = nullptr;
};

class ImportWiring {
 public:
  // Creates the notifier (its log beside the base directory `base`) and
  // the progress dialog over `parent`.
  ImportWiring(const std::string& base, QWidget* parent);
  ~ImportWiring();

  // One import: OpenFile of `path` in the mode of command id `mode`
  // (Open, Insert or Merge), or with no path the Insert or Merge command
  // with its dialog. True when something was imported.
  bool Run(Model& model, int mode, const std::string* path);
  // Escape while an import runs.
  void EscapePressed() { escape_ = importing_; }
  bool importing() const { return importing_; }

 private:
  std::unique_ptr<ImportNotifier> notifier_;
  std::unique_ptr<QtImportProgress> progress_;
  std::unique_ptr<ImportServices> services_;
  bool importing_ = false;
  bool escape_ = false;
};

}  // namespace ws
