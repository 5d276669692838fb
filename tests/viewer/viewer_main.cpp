// One QApplication for the viewer tests. Without a display the program runs
// itself again under `xvfb-run -a` (Mesa's llvmpipe then gives OpenGL 3.3
// core); listing the tests needs no display.
#include <unistd.h>

#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "qt_test_main.h"

namespace {

// Replaces the process with `xvfb-run -a <this program> <args>`; returns
// only when that cannot be done.
void RunUnderXvfb(int argc, char** argv) {
  const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
  if (xvfb.isEmpty()) return;
  setenv("WS_UNDER_XVFB", "1", 1);
  const std::string path = xvfb.toStdString();
  std::vector<char*> args = {const_cast<char*>(path.c_str()), const_cast<char*>("-a")};
  args.insert(args.end(), argv, argv + argc);
  args.push_back(nullptr);
  execv(path.c_str(), args.data());
}

}  // namespace

int main(int argc, char** argv) {
  const char* display = std::getenv("DISPLAY");
  const bool haveDisplay = display && *display;
  const bool listing = std::any_of(argv + 1, argv + argc, [](const char* arg) {
    return std::strcmp(arg, "--gtest_list_tests") == 0;
  });
  if (!haveDisplay && !std::getenv("WS_UNDER_XVFB") && !listing) RunUnderXvfb(argc, argv);
  // The real window system when there is one: the offscreen platform has
  // no GL context for widgets.
  setenv("QT_QPA_PLATFORM", haveDisplay ? "xcb" : "offscreen", 1);
  return ws::test::RunQtTests(argc, argv, "ws_viewer_tests");
}
