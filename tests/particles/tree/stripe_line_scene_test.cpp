#include <gtest/gtest.h>

#include <vector>

#include "particles/tree/line/stripe_line_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using StripeLineSceneTest = SceneTest;

TEST_F(StripeLineSceneTest, TheDemoFlashesLightning) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  const std::vector<NamedFile> pictures = {{u"soft_streak.png", SolidPng(0xFFFFFFFF, 8, 8)}};
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  ZKW_PtclSys_Obj* system = PlayDemoObject<ZKW_PtclSys_Obj>(scene, u"Lightning");
  ASSERT_NE(system, nullptr) << "a Lightning slide with its system";
  ASSERT_NE(dynamic_cast<const ZKW_PtclSysNode_StripeLine*>(
                system->System().Root().children.Value().at(0).Get()),
            nullptr);
  std::vector<uint32_t> previous;
  size_t changed = 0;
  for (double t = 3.5; t < 5.5; t += 0.1) {
    Frame(scene, t);
    const std::vector<uint32_t> pixels = BackBufferPixels();
    if (!previous.empty())
      for (size_t i = 0; i < pixels.size(); ++i)
        changed += pixels[i] != previous[i];
    previous = pixels;
  }
  EXPECT_EQ(system->Batches().size(), 2u) << "the bolts and the discharges";
  size_t lit = 0;
  for (const uint32_t pixel : previous)
    lit += ((pixel >> 16) & 0xFF) > 0x40;
  EXPECT_GT(lit, 20u) << "the lines show bright over the dark picture";
  EXPECT_GT(changed, 20u) << "and flicker";
}

}  // namespace
}  // namespace scene_test
