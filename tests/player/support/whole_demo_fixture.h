#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/zkw_string.h"
#include "platform/app/dxut.h"
#include "platform/app/message_pump.h"
#include "platform/app/window.h"
#include "platform/gfx/device.h"
#include "platform/gfx/refusal_log.h"
#include "platform/headless_sdl.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/device_callbacks.h"
#include "player/shell/player_window.h"
#include "player/shell/scene_player.h"
#include "player/support/every_class.h"

namespace scene_test {

// The player as users start it, on its own demo, in an offscreen window of full-HD size. Frames
// go through the player's own frame callbacks with a clock the test sets, so that every slide
// can be reached in seconds; the error message and refusals of the graphics layer are recorded.
class WholeDemoTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 1920;
  static constexpr int kHeight = 1080;

  void SetUp() override {
    UseHeadlessSdl();
    RegisterEveryClass();
    if (!app::InitVideo()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    SetErrorBox([this](const std::string& caption, const std::string& text) {
      errors_.push_back(caption + ": " + text);
    });
    previousSink_ =
        gfx::SetRefusalSink([this](const std::string& line) { refusals_.push_back(line); });
    window_ = app::Window::Create("player", {kWidth, kHeight}, PlayerWndProc);
    ASSERT_TRUE(window_);
    ASSERT_TRUE(InitPlayer(window_.get(), std::nullopt)) << ::testing::PrintToString(errors_);
    ASSERT_TRUE(GetScenePlayer().scene);
    device_ = app::DXUTGetD3D9Device();
    ASSERT_NE(device_, nullptr);
  }

  void TearDown() override {
    GetScenePlayer().Shutdown();
    window_.reset();
    SetErrorBox(nullptr);
    gfx::SetRefusalSink(std::move(previousSink_));
    app::Message m;
    while (app::MessageQueue::Main().Peek(m)) {
    }
  }

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

  // Jumps to slide `index` after the frame at `now` and draws a frame at each of `offsets`
  // (seconds after the jump). Answers the time of the last frame.
  double PlaySlide(size_t index, double now, const std::vector<double>& offsets) {
    Scene().JumpTo(unsigned(index));
    double t = now;
    for (const double offset : offsets) {
      t = now + offset;
      const uint32_t error = Frame(t);
      EXPECT_EQ(error, uint32_t(GL_NO_ERROR))
          << SlideName(index) << " at +" << offset << " s: GL error 0x" << std::hex << error;
    }
    return t;
  }

  gfx::Device* device_ = nullptr;
  std::unique_ptr<app::Window> window_;
  std::vector<std::string> errors_;
  std::vector<std::string> refusals_;
  gfx::RefusalSink previousSink_;
  double lastTime_ = -1.0;
};

}  // namespace scene_test
