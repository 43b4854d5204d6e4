#pragma once

#include <cstdint>

namespace gfx {
class Device;
}

// The process-wide device values: the drawing device (not owned: the frame framework owns it)
// and the back buffer's size. The player's device callbacks write them; everything that makes
// device objects reads the device from here. Main thread only.
struct DeviceValues {
  gfx::Device* device = nullptr;
  uint32_t backBufferWidth = 0;
  uint32_t backBufferHeight = 0;
  // The slide renderers make their targets at up to this many times the back buffer's size.
  uint32_t targetScaleLimit = 3;
};

DeviceValues& GetDeviceValues();

// The current drawing device; null while there is none.
inline gfx::Device* CurrentDevice() {
  return GetDeviceValues().device;
}
