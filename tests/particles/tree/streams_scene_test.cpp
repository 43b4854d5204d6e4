#include <gtest/gtest.h>

#include "demo_scene.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using StreamsSceneTest = SceneTest;

// The demo's Streams slide: after 3 s every stream has particles, and most of them are on the
// slide's 575 x 269 picture.
TEST_F(StreamsSceneTest, TheDemoPlaysEveryStreamOnItsPicture) {
  const std::vector<NamedFile> backgrounds = {{u"dawn.png", SolidPng(0xFF102030, 575, 269)}};
  std::vector<NamedFile> pictures;
  for (const char16_t* name : {u"soft_spot.png", u"light_band.png"})
    pictures.push_back({name, SolidPng(0x80FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  ZKW_PtclSys_Obj* system = PlayDemoObject<ZKW_PtclSys_Obj>(scene, u"Streams");
  ASSERT_NE(system, nullptr) << "a Streams slide with its system";
  size_t node = 0;
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : system->System().Root().children.Value()) {
    SCOPED_TRACE(node++);
    ParticleList* particles = child->GetParticles();
    ASSERT_NE(particles, nullptr);
    EXPECT_FALSE(particles->empty());
    const size_t inside = CountOnPicture(*particles);
    EXPECT_GE(inside * 4, particles->size() * 3) << inside << " of " << particles->size();
  }
}

}  // namespace
}  // namespace scene_test
