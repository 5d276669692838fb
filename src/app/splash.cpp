#include "app/splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QThread>

#include "app/art.h"

namespace ws {

SplashDialog::SplashDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), picture_(art::Splash(420, 260)) {
  setObjectName("splash");
  setFixedSize(picture_.size());
}

void SplashDialog::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

void SplashDialog::mouseReleaseEvent(QMouseEvent*) { accept(); }
void SplashDialog::keyReleaseEvent(QKeyEvent*) { accept(); }

void ShowStartupSplash(int milliseconds) {
  SplashDialog splash(nullptr);
  splash.show();
  QElapsedTimer timer;
  timer.start();
  // The wait keeps painting but takes no input, as a busy wait would.
  while (timer.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    QThread::msleep(10);
  }
  splash.close();
}

}  // namespace ws
