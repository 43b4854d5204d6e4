#include "platform/app/event_mapping.h"

#include <cmath>

#include "platform/audio/music_graph.h"

namespace app {
namespace {

int Scale(int v, float scale) {
  return int(std::floor(float(v) * scale));
}

bool IsSystemKey(const SDL_KeyboardEvent& key) {
  const SDL_Keycode sym = key.keysym.sym;
  return (key.keysym.mod & KMOD_ALT) != 0 || sym == SDLK_LALT || sym == SDLK_RALT ||
         sym == SDLK_F10;
}

}  // namespace

uint32_t CommandEventType() {
  static const uint32_t type = SDL_RegisterEvents(1);
  return type;
}

std::optional<MappedEvent> MapEvent(const SDL_Event& event, float scaleX, float scaleY) {
  MappedEvent m;
  switch (event.type) {
    case SDL_KEYDOWN:
      m.sdlWindowId = event.key.windowID;
      m.message = IsSystemKey(event.key) ? msg::SysKeyDown : msg::KeyDown;
      m.wParam = uintptr_t(uint32_t(event.key.keysym.sym));
      m.lParam = event.key.repeat ? intptr_t(1) << 30 : 0;
      return m;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT) return std::nullopt;
      m.sdlWindowId = event.button.windowID;
      m.message = msg::LButtonDown;
      m.lParam = PackPoint(Scale(event.button.x, scaleX), Scale(event.button.y, scaleY));
      return m;
    case SDL_MOUSEMOTION:
      m.sdlWindowId = event.motion.windowID;
      m.message = msg::SetCursor;
      m.lParam = kHitClient | intptr_t(msg::MouseMove) << 16;
      return m;
    case SDL_WINDOWEVENT:
      m.sdlWindowId = event.window.windowID;
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        m.message = msg::Paint;
      } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        m.message = msg::Close;
      } else {
        return std::nullopt;
      }
      return m;
    case SDL_QUIT:
      m.allWindows = true;
      m.message = msg::Close;
      return m;
    default:
      break;
  }
  if (event.type == audio::MusicEventType()) {
    m.target = event.user.data2;
    m.message = msg::Music;
    return m;
  }
  if (event.type == CommandEventType()) {
    m.target = event.user.data1;
    m.message = msg::Command;
    m.wParam = uintptr_t(uint32_t(event.user.code));
    return m;
  }
  return std::nullopt;
}

}  // namespace app
