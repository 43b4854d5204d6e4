#include "platform/app/dxut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app/window.h"
#include "platform/headless_sdl.h"

namespace {

// Records the callbacks in the order the framework calls them.
struct Log {
  std::vector<std::string> calls;
  std::vector<double> times;
  std::vector<float> elapsed;
  uint32_t resetWidth = 0, resetHeight = 0;
  bool accept = true;
  bool formatsChecked = false;
};
Log* logp = nullptr;

bool Acceptable(const gfx::Caps&, gfx::Format, gfx::Format, bool, void*) {
  logp->calls.push_back("acceptable");
  logp->formatsChecked = app::DXUTCheckDeviceFormat(
      gfx::Usage::RenderTarget, gfx::ResourceType::Surface, gfx::Format::A8R8G8B8);
  return logp->accept;
}
bool Modify(app::DXUTDeviceSettings* s, void*) {
  logp->calls.push_back("modify");
  s->behaviorFlags |= app::kCreateMultithreaded;
  s->swapEffect = app::kSwapEffectDiscard;
  s->pp.presentationInterval = 0;
  return true;
}
gfx::HResult Created(gfx::Device*, const gfx::SurfaceDesc*, void*) {
  logp->calls.push_back("created");
  return gfx::kOk;
}
gfx::HResult Reset(gfx::Device*, const gfx::SurfaceDesc* bb, void*) {
  logp->calls.push_back("reset");
  logp->resetWidth = bb->width;
  logp->resetHeight = bb->height;
  return gfx::kOk;
}
void Lost(void*) {
  logp->calls.push_back("lost");
}
void Move(double time, float elapsed, void*) {
  logp->calls.push_back("move");
  logp->times.push_back(time);
  logp->elapsed.push_back(elapsed);
}
void Render(gfx::Device*, double, float, void*) {
  logp->calls.push_back("render");
}

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessSdl();
    if (!app::InitVideo()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    window_ = app::Window::Create("t", {160, 90}, nullptr);
    if (!window_) GTEST_SKIP() << "no OpenGL window: " << SDL_GetError();
    logp = &log_;
    app::DXUTSetCallbackD3D9DeviceAcceptable(Acceptable);
    app::DXUTSetCallbackDeviceChanging(Modify);
    app::DXUTSetCallbackD3D9DeviceCreated(Created);
    app::DXUTSetCallbackD3D9DeviceReset(Reset);
    app::DXUTSetCallbackD3D9DeviceLost(Lost);
    app::DXUTSetCallbackFrameMove(Move);
    app::DXUTSetCallbackD3D9FrameRender(Render);
    ASSERT_EQ(app::DXUTInit(false, false, nullptr, false), gfx::kOk);
    ASSERT_EQ(app::DXUTSetWindow(window_.get(), window_.get(), window_.get(), false), gfx::kOk);
  }
  void TearDown() override {
    app::DXUTShutdown();
    window_.reset();
    logp = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  // The calls since the last look.
  std::vector<std::string> Take() { return std::exchange(log_.calls, {}); }

  Log log_;
  std::unique_ptr<app::Window> window_;
};

using Calls = std::vector<std::string>;

TEST_F(FrameworkTest, CreationAndFramesCallInOrder) {
  ASSERT_EQ(app::DXUTCreateDevice(true), gfx::kOk);
  EXPECT_EQ(Take(), (Calls{"acceptable", "modify", "created", "reset"}));
  EXPECT_TRUE(log_.formatsChecked) << "the device being judged answers format questions";
  EXPECT_EQ(log_.resetWidth, 160u) << "the back buffer has the client size";
  EXPECT_EQ(log_.resetHeight, 90u);
  ASSERT_NE(app::DXUTGetD3D9Device(), nullptr);
  EXPECT_EQ(app::DXUTGetD3D9Device()->GetPresentParameters().presentationInterval, 0u)
      << "modified settings apply";
  EXPECT_EQ(app::DXUTGetHWND(), window_.get());

  app::DXUTRender3DEnvironment();
  SDL_Delay(20);
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(Take(), (Calls{"move", "render", "move", "render"}));
  ASSERT_EQ(log_.times.size(), 2u);
  EXPECT_GT(log_.times[1], log_.times[0]);
  EXPECT_FLOAT_EQ(log_.elapsed[1], float(log_.times[1] - log_.times[0]));
}

TEST_F(FrameworkTest, LossAndResetAroundFrames) {
  ASSERT_EQ(app::DXUTCreateDevice(true), gfx::kOk);
  Take();
  gfx::Device* device = app::DXUTGetD3D9Device();
  device->SimulateLoss();
  app::DXUTRender3DEnvironment();
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(Take(), (Calls{"lost"})) << "lost once, no frames while lost";
  device->EndSimulatedLoss();
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(Take(), (Calls{"reset", "move", "render"}));
  EXPECT_EQ(device->TestCooperativeLevel(), gfx::kOk);
}

TEST_F(FrameworkTest, NewBackBufferSizeFollowsTheWindow) {
  ASSERT_EQ(app::DXUTCreateDevice(true), gfx::kOk);
  Take();
  SDL_SetWindowSize(window_->Sdl(), 200, 120);
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(Take(), (Calls{"lost", "reset", "move", "render"}));
  EXPECT_EQ(log_.resetWidth, 200u);
  EXPECT_EQ(log_.resetHeight, 120u);
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(Take(), (Calls{"move", "render"}));
}

TEST_F(FrameworkTest, FullScreenOnTheDesktop) {
  ASSERT_EQ(app::DXUTCreateDevice(false), gfx::kOk);
  EXPECT_EQ(Take(), (Calls{"acceptable", "modify", "created", "reset"}));
  EXPECT_TRUE(window_->Fullscreen());
  app::DXUTRender3DEnvironment();  // a size that arrives late still makes a reset, never a stall
  const app::WindowSize client = window_->ClientSize();
  EXPECT_EQ(log_.resetWidth, uint32_t(client.width));
  EXPECT_EQ(log_.resetHeight, uint32_t(client.height));
  EXPECT_FALSE(app::DXUTGetD3D9Device()->GetPresentParameters().windowed);
}

TEST_F(FrameworkTest, RefusedOrUnpreparedCreationFails) {
  log_.accept = false;
  EXPECT_TRUE(gfx::Failed(app::DXUTCreateDevice(true)));
  EXPECT_EQ(Take(), (Calls{"acceptable"}));
  EXPECT_EQ(app::DXUTGetD3D9Device(), nullptr);
  app::DXUTRender3DEnvironment();
  EXPECT_TRUE(Take().empty()) << "no device, no frame";

  app::DXUTShutdown();
  EXPECT_TRUE(gfx::Failed(app::DXUTCreateDevice(true))) << "before DXUTInit and DXUTSetWindow";
  EXPECT_TRUE(gfx::Failed(app::DXUTSetWindow(nullptr, nullptr, nullptr, false)));
}

}  // namespace
