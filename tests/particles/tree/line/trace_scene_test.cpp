#include <gtest/gtest.h>

#include "particles/tree/line/trace_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using TraceSceneTest = SceneTest;

// The trace nodes of the children of the tree's emitters.
std::vector<ZKW_PtclSysNode_Trace*> Traces(ZKW_PtclSys_Obj& system) {
  std::vector<ZKW_PtclSysNode_Trace*> found;
  for (const DS_SafePtr<ZKW_PtclSys_Node>& emitter : system.System().Root().children.Value())
    for (const DS_SafePtr<ZKW_PtclSys_Node>& child : emitter->children.Value())
      if (auto* trace = dynamic_cast<ZKW_PtclSysNode_Trace*>(child.Get())) found.push_back(trace);
  return found;
}

// The demo's Lines slide: after 3 s every trace has trails of several points and its batch
// holds a ribbon mesh.
TEST_F(TraceSceneTest, TheDemoDrawsTrailsBehindMovingParticles) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  const std::vector<NamedFile> pictures = {{u"soft_spot.png", SolidPng(0x80FFFFFF, 8, 8)}};
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  ZKW_PtclSys_Obj* system = PlayDemoObject<ZKW_PtclSys_Obj>(scene, u"Lines");
  ASSERT_NE(system, nullptr) << "a Lines slide with its system";
  const std::vector<ZKW_PtclSysNode_Trace*> traces = Traces(*system);
  ASSERT_EQ(traces.size(), 2u);
  for (ZKW_PtclSysNode_Trace* trace : traces) {
    EXPECT_EQ(trace->texture.Source()->links.at(0).id, 228) << "the built-in trail picture";
    ASSERT_FALSE(trace->trace->stripes.empty());
    size_t longest = 0;
    for (const PointStripe& stripe : trace->trace->stripes)
      longest = std::max(longest, stripe.points->particles.size());
    EXPECT_GE(longest, 4u);
  }
  size_t meshes = 0;
  for (const ParticleQuadBatch& batch : system->Batches())
    meshes += batch.IsMesh() && batch.primitiveCount > 0;
  EXPECT_EQ(meshes, 2u) << "one ribbon batch per trace";
}

}  // namespace
}  // namespace scene_test
