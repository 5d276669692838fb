// The splash dialog (180): the program's picture, shown for two seconds at
// start-up and modally by About; it closes on a click or a key release.
#pragma once

#include <QDialog>

namespace ws {

class SplashDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SplashDialog(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  QImage picture_;
};

inline constexpr int kSplashMilliseconds = 2000;

// Shows the splash without a parent for `milliseconds`, painting as it
// waits, then closes it.
void ShowStartupSplash(int milliseconds);

}  // namespace ws
