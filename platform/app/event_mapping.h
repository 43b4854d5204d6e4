#pragma once

#include <SDL.h>

#include <optional>

#include "platform/app/messages.h"

namespace app {

// A window message made from an SDL event, before its window is known: SDL names the window by
// id, user events by the pointer they carry.
struct MappedEvent {
  uint32_t sdlWindowId = 0;
  void* target = nullptr;   // user events: the window they were posted to
  bool allWindows = false;  // a request to quit closes the windows
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

// The SDL event type that stands for a posted command (code: the command id, data1: the window).
uint32_t CommandEventType();

// Maps an SDL event to the message the player's window would have got; nothing for events the
// player has no message for. Mouse positions are scaled from window points to drawable pixels.
//  - a key press is KeyDown, except with Alt held, Alt itself and F10 (SysKeyDown);
//  - the left button is LButtonDown with the point; motion asks SetCursor (client area);
//  - exposure is Paint, a close request Close, SDL_QUIT Close to every window;
//  - a music-graph event is Music, a command event Command with its id.
std::optional<MappedEvent> MapEvent(const SDL_Event& event, float scaleX = 1.0f,
                                    float scaleY = 1.0f);

}  // namespace app
