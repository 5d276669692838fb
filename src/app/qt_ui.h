// Ui and SettingsStore on Qt: message boxes, the "Need More Information"
// value prompt, the common file dialogs, the wait cursor, and QSettings
// under organisation "Calvane", application "Wirestead".
#pragma once

#include <QDialog>
#include <QSettings>
#include <functional>
#include <string_view>

#include "platform/ui.h"

class QLineEdit;
class QWidget;

namespace ws {

// The system's UTF-8 texts as Qt strings.
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Dialog 153, "Need More Information": the question, one centred edit
// field (id 1009), "Cancel" and "OK".
class ValuePrompt : public QDialog {
  Q_OBJECT
 public:
  ValuePrompt(QWidget* parent, const QString& question, const QString& initial);
  QString text() const;
  QLineEdit* field() const { return field_; }

 private:
  QLineEdit* field_;
};

inline constexpr const char* kValuePromptTitle = "Need More Information";

class QtUi : public Ui {
 public:
  explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  // Called with true while a modal prompt or box is open, false after.
  std::function<void(bool)> modalChanged;

  std::optional<std::string> AskValue(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> AskOpenPath(std::string_view title,
                                         const std::vector<FileFilter>& filters) override;
  std::optional<std::string> AskSavePath(const SaveDialogOptions& options) override;
  void SetBusyCursor(bool busy) override;

 protected:
  void PresentMessage(std::string_view caption, std::string_view text) override;

 private:
  void Modal(bool open) {
    if (modalChanged) modalChanged(open);
  }
  QWidget* parent_;
  bool busy_ = false;
};

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore() : settings_("Calvane", "Wirestead") {}
  std::optional<std::string> Value(std::string_view key) const override;
  void SetValue(std::string_view key, std::string_view value) override;
  QSettings& settings() { return settings_; }

 private:
  mutable QSettings settings_;
};

// The filter string of a Qt file dialog: "Description (*.a *.b);;...".
QString QtFilterString(const std::vector<FileFilter>& filters);

}  // namespace ws
