#include "player/shell/device_callbacks.h"

#include "platform/gfx/device.h"
#include "platform/gfx/states.h"
#include "player/device/device_values.h"
#include "player/render/device_desc.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/scene_player.h"

namespace {

ScenePlayer* callbackPlayer = nullptr;

}  // namespace

void InstallDeviceCallbacks() {
  app::DXUTSetCallbackFrameMove(OnFrameMove);
  app::DXUTSetCallbackD3D9DeviceCreated(OnD3D9DeviceCreated);
  app::DXUTSetCallbackD3D9FrameRender(OnD3D9FrameRender);
  app::DXUTSetCallbackDeviceChanging(ModifyDeviceSettings);
  app::DXUTSetCallbackD3D9DeviceReset(OnD3D9DeviceReset);
  app::DXUTSetCallbackD3D9DeviceLost(OnD3D9DeviceLost);
  app::DXUTSetCallbackD3D9DeviceAcceptable(IsD3D9DeviceAcceptable);
}

void SetCallbackPlayer(ScenePlayer* player) {
  callbackPlayer = player;
}

ScenePlayer* CallbackPlayer() {
  return callbackPlayer;
}

bool IsD3D9DeviceAcceptable(const gfx::Caps& caps, gfx::Format, gfx::Format, bool, void*) {
  if ((caps.textureOpCaps & gfx::TextureOpCap(gfx::TextureOp::BumpEnvMap)) == 0) return false;
  return app::DXUTCheckDeviceFormat(gfx::Usage::RenderTarget, gfx::ResourceType::Surface,
                                    gfx::Format::A8R8G8B8) &&
         app::DXUTCheckDeviceFormat(0, gfx::ResourceType::Texture, gfx::Format::V8U8);
}

bool ModifyDeviceSettings(app::DXUTDeviceSettings* settings, void*) {
  settings->behaviorFlags |= app::kCreateMultithreaded;
  settings->swapEffect = app::kSwapEffectDiscard;
  settings->pp.presentationInterval = app::kPresentIntervalOne;
  return true;
}

gfx::HResult OnD3D9DeviceCreated(gfx::Device* device, const gfx::SurfaceDesc*, void*) {
  GetDeviceValues().device = device;
  return gfx::kOk;
}

gfx::HResult OnD3D9DeviceReset(gfx::Device* device, const gfx::SurfaceDesc*, void*) {
  DeviceValues& values = GetDeviceValues();
  values.device = device;
  // The back buffer as it is now, not as the framework described it.
  gfx::SurfaceDesc backBuffer;
  GetBackBufferDesc(backBuffer);
  values.backBufferWidth = backBuffer.width;
  values.backBufferHeight = backBuffer.height;
  values.targetScaleLimit = 3;
  if (callbackPlayer != nullptr) return PlayerResetDevice();
  return gfx::kOk;
}

void OnD3D9DeviceLost(void*) {
  if (callbackPlayer != nullptr && callbackPlayer->scene) callbackPlayer->scene->OnLostDevice();
}

void OnFrameMove(double time, float, void*) {
  if (callbackPlayer != nullptr) PlayerFrameMove(time);
}

void OnD3D9FrameRender(gfx::Device* device, double, float, void*) {
  if (callbackPlayer == nullptr || !callbackPlayer->scene) return;
  if (gfx::Succeeded(device->BeginScene())) {
    device->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
    callbackPlayer->scene->Render(0);
  }
  device->EndScene();
}
