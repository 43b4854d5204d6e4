#pragma once

#include <GL/glcorearb.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/zkw_string.h"
#include "platform/app/dxut.h"
#include "platform/app/message_pump.h"
#include "platform/app/window.h"
#include "platform/gfx/device.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/device_callbacks.h"
#include "player/shell/player_window.h"
#include "player/shell/scene_player.h"

// The player as users start it, on its own demo, in a window of the given size; for the tests
// and the benchmarks that play the whole demo. The caller chooses the video driver (the
// offscreen one, headless) and registers the classes first. Frames go through the player's own
// frame callbacks with a clock the caller sets, so that every slide can be reached at once.
class WholeDemoPlayer {
 public:
  WholeDemoPlayer(int width, int height) {
    if (!app::InitVideo()) return;
    window_ = app::Window::Create("player", {width, height}, PlayerWndProc);
    if (!window_ || !InitPlayer(window_.get(), std::nullopt) || !GetScenePlayer().scene) return;
    device_ = app::DXUTGetD3D9Device();
  }
  ~WholeDemoPlayer() {
    GetScenePlayer().Shutdown();
    window_.reset();
    app::Message m;
    while (app::MessageQueue::Main().Peek(m)) {
    }
  }
  WholeDemoPlayer(const WholeDemoPlayer&) = delete;
  WholeDemoPlayer& operator=(const WholeDemoPlayer&) = delete;

  // The window exists, the player started and the device is there.
  bool Ready() const { return device_ != nullptr; }
  gfx::Device* Device() const { return device_; }
  DS_SlideShow_Light& Scene() const { return *GetScenePlayer().scene; }

  // The slide's name for messages: its index and stored name.
  std::string SlideName(size_t index) const {
    const auto& slide = Scene().slides.at(index);
    return "slide " + std::to_string(index) + " \"" + (slide ? ToUtf8(slide->name.Value()) : "") +
           "\"";
  }

  // One frame at time t through the player's callbacks, presented; answers the first GL error
  // the frame left (GL_NO_ERROR when none).
  uint32_t Frame(double t) {
    const float elapsed = lastTime_ < 0.0 ? 0.0f : float(t - lastTime_);
    lastTime_ = t;
    OnFrameMove(t, elapsed, nullptr);
    OnD3D9FrameRender(device_, t, elapsed, nullptr);
    device_->Present();
    uint32_t first = GL_NO_ERROR;
    for (GLenum error = device_->Gl().GetError(); error != GL_NO_ERROR;
         error = device_->Gl().GetError())
      if (first == GL_NO_ERROR) first = error;
    return first;
  }

 private:
  std::unique_ptr<app::Window> window_;
  gfx::Device* device_ = nullptr;
  double lastTime_ = -1.0;
};
