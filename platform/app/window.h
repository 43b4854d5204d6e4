#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/app/messages.h"
#include "platform/app/window_size.h"

namespace app {

enum class Cursor { Arrow, Hand };

// Starts SDL's video and event handling (SDL_VIDEODRIVER picks the driver; tests use
// "offscreen"). False when there is no display to use.
bool InitVideo();

// The usable part of the main display (without panels and task bars).
WindowSize UsableDisplayArea();

// The player's top-level window: an SDL window made for OpenGL, with a window procedure that
// receives its messages. It starts hidden.
class Window {
 public:
  // A window whose client area is exactly `client`, centred on the usable display area. Null
  // when SDL cannot make it.
  [[nodiscard]] static std::unique_ptr<Window> Create(const std::string& title, WindowSize client,
                                                      WindowProc proc);
  // The live window with this SDL id or address; null for any other.
  static Window* FromSdlId(uint32_t id);
  static Window* FromPointer(const void* pointer);
  // The first live window, null when there is none.
  static Window* First();

  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  SDL_Window* Sdl() const { return window_; }
  // Null once the window was destroyed (it stays an object until its owner frees it).
  bool Alive() const { return window_ != nullptr; }

  void Show();
  // Desktop full screen, or back to the window.
  void SetFullscreen(bool fullscreen);
  bool Fullscreen() const;

  // The client area and the cursor position in drawable pixels.
  WindowSize ClientSize() const;
  WindowSize CursorPosition() const;
  // Drawable pixels per window point, for mouse positions.
  float PixelScaleX() const;
  float PixelScaleY() const;

  // Calls the window procedure now.
  intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  // Sends Destroy to the procedure, then closes the SDL window.
  void Destroy();

 private:
  Window(SDL_Window* window, WindowProc proc) : window_(window), proc_(proc) {}

  SDL_Window* window_;
  WindowProc proc_;
};

// The shape of the mouse pointer, kept until it is set again.
void SetCursor(Cursor cursor);
Cursor CurrentCursor();

// What a window does with a message its procedure passes on: Close destroys the window,
// SetCursor sets the arrow; every other message answers 0.
intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// An error message box with a caption (UTF-8). Answers false when none could be shown.
bool ShowErrorBox(Window* owner, const std::string& caption, const std::string& text);

}  // namespace app
