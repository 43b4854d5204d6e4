#include "player/render/render_target_set.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/gfx/refusal_log.h"
#include "player/device/device_values.h"
#include "player/render/shared_targets.h"
#include "render_fixture.h"

namespace render_test {
namespace {

class TargetSetTest : public RenderTest {
 protected:
  TargetSetTest() : RenderTest(8, 8) {}

  void ClearTo(uint32_t colour) {
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, colour, 1.0f, 0);
  }
  uint32_t FirstPixel(const ComRef<gfx::Texture>& texture) { return Pixels(texture.Get())[0]; }
};

TEST_F(TargetSetTest, CreateMakesThreeTargetsOrNothing) {
  RenderTargetSet set;
  EXPECT_FALSE(set.Create(0, 600));
  EXPECT_FALSE(set.current);
  for (const auto& t : set.textures)
    EXPECT_FALSE(t);

  ASSERT_TRUE(set.Create(16, 4));
  EXPECT_EQ(set.width, 16u);
  EXPECT_EQ(set.height, 4u);
  EXPECT_EQ(set.current.Get(), set.textures[0].Get());
  for (const auto& t : set.textures) {
    ASSERT_TRUE(t);
    EXPECT_EQ(t->GetFormat(), gfx::Format::A8R8G8B8);
    EXPECT_EQ(t->GetUsage() & gfx::Usage::RenderTarget, gfx::Usage::RenderTarget);
  }

  // Targets the device cannot make leave no partial set behind.
  EXPECT_FALSE(set.Create(1u << 20, 4));
  EXPECT_FALSE(set.current);
  for (const auto& t : set.textures)
    EXPECT_FALSE(t);
}

// Targets are made at the largest multiple of the back buffer (3, 2, then 1) the device can hold;
// multiples past its largest texture are passed over without a refused call.
TEST_F(TargetSetTest, BackBufferMultiplesStopAtTheLargestTexture) {
  gfx::Caps caps;
  ASSERT_EQ(device_->GetDeviceCaps(&caps), gfx::kOk);
  DeviceValues& values = GetDeviceValues();
  const DeviceValues saved = values;
  struct Case {
    uint32_t width, height, expectedScale;
  };
  const uint32_t max = caps.maxTextureWidth;
  for (const Case& c : {Case{8, 4, 3}, Case{max / 3 + 1, 4, 2}, Case{4, max / 2 + 1, 1}}) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    values.backBufferWidth = c.width;
    values.backBufferHeight = c.height;
    values.targetScaleLimit = 3;
    const uint64_t refusedBefore = gfx::RefusalCount();
    RenderTargetSet set;
    ASSERT_TRUE(CreateAtBackBufferMultiple(set));
    EXPECT_EQ(set.width, c.expectedScale * c.width);
    EXPECT_EQ(set.height, c.expectedScale * c.height);
    EXPECT_EQ(gfx::RefusalCount(), refusedBefore);
  }
  values = saved;
}

TEST_F(TargetSetTest, BeginAndEndRedirectDrawingAndRestoreTheTarget) {
  RenderTargetSet set;
  ASSERT_TRUE(set.Create(8, 8));
  ClearTo(0xFF00FF00);
  const auto backBuffer = BackBuffer();
  set.Begin();
  EXPECT_TRUE(set.Begun());
  ClearTo(0xFFFF0000);
  gfx::ComPtr<gfx::Surface> depth;
  EXPECT_EQ(device_->GetDepthStencilSurface(depth.Put()), gfx::kNotFound);
  EXPECT_EQ(set.End(false), &set.current);
  EXPECT_FALSE(set.Begun());
  EXPECT_EQ(FirstPixel(set.current), 0xFFFF0000u);
  gfx::ComPtr<gfx::Surface> target;
  EXPECT_EQ(device_->GetRenderTarget(0, target.Put()), gfx::kOk);
  EXPECT_EQ(target.Get(), backBuffer.Get());
  EXPECT_EQ(device_->GetDepthStencilSurface(depth.Put()), gfx::kOk);
  EXPECT_EQ(BackBufferPixels()[0], 0xFF00FF00u);

  // End with clear clears the restored target to transparent white.
  set.Begin();
  set.End(true);
  EXPECT_EQ(BackBufferPixels()[0], 0x00FFFFFFu);
}

TEST_F(TargetSetTest, EndWithoutBeginKeepsTheFrame) {
  RenderTargetSet set;
  ASSERT_TRUE(set.Create(8, 8));
  ClearTo(0xFF123456);
  set.End(true);
  EXPECT_EQ(BackBufferPixels()[0], 0xFF123456u);

  // A set without targets does not redirect drawing either.
  RenderTargetSet empty;
  empty.Begin();
  EXPECT_FALSE(empty.Begun());
  empty.End(true);
  EXPECT_EQ(BackBufferPixels()[0], 0xFF123456u);
}

TEST_F(TargetSetTest, FlipExchangesWithTheSpareKeepingReferencesExact) {
  RenderTargetSet set;
  ASSERT_TRUE(set.Create(8, 8));
  gfx::Texture* t0 = set.textures[0].Get();
  gfx::Texture* t1 = set.textures[1].Get();
  gfx::Texture* t2 = set.textures[2].Get();

  // Without copy: the other target (1) and the spare exchange places.
  EXPECT_EQ(set.Flip(false), &set.textures[1]);
  EXPECT_EQ(set.textures[1].Get(), t2);
  EXPECT_EQ(set.textures[2].Get(), t1);
  EXPECT_EQ(set.current.Get(), t0);
  EXPECT_EQ(RefCount(t0), 2u);  // slot and current
  EXPECT_EQ(RefCount(t1), 1u);

  // With copy: the picture so far goes to the spare, a cleared texture takes its place.
  set.Begin();
  ClearTo(0xFFAA0000);
  set.Flip(true);
  EXPECT_EQ(set.textures[2].Get(), t0);
  EXPECT_EQ(set.current.Get(), t1);
  EXPECT_EQ(FirstPixel(set.textures[2]), 0xFFAA0000u);
  EXPECT_EQ(FirstPixel(set.current), 0x00000000u);
  ClearTo(0xFF00BB00);
  // A second copy flip: the spare ends holding the picture drawn before it.
  set.Flip(true);
  EXPECT_EQ(FirstPixel(set.textures[2]), 0xFF00BB00u);
  EXPECT_EQ(FirstPixel(set.current), 0x00000000u);
  set.End(false);
  EXPECT_EQ(RefCount(set.current.Get()), 2u);
  EXPECT_EQ(RefCount(set.textures[2].Get()), 1u);
}

TEST_F(TargetSetTest, SelectMakesATextureCurrentAndTheTarget) {
  RenderTargetSet set;
  ASSERT_TRUE(set.Create(8, 8));
  set.Begin();
  set.Select(set.OtherIndex());
  EXPECT_EQ(set.currentIndex, 1);
  EXPECT_EQ(set.current.Get(), set.textures[1].Get());
  ClearTo(0xFF0000CC);
  set.End(false);
  EXPECT_EQ(FirstPixel(set.textures[1]), 0xFF0000CCu);
}

TEST_F(TargetSetTest, CreateFromCopiesTheSource) {
  const auto source = MakeTexture(2, 2, {0xFF112233, 0xFF112233, 0xFF112233, 0xFF112233});
  RenderTargetSet set;
  ASSERT_TRUE(set.CreateFrom(source.Get(), 4, 4));
  EXPECT_EQ(FirstPixel(set.current), 0xFF112233u);
}

// Sets at back-buffer multiples share their textures: what one gives back the next takes, also
// while something else still holds a texture (as an effect holds its parameters); a plain set
// keeps nothing back, a texture is kept once, and targets lost with the device are not handed
// out again.
TEST_F(TargetSetTest, BackBufferSetsShareTheTexturesTheyGiveBack) {
  shared_targets::Clear();
  auto ids = [](const RenderTargetSet& set) {
    std::set<gfx::Texture*> out;
    for (const auto& t : set.textures)
      out.insert(t.Get());
    return out;
  };
  RenderTargetSet first;
  ASSERT_TRUE(CreateAtBackBufferMultiple(first));
  EXPECT_TRUE(first.shared);
  const std::set<gfx::Texture*> made = ids(first);
  const ComRef<gfx::Texture> heldElsewhere = first.textures[1];
  first.Release();
  EXPECT_EQ(shared_targets::KeptCount(), 3u);
  shared_targets::GiveBack(heldElsewhere);
  EXPECT_EQ(shared_targets::KeptCount(), 3u) << "kept once";

  RenderTargetSet second;
  ASSERT_TRUE(CreateAtBackBufferMultiple(second));
  EXPECT_EQ(ids(second), made);
  EXPECT_EQ(second.current.Get(), second.textures[0].Get());
  EXPECT_EQ(shared_targets::KeptCount(), 0u);

  RenderTargetSet plain;
  ASSERT_TRUE(plain.Create(second.width, second.height));
  plain.Release();
  EXPECT_EQ(shared_targets::KeptCount(), 0u) << "a plain set keeps nothing back";

  second.Release();
  ASSERT_EQ(shared_targets::KeptCount(), 3u);
  RenderTargetSet other;
  ASSERT_TRUE(other.Create(4, 4));
  other.shared = true;
  ASSERT_TRUE(other.Create(4, 4));
  EXPECT_EQ(shared_targets::KeptCount(), 3u) << "another size takes none of them";
  for (gfx::Texture* t : ids(other))
    EXPECT_EQ(made.count(t), 0u);

  device_->SimulateLoss();
  device_->EndSimulatedLoss();
  gfx::PresentParameters params = device_->GetPresentParameters();
  ASSERT_EQ(device_->Reset(params), gfx::kOk);
  ASSERT_TRUE(heldElsewhere->IsLost());
  RenderTargetSet afterLoss;
  ASSERT_TRUE(CreateAtBackBufferMultiple(afterLoss));
  for (gfx::Texture* t : ids(afterLoss)) {
    EXPECT_NE(t, heldElsewhere.Get());
    EXPECT_FALSE(t->IsLost());
  }
  EXPECT_EQ(shared_targets::KeptCount(), 0u);
  afterLoss.Release();
  other.Release();
  shared_targets::Clear();
}

}  // namespace
}  // namespace render_test
