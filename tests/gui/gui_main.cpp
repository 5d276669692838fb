// One QApplication for every GUI test, on the offscreen platform, with the
// settings store kept in a private directory.
#include <cstdlib>

#include "qt_test_main.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return ws::test::RunQtTests(argc, argv, "ws_gui_tests");
}
