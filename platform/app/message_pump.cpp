#include "platform/app/message_pump.h"

#include <SDL.h>

#include "platform/app/event_mapping.h"
#include "platform/app/window.h"

namespace app {

MessageQueue& MessageQueue::Main() {
  static MessageQueue queue;
  return queue;
}

void MessageQueue::Post(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  posted_.push_back({window, message, wParam, lParam});
}

void MessageQueue::PostQuit(int exitCode) {
  Post(nullptr, msg::Quit, uintptr_t(exitCode));
}

bool MessageQueue::Peek(Message& out) {
  if (!posted_.empty()) {
    out = posted_.front();
    posted_.pop_front();
    return true;
  }
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    Window* window = nullptr;
    if (event.type == SDL_MOUSEMOTION || event.type == SDL_MOUSEBUTTONDOWN)
      window = Window::FromSdlId(event.type == SDL_MOUSEMOTION ? event.motion.windowID
                                                               : event.button.windowID);
    const auto mapped =
        window ? MapEvent(event, window->PixelScaleX(), window->PixelScaleY()) : MapEvent(event);
    if (!mapped) continue;
    if (mapped->allWindows) {
      window = Window::First();  // the player has one window
    } else if (mapped->target) {
      window = Window::FromPointer(mapped->target);
    } else if (!window) {
      window = Window::FromSdlId(mapped->sdlWindowId);
    }
    if (!window) continue;
    out = {window, mapped->message, mapped->wParam, mapped->lParam};
    return true;
  }
  return false;
}

intptr_t DispatchMessage(const Message& message) {
  Window* window = Window::FromPointer(message.window);
  return window ? window->Send(message.id, message.wParam, message.lParam) : 0;
}

void PostCommand(Window* window, uintptr_t command) {
  SDL_Event event{};
  event.type = CommandEventType();
  event.user.code = Sint32(command);
  event.user.data1 = window;
  SDL_PushEvent(&event);
}

int RunMessageLoop(const LoopHooks& hooks) {
  const auto sleep = [&](unsigned ms) {
    if (hooks.sleep) {
      hooks.sleep(ms);
    } else {
      SDL_Delay(ms);
    }
  };
  MessageQueue& queue = MessageQueue::Main();
  for (;;) {
    Message m;
    if (queue.Peek(m)) {
      if (m.id == msg::Quit) return int(m.wParam);
      DispatchMessage(m);
      continue;
    }
    if (hooks.frame) hooks.frame();
    if (hooks.deviceLost && hooks.deviceLost()) sleep(50);
    sleep(10);
  }
}

}  // namespace app
