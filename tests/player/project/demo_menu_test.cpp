// The demo project's menu slide, played as the player plays its own project, from the text art
// the build draws for it: its quad and sprite texts show their pictures, the texts scroll, and
// its links lead to slides that link back, which stay in view.
#include <gtest/gtest.h>

#include <filesystem>

#include "objects/sprites/ds_fx_obj.h"
#include "objects/text3d/ds_scrolling_tex.h"
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "objects/text3d/ds_text_link.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "particles/classic/control/particle_system_mech.h"
#include "player/support/demo_files.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"
#include "tools/project_writer/demo_text.h"

namespace scene_test {
namespace {

class DemoMenuTest : public SceneTest {
 protected:
  std::vector<uint8_t> Demo() {
    const std::filesystem::path art = SCENE_DEMO_TEXT_ART_DIR;
    std::vector<NamedFile> pictures = {FileNamed(art / kDemoTitleFile),
                                       FileNamed(art / kDemoTitleHaloFile),
                                       FileNamed(art / kDemoLineFile)};
    for (const char* name :
         {kDemoMenuTitleFile, kDemoMenuLineFile, kDemoMenuTickerFile, kDemoMenuBackFile})
      pictures.push_back(FileNamed(art / name));
    for (const char* name : kDemoMenuLinkFiles)
      pictures.push_back(FileNamed(art / name));
    return WriteDemoProject(DemoBackgrounds(), nullptr, pictures);
  }

  template <class X>
  static X* Quad(const DS_SafePtr<ZKW_RenderObj>& object) {
    auto* mech = dynamic_cast<ZKW_ParticleSystemMech*>(object.Get());
    return mech != nullptr ? dynamic_cast<X*>(mech->ctrl) : nullptr;
  }
  template <class X>
  static X* Sprite(const DS_SafePtr<ZKW_RenderObj>& object) {
    auto* fx = dynamic_cast<DS_FXObj*>(object.Get());
    return fx != nullptr ? dynamic_cast<X*>(&fx->FXPreset()) : nullptr;
  }
};

TEST_F(DemoMenuTest, TheMenuShowsScrollingTextsAndLinksThatLeadBack) {
  DS_SlideShow_Light& scene = Play(Demo());
  const unsigned menu = unsigned(scene.slides.size() - 1);
  const auto& objects = scene.slides[menu]->objects;
  ASSERT_EQ(objects.size(), 6u) << "title, line, ticker, three links";
  DS_StaticText* title = nullptr;
  DS_ScrollingTex* line = nullptr;
  DS_ScrollingTextConstructor* ticker = nullptr;
  std::vector<unsigned> targets;
  for (const auto& object : objects) {
    if (auto* link = Sprite<DS_TextLinkConstructor>(object)) {
      targets.push_back(link->targetSlide.Value());
      EXPECT_TRUE(link->textPicture) << "the sprite link's picture under its GUID";
    } else if (auto* scrolling = Sprite<DS_ScrollingTextConstructor>(object)) {
      ticker = scrolling;
    } else if (auto* link = Quad<DS_TextLink>(object)) {
      targets.push_back(link->targetSlide.Value());
    } else if (auto* scrolling = Quad<DS_ScrollingTex>(object)) {
      line = scrolling;
    } else if (auto* text = Quad<DS_StaticText>(object)) {
      title = text;
    }
  }
  ASSERT_NE(title, nullptr);
  ASSERT_NE(line, nullptr);
  ASSERT_NE(ticker, nullptr);
  EXPECT_TRUE(title->appearance.effect) << "effect 198 is the player's own";
  ASSERT_EQ(title->appearance.frames.size(), 1u);
  EXPECT_LT(title->appearance.frames[0].usedU, 1.0f) << "a used part of its canvas";
  EXPECT_TRUE(ticker->effect) << "effect 1901 is the player's own";
  EXPECT_TRUE(ticker->textPicture) << "the ticker's picture under its GUID";
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0], 0u);
  for (unsigned target : targets) {
    ASSERT_LT(target, menu);
    bool back = false;
    for (const auto& object : scene.slides[target]->objects)
      if (auto* link = Quad<DS_TextLink>(object)) back = back || link->targetSlide.Value() == menu;
    EXPECT_TRUE(back) << "a link back on slide " << target;
  }

  // The texts scroll while the menu shows.
  Frame(0.0);
  scene.JumpTo(menu);
  Frame(0.1);
  const float offset = line->offset, phase = ticker->horizontalPhase;
  for (double t = 0.2; t < 3.0; t += 0.1)
    Frame(t);
  EXPECT_LT(line->offset, offset);
  EXPECT_LT(ticker->horizontalPhase, phase);
}

// A link back to the menu stays in view while its slide plays, also where the camera drifts over
// a zoomed picture: every corner of the link lies in the part of the picture the view shows.
TEST_F(DemoMenuTest, TheLinksBackStayInView) {
  DS_SlideShow_Light& scene = Play(Demo());
  const RenderContext& context = *RenderContextTlsSlot::Get();
  double t = 0.0;
  Frame(t);
  for (const auto& object : scene.slides.back()->objects) {
    unsigned target = 0;
    if (auto* link = Sprite<DS_TextLinkConstructor>(object)) {
      target = link->targetSlide.Value();
    } else if (auto* link = Quad<DS_TextLink>(object)) {
      target = link->targetSlide.Value();
    } else {
      continue;
    }
    SCOPED_TRACE(testing::Message() << "slide " << target);
    const DS_SlideContainer& slide = *scene.slides.at(target);
    const DS_TextLink* back = nullptr;
    for (const auto& candidate : slide.objects)
      if (auto* link = Quad<DS_TextLink>(candidate)) back = link;
    ASSERT_NE(back, nullptr);
    scene.JumpTo(target);
    // Until the slide gives way to the next.
    const double start = scene.slideStart;
    const double length = slide.fadeIn.Value() + slide.hold.Value() + slide.fadeOut.Value();
    for (double e = 0.1; e < length - 0.05; e += 0.1) {
      t = start + e;
      scene.Update(t);
      ASSERT_EQ(scene.currentSlide.Get(), &slide);
      // The corners of the frame the view shows, found in the picture.
      const D3DXMATRIX& v = context.view;
      const auto first = context.PictureAt(v._41, v._42, 100.0f);
      const auto last =
          context.PictureAt(context.frameW * v._11 + v._41, context.frameH * v._22 + v._42, 100.0f);
      ASSERT_TRUE(first && last);
      for (const auto& corner : back->corners.corners) {
        const D3DXVECTOR3& p = corner.Value();
        ASSERT_TRUE(first->x <= p.x && p.x <= last->x && first->y <= p.y && p.y <= last->y)
            << "at " << t << " s the corner (" << p.x << ", " << p.y << ") is outside (" << first->x
            << ", " << first->y << ") - (" << last->x << ", " << last->y << ")";
      }
    }
  }
}

}  // namespace
}  // namespace scene_test
