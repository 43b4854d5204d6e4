#include "platform/app/window.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/device.h"

namespace app {
namespace {

std::vector<Window*>& LiveWindows() {
  static std::vector<Window*> windows;
  return windows;
}

Cursor& Shape() {
  static Cursor shape = Cursor::Arrow;
  return shape;
}

}  // namespace

bool InitVideo() {
  return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
}

WindowSize UsableDisplayArea() {
  SDL_Rect r{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &r) != 0) SDL_GetDisplayBounds(0, &r);
  return {r.w, r.h};
}

std::unique_ptr<Window> Window::Create(const std::string& title, WindowSize client,
                                       WindowProc proc) {
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const WindowSize origin = CentredOrigin(client, {usable.w, usable.h});
  // SDL sizes the client area itself, so the asked size is the client size. The device's
  // context attributes go first: some drivers fix them with the window.
  gfx::Device::PrepareWindowAttributes();
  SDL_Window* sdl = SDL_CreateWindow(
      title.c_str(), usable.x + origin.width, usable.y + origin.height, std::max(client.width, 1),
      std::max(client.height, 1), SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!sdl) return nullptr;
  std::unique_ptr<Window> window(new Window(sdl, proc));
  LiveWindows().push_back(window.get());
  return window;
}

Window* Window::FromSdlId(uint32_t id) {
  for (Window* w : LiveWindows())
    if (w->window_ && SDL_GetWindowID(w->window_) == id) return w;
  return nullptr;
}

Window* Window::FromPointer(const void* pointer) {
  for (Window* w : LiveWindows())
    if (w == pointer && w->window_) return w;
  return nullptr;
}

Window* Window::First() {
  for (Window* w : LiveWindows())
    if (w->window_) return w;
  return nullptr;
}

Window::~Window() {
  auto& live = LiveWindows();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (window_) SDL_DestroyWindow(window_);
}

void Window::Show() {
  if (window_) SDL_ShowWindow(window_);
}

void Window::SetFullscreen(bool fullscreen) {
  if (!window_) return;
  if (fullscreen) {
    // On an X server without a window manager nobody carries the full-screen request out: the
    // window then kept its size while SDL reported the display's. It covers the display itself.
    SDL_Rect display{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &display) == 0 &&
        display.w > 0 && display.h > 0) {
      SDL_SetWindowPosition(window_, display.x, display.y);
      SDL_SetWindowSize(window_, display.w, display.h);
    }
  }
  SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool Window::Fullscreen() const {
  return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

WindowSize Window::ClientSize() const {
  WindowSize s;
  if (window_) SDL_GL_GetDrawableSize(window_, &s.width, &s.height);
  return s;
}

float Window::PixelScaleX() const {
  int points = 0, h = 0;
  if (!window_) return 1.0f;
  SDL_GetWindowSize(window_, &points, &h);
  return points > 0 ? float(ClientSize().width) / float(points) : 1.0f;
}

float Window::PixelScaleY() const {
  int w = 0, points = 0;
  if (!window_) return 1.0f;
  SDL_GetWindowSize(window_, &w, &points);
  return points > 0 ? float(ClientSize().height) / float(points) : 1.0f;
}

WindowSize Window::CursorPosition() const {
  if (!window_) return {};
  int x = 0, y = 0;
  if (SDL_GetMouseFocus() == window_) {
    SDL_GetMouseState(&x, &y);
  } else {
    int wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&x, &y);
    SDL_GetWindowPosition(window_, &wx, &wy);
    x -= wx;
    y -= wy;
  }
  return {int(float(x) * PixelScaleX()), int(float(y) * PixelScaleY())};
}

intptr_t Window::Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!proc_) return DefWindowProc(this, message, wParam, lParam);
  return proc_(this, message, wParam, lParam);
}

void Window::Destroy() {
  if (!window_) return;
  Send(msg::Destroy);
  SDL_DestroyWindow(window_);
  window_ = nullptr;
}

void SetCursor(Cursor cursor) {
  static SDL_Cursor* arrow = nullptr;
  static SDL_Cursor* hand = nullptr;
  SDL_Cursor*& slot = cursor == Cursor::Hand ? hand : arrow;
  if (!slot)
    slot = SDL_CreateSystemCursor(cursor == Cursor::Hand ? SDL_SYSTEM_CURSOR_HAND
                                                         : SDL_SYSTEM_CURSOR_ARROW);
  if (slot) SDL_SetCursor(slot);
  Shape() = cursor;
}

Cursor CurrentCursor() {
  return Shape();
}

intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t, intptr_t) {
  switch (message) {
    case msg::Close:
      if (window) window->Destroy();
      return 0;
    case msg::SetCursor:
      SetCursor(Cursor::Arrow);
      return 0;
    default:
      return 0;
  }
}

bool ShowErrorBox(Window* owner, const std::string& caption, const std::string& text) {
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(),
                                  owner ? owner->Sdl() : nullptr) == 0;
}

}  // namespace app
