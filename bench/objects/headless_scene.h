#pragma once

#include <memory>

#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/render/render_context.h"

// What the object benchmarks draw and fill in: every class registered, a headless device of the
// player window's size, a document with a scene of that size, and a render context. One per
// program (TheHeadlessScene); `device` stays empty when no device can be made.
struct HeadlessScene {
  static constexpr uint32_t kWidth = 460, kHeight = 215;

  gfx::ComPtr<gfx::Device> device;
  RenderContext context;

  HeadlessScene() {
    RegisterProgramClasses();
    if (gfx::Failed(gfx::Device::CreateHeadless(kWidth, kHeight, device.Put()))) return;
    GetDeviceValues() = DeviceValues{device.Get(), kWidth, kHeight};
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    DocumentTlsSlot::Get()->sceneView.pictureWidth = kWidth;
    DocumentTlsSlot::Get()->sceneView.pictureHeight = kHeight;
    RenderContextTlsSlot::Set(&context);
  }
  ~HeadlessScene() {
    RenderContextTlsSlot::Set(nullptr);
    DocumentTlsSlot::Reset();
    GetDeviceValues() = DeviceValues{};
  }
};

inline HeadlessScene& TheHeadlessScene() {
  static HeadlessScene scene;
  return scene;
}
