#pragma once

#include <cstdint>

#include "platform/gfx/device.h"
#include "player/device/device_values.h"

// Turns the current device's user clip planes off for its lifetime and then restores the
// enable state it found (none when it cannot be read). Nothing without a device.
class ClipPlanesOff {
 public:
  ClipPlanesOff() : device_(CurrentDevice()) {
    if (device_ == nullptr) return;
    if (gfx::Failed(device_->GetRenderState(gfx::RenderState::ClipPlaneEnable, &saved_)))
      saved_ = 0;
    device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, 0);
  }
  ~ClipPlanesOff() {
    if (device_ != nullptr) device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, saved_);
  }
  ClipPlanesOff(const ClipPlanesOff&) = delete;
  ClipPlanesOff& operator=(const ClipPlanesOff&) = delete;

 private:
  gfx::Device* device_;
  uint32_t saved_ = 0;
};
