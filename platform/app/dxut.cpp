#include "platform/app/dxut.h"

#include <SDL.h>

#include <chrono>

namespace app {
namespace {

struct Framework {
  LPDXUTCALLBACKISD3D9DEVICEACCEPTABLE acceptable = nullptr;
  void* acceptableContext = nullptr;
  LPDXUTCALLBACKMODIFYDEVICESETTINGS modify = nullptr;
  void* modifyContext = nullptr;
  LPDXUTCALLBACKD3D9DEVICECREATED created = nullptr;
  void* createdContext = nullptr;
  LPDXUTCALLBACKD3D9DEVICERESET reset = nullptr;
  void* resetContext = nullptr;
  LPDXUTCALLBACKD3D9DEVICELOST lost = nullptr;
  void* lostContext = nullptr;
  LPDXUTCALLBACKFRAMEMOVE frameMove = nullptr;
  void* frameMoveContext = nullptr;
  LPDXUTCALLBACKD3D9FRAMERENDER frameRender = nullptr;
  void* frameRenderContext = nullptr;

  bool initialised = false;
  std::chrono::steady_clock::time_point start;
  double lastFrame = -1.0;

  Window* window = nullptr;
  bool showCursorWhenFullScreen = true;
  bool clipCursorWhenFullScreen = false;

  gfx::ComPtr<gfx::Device> device;
  gfx::Device* judged = nullptr;  // the device the acceptable callback is asked about
  DXUTDeviceSettings settings;
  bool followsWindow = true;  // the back buffer takes the window's drawable size
  gfx::SurfaceDesc backBuffer;
  bool lostNotified = false;
};

Framework& F() {
  static Framework framework;
  return framework;
}

bool ReadBackBuffer(gfx::Device* device, gfx::SurfaceDesc& out) {
  gfx::ComPtr<gfx::Surface> surface;
  if (gfx::Failed(device->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, surface.Put())))
    return false;
  return gfx::Succeeded(surface->GetDesc(&out));
}

void ApplyCursorSettings() {
  Framework& f = F();
  if (!f.window || !f.window->Alive()) return;
  const bool full = f.window->Fullscreen();
  SDL_ShowCursor(!full || f.showCursorWhenFullScreen ? SDL_ENABLE : SDL_DISABLE);
  SDL_SetWindowGrab(f.window->Sdl(), full && f.clipCursorWhenFullScreen ? SDL_TRUE : SDL_FALSE);
}

void NotifyLost() {
  Framework& f = F();
  if (f.lostNotified) return;
  f.lostNotified = true;
  if (f.lost) f.lost(f.lostContext);
}

gfx::HResult CallReset() {
  Framework& f = F();
  if (!ReadBackBuffer(f.device.Get(), f.backBuffer)) return gfx::kFail;
  f.lostNotified = false;
  return f.reset ? f.reset(f.device.Get(), &f.backBuffer, f.resetContext) : gfx::kOk;
}

bool SamePresentation(const gfx::PresentParameters& a, const gfx::PresentParameters& b) {
  return a.backBufferWidth == b.backBufferWidth && a.backBufferHeight == b.backBufferHeight &&
         a.backBufferFormat == b.backBufferFormat &&
         a.enableAutoDepthStencil == b.enableAutoDepthStencil && a.windowed == b.windowed &&
         a.presentationInterval == b.presentationInterval;
}

// Resets the device to the settings, the back buffer following the window when it should.
gfx::HResult ResetDevice() {
  Framework& f = F();
  gfx::PresentParameters pp = f.settings.pp;
  if (f.followsWindow) pp.backBufferWidth = pp.backBufferHeight = 0;
  return f.device->Reset(pp);
}

bool WindowSizeChanged() {
  Framework& f = F();
  if (!f.followsWindow || !f.window || !f.window->Alive()) return false;
  const WindowSize size = f.window->ClientSize();
  if (size.width <= 0 || size.height <= 0) return false;
  return uint32_t(size.width) != f.backBuffer.width || uint32_t(size.height) != f.backBuffer.height;
}

void ReleaseDevice() {
  Framework& f = F();
  if (!f.device) return;
  NotifyLost();
  f.device.Reset();
  f.lostNotified = false;
}

}  // namespace

void DXUTSetCallbackD3D9DeviceAcceptable(LPDXUTCALLBACKISD3D9DEVICEACCEPTABLE callback,
                                         void* userContext) {
  F().acceptable = callback;
  F().acceptableContext = userContext;
}
void DXUTSetCallbackDeviceChanging(LPDXUTCALLBACKMODIFYDEVICESETTINGS callback, void* userContext) {
  F().modify = callback;
  F().modifyContext = userContext;
}
void DXUTSetCallbackD3D9DeviceCreated(LPDXUTCALLBACKD3D9DEVICECREATED callback, void* userContext) {
  F().created = callback;
  F().createdContext = userContext;
}
void DXUTSetCallbackD3D9DeviceReset(LPDXUTCALLBACKD3D9DEVICERESET callback, void* userContext) {
  F().reset = callback;
  F().resetContext = userContext;
}
void DXUTSetCallbackD3D9DeviceLost(LPDXUTCALLBACKD3D9DEVICELOST callback, void* userContext) {
  F().lost = callback;
  F().lostContext = userContext;
}
void DXUTSetCallbackFrameMove(LPDXUTCALLBACKFRAMEMOVE callback, void* userContext) {
  F().frameMove = callback;
  F().frameMoveContext = userContext;
}
void DXUTSetCallbackD3D9FrameRender(LPDXUTCALLBACKD3D9FRAMERENDER callback, void* userContext) {
  F().frameRender = callback;
  F().frameRenderContext = userContext;
}

gfx::HResult DXUTInit(bool, bool, const char*, bool) {
  Framework& f = F();
  if (!f.initialised) {
    f.initialised = true;
    f.start = std::chrono::steady_clock::now();
    f.lastFrame = -1.0;
  }
  return gfx::kOk;
}

void DXUTSetCursorSettings(bool showCursorWhenFullScreen, bool clipCursorWhenFullScreen) {
  F().showCursorWhenFullScreen = showCursorWhenFullScreen;
  F().clipCursorWhenFullScreen = clipCursorWhenFullScreen;
  ApplyCursorSettings();
}

gfx::HResult DXUTSetWindow(Window* focus, Window* deviceFullScreen, Window* deviceWindowed, bool) {
  Window* window = deviceWindowed ? deviceWindowed : deviceFullScreen ? deviceFullScreen : focus;
  if (!window || !window->Alive()) return gfx::kInvalidArg;
  F().window = window;
  return gfx::kOk;
}

gfx::HResult DXUTCreateDevice(bool windowed, int suggestedWidth, int suggestedHeight) {
  Framework& f = F();
  if (!f.initialised || !f.window || !f.window->Alive()) return gfx::kInvalidCall;
  ReleaseDevice();

  f.window->SetFullscreen(!windowed);
  gfx::PresentParameters pp;
  pp.windowed = windowed;
  f.followsWindow = !(windowed && suggestedWidth > 0 && suggestedHeight > 0);
  if (!f.followsWindow) {
    pp.backBufferWidth = uint32_t(suggestedWidth);
    pp.backBufferHeight = uint32_t(suggestedHeight);
  }
  gfx::ComPtr<gfx::Device> device;
  gfx::HResult hr = gfx::Device::CreateOnWindow(f.window->Sdl(), pp, device.Put());
  if (gfx::Failed(hr)) return hr;

  gfx::Caps caps;
  hr = device->GetDeviceCaps(&caps);
  if (gfx::Failed(hr)) return hr;
  f.judged = device.Get();
  const bool acceptable =
      !f.acceptable ||
      f.acceptable(caps, gfx::Format::X8R8G8B8, pp.backBufferFormat, windowed, f.acceptableContext);
  f.judged = nullptr;
  if (!acceptable) return gfx::kNotAvailable;

  f.settings = DXUTDeviceSettings{};
  f.settings.pp = pp;
  if (f.modify && !f.modify(&f.settings, f.modifyContext)) return gfx::kFail;
  f.settings.pp.windowed = windowed;
  f.device = device;
  f.lostNotified = false;
  // Settings the callback changed take effect through a reset before anyone sees the device.
  if (!SamePresentation(f.settings.pp, pp)) hr = ResetDevice();
  if (gfx::Failed(hr) || !ReadBackBuffer(f.device.Get(), f.backBuffer)) {
    f.device.Reset();
    return gfx::Failed(hr) ? hr : gfx::kFail;
  }
  ApplyCursorSettings();

  if (f.created) hr = f.created(f.device.Get(), &f.backBuffer, f.createdContext);
  if (gfx::Succeeded(hr)) hr = CallReset();
  if (gfx::Failed(hr)) {
    f.device.Reset();
    return hr;
  }
  return gfx::kOk;
}

void DXUTRender3DEnvironment() {
  Framework& f = F();
  if (!f.device) return;
  gfx::HResult hr = f.device->TestCooperativeLevel();
  if (hr == gfx::kDeviceLost) {
    NotifyLost();
    return;
  }
  if (hr == gfx::kDeviceNotReset || WindowSizeChanged()) {
    NotifyLost();
    if (gfx::Failed(ResetDevice()) || gfx::Failed(CallReset())) return;
  }
  const double now = DXUTGetTime();
  const float elapsed = f.lastFrame < 0.0 ? 0.0f : float(now - f.lastFrame);
  f.lastFrame = now;
  if (f.frameMove) f.frameMove(now, elapsed, f.frameMoveContext);
  if (f.frameRender) f.frameRender(f.device.Get(), now, elapsed, f.frameRenderContext);
  f.device->Present();  // a loss here shows in the next frame's test
}

Window* DXUTGetHWND() {
  return F().window;
}

gfx::Device* DXUTGetD3D9Device() {
  return F().device.Get();
}

double DXUTGetTime() {
  Framework& f = F();
  if (!f.initialised) return 0.0;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - f.start).count();
}

bool DXUTCheckDeviceFormat(uint32_t usage, gfx::ResourceType type, gfx::Format format) {
  Framework& f = F();
  gfx::Device* device = f.judged ? f.judged : f.device.Get();
  return device && gfx::Succeeded(device->CheckDeviceFormat(usage, type, format));
}

void DXUTShutdown() {
  ReleaseDevice();
  F() = Framework{};
}

}  // namespace app
