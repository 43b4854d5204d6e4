#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "particles/tree/group_constructor.h"
#include "particles/tree/preset/pstree_curve.h"
#include "particles/tree/preset/pstree_leaf.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/pstree_trace.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using TreeSceneTest = SceneTest;

TEST_F(TreeSceneTest, TheDemoPlaysANodeTreeSystem) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  std::vector<NamedFile> pictures;
  for (const char16_t* name :
       {u"soft_spot.png", u"spark_atlas.png", u"smoke_puff.png", u"flare_atlas.png"})
    pictures.push_back({name, SolidPng(0x80FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  size_t index = scene.slides.size();
  ZKW_PtclSys_Obj* system = nullptr;
  for (size_t i = 0; i < scene.slides.size() && system == nullptr; ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (auto* found = dynamic_cast<ZKW_PtclSys_Obj*>(object.Get());
          found != nullptr && dynamic_cast<ZKW_PtclSys_Builder*>(&found->System()) != nullptr) {
        system = found;
        index = i;
      }
  ASSERT_NE(system, nullptr) << "a slide with a node-tree system stored as its builder";
  EXPECT_EQ(scene.slides[index]->name.Value(), u"Particles");
  EXPECT_NE(dynamic_cast<ZKW_PtclSys_Builder*>(&system->System()), nullptr);
  Frame(scene, 0.5);
  scene.JumpTo(index);
  for (double t = 0.5; t < 3.0; t += 0.1)
    Frame(scene, t);
  EXPECT_EQ(system->Batches().size(), 3u) << "the Blank node, the flare and the burst";
  EXPECT_GT(PixelsUnlikeTheFirst(), 50u) << "the particles show over the picture";
}

TEST_F(TreeSceneTest, TheDemoGroupMovesItsSystemsAlongItsPath) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  const std::vector<NamedFile> pictures = {{u"soft_spot.png", SolidPng(0x80FFFFFF, 8, 8)}};
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  size_t index = scene.slides.size();
  ZKW_Group_Obj* group = nullptr;
  for (size_t i = 0; i < scene.slides.size() && group == nullptr; ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (auto* found = dynamic_cast<ZKW_Group_Obj*>(object.Get())) {
        group = found;
        index = i;
      }
  ASSERT_NE(group, nullptr) << "a slide with a group";
  EXPECT_EQ(scene.slides[index]->name.Value(), u"Group");
  ASSERT_EQ(group->Group().members.size(), 2u);
  Frame(scene, 0.5);
  scene.JumpTo(index);
  std::vector<float> xs;
  for (double t = 0.6; t < 6.0; t += 0.1) {
    Frame(scene, t);
    const auto& member = dynamic_cast<ZKW_PtclSys_Obj&>(*group->Group().members[0]);
    xs.push_back(member.System().Root().Physics().targetOffset[0]);
  }
  EXPECT_GT(xs.back(), xs.front() + 100.0f) << "the members travel along the path";
}

TEST_F(TreeSceneTest, TheDemoPlaysPresetTrees) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  std::vector<NamedFile> pictures;
  for (const char16_t* name :
       {u"soft_spot.png", u"flare_atlas.png", u"light_band.png", u"smoke_puff.png"})
    pictures.push_back({name, SolidPng(0x80FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  size_t index = scene.slides.size();
  std::vector<ZKW_PtclSys_Mesh*> meshes;
  for (size_t i = 0; i < scene.slides.size() && meshes.empty(); ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (auto* found = dynamic_cast<ZKW_PtclSys_Mesh*>(object.Get())) {
        meshes.push_back(found);
        index = i;
      }
  ASSERT_EQ(meshes.size(), 2u) << "the tree and the preset";
  EXPECT_EQ(scene.slides[index]->name.Value(), u"Presets");
  Frame(scene, 0.5);
  scene.JumpTo(index);
  for (double t = 0.5; t < 3.0; t += 0.1)
    Frame(scene, t);
  EXPECT_EQ(meshes[0]->Batches().size(), 6u)
      << "spots, balloons, the swarm, the trail, the grid and the path's sparks";
  EXPECT_EQ(meshes[1]->Batches().size(), 1u);
  size_t quads = 0;
  for (const ParticleQuadBatch& batch : meshes[0]->Batches())
    quads += batch.QuadCount();
  EXPECT_GT(quads, 16u) << "the swarm and emitted particles";
  EXPECT_GT(PixelsUnlikeTheFirst(), 50u) << "the particles show over the picture";

  // Every drawing node of the tree has particles on the picture that are not shrunk to nothing
  // by the sources above them.
  std::vector<const ZKW_PSTree_Leaf*> leaves;
  const auto collect = [&leaves](const auto& self, const ZKW_PSTree_Node& node) -> void {
    if (const auto* leaf = dynamic_cast<const ZKW_PSTree_Leaf*>(&node)) leaves.push_back(leaf);
    for (const DS_SafePtr<ZKW_PSTree_Node>& child : node.children.Value())
      self(self, *child);
  };
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : meshes[0]->Root().children.Value())
    collect(collect, *child);
  ASSERT_EQ(leaves.size(), 6u);
  for (size_t i = 0; i < leaves.size(); ++i) {
    SCOPED_TRACE(i);
    size_t shown = 0;
    for (const ParticleHandle& p : leaves[i]->source->particles) {
      // Where the leaf draws it, as its quads are placed.
      const D3DXVECTOR3 at = p->WorldPosition();
      shown += at.x >= 0 && at.x <= 575 && at.y >= 0 && at.y <= 269 &&
               std::fabs(p->scaleMatrix._11) > 0.05f;
    }
    EXPECT_GT(shown, 0u) << "of " << leaves[i]->source->particles.size();
  }
}

// The slide of preset-tree lines: the mesh whose root holds a curve node.
TEST_F(TreeSceneTest, TheDemoDrawsPresetTrailsAndACurve) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  std::vector<NamedFile> pictures;
  for (const char16_t* name : {u"soft_spot.png", u"soft_streak.png"})
    pictures.push_back({name, SolidPng(0xC0FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  ZKW_PtclSys_Mesh* mesh = PlayDemoObject<ZKW_PtclSys_Mesh>(scene, u"Preset lines");
  ASSERT_NE(mesh, nullptr) << "a Preset lines slide with its system";
  ASSERT_EQ(mesh->Root().children.Value().size(), 2u);
  ASSERT_FALSE(mesh->Root().children.Value()[1]->children.Value().empty());
  ASSERT_NE(
      dynamic_cast<ZKW_PSTree_Curve*>(mesh->Root().children.Value()[1]->children.Value()[0].Get()),
      nullptr)
      << "the preset tree draws a curve";
  ASSERT_EQ(mesh->Batches().size(), 3u) << "the trails, the swarm's spots and the curve";
  // Drawn last to first: the curve, then the spots, then the trails.
  EXPECT_TRUE(mesh->Batches()[0].IsMesh());
  EXPECT_GT(mesh->Batches()[0].primitiveCount, 100u) << "a fractal curve of 33 points";
  EXPECT_EQ(mesh->Batches()[1].QuadCount(), 5u);
  EXPECT_GT(mesh->Batches()[2].QuadCount(), 5u) << "the swarm has left trails";
  EXPECT_GT(PixelsUnlikeTheFirst(), 500u) << "trails and the curve show over the picture";
}

}  // namespace
}  // namespace scene_test
