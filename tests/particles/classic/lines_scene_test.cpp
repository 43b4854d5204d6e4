#include <gtest/gtest.h>

#include <functional>

#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/lines/sliding_line.h"
#include "particles/classic/lines/waving_line.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using LinesSceneTest = SceneTest;

// The control of a classic object, null for any other object.
const ZKW_ParticleSystemCtrl* ControlOf(const DS_SafePtr<ZKW_RenderObj>& object) {
  const auto* mech = dynamic_cast<const ZKW_ParticleSystemMech*>(object.Get());
  return mech != nullptr ? mech->ctrl : nullptr;
}

// The first slide with an object whose control `is` accepts; the slide count without one.
size_t SlideWith(DS_SlideShow_Light& scene,
                 const std::function<bool(const ZKW_ParticleSystemCtrl*)>& is) {
  for (size_t i = 0; i < scene.slides.size(); ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (is(ControlOf(object))) return i;
  return scene.slides.size();
}

template <class Kind>
int Count(const RuntimeObjectList& objects) {
  int n = 0;
  for (const auto& object : objects)
    n += dynamic_cast<const Kind*>(ControlOf(object)) != nullptr;
  return n;
}

TEST_F(LinesSceneTest, TheDemoHasASlideOfLinesAndASlideOfPaths) {
  const std::vector<NamedFile> backgrounds = {{u"dawn.png", SolidPng(0xFF808080, 575, 269)},
                                              {u"night.png", SolidPng(0xFF101020, 575, 269)}};
  std::vector<NamedFile> pictures;
  for (const char16_t* name : {u"soft_spot.png", u"spark_atlas.png", u"smoke_puff.png",
                               u"soft_streak.png", u"tear_drop.png"})
    pictures.push_back({name, SolidPng(0xC0FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));

  const size_t lines = SlideWith(scene, [](const ZKW_ParticleSystemCtrl* c) {
    return dynamic_cast<const ZKW_WavingLine*>(c) != nullptr;
  });
  ASSERT_LT(lines, scene.slides.size()) << "a slide of lines";
  const RuntimeObjectList& lineObjects = scene.slides[lines]->objects;
  EXPECT_EQ(lineObjects.size(), 6u);
  EXPECT_EQ(Count<ZKW_GrovingLine>(lineObjects), 2);
  EXPECT_EQ(Count<ZKW_SlidingLine>(lineObjects), 1);
  EXPECT_EQ(Count<ZKW_ShootingLine>(lineObjects), 2) << "a shooting line and tears";
  EXPECT_EQ(Count<ZKW_Tears>(lineObjects), 1);
  int readers = 0;
  for (const auto& object : lineObjects)
    readers += object->NeedsPictureBelow();
  EXPECT_EQ(readers, 1) << "the multiplied line";

  const size_t paths = SlideWith(scene, [](const ZKW_ParticleSystemCtrl* c) {
    return dynamic_cast<const ZKW_ParticleTrace*>(c) != nullptr;
  });
  ASSERT_LT(paths, scene.slides.size()) << "a slide of paths";
  const RuntimeObjectList& pathObjects = scene.slides[paths]->objects;
  EXPECT_EQ(pathObjects.size(), 3u);
  EXPECT_EQ(Count<ZKW_ParticlePath>(pathObjects), 2);
  int perlin = 0;
  for (const auto& object : pathObjects)
    if (const auto* path = dynamic_cast<const ZKW_ParticlePath*>(ControlOf(object)))
      perlin += path->wobbleMode.Value() != 0;
  EXPECT_EQ(perlin, 1) << "one harmonic, one Perlin wobble";

  for (size_t slide : {lines, paths}) {
    Frame(scene, 0.5);
    scene.JumpTo(static_cast<unsigned>(slide));
    for (double t = 0.5; t < 4.0; t += 0.1)
      Frame(scene, t);
    const uint32_t corner = BackBufferPixels()[0];
    size_t lit = 0;
    for (uint32_t pixel : BackBufferPixels())
      lit += (pixel & 0xFFFFFF) != (corner & 0xFFFFFF);
    EXPECT_GT(lit, 200u) << "slide " << slide << ": lines and particles over the picture";
  }
}

}  // namespace
}  // namespace scene_test
