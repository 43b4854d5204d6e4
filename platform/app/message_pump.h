#pragma once

#include <deque>
#include <functional>

#include "platform/app/messages.h"

namespace app {

// The main thread's message queue: messages posted by the program come first, then SDL's events
// mapped to messages of the windows they belong to (events for no live window are dropped).
class MessageQueue {
 public:
  // The queue of the process's main thread.
  static MessageQueue& Main();

  void Post(Window* window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  void PostQuit(int exitCode);
  // Removes the next message; false when none is waiting.
  bool Peek(Message& out);

 private:
  std::deque<Message> posted_;
};

// Hands a message to its window's procedure (nothing for a window that is gone).
intptr_t DispatchMessage(const Message& message);

// Queues a command for a window, as a menu or another program would send it.
void PostCommand(Window* window, uintptr_t command);

// The message loop: while no Quit arrives, each waiting message is dispatched; whenever the queue
// is empty one frame runs, then the loop sleeps 50 ms if the device is lost and 10 ms always.
// Answers the exit code that came with Quit.
struct LoopHooks {
  std::function<void()> frame;
  std::function<bool()> deviceLost;
  std::function<void(unsigned milliseconds)> sleep;  // SDL_Delay when empty
};
int RunMessageLoop(const LoopHooks& hooks);

}  // namespace app
