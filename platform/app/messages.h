#pragma once

#include <cstdint>

namespace app {

class Window;

// Window messages, numbered as the platform's window messages so that stored and posted values
// keep their meaning.
namespace msg {
inline constexpr uint32_t Destroy = 0x0002;
inline constexpr uint32_t Paint = 0x000F;
inline constexpr uint32_t Close = 0x0010;
inline constexpr uint32_t Quit = 0x0012;
inline constexpr uint32_t SetCursor = 0x0020;
inline constexpr uint32_t KeyDown = 0x0100;
inline constexpr uint32_t SysKeyDown = 0x0104;  // keys pressed with Alt, and F10
inline constexpr uint32_t Command = 0x0111;
inline constexpr uint32_t MouseMove = 0x0200;
inline constexpr uint32_t LButtonDown = 0x0201;
inline constexpr uint32_t Music = 0x8000;  // an event of the music graph is waiting
}  // namespace msg

// The command that closes the player.
inline constexpr uintptr_t kCloseCommand = 40001;
// Hit-test code of the client area, the low word of SetCursor's lParam.
inline constexpr intptr_t kHitClient = 1;

struct Message {
  Window* window = nullptr;
  uint32_t id = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

// A window procedure: handles one message and answers its result.
using WindowProc = intptr_t (*)(Window* window, uint32_t message, uintptr_t wParam,
                                intptr_t lParam);

// A point packed as the low and high words of an lParam.
inline intptr_t PackPoint(int x, int y) {
  return intptr_t(uint32_t(uint16_t(int16_t(x))) | uint32_t(uint16_t(int16_t(y))) << 16);
}
inline int PointX(intptr_t lParam) {
  return int16_t(uint16_t(lParam & 0xFFFF));
}
inline int PointY(intptr_t lParam) {
  return int16_t(uint16_t((lParam >> 16) & 0xFFFF));
}

}  // namespace app
