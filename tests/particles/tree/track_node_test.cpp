#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/registry/read_by_name.h"
#include "particles/behaviour/physics/track_physics.h"
#include "particles/tree/track_node.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

class TrackNode : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEveryClass(); }
};

ZKW_PtclSysPhys_Track& TrackOf(ZKW_PtclSysNode_Track& node) {
  return dynamic_cast<ZKW_PtclSysPhys_Track&>(*node.physics);
}

TEST_F(TrackNode, SpawnedParticlesRunAlongTheCurve) {
  ZKW_PtclSysNode_Track node;
  ZKW_PtclSysPhys_Track& track = TrackOf(node);
  track.curve.Get()->InitAsSegment(0, 0, 0, 100, 0, 0);
  ParticleList parents = {ParticleHandle(std::make_unique<ParticleRecord>())};
  node.SpawnFromParents(&parents);
  ASSERT_EQ(track.particles.size(), 1u);
  EXPECT_GT(track.particles[0]->transforms.size(), 1u) << "the node's effects and kinematics";
  node.UpdateParticles(0.2f, &parents);
  EXPECT_NEAR(track.particles[0]->Position().x, 10.0f, 1e-2f);
}

TEST_F(TrackNode, RecordReadsBackWithItsTrack) {
  ZKW_PtclSysNode_Track node;
  TrackOf(node).motion.speed.SetValue(75);
  const std::vector<uint8_t> bytes = Saved(node);
  renderer_test::ReadArchive source(bytes);
  const std::unique_ptr<ZKW_IOF_Item> read = ReadByName(source.archive(), GetIofItemRegistry());
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Remaining(), 0u);
  auto* again = dynamic_cast<ZKW_PtclSysNode_Track*>(read.get());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(TrackOf(*again).motion.speed.Value(), 75u);
  EXPECT_EQ(Saved(*again), bytes);
}

}  // namespace
}  // namespace tree_test
