#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "particles/behaviour/effects/motion_effects.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

using StreamsPixels = TreeRenderTest;

// Whether two pixels differ by at most `tolerance` in every channel.
bool Near(uint32_t a, uint32_t b, int tolerance = 16) {
  for (const int shift : {0, 8, 16, 24})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

// A whole picture of a red texture at the centre of a green slide sampling the picture below:
// it shows the slide's green, not its red texels; without the effect it shows red.
TEST_F(StreamsPixels, ABackgroundSamplingPictureShowsThePictureBelow) {
  constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00;
  for (const bool sampling : {false, true}) {
    SCOPED_TRACE(sampling ? "sampling the background" : "its own texture");
    auto system = std::make_unique<ZKW_PtclSys_Constructor>();
    system->Root().Physics().position.SetValue(D3DXVECTOR3(32, 32, 0));
    auto node = std::make_unique<ZKW_PtclSysNodePic_Explode>();
    node->size.SetValue(32);
    UsePicture(*node, DS_ImageFileLink(u"red.png", 1), 2, 2, 2, 2, std::vector<uint32_t>(4, kRed));
    if (sampling) {
      node->effects.Insert(
          INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>(std::unique_ptr<ZKW_ParticlSystem_Effect>(
                       std::make_unique<ZKW_PtclSysEffect<ZKW_PtclSysEffect_BgTex>>())));
    }
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
    StartSlideOn(renderer_, 64, 64, kGreen);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system->CreateRuntimeObject())};
    for (const float t : {0.0f, 0.1f})
      objects.front()->Update(t);
    ClearLog();
    Frame(renderer_, objects);
    const uint32_t centre = PixelAt(32, 32);
    EXPECT_TRUE(Near(centre, sampling ? kGreen : kRed)) << std::hex << centre;
  }
}

}  // namespace
}  // namespace tree_test
