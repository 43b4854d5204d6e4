#include "platform/sys/exit_on_signal.h"

#include <unistd.h>

namespace sys {
namespace {

volatile sig_atomic_t exitCodeOnSignal = 1;

extern "C" void ExitNow(int) {
  _exit(exitCodeOnSignal);
}

}  // namespace

ExitOnSignal::ExitOnSignal(int exitCode) {
  exitCodeOnSignal = exitCode;
  struct sigaction action {};
  action.sa_handler = ExitNow;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, &previousTerm_);
  sigaction(SIGINT, &action, &previousInt_);
}

ExitOnSignal::~ExitOnSignal() {
  sigaction(SIGTERM, &previousTerm_, nullptr);
  sigaction(SIGINT, &previousInt_, nullptr);
}

}  // namespace sys
