// wirestead-icon-gen DIR: writes the editor's window icon into the hicolor
// theme layout under DIR (DIR/<n>x<n>/apps/wirestead.png), scaled without
// smoothing so that the pixel art stays sharp at every size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "app/art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wirestead-icon-gen DIR\n");
    return 1;
  }
  // Drawing needs a GUI application but never a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QImage icon = ws::art::WindowIcon();
  for (int size : {32, 64, 128}) {
    const QString dir = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    const QString file = dir + "/wirestead.png";
    if (!QDir().mkpath(dir) ||
        !icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(file)) {
      std::fprintf(stderr, "wirestead-icon-gen: can't write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
