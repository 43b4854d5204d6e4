#pragma once

#include <cstdint>

#include "platform/app/window.h"
#include "platform/gfx/descs.h"
#include "platform/gfx/device.h"
#include "platform/gfx/hresult.h"

// The frame framework: creates the drawing device on the player's window, runs frames and handles
// device loss and reset, calling the application's callbacks in a fixed order:
// - DXUTCreateDevice: device acceptable, modify device settings, device created, device reset;
// - DXUTRender3DEnvironment, once per frame: when the device is lost, the device-lost callback
//   (once per loss) and no frame; when it can be reset (also after the window's drawable size
//   changed), the reset and the device-reset callback; then frame move (absolute time in
//   seconds since DXUTInit, elapsed seconds since the previous frame), frame render, present.
// The framework's state is process-wide and belongs to the main thread.
namespace app {

// Creation flags and values that the modify-settings callback may set.
inline constexpr uint32_t kCreateMultithreaded = 0x4;
inline constexpr uint32_t kSwapEffectDiscard = 1;
inline constexpr uint32_t kPresentIntervalOne = 1;

struct DXUTDeviceSettings {
  gfx::PresentParameters pp;
  uint32_t behaviorFlags = 0;
  uint32_t swapEffect = kSwapEffectDiscard;
};

using LPDXUTCALLBACKISD3D9DEVICEACCEPTABLE = bool (*)(const gfx::Caps& caps,
                                                      gfx::Format adapterFormat,
                                                      gfx::Format backBufferFormat, bool windowed,
                                                      void* userContext);
using LPDXUTCALLBACKMODIFYDEVICESETTINGS = bool (*)(DXUTDeviceSettings* settings,
                                                    void* userContext);
using LPDXUTCALLBACKD3D9DEVICECREATED = gfx::HResult (*)(gfx::Device* device,
                                                         const gfx::SurfaceDesc* backBuffer,
                                                         void* userContext);
using LPDXUTCALLBACKD3D9DEVICERESET = gfx::HResult (*)(gfx::Device* device,
                                                       const gfx::SurfaceDesc* backBuffer,
                                                       void* userContext);
using LPDXUTCALLBACKD3D9DEVICELOST = void (*)(void* userContext);
using LPDXUTCALLBACKFRAMEMOVE = void (*)(double time, float elapsedTime, void* userContext);
using LPDXUTCALLBACKD3D9FRAMERENDER = void (*)(gfx::Device* device, double time, float elapsedTime,
                                               void* userContext);

void DXUTSetCallbackD3D9DeviceAcceptable(LPDXUTCALLBACKISD3D9DEVICEACCEPTABLE callback,
                                         void* userContext = nullptr);
void DXUTSetCallbackDeviceChanging(LPDXUTCALLBACKMODIFYDEVICESETTINGS callback,
                                   void* userContext = nullptr);
void DXUTSetCallbackD3D9DeviceCreated(LPDXUTCALLBACKD3D9DEVICECREATED callback,
                                      void* userContext = nullptr);
void DXUTSetCallbackD3D9DeviceReset(LPDXUTCALLBACKD3D9DEVICERESET callback,
                                    void* userContext = nullptr);
void DXUTSetCallbackD3D9DeviceLost(LPDXUTCALLBACKD3D9DEVICELOST callback,
                                   void* userContext = nullptr);
void DXUTSetCallbackFrameMove(LPDXUTCALLBACKFRAMEMOVE callback, void* userContext = nullptr);
void DXUTSetCallbackD3D9FrameRender(LPDXUTCALLBACKD3D9FRAMERENDER callback,
                                    void* userContext = nullptr);

// Starts the framework's clock. The command line is never parsed and no message box is shown:
// failures are results.
gfx::HResult DXUTInit(bool parseCommandLine = true, bool showMsgBoxOnError = true,
                      const char* extraCommandLine = nullptr, bool threadSafe = true);
// Whether the cursor shows, and stays inside the window, while full screen.
void DXUTSetCursorSettings(bool showCursorWhenFullScreen, bool clipCursorWhenFullScreen);
// The window the device draws on (the framework keeps one window; it never takes over its
// messages). A null window fails.
gfx::HResult DXUTSetWindow(Window* focus, Window* deviceFullScreen, Window* deviceWindowed,
                           bool handleMessages = true);
// Creates the device on the window, windowed (back buffer of the client size, or the suggested
// size) or full screen on the desktop. Fails before DXUTInit and DXUTSetWindow, when no device
// can be made, when the acceptable callback refuses it or when the created or reset callback
// fails.
gfx::HResult DXUTCreateDevice(bool windowed = true, int suggestedWidth = 0,
                              int suggestedHeight = 0);
// One frame, as described above.
void DXUTRender3DEnvironment();

Window* DXUTGetHWND();
gfx::Device* DXUTGetD3D9Device();
// Seconds since DXUTInit.
double DXUTGetTime();
// For the acceptable callback: whether the device being judged supports the format.
bool DXUTCheckDeviceFormat(uint32_t usage, gfx::ResourceType type, gfx::Format format);
// Releases the device (after the device-lost callback) and forgets window and callbacks.
void DXUTShutdown();

}  // namespace app
