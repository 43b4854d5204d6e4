#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/refusal_log.h"
#include "platform/headless_sdl.h"
#include "player/support/every_class.h"
#include "player/support/whole_demo_player.h"
#include "renderers/light/ds_2d_light.h"

namespace scene_test {

// The player as users start it, on its own demo, in an offscreen window of full-HD size
// (WholeDemoPlayer); the error message and refusals of the graphics layer are recorded.
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
    player_ = std::make_unique<WholeDemoPlayer>(kWidth, kHeight);
    ASSERT_TRUE(player_->Ready()) << ::testing::PrintToString(errors_);
    device_ = player_->Device();
  }

  void TearDown() override {
    player_.reset();
    SetErrorBox(nullptr);
    gfx::SetRefusalSink(std::move(previousSink_));
  }

  DS_SlideShow_Light& Scene() const { return player_->Scene(); }
  std::string SlideName(size_t index) const { return player_->SlideName(index); }
  uint32_t Frame(double t) { return player_->Frame(t); }

  // The back buffer's pixels (0xAARRGGBB, top row first).
  std::vector<uint32_t> BackBufferPixels() {
    gfx::ComPtr<gfx::Surface> backBuffer;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, backBuffer.Put()), gfx::kOk);
    std::vector<uint8_t> bytes;
    uint32_t pitch = 0;
    std::vector<uint32_t> pixels;
    if (!backBuffer || gfx::Failed(backBuffer->ReadPixels(&bytes, &pitch))) return pixels;
    pixels.resize(size_t(backBuffer->Width()) * backBuffer->Height());
    for (uint32_t y = 0; y < backBuffer->Height(); ++y)
      std::memcpy(&pixels[size_t(y) * backBuffer->Width()], bytes.data() + size_t(y) * pitch,
                  size_t(backBuffer->Width()) * 4);
    return pixels;
  }

  // What the showing slide draws without its objects, at the time of the last frame: its
  // renderer's picture alone.
  std::vector<uint32_t> BackgroundAlone() {
    const auto& slide = Scene().currentSlide;
    if (!slide || !slide->renderer) return {};
    EXPECT_EQ(device_->BeginScene(), gfx::kOk);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
    slide->RenderPass({}, 0);
    slide->renderer->Compose(nullptr);
    device_->EndScene();
    return BackBufferPixels();
  }

  // Pixels whose colour differs by more than `tolerance` in any channel.
  static size_t PixelsApart(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                            int tolerance) {
    size_t count = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
      for (int shift : {0, 8, 16})
        if (std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)) > tolerance) {
          ++count;
          break;
        }
    return count;
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

  std::unique_ptr<WholeDemoPlayer> player_;
  gfx::Device* device_ = nullptr;
  std::vector<std::string> errors_;
  std::vector<std::string> refusals_;
  gfx::RefusalSink previousSink_;
};

}  // namespace scene_test
