#include "app/import_wiring.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "editor/shell/command_ids.h"
#include "import/import_3dmf.h"
#include "import/import_commands.h"

namespace ws {

QtImportProgress::QtImportProgress(QWidget* parent) : QDialog(parent) {
  setObjectName("importProgress");
  setWindowTitle("Import");
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 100);
  layout->addWidget(title_);
  layout->addWidget(bar_);
}

void QtImportProgress::Open() {
  bar_->setValue(0);
  show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtImportProgress::SetTitle(std::string_view title) {
  title_->setText(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

void QtImportProgress::SetPosition(int position) { bar_->setValue(position); }
void QtImportProgress::Hide() { hide(); }
void QtImportProgress::Close() { hide(); }
int QtImportProgress::position() const { return bar_->value(); }

ImportWiring::ImportWiring(const std::string& base, QWidget* parent)
    : notifier_(std::make_unique<ImportNotifier>(base + "import_log.txt")),
      progress_(std::make_unique<QtImportProgress>(parent)) {
  services_ = std::make_unique<ImportServices>(
      ImportServices{*notifier_, *progress_, {}, SceneReaders::Defaults(), Import3dmf});
  services_->escapePressed = [this] {
    // The key filter sees Escape only while events are handled.
    QCoreApplication::processEvents();
    return escape_;
  };
}

ImportWiring::~ImportWiring() = default;

bool ImportWiring::Run(Model& model, int mode, const std::string* path) {
  importing_ = true;
  escape_ = false;
  bool ok = false;
  if (path) {
    const OpenMode m = mode == Cmd::kInsert  ? OpenMode::kInsert
                       : mode == Cmd::kMerge ? OpenMode::kMerge
                                             : OpenMode::kOpen;
    ok = OpenFile(model, *services_, *path, m).ok;
  } else if (mode == Cmd::kInsert) {
    ok = InsertCommand(model, *services_);
  } else {
    ok = MergeCommand(model, *services_);
  }
  importing_ = false;
  progress_->hide();
  return ok;
}

}  // namespace ws
