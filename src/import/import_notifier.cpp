#include "import/import_notifier.h"

#include "model/model.h"

namespace ws {

ImportNotifier::ImportNotifier(const std::string& logPath) {
  log_ = std::fopen(logPath.c_str(), "wb");
}

ImportNotifier::~ImportNotifier() {
  if (log_ != nullptr) std::fclose(log_);
}

int ImportNotifier::ProgressValue(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && !(line[i] >= '0' && line[i] <= '9')) ++i;
  int value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > 100) return 100;  // no bar goes further; also keeps the sum small
  }
  return value;
}

void ImportNotifier::Notify(std::string_view line) {
  if (line.find(kProgressKeyword) != std::string_view::npos) {
    if (progress_ != nullptr) progress_->SetPosition(ProgressValue(line));
    return;
  }
  if (line.find(kTitleKeyword) != std::string_view::npos) {
    constexpr std::size_t kTitleStart = kTitleKeyword.size() + 1;
    if (progress_ != nullptr) {
      progress_->SetTitle(line.size() > kTitleStart ? line.substr(kTitleStart)
                                                    : std::string_view());
    }
    return;
  }
  if (log_ == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), log_);
  std::fputc('\n', log_);
  std::fflush(log_);
}

void ImportNotifier::Progress(int percent) {
  Notify(std::string(kProgressKeyword) + " " + std::to_string(percent));
}

void ImportNotifier::Title(std::string_view title) {
  Notify(std::string(kTitleKeyword) + " " + std::string(title));
}

std::string LogPathFor(const Paths& paths) { return paths.base + std::string(kImportLogName); }

}  // namespace ws
