#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/pstree_trace.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

class PresetTrace : public TreeRenderTest {
 protected:
  // Trail points living `life` seconds, a picture to draw them with, and the parent's first
  // point at the origin.
  void Start(float life) {
    UsePicture(trace, DS_ImageFileLink(u"trail.png", 1), 4, 2, 2, 2, std::vector<uint32_t>(4, ~0u));
    trace.OnTextureChanged();
    trace.trailLife.RawValue() = life;
    parent->Position() = D3DXVECTOR3(0, 0, 0);
    trace.SpawnForParent(parent);
  }

  // Moves the parent to (x, 0) and runs one frame of 0.1 s with it as the only parent.
  void MoveTo(float x) {
    parent->Position() = D3DXVECTOR3(x, 0, 0);
    EXPECT_EQ(trace.UpdateParticles(0.1f, {parent}), 1u);
  }

  // The trail of the parent: each point's x and segment length.
  std::vector<std::pair<float, float>> Trail() {
    std::vector<std::pair<float, float>> points;
    for (const ParticleHandle& p : trace.trails[parent])
      points.emplace_back(p->Position().x, ZKW_PSTree_Trace::SegmentLength(*p));
    return points;
  }

  uint32_t QuadsDrawn() {
    QuadBatches batches(1);
    size_t index = 0;
    trace.FillVertices(batches, &index);
    EXPECT_EQ(index, 1u);
    return batches[0].QuadCount();
  }

  ZKW_PSTree_Trace trace{
      DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Trace>())};
  ParticleHandle parent = MakeChildParticle({});
};

using Points = std::vector<std::pair<float, float>>;

TEST_F(PresetTrace, ASlowParentMovesTheNewestPointUntilFiveUnitsAway) {
  const struct {
    float x;
    Points trail;
  } frames[] = {
      {1, {{0, 0}, {1, 0}}},  // the second point is appended with length 0
      {2, {{0, 0}, {2, 2}}},
      {3, {{0, 0}, {3, 3}}},
      {4, {{0, 0}, {4, 4}}},
      {5, {{0, 0}, {4, 4}, {5, 5}}},
      {6, {{0, 0}, {4, 4}, {6, 2}}},  // now measured from the point at 4
      {9, {{0, 0}, {4, 4}, {6, 2}, {9, 5}}},
  };
  Start(10.0f);
  for (const auto& f : frames) {
    MoveTo(f.x);
    EXPECT_EQ(Trail(), f.trail) << "at " << f.x;
  }
}

TEST_F(PresetTrace, AFastParentAddsAPointEveryFrame) {
  Start(10.0f);
  for (float x : {10.0f, 20.0f, 30.0f, 40.0f})
    MoveTo(x);
  EXPECT_EQ(Trail(), (Points{{0, 0}, {10, 0}, {20, 20}, {30, 20}, {40, 20}}))
      << "each with the distance to the point two back";
}

TEST_F(PresetTrace, ATrailLifeOfZeroNeverDraws) {
  Start(0.0f);
  for (float x : {10.0f, 20.0f, 30.0f}) {
    MoveTo(x);
    EXPECT_TRUE(trace.trails[parent].empty());
    EXPECT_EQ(QuadsDrawn(), 0u);
  }
}

TEST_F(PresetTrace, TrailsOutliveTheirParentUntilTheirPointsDie) {
  Start(0.25f);
  EXPECT_EQ(QuadsDrawn(), 0u) << "one point draws nothing";
  EXPECT_EQ(trace.trails.size(), 1u) << "but keeps its entry";
  MoveTo(10);
  EXPECT_EQ(QuadsDrawn(), 1u);

  parent->flags |= ParticleRecord::kDead;
  EXPECT_EQ(trace.UpdateParticles(0.1f, {}), 1u);
  EXPECT_EQ(QuadsDrawn(), 1u) << "the points of a dead parent live on";
  EXPECT_EQ(trace.UpdateParticles(0.1f, {}), 1u);
  EXPECT_EQ(trace.trails.size(), 0u) << "emptied in this update, so the entry went with it";
  EXPECT_EQ(QuadsDrawn(), 0u);

  // A live parent keeps its emptied entry.
  ParticleHandle other = MakeChildParticle({});
  trace.SpawnForParent(other);
  for (int i = 0; i < 3; ++i)
    trace.UpdateParticles(0.1f, {});
  EXPECT_EQ(trace.trails.size(), 1u);
  EXPECT_TRUE(trace.trails[other].empty());
  trace.ClearParticles();
  EXPECT_TRUE(trace.trails.empty());
}

TEST_F(PresetTrace, QuadsRunAlongTheTrailWithWidthAlphaAndTexture) {
  Start(10.0f);
  trace.size.SetValue(4);  // picture aspect 0.5: a texture length of 4 x 4 x 0.5 = 8 units
  trace.colours.opacity.SetValue(50);      // transparency 50 %: opacity 127
  trace.pointAlpha.values[6].SetValue(1);  // every point's alpha x 1 ...
  ParticleHandle grand = MakeChildParticle({});
  grand->floats[ParticleRecord::kAlpha] = 0.5f;
  parent->parent = grand;  // ... x the parent's alpha 1 x its parent's 0.5
  for (float x : {10.0f, 20.0f})
    MoveTo(x);
  // Points at 0, 10 and 20 along x, heading along it.
  for (const ParticleHandle& p : trace.trails[parent])
    p->vectors[ParticleRecord::kDirection] = D3DXVECTOR3(1, 0, 0);

  QuadBatches batches(1);
  size_t index = 0;
  trace.FillVertices(batches, &index);
  ASSERT_EQ(batches[0].QuadCount(), 2u);
  DX_V::PCT2* v = batches[0].LockVertices();
  ASSERT_NE(v, nullptr);
  const struct {
    float x, y, u, v;
  } expected[8] = {
      {10, 4, 1, 0},   {0, 4, 1, 0},  {10, -4, 0, 0},   {0, -4, 0, 0},   // length 0: no texture
      {20, 4, 1, 2.5}, {10, 4, 1, 0}, {20, -4, 0, 2.5}, {10, -4, 0, 0},  // 20 units over 8
  };
  for (int n = 0; n < 8; ++n) {
    EXPECT_NEAR(v[n].x, expected[n].x, 1e-4f) << n;
    EXPECT_NEAR(v[n].y, expected[n].y, 1e-4f) << n;
    EXPECT_FLOAT_EQ(v[n].u, expected[n].u) << n;
    EXPECT_FLOAT_EQ(v[n].v, expected[n].v) << n;
    EXPECT_EQ(v[n].diffuse >> 24, 63u) << "opacity 127 x the parent chain's 0.5";
  }
  batches[0].UnlockVertices();
}

TEST_F(PresetTrace, RecordsRoundTrip) {
  trace.trailLife.RawValue() = 2.5f;
  trace.pointScale.values[1].SetValue(20);
  trace.pointAlpha.values[5].SetValue(40);
  trace.size.SetValue(18);
  trace.name = u"trail";
  const std::vector<uint8_t> bytes = Saved(trace);
  bool whole = false;
  std::unique_ptr<ZKW_IOF_Item> item = ReadItem(bytes, &whole);
  auto* read = dynamic_cast<ZKW_PSTree_Trace*>(item.get());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(read->trailLife.Value(), 2.5f);
  EXPECT_FLOAT_EQ(read->pointScale.values[1].Scaled(), 0.2f);
  EXPECT_FLOAT_EQ(read->pointAlpha.values[5].Scaled(), 0.4f);
  EXPECT_EQ(read->size.Value(), 18u);
  EXPECT_EQ(read->name, u"trail");
  EXPECT_NE(dynamic_cast<ZKW_PSGeometry_Trace*>(read->source.Get()), nullptr);
  EXPECT_EQ(Saved(*read), bytes);
}

TEST_F(PresetTrace, ATrailIsDrawnAcrossThePicture) {
  auto root = std::make_unique<ZKW_PSTree_Root>();
  root->keepGuid = 1;
  root->position.SetValue(D3DXVECTOR3(32, 32, 0));
  auto node = std::make_unique<ZKW_PSTree_Trace>(
      DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Trace>()));
  ZKW_PSTree_Trace* drawn = node.get();
  drawn->trailLife.RawValue() = 10.0f;
  drawn->size.SetValue(8);
  UsePicture(*drawn, DS_ImageFileLink(u"trail.png", 1), 2, 2, 2, 2,
             std::vector<uint32_t>(4, 0xFFFFFFFF));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(node)));

  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(root->CreateRuntimeObject())};
  // Only the trail of a particle that passed from (12, 32) to (52, 32), heading right (the
  // root's own particle then has a single point, which draws nothing).
  drawn->ClearParticles();
  ParticleHandle mover = MakeChildParticle({});
  mover->Velocity() = D3DXVECTOR3(40, 0, 0);
  for (float x : {12.0f, 52.0f}) {
    mover->Position() = D3DXVECTOR3(x, 32, 0);
    drawn->SpawnForParent(mover);
  }
  objects.front()->Update(0.0f);
  Frame(renderer_, objects);
  EXPECT_TRUE(Drew("BlendNormal_AlphaPM"));
  for (int x : {16, 32, 48}) {
    EXPECT_GT(PixelAt(x, 32) & 0xFF, 0xF0u) << x;
    EXPECT_GT(PixelAt(x, 29) & 0xFF, 0xF0u) << x << ": 8 units either side";
    EXPECT_EQ(PixelAt(x, 20), 0xFF000000u) << x;
  }
  EXPECT_EQ(PixelAt(6, 32), 0xFF000000u) << "the trail ends at its oldest point";
  EXPECT_EQ(PixelAt(58, 32), 0xFF000000u);
}

}  // namespace
}  // namespace tree_test
