#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "particles/behaviour/sources/emitter_kinds.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/pstree_node.h"
#include "player/support/every_class.h"
#include "tree_fixture.h"

namespace {

// A drawing node that records the walks it takes part in instead of drawing.
class RecordingLeaf : public ZKW_PSTree_Node {
 public:
  RecordingLeaf(std::string label, std::vector<std::string>* log)
      : ZKW_PSTree_Node({}), label(std::move(label)), log(log) {}
  void SpawnForParents(const ParticleList& parents) override {
    spawnCalls.push_back(parents.size());
    ZKW_PSTree_Node::SpawnForParents(parents);
  }
  void SpawnForParent(ParticleHandle parent) override {
    ++spawnedParents;
    ZKW_PSTree_Node::SpawnForParent(std::move(parent));
  }
  unsigned UpdateParticles(float, const ParticleList& parents) override {
    log->push_back("update " + label);
    lastParents = parents.size();
    return 1;
  }
  void FillVertices(QuadBatches&, size_t* index) override {
    log->push_back("fill " + label + " " + std::to_string((*index)++));
  }
  void Render(QuadBatches&, size_t*, DS_2D_Light&, int*) override {}

  std::string label;
  std::vector<std::string>* log;
  std::vector<size_t> spawnCalls;
  int spawnedParents = 0;
  size_t lastParents = 0;
};

// The root end of a tree: spawns a child from one particle.
class RecordingRoot : public ZKW_PSTree_Node_Parent {
 public:
  void SpawnChild(ZKW_PSTree_Node& child) override { child.SpawnForParent(particle); }
  ParticleHandle particle{std::make_unique<ParticleRecord>()};
};

class PresetNodes : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEveryClass(); }
};

DS_SafePtr<ZKW_PtclSys_Geometry> Emitting(unsigned count) {
  auto emitter = std::make_unique<ZKW_PSGeomEmit_Sector>();
  emitter->count.SetValue(count);
  emitter->duration.SetValue(0.1f);
  return DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(emitter));
}

ParticleHandle Particle() {
  return ParticleHandle(std::make_unique<ParticleRecord>());
}

TEST_F(PresetNodes, StemCountsForwardAndFillsBackward) {
  std::vector<std::string> log;
  ZKW_PSTree_Stem stem;
  std::vector<RecordingLeaf*> leaves;
  for (const char* label : {"1", "2", "3"}) {
    auto leaf = std::make_unique<RecordingLeaf>(label, &log);
    leaves.push_back(leaf.get());
    stem.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(leaf)));
  }
  EXPECT_EQ(stem.UpdateParticles(0.1f, {}), 3u);
  size_t index = 0;
  QuadBatches batches;
  stem.FillVertices(batches, &index);
  EXPECT_EQ(log, (std::vector<std::string>{"update 1", "update 2", "update 3", "fill 3 0",
                                           "fill 2 1", "fill 1 2"}));
}

TEST_F(PresetNodes, StemHandsAllBornParticlesToEveryChildOnce) {
  std::vector<std::string> log;
  ZKW_PSTree_Stem stem(Emitting(2));
  auto leaf = std::make_unique<RecordingLeaf>("a", &log);
  RecordingLeaf* child = leaf.get();
  stem.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(leaf)));
  const ParticleList parents = {Particle(), Particle()};
  stem.UpdateParticles(0.1f, parents);
  EXPECT_EQ(child->spawnCalls, (std::vector<size_t>{4}));
  EXPECT_EQ(stem.source->particles.size(), 4u);
  EXPECT_EQ(child->lastParents, 4u) << "children update over the stem's particles";
  EXPECT_EQ(stem.source->particles[0]->Parent(), parents[0].Get());
  EXPECT_EQ(stem.source->particles[3]->Parent(), parents[1].Get());

  ZKW_PSTree_Stem alone(Emitting(2));
  EXPECT_EQ(alone.UpdateParticles(0.1f, parents), 0u) << "no children: no batches";
  EXPECT_EQ(alone.source->particles.size(), 4u) << "but it still emits";
}

TEST_F(PresetNodes, DepthsAndRestart) {
  RecordingRoot root;
  auto top = std::make_unique<ZKW_PSTree_Stem>(
      DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Point>()));
  ZKW_PSTree_Stem* topNode = top.get();
  top->SetParent(&root);
  std::vector<std::string> log;
  auto leaf = std::make_unique<RecordingLeaf>("a", &log);
  RecordingLeaf* child = leaf.get();
  top->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(leaf)));
  EXPECT_EQ(topNode->source->nodeDepth, 0);
  EXPECT_EQ(child->source->nodeDepth, 1);

  // Five particles on the top node; restarting the child respawns it from each.
  for (int i = 0; i < 5; ++i)
    topNode->source->SpawnForParent(root.particle);
  child->spawnedParents = 0;
  child->source->particles.push_back(Particle());
  child->Restart();
  EXPECT_TRUE(child->source->particles[0]->Has(ParticleRecord::kDead));
  EXPECT_EQ(child->spawnedParents, 5);
  topNode->Restart();
  EXPECT_EQ(topNode->source->particles.size(), 6u) << "five killed, one respawned from the root";
  topNode->ClearParticles();
  EXPECT_TRUE(topNode->source->particles.empty());
}

std::unique_ptr<ZKW_PSTree_Stem> ReadStem(const std::vector<uint8_t>& bytes) {
  bool whole = false;
  std::unique_ptr<ZKW_IOF_Item> item = tree_test::ReadItem(bytes, &whole);
  auto* stem = dynamic_cast<ZKW_PSTree_Stem*>(item.get());
  if (stem != nullptr) item.release();
  return std::unique_ptr<ZKW_PSTree_Stem>(stem);
}

TEST_F(PresetNodes, StemRecordsRoundTripWithSelectionAndDepths) {
  ZKW_PSTree_Stem stem(Emitting(3));
  stem.name = u"branch";
  for (int i = 0; i < 3; ++i) {
    auto child = std::make_unique<ZKW_PSTree_Stem>(
        DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Swarm>()));
    stem.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(child)));
  }
  const std::vector<uint8_t> bytes = tree_test::Saved(stem);
  auto read = ReadStem(bytes);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(tree_test::Saved(*read), bytes);
  EXPECT_EQ(read->children.Value().size(), 3u);
  EXPECT_EQ(read->children.currentIndex.Value(), 2);
  EXPECT_EQ(read->children.Value()[0]->parentLink, read.get());

  ZKW_PSTree_Stem empty;
  auto readEmpty = ReadStem(tree_test::Saved(empty));
  ASSERT_NE(readEmpty, nullptr);
  EXPECT_EQ(readEmpty->children.currentIndex.Value(), -1);
}

TEST_F(PresetNodes, MissingSourceBecomesABaseGeometry) {
  const std::vector<uint8_t> bytes = tree_test::Bytes([](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"ZKW_PSTree_Stem", 1);
    WriteRecordHeader(archive, u"ZKW_PSTree_Node", 1);
    archive.io().WriteWideString(u"n");
    WriteRecordHeader(archive, u"ZKW_PSGeometry_Unheard", 1);
  });
  auto read = ReadStem(bytes);
  ASSERT_NE(read, nullptr);
  ASSERT_TRUE(read->source);
  EXPECT_TRUE(read->source->SpawnForParent(Particle()).empty());
  EXPECT_TRUE(read->children.Value().empty());
}

}  // namespace
