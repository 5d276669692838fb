#include "app/qt_ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace ws {
namespace {

// The texts were written for a platform that breaks lines at "\r".
QString DisplayText(std::string_view s) {
  QString text = ToQString(s);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

ValuePrompt::ValuePrompt(QWidget* parent, const QString& question, const QString& initial)
    : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kValuePromptTitle));
  setObjectName("valuePrompt");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(question, this);
  label->setWordWrap(true);
  label->setMinimumWidth(260);
  layout->addWidget(label);
  field_ = new QLineEdit(initial, this);
  field_->setObjectName("valueField");
  field_->setAlignment(Qt::AlignCenter);
  layout->addWidget(field_);
  auto* buttons = new QHBoxLayout;
  auto* cancel = new QPushButton(tr("Cancel"), this);
  auto* ok = new QPushButton(tr("OK"), this);
  ok->setObjectName("okButton");
  cancel->setObjectName("cancelButton");
  ok->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ValuePrompt::text() const { return field_->text(); }

void QtUi::PresentMessage(std::string_view caption, std::string_view text) {
  const bool busy = busy_;
  if (busy) QApplication::restoreOverrideCursor();
  Modal(true);
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), DisplayText(text), QMessageBox::Ok,
                  parent_);
  box.setObjectName("messageBox");
  if (caption == kGeneralErrorCaption) box.setIcon(QMessageBox::Critical);
  box.exec();
  Modal(false);
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
}

std::optional<std::string> QtUi::AskValue(std::string_view prompt, std::string_view initial) {
  Modal(true);
  ValuePrompt dialog(parent_, DisplayText(prompt), ToQString(initial));
  const int result = dialog.exec();
  Modal(false);
  if (result != QDialog::Accepted) return std::nullopt;
  return dialog.text().toStdString();
}

QString QtFilterString(const std::vector<FileFilter>& filters) {
  QStringList parts;
  for (const FileFilter& f : filters) {
    QString patterns = ToQString(f.patterns);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    parts << QStringLiteral("%1 (%2)").arg(ToQString(f.description), patterns);
  }
  return parts.join(QStringLiteral(";;"));
}

std::optional<std::string> QtUi::AskOpenPath(std::string_view title,
                                             const std::vector<FileFilter>& filters) {
  Modal(true);
  const QString path =
      QFileDialog::getOpenFileName(parent_, ToQString(title), QString(), QtFilterString(filters));
  Modal(false);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtUi::AskSavePath(const SaveDialogOptions& options) {
  Modal(true);
  QFileDialog dialog(parent_, ToQString(options.title), QString(), QtFilterString(options.filters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!options.defaultExtension.empty())
    dialog.setDefaultSuffix(ToQString(options.defaultExtension));
  if (!options.defaultName.empty()) dialog.selectFile(ToQString(options.defaultName));
  if (!options.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  const int result = dialog.exec();
  Modal(false);
  if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

void QtUi::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

std::optional<std::string> QtSettingsStore::Value(std::string_view key) const {
  const QVariant v = settings_.value(ToQString(key));
  if (!v.isValid()) return std::nullopt;
  return v.toString().toStdString();
}

void QtSettingsStore::SetValue(std::string_view key, std::string_view value) {
  settings_.setValue(ToQString(key), ToQString(value));
}

}  // namespace ws
