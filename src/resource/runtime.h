// The process-wide services of the resource layer, held in one object that
// callers pass by reference: the message boxes (through Ui), handle memory,
// and the busy flag of long operations.
#pragma once

#include <functional>

#include "platform/ui.h"
#include "resource/handle_memory.h"

namespace ws {

struct Runtime {
  explicit Runtime(Ui& ui_) : ui(ui_) {}

  Ui& ui;
  HandleMemory memory;
  // Set while a long operation runs; the periodic pointer tracking of the
  // views skips its work while it is set.
  bool busy = false;
  // Raised by EndWait; the editor's tick turns it into a menu refresh.
  bool menuRefreshRequested = false;
  // Lets an open hardware viewer repaint before a long operation starts.
  std::function<void()> refreshViewer;
  // Set when the program cannot continue (tables that could not be
  // allocated, a corrupt point index); the message loop ends on it.
  bool fatalError = false;
};

// Sets the busy flag, lets the viewer refresh, yields once, shows the wait
// cursor.
void BeginWait(Runtime& rt);
// Shows the arrow cursor, asks for a menu refresh, clears the busy flag.
void EndWait(Runtime& rt);

// Wait cursor for a scope, so that every return path restores the arrow.
class WaitScope {
 public:
  explicit WaitScope(Runtime& rt) : rt_(rt) { BeginWait(rt_); }
  ~WaitScope() { End(); }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;
  // Ends the wait early (before a message box, for instance).
  void End() {
    if (active_) EndWait(rt_);
    active_ = false;
  }

 private:
  Runtime& rt_;
  bool active_ = true;
};

}  // namespace ws
