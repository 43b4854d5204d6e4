#include <gtest/gtest.h>

#include <memory>

#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/ptclsys_preset.h"
#include "player/support/every_class.h"
#include "tree_fixture.h"

namespace {

class PresetRoot : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEveryClass(); }
};

std::unique_ptr<ZKW_PtclSys_Mesh> MakeMesh(ZKW_PSTree_Root& root) {
  std::unique_ptr<ZKW_RenderObj> object = root.CreateRuntimeObject();
  auto* mesh = dynamic_cast<ZKW_PtclSys_Mesh*>(object.get());
  if (mesh != nullptr) object.release();
  return std::unique_ptr<ZKW_PtclSys_Mesh>(mesh);
}

std::unique_ptr<ZKW_PSTree_Root> ReadRoot(const std::vector<uint8_t>& bytes, bool* whole) {
  std::unique_ptr<DS_ABObj_Constructor> object = tree_test::ReadObject(bytes, whole);
  auto* root = dynamic_cast<ZKW_PSTree_Root*>(object.get());
  if (root != nullptr) object.release();
  return std::unique_ptr<ZKW_PSTree_Root>(root);
}

TEST_F(PresetRoot, ClockStepsAndRootParticle) {
  const struct {
    unsigned speed;
    float third;
  } cases[] = {{100, 0.2f}, {50, 0.1f}};
  for (const auto& c : cases) {
    ZKW_PSTree_Root root;
    root.speed.SetValue(c.speed);
    root.position.SetValue(D3DXVECTOR3(10, 20, 0));
    root.transparency.SetValue(100);
    root.scale.SetValue(200);
    auto mesh = MakeMesh(root);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetObjectKind(), 8);
    mesh->Update(0.0f);
    EXPECT_FLOAT_EQ(mesh->lastStep, 0.0f);
    mesh->Update(0.1f);
    EXPECT_FLOAT_EQ(mesh->lastStep, 0.0f) << "the clock's local time was still 0";
    mesh->Update(1.1f);  // a gap of 1 s, clamped to 0.2
    EXPECT_NEAR(mesh->lastStep, c.third, 1e-6f) << c.speed;

    const ParticleRecord& particle = *mesh->Root().rootParticle;
    EXPECT_FLOAT_EQ(particle.floats[ParticleRecord::kAlpha], 0.0f);
    EXPECT_FLOAT_EQ(particle.scaleMatrix(0, 0), 2.0f);
    EXPECT_FLOAT_EQ(particle.scaleMatrix(3, 0), -10.0f) << "scaled about the position";
    EXPECT_FLOAT_EQ(particle.scaleMatrix(3, 1), -20.0f);
    EXPECT_TRUE(mesh->Batches().empty()) << "no children, no batch";
  }
}

TEST_F(PresetRoot, RestartRespawnsUnlessTheFlagIsZero) {
  ZKW_PSTree_Root root;
  auto stem = std::make_unique<ZKW_PSTree_Stem>(
      DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Point>()));
  ZKW_PSTree_Stem* top = stem.get();
  root.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(stem)));
  top->source->SpawnForParent(root.rootParticle);
  top->source->SpawnForParent(root.rootParticle);
  root.rootParticle->floats[ParticleRecord::kAge] = 3.0f;
  root.restartFlag.SetValue(0);
  root.Restart();
  EXPECT_EQ(top->source->particles.size(), 2u);
  EXPECT_FLOAT_EQ(root.rootParticle->floats[ParticleRecord::kAge], 3.0f);
  root.restartFlag.SetValue(1);
  root.Restart();
  EXPECT_EQ(top->source->particles.size(), 1u);
  EXPECT_FLOAT_EQ(root.rootParticle->floats[ParticleRecord::kAge], 0.0f);
  EXPECT_EQ(top->source->nodeDepth, 0);
}

TEST_F(PresetRoot, RecordsRoundTripAndOldVersionsKeepDefaults) {
  ZKW_PSTree_Root root;
  root.position.SetValue(D3DXVECTOR3(1, 2, 3));
  root.reserved = 7;
  root.restartFlag.SetValue(0);
  root.scale.SetValue(150);
  root.transparency.SetValue(20);
  root.speed.SetValue(60);
  root.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::make_unique<ZKW_PSTree_Stem>()));
  const std::vector<uint8_t> bytes = tree_test::Saved(root);
  bool whole = false;
  auto read = ReadRoot(bytes, &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(tree_test::Saved(*read), bytes);
  EXPECT_EQ(read->children.Value()[0]->parentLink, read.get());

  // Version 1: position, reserved and children only.
  ZKW_PSTree_Root plain;
  const std::vector<uint8_t> old = tree_test::Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PSTree_Root", 1);
    WriteFileLink(a, plain.effectLink);
    a.io().WriteFloat(4);
    a.io().WriteFloat(5);
    a.io().WriteFloat(6);
    a.io().WriteInt32(9);
    a.io().WriteDword(0);
    plain.DS_ABObj_Constructor::Save(a);
  });
  auto v1 = ReadRoot(old, &whole);
  ASSERT_NE(v1, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_FLOAT_EQ(v1->position.Value().y, 5.0f);
  EXPECT_EQ(v1->reserved, 9);
  EXPECT_EQ(v1->restartFlag.Value(), 1);
  EXPECT_EQ(v1->scale.Value(), 100u);
  EXPECT_EQ(v1->transparency.Value(), 0u);
  EXPECT_EQ(v1->speed.Value(), 100u);
}

TEST_F(PresetRoot, PresetKeepsItsListsAndRunsAsAPlainTree) {
  ZKW_PtclSysPreset preset;
  preset.presetValue = 12;
  preset.floats = {0.5f, -2.0f};
  preset.values.emplace_back(7u);
  preset.speed.SetValue(80);
  EXPECT_EQ(preset.GetObjectKind(), 3);
  const std::vector<uint8_t> bytes = tree_test::Saved(preset);
  bool whole = false;
  auto read = ReadRoot(bytes, &whole);
  auto* typed = dynamic_cast<ZKW_PtclSysPreset*>(read.get());
  ASSERT_NE(typed, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(tree_test::Saved(*typed), bytes);
  ASSERT_EQ(typed->values.size(), 1u);
  EXPECT_EQ(typed->values[0].Value(), 7u);

  auto mesh = MakeMesh(preset);
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(dynamic_cast<ZKW_PtclSysPreset*>(&mesh->Root()), nullptr);
  EXPECT_EQ(mesh->GetObjectKind(), 8);
  EXPECT_EQ(mesh->Root().speed.Value(), 80u);

  // Versions 1 and 2 (with a root record of version 4), and a value count beyond the record.
  ZKW_PSTree_Root plain;
  const std::vector<uint8_t> rootPart = tree_test::Saved(plain);
  const struct {
    uint32_t version;
    std::vector<uint32_t> words;
    size_t floats;
    bool whole;
  } cases[] = {
      {1, {5}, 0, true},
      {2, {5, 1, 0x3F800000}, 1, true},
      {3, {5, 0, 0x7FFFFFFF}, 0, false},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> record = [&] {
      auto writer = std::make_unique<DS_IOF_W>();
      DS_IOF_W& w = *writer;
      DS_IOF_Archive a(std::move(writer));
      WriteRecordHeader(a, u"ZKW_PtclSysPreset", c.version);
      for (uint32_t word : c.words)
        a.io().WriteDword(word);
      return w.TakeBytes();
    }();
    record.insert(record.end(), rootPart.begin(), rootPart.end());
    auto old = ReadRoot(record, &whole);
    auto* oldPreset = dynamic_cast<ZKW_PtclSysPreset*>(old.get());
    ASSERT_NE(oldPreset, nullptr) << c.version;
    EXPECT_EQ(whole, c.whole) << c.version;
    EXPECT_EQ(oldPreset->presetValue, 5u);
    EXPECT_EQ(oldPreset->floats.size(), c.floats);
    EXPECT_TRUE(oldPreset->values.empty());
  }
}

}  // namespace
