#include <gtest/gtest.h>

#include "demo_scene.h"
#include "particles/tree/line/line_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using NodeLinesSceneTest = SceneTest;

// The demo's Node lines slide: after 3 s every stream has particles on the slide's picture, and
// the line node each carries has ribbons in its batch, which grow and shrink with their age.
TEST_F(NodeLinesSceneTest, TheDemoDrawsEveryLineOnItsPicture) {
  const std::vector<NamedFile> backgrounds = {{u"dawn.png", SolidPng(0xFF102030, 575, 269)}};
  const std::vector<NamedFile> pictures = {{u"light_band.png", SolidPng(0x80FFFFFF, 8, 8)}};
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  ZKW_PtclSys_Obj* system = PlayDemoObject<ZKW_PtclSys_Obj>(scene, u"Node lines");
  ASSERT_NE(system, nullptr) << "a Node lines slide with its system";
  const auto& streams = system->System().Root().children.Value();
  ASSERT_EQ(streams.size(), 3u);
  ASSERT_EQ(system->Batches().size(), 3u);
  for (size_t node = 0; node < streams.size(); ++node) {
    SCOPED_TRACE(node);
    ASSERT_EQ(streams[node]->children.Value().size(), 1u);
    auto* line = dynamic_cast<ZKW_PtclSysNode_Line*>(streams[node]->children.Value()[0].Get());
    ASSERT_NE(line, nullptr);
    ParticleList* particles = streams[node]->GetParticles();
    ASSERT_NE(particles, nullptr);
    EXPECT_FALSE(particles->empty());
    const size_t inside = CountOnPicture(*particles);
    EXPECT_GE(inside * 4, particles->size() * 3) << inside << " of " << particles->size();
    EXPECT_EQ(line->GetParticles()->size(), particles->size()) << "a line on every particle";
    // The last stream fills the first batch.
    const ParticleQuadBatch& batch = system->Batches()[streams.size() - 1 - node];
    EXPECT_GT(batch.MeshTriangleCount(), 0u);
  }
}

}  // namespace
}  // namespace scene_test
