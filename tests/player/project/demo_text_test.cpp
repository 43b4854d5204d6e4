// The demo project's title card, played as the player plays its own project, from the text art
// the build draws for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "objects/text3d/zkw_2d_tex.h"
#include "objects/text3d/zkw_3d_tex.h"
#include "objects/text3d/zkw_text_obj.h"
#include "player/support/demo_files.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"
#include "tools/project_writer/demo_text.h"

namespace scene_test {
namespace {

class DemoTextTest : public SceneTest {
 protected:
  std::vector<uint8_t> Demo() {
    const std::filesystem::path art = SCENE_DEMO_TEXT_ART_DIR;
    return WriteDemoProject(DemoBackgrounds(), nullptr,
                            {FileNamed(art / kDemoTitleFile), FileNamed(art / kDemoTitleHaloFile),
                             FileNamed(art / kDemoLineFile)});
  }

  template <class Kind>
  static Kind* TextOf(const DS_SafePtr<ZKW_RenderObj>& object) {
    auto* text = dynamic_cast<ZKW_TextObj*>(object.Get());
    return text != nullptr ? dynamic_cast<Kind*>(&text->Text()) : nullptr;
  }
};

TEST_F(DemoTextTest, TheTitleCardShowsAFlatTitleAndATurningLine) {
  DS_SlideShow_Light& scene = Play(Demo());
  // The slide with text objects, wherever it lies.
  int index = -1;
  ZKW_2DTex* title = nullptr;
  ZKW_3DTex* line = nullptr;
  std::vector<ZKW_RenderObj*> texts;
  for (size_t i = 0; i < scene.slides.size() && index < 0; ++i) {
    for (const auto& object : scene.slides[i]->objects) {
      if (auto* flat = TextOf<ZKW_2DTex>(object)) title = flat, index = int(i);
      if (auto* solid = TextOf<ZKW_3DTex>(object)) line = solid, index = int(i);
      if (TextOf<ZKW_Text>(object) != nullptr) texts.push_back(object.Get());
    }
  }
  ASSERT_GE(index, 0);
  ASSERT_NE(title, nullptr);
  ASSERT_NE(line, nullptr);

  EXPECT_TRUE(title->effect) << "effect 1902 is the player's own";
  ASSERT_EQ(title->textures.size(), 3u) << "text, halo and plate";
  EXPECT_GT(title->textures[0].usedU, 0.5f);
  EXPECT_LT(title->textures[0].usedU, 1.0f) << "the picture's texture is its power-of-two canvas";
  EXPECT_EQ(title->fill.textures.size(), 8u) << "the animated fill";
  EXPECT_EQ(title->timing.Current(), title->ownTimeline.Get());
  ASSERT_TRUE(line->mesh);
  const size_t glyphs = std::u16string_view(kDemoLine).size() - 2;  // no subsets for spaces
  EXPECT_EQ(line->glyphs.glyphBounds.size(), glyphs);
  EXPECT_EQ(line->mesh->AttributeTable().size(), glyphs);

  // The title slides in, then both move: the title's fill and the line's turn and wave.
  Frame(0.0);
  scene.JumpTo(unsigned(index));
  bool slidIn = false;
  int turns = 0, waves = 0;
  D3DXMATRIX turned = line->objectMatrix, waved = line->glyphMatrices[3];
  double t = 0.0;
  for (; t < 4.0; t += 0.1) {
    Frame(t);
    slidIn = slidIn || (title->timing.Current()->GetState() == TimingState::FadingIn &&
                        title->CurrentFade().shift.x < 0.0f);
    turns += std::memcmp(&turned, &line->objectMatrix, sizeof turned) != 0;
    waves += std::memcmp(&waved, &line->glyphMatrices[3], sizeof waved) != 0;
    turned = line->objectMatrix;
    waved = line->glyphMatrices[3];
  }
  EXPECT_TRUE(slidIn);
  EXPECT_EQ(title->timing.Current()->GetState(), TimingState::Shown);
  EXPECT_GT(turns, 30) << "the line turns all the time";
  EXPECT_GT(waves, 5) << "and its glyphs wave now and then";
  const uint32_t fillFrame = title->fill.frameIndex;
  Frame(t + 0.15);
  EXPECT_NE(title->fill.frameIndex, fillFrame);

  // What they draw shows over the night.
  const auto shown = BackBufferPixels();
  for (ZKW_RenderObj* text : texts)
    text->SetActive(false);
  Frame(t + 0.15);
  const auto plain = BackBufferPixels();
  int changed = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    int most = 0;
    for (int shift : {0, 8, 16})
      most = std::max(most,
                      std::abs(int((shown[i] >> shift) & 0xFF) - int((plain[i] >> shift) & 0xFF)));
    changed += most > 16;
  }
  EXPECT_GT(changed, int(plain.size()) / 20);
}

}  // namespace
}  // namespace scene_test
