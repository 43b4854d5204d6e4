#pragma once

#include <signal.h>

namespace sys {

// While it lives, SIGTERM and SIGINT end the process at once with `exitCode`: nothing is torn
// down and no exit handler runs. For waits that nothing else can interrupt, such as a message
// box, whose event loop never looks at the quit request a signal otherwise leaves. The handlers
// it replaced come back when it goes. One at a time.
class ExitOnSignal {
 public:
  explicit ExitOnSignal(int exitCode);
  ~ExitOnSignal();
  ExitOnSignal(const ExitOnSignal&) = delete;
  ExitOnSignal& operator=(const ExitOnSignal&) = delete;

 private:
  struct sigaction previousTerm_ {};
  struct sigaction previousInt_ {};
};

}  // namespace sys
