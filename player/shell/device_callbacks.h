#pragma once

#include "platform/app/dxut.h"

class ScenePlayer;

// The frame framework's callbacks of the player. They work on the callback player, which
// ScenePlayer::InitDevice publishes once the device exists; before that, and without one, they
// only keep the device values.
void InstallDeviceCallbacks();
void SetCallbackPlayer(ScenePlayer* player);
ScenePlayer* CallbackPlayer();

// Accepts a device that has the bump-map texture operation, A8R8G8B8 render targets and V8U8
// textures.
bool IsD3D9DeviceAcceptable(const gfx::Caps& caps, gfx::Format adapterFormat,
                            gfx::Format backBufferFormat, bool windowed, void* userContext);
// Multithreaded creation, discarded swaps, presents on the vertical blank.
bool ModifyDeviceSettings(app::DXUTDeviceSettings* settings, void* userContext);
gfx::HResult OnD3D9DeviceCreated(gfx::Device* device, const gfx::SurfaceDesc* backBuffer,
                                 void* userContext);
// Keeps the device and the back buffer's size; then the player's own reset work.
gfx::HResult OnD3D9DeviceReset(gfx::Device* device, const gfx::SurfaceDesc* backBuffer,
                               void* userContext);
// The scene drops its device objects.
void OnD3D9DeviceLost(void* userContext);
void OnFrameMove(double time, float elapsedTime, void* userContext);
// Clears to opaque black and draws the scene.
void OnD3D9FrameRender(gfx::Device* device, double time, float elapsedTime, void* userContext);
