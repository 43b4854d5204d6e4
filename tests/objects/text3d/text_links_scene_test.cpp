// Text links in a played scene: the window's hover walk shows the hand over a link and the arrow
// elsewhere, and a click shows the link's slide; with overlapping links the one earliest in the
// slide's list decides, a hidden link does nothing and a target past the slides is ignored.
#include "objects/text3d/ds_text_link.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "platform/app/window.h"
#include "player/shell/scene_player.h"
#include "player/support/scene_fixture.h"
#include "text_object_fixture.h"

namespace text_object_test {
namespace {

class TextLinksScene : public scene_test::SceneTest {
 protected:
  void TearDown() override {
    GetScenePlayer().scene.reset();
    SceneTest::TearDown();
  }

  // Plays the project as the player's scene, its first frame drawn.
  DS_SlideShow_Light& PlayAsPlayer(const std::vector<uint8_t>& bytes) {
    Play(bytes);
    GetScenePlayer().scene = std::move(scene_);
    Frame(0.0);
    return *GetScenePlayer().scene;
  }
  uint32_t Frame(double t) { return SceneTest::Frame(*GetScenePlayer().scene, t); }
  int Current() { return CurrentIndex(*GetScenePlayer().scene); }

  // The window's walk over the current slide's objects, the last first.
  static RuntimeObjectList Walk() {
    const auto& slide = GetScenePlayer().scene->currentSlide;
    return RuntimeObjectList(slide->objects.rbegin(), slide->objects.rend());
  }
  static int Hover(int x, int y) {
    int sum = 0;
    for (const auto& object : Walk())
      if (auto* made = dynamic_cast<DS_ABObj*>(object.Get())) sum += made->HoverTest(x, y);
    if (sum <= 0) app::DefWindowProc(nullptr, app::msg::SetCursor, 0, 0);
    return sum;
  }
  static void Click(int x, int y) {
    for (const auto& object : Walk())
      if (auto* made = dynamic_cast<DS_ABObj*>(object.Get())) made->Click(x, y);
  }
  // The description of the current slide's object i.
  static DS_ABObj_Constructor& Description(size_t i) {
    const auto& slide = GetScenePlayer().scene->currentSlide;
    return *dynamic_cast<DS_ABObj*>(slide->objects[i].Get())->Description();
  }
};

std::unique_ptr<DS_TextLinkConstructor> SpriteLink(unsigned target, float x, float y,
                                                   unsigned size) {
  auto link = std::make_unique<DS_TextLinkConstructor>();
  link->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
  link->targetSlide.SetValue(target);
  link->position.SetValue(D3DXVECTOR3(x, y, 0));
  link->width.SetValue(size);
  link->height.SetValue(size);
  return link;
}

std::unique_ptr<DS_TextLink> QuadLink(unsigned target, float x, float y, float size) {
  auto link = std::make_unique<DS_TextLink>();
  link->targetSlide.SetValue(target);
  link->corners.SetRect(size, size, D3DXVECTOR3(x, y, 0));
  return link;
}

// Slide 0: a quad link to 2 under a sprite link to 1 (both about (16, 16)), a link to slide 7
// about (48, 16) and a link to 1 about (48, 26); slides 1 and 2 are green and blue, with a
// link back on slide 1.
std::vector<uint8_t> LinkProject() {
  ProjectBuilder project;
  const uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  for (int i = 0; i < 3; ++i) {
    DS_SlideContainer& slide = project.AddSlide(0.01f, 100.0f, 0.01f);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"slide.png", scene_test::SolidPng(colours[i], 64, 32));
  }
  auto& menu = project.Root().slides[0]->savedObjects;
  menu.push_back(QuadLink(2, 16, 16, 20));
  menu.push_back(SpriteLink(1, 16, 16, 20));
  menu.push_back(SpriteLink(7, 48, 10, 8));
  menu.push_back(SpriteLink(1, 48, 26, 8));
  project.Root().slides[1]->savedObjects.push_back(QuadLink(0, 32, 16, 64));
  return project.Write();
}

TEST_F(TextLinksScene, HoverShowsTheHandAndAClickShowsTheSlide) {
  PlayAsPlayer(LinkProject());
  ASSERT_EQ(Current(), 0);
  EXPECT_EQ(Hover(16, 16), 2) << "both overlapping links";
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Hand);
  EXPECT_EQ(Hover(32, 16), 0);
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Arrow);

  // A target past the slides: the hand, but no jump.
  EXPECT_EQ(Hover(48, 10), 1);
  Click(48, 10);
  EXPECT_EQ(Current(), 0);

  // A hidden link neither shows the hand nor jumps.
  Hold(Description(3), TimingState::Hidden, 0.0f);
  EXPECT_EQ(Hover(48, 26), 0);
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Arrow);
  Click(48, 26);
  EXPECT_EQ(Current(), 0);

  // Both overlapping links jump; the earlier one in the list (to slide 2) is the one that stays.
  Click(16, 16);
  EXPECT_EQ(Current(), 2);
  Frame(1.0);
  EXPECT_EQ(Frame(1.5), 0xFF0000FFu);

  // The link back from slide 1.
  JumpToSlide(1);
  Frame(2.0);
  EXPECT_EQ(Frame(2.5), 0xFF00FF00u);
  Click(5, 5);
  EXPECT_EQ(Current(), 0);
  Frame(3.0);
  EXPECT_EQ(Frame(3.5), 0xFFFF0000u);
}

}  // namespace
}  // namespace text_object_test
