// The Printer of print_page.h on Qt PrintSupport: the print dialog (which
// offers "Print to PDF" beside the system's printers) and a one-page
// document painted in device pixels.
#pragma once

#include <QPrinter>
#include <functional>

#include "editor/view/print_page.h"

class QWidget;

namespace ws {

class QtPrinter final : public Printer {
 public:
  // `parent` owns the dialog. `choose` stands in for the dialog when set
  // (the printer is configured by it; false means cancelled): tests print
  // to a PDF file through the same page path with no dialog.
  explicit QtPrinter(QWidget* parent, std::function<bool(QPrinter&)> choose = {});

  std::optional<Page> ChoosePrinter() override;
  void PrintPage(const PrintImage& image, const IntRect& target) override;

  QPrinter& printer() { return printer_; }

 private:
  QWidget* parent_;
  std::function<bool(QPrinter&)> choose_;
  QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace ws
