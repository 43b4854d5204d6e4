#include <gtest/gtest.h>

#include <set>
#include <typeindex>

#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/kinds/spray_presets.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using SystemsSceneTest = SceneTest;

// The control of a slide's object, null for objects that are not classic controls.
ZKW_ParticleSystemCtrl* ControlOf(const DS_SafePtr<ZKW_RenderObj>& object) {
  auto* mech = dynamic_cast<ZKW_ParticleSystemMech*>(object.Get());
  return mech != nullptr ? mech->ctrl : nullptr;
}

// The first slide with an object whose control is a K.
template <class K>
size_t SlideWith(const DS_SlideShow_Light& scene) {
  for (size_t i = 0; i < scene.slides.size(); ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (dynamic_cast<K*>(ControlOf(object)) != nullptr) return i;
  return scene.slides.size();
}

TEST_F(SystemsSceneTest, TheDemoShowsEveryReadyMadeSystem) {
  std::vector<NamedFile> backgrounds;
  for (const char16_t* name : {u"dawn.png", u"night.png", u"sea.png"})
    backgrounds.push_back({name, SolidPng(0xFF202030, 575, 269)});
  std::vector<NamedFile> pictures;
  for (const char16_t* name : {u"soft_spot.png", u"spark_atlas.png", u"smoke_puff.png",
                               u"drop_atlas.png", u"bokeh_disc.png", u"light_band.png"})
    pictures.push_back({name, SolidPng(0xC0FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));

  struct Expected {
    size_t slide;
    size_t objects;
    int readers;
  } slides[] = {{SlideWith<DS_RainOnGlass>(scene), 1, 0},
                {SlideWith<ZKW_Firefly>(scene), 5, 1},  // the flight's screen glow
                {SlideWith<DS_PtclFog>(scene), 8, 0},
                {SlideWith<DS_RayOfLight>(scene), 3, 0}};
  std::set<std::type_index> kinds;
  for (const Expected& e : slides) {
    ASSERT_LT(e.slide, scene.slides.size());
    const RuntimeObjectList& objects = scene.slides[e.slide]->objects;
    EXPECT_EQ(objects.size(), e.objects) << "slide " << e.slide;
    int readers = 0;
    for (const auto& object : objects) {
      ZKW_ParticleSystemCtrl* control = ControlOf(object);
      ASSERT_NE(control, nullptr);
      kinds.insert(typeid(*control));
      readers += object->NeedsPictureBelow();
    }
    EXPECT_EQ(readers, e.readers) << "slide " << e.slide;
  }
  EXPECT_EQ(kinds.size(), 17u) << "the seventeen kinds";

  double t = 0.5;
  Frame(scene, t);
  for (const Expected& e : slides) {
    scene.JumpTo(unsigned(e.slide));
    for (int i = 0; i < 20; ++i)
      Frame(scene, t += 0.1);
    const uint32_t first = BackBufferPixels()[0];
    size_t lit = 0;
    for (uint32_t pixel : BackBufferPixels())
      lit += (pixel & 0xFFFFFF) != (first & 0xFFFFFF);
    EXPECT_GT(lit, 50u) << "the systems show over slide " << e.slide;
  }
}

}  // namespace
}  // namespace scene_test
