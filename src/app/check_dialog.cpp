#include "app/check_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "editor/interaction/selection.h"
#include "editor/shell/command_ids.h"

namespace ws {

CheckDialog::CheckDialog(std::vector<CheckFinding> findings, ChooseFn choose, QWidget* parent)
    : QDialog(parent), findings_(std::move(findings)) {
  setWindowTitle("Check Object");
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName("checkFindings");
  list_->setMinimumSize(520, 240);
  for (const CheckFinding& f : findings_) list_->addItem(QString::fromStdString(f.message));
  if (findings_.empty()) {
    auto* none = new QListWidgetItem("No problems found.", list_);
    none->setFlags(Qt::ItemIsEnabled);
  }
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this, choose](QListWidgetItem* item) {
    const int row = list_->row(item);
    if (row >= 0 && static_cast<std::size_t>(row) < findings_.size()) choose(findings_[row]);
  });
}

void WireCheckCommand(CommandRegistry& registry, EditContext& ctx,
                      std::function<QWidget*()> dialogParent) {
  registry.Register(Cmd::kCheckObject, [&ctx, dialogParent](CommandContext&) {
    auto choose = [&ctx](const CheckFinding& f) {
      UnselectAll(ctx.tables());
      MarkFinding(ctx.tables(), f);
      ctx.shell.RequestMenuRefresh();
      ctx.shell.RequestRedraw();
    };
    CheckDialog dialog(CheckObject(ctx.tables()), choose, dialogParent());
    const bool modal = ctx.shell.modalDialogOpen;
    ctx.shell.modalDialogOpen = true;
    dialog.exec();
    ctx.shell.modalDialogOpen = modal;
  });
}

}  // namespace ws
