#include "resource/runtime.h"

#include <thread>

namespace ws {

void BeginWait(Runtime& rt) {
  rt.busy = true;
  if (rt.refreshViewer) rt.refreshViewer();
  std::this_thread::yield();
  rt.ui.SetBusyCursor(true);
}

void EndWait(Runtime& rt) {
  rt.ui.SetBusyCursor(false);
  rt.menuRefreshRequested = true;
  rt.busy = false;
}

}  // namespace ws
