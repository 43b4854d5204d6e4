// Sprite presets in a written project: read back, started with their slide and played.
#include <algorithm>

#include "core/chrono/chrono_clock.h"
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_glowing_obj.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "platform/gfx_image/picture_bytes.h"
#include "player/project/load_project.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "sprite_fixture.h"
#include "tools/project_writer/project_builder.h"

namespace sprite_test {
namespace {

constexpr uint32_t kGrey = 0xFF404040;

class SpriteProject : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    ChronoTlsSlot::Set(&clock_);
  }
  void TearDown() override {
    scene_.reset();
    ChronoTlsSlot::Set(nullptr);
    SpriteTest::TearDown();
  }

  // A project of one slide on a grey picture with a sparkle, a god ray and a discharge.
  static std::vector<uint8_t> WriteProject() {
    ProjectBuilder project;
    DS_SlideContainer& slide = project.AddSlide(0.0f, 10.0f, 0.0f);
    ProjectBuilder::RendererOf(slide)->backgroundLink = project.StorePicture(
        u"grey.png", gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, 64, 32, 4,
                                                   gfx_image_test::Words(64 * 32, kGrey)));
    auto sparkle = std::make_unique<DS_SparkleConstructor>();
    sparkle->count.SetValue(30);
    sparkle->size.SetValue(8);
    sparkle->blendMode.SetValue(1);
    sparkle->pulseRate = 0.5f;
    sparkle->pulseMin = 0.3f;
    sparkle->picture = DS_ImageFileLink(u"glimres.dll", 79);
    auto ray = std::make_unique<DS_GodRayConstructor>();
    ray->count.SetValue(3);
    ray->size.SetValue(10);
    ray->blendMode.SetValue(1);
    ray->picture = DS_ImageFileLink(u"glimres.dll", 76);
    auto discharge = std::make_unique<DS_DischargeFXConstructor>();
    discharge->count.SetValue(5);
    discharge->size.SetValue(12);
    discharge->startPoint.SetValue(D3DXVECTOR3(4, 28, 0));
    discharge->endPoint.SetValue(D3DXVECTOR3(60, 4, 0));
    discharge->secondPicture = DS_ImageFileLink(u"glimres.dll", 95);
    slide.savedObjects.push_back(std::move(sparkle));
    slide.savedObjects.push_back(std::move(ray));
    slide.savedObjects.push_back(std::move(discharge));
    return project.Write();
  }

  ChronoClock clock_;
  std::unique_ptr<DS_SlideShow_Light> scene_;
};

TEST_F(SpriteProject, PresetsReadStartAndPlay) {
  const std::vector<uint8_t> bytes = WriteProject();
  scene_ = LoadProjectFromMemory(bytes);
  ASSERT_EQ(scene_->slides.size(), 1u);
  DS_SlideContainer& slide = *scene_->slides[0];
  slide.Start();
  ASSERT_EQ(slide.objects.size(), 3u);
  auto* sparkles = dynamic_cast<DS_SpriteArrayObj*>(slide.objects[0].Get());
  auto* rays = dynamic_cast<DS_SpriteArrayObj*>(slide.objects[1].Get());
  auto* discharge = dynamic_cast<DS_GlowingObj*>(slide.objects[2].Get());
  ASSERT_TRUE(sparkles && rays && discharge);
  EXPECT_EQ(sparkles->Sprites().size(), 30u);
  EXPECT_EQ(rays->Sprites().size(), 3u);
  EXPECT_EQ(discharge->Sprites().size(), 5u);
  EXPECT_NE(sparkles->FrameTexture(), nullptr) << "the player's own picture 79";
  EXPECT_NE(rays->FrameTexture(), nullptr) << "the player's own picture 76";

  // The sparkles drift, and the frames show more than the grey picture.
  const D3DXVECTOR3 start = sparkles->Sprites()[0].centre;
  int lit = 0;
  for (double t : {0.1, 0.2, 0.3, 0.4}) {
    scene_->Update(t);
    ASSERT_EQ(device_->BeginScene(), gfx::kOk);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
    scene_->Render(0);
    device_->EndScene();
    const std::vector<uint32_t> px = BackBufferPixels();
    lit = int(std::count_if(px.begin(), px.end(), [](uint32_t p) {
      return ((p >> 16) & 0xFF) > 0x60 || (p & 0xFF) > 0x60;
    }));
  }
  EXPECT_NE(sparkles->Sprites()[0].centre, start);
  EXPECT_GT(lit, 20);

  // Saving the played scene writes the presets back.
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  EXPECT_TRUE(scene_->Save(out));
}

// A preset's picture stored in the project (not the player's own) is saved with what the
// document needs to make its texture, and shows when the project is read back.
TEST_F(SpriteProject, PicturesStoredInTheProjectComeBack) {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.0f, 10.0f, 0.0f);
  auto sparkle = std::make_unique<DS_SparkleConstructor>();
  sparkle->picture = project.StorePicture(
      u"spark.png", gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, 8, 4, 4,
                                                  gfx_image_test::Words(8 * 4, kGrey)));
  sparkle->secondPicture = project.StorePicture(
      u"glow.png", gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, 4, 4, 4,
                                                 gfx_image_test::Words(4 * 4, kGrey)));
  slide.savedObjects.push_back(std::move(sparkle));
  scene_ = LoadProjectFromMemory(project.Write());
  ASSERT_EQ(scene_->slides.size(), 1u);
  scene_->slides[0]->Start();
  auto* sparkles = dynamic_cast<DS_SpriteArrayObj*>(scene_->slides[0]->objects[0].Get());
  ASSERT_NE(sparkles, nullptr);
  EXPECT_NE(sparkles->FrameTexture(), nullptr);
  EXPECT_NE(sparkles->SecondTexture(), nullptr);
  EXPECT_FLOAT_EQ(sparkles->Sprites()[0].aspect, 0.5f) << "the stored picture's size";
}

// The sprite export writes the head and the body of its blocks.
TEST_F(SpriteProject, SpriteExportWritesBlocks) {
  PlacedSprites preset;
  preset.places = {{0, {10, 20, 0xFFFFFFFF}}};
  preset.halfSize = 2.0f;
  auto obj = MakeArray(preset);
  SpriteExportState state;
  obj->ExportSpriteFrames(state, false);
  EXPECT_EQ(state.head, "[ [0,1,");
  EXPECT_EQ(state.body, "[ [ {x:8,y:18,cx:4,cy:4,tr:[1,-0,0,-0,1,-0],a:1}, ],");
  obj->ExportSpriteFrames(state, false);
  EXPECT_EQ(state.frames, 2) << "the same state and a short block: nothing written";
  obj->ExportSpriteFrames(state, true);
  EXPECT_EQ(state.head, "[ [0,1,3] ]");
  EXPECT_EQ(state.body.substr(state.body.size() - 2), " ]");
}

}  // namespace
}  // namespace sprite_test
