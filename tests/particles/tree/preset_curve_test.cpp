#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/param/color_params.h"
#include "geometry/graph/vgraph_line_kinds.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/pstree_curve.h"
#include "particles/tree/preset/pstree_root.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

DS_SafePtr<ZKW_VGraph> Straight(float y0, float y1) {
  return DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_StraightLine>(y0, y1));
}

// A straight curve physics of `segments` segments whose curves are drawn whole, opaque, at the
// node's lengths.
std::unique_ptr<ZKW_PtclSysPhys_LineCurv> StraightCurves(unsigned segments) {
  auto line = std::make_unique<ZKW_PtclSysPhys_LineCurv>();
  line->segments.RawValue() = segments;
  line->length.value.SetValue(1);
  line->alpha.value.SetValue(1);
  return line;
}

// The indices of the triangles a mesh batch draws.
std::vector<uint16_t> Indices(ParticleQuadBatch& batch) {
  void* data = nullptr;
  if (!batch.indices || gfx::Failed(batch.indices->Lock(0, 0, &data, 0)) || data == nullptr)
    return {};
  const auto* first = static_cast<const uint16_t*>(data);
  std::vector<uint16_t> indices(first, first + 3 * batch.primitiveCount);
  batch.indices->Unlock();
  return indices;
}

class PresetCurve : public TreeRenderTest {
 protected:
  void SetUp() override {
    TreeRenderTest::SetUp();
    curve.SelectPhysics(2, StraightCurves(4));
    curve.middleLength.SetValue(30);
    curve.endLength.SetValue(10);
    curve.startLength.SetValue(10);
    curve.width.SetValue(20);
    UsePicture(curve, DS_ImageFileLink(u"ribbon.png", 1), 2, 2, 2, 2,
               std::vector<uint32_t>(4, ~0u));
    curve.OnTextureChanged();
  }

  // One curve for a parent particle at `at`, its transforms run once.
  ParticleRecord& SpawnAt(const D3DXVECTOR3& at) {
    parents.push_back(MakeChildParticle({}));
    parents.back()->Position() = at;
    curve.SpawnForParents({parents.back()});
    EXPECT_EQ(curve.UpdateParticles(0.0f, {}), 1u);
    return *curve.Curves()->stripes.back().owner;
  }

  // The batch the node fills, and its vertices.
  std::vector<DX_V::PCT2> Fill() {
    size_t index = 0;
    curve.FillVertices(batches, &index);
    EXPECT_EQ(index, 1u);
    EXPECT_TRUE(batches[0].IsMesh());
    DX_V::PCT2* v = batches[0].LockVertices();
    if (v == nullptr) return {};
    std::vector<DX_V::PCT2> vertices(v, v + batches[0].vertices.count);
    batches[0].UnlockVertices();
    return vertices;
  }

  ZKW_PSTree_Curve curve{
      DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Point>())};
  ParticleList parents;
  QuadBatches batches = QuadBatches(1);
};

TEST_F(PresetCurve, TheRibbonFollowsTheWidthProfileAlongTheCurve) {
  curve.widthProfile.start.SetGraph(Straight(0, 1));
  curve.widthProfile.end.SetGraph(Straight(1, 0));
  curve.opacityProfile.middle.SetGraph(Straight(0.5f, 0.5f));
  SpawnAt(D3DXVECTOR3(100, 50, 0));
  const std::vector<DX_V::PCT2> v = Fill();
  ASSERT_EQ(v.size(), 5u * 4);
  EXPECT_EQ(batches[0].primitiveCount, 4u * 5);
  // 50 units centred on the particle: points at x = -25, -12.5, 0, 12.5, 25; the start section
  // is the first 10 units, the end section the last 10.
  const float width[5] = {0, 1, 1, 1, 0};
  const int alpha[5] = {255, 127, 127, 127, 255};
  for (int k = 0; k < 5; ++k) {
    const DX_V::PCT2& centre = v[4 * k + 1];
    EXPECT_NEAR(centre.x, 100 - 25 + 12.5f * k, 1e-3f) << k;
    EXPECT_NEAR(centre.y, 50, 1e-3f) << k;
    // Half the width of 20 to one side (the bevel's), the join to the other.
    EXPECT_NEAR(v[4 * k + 2].y, 50 - 10 * width[k], 1e-3f) << k;
    EXPECT_NEAR(v[4 * k + 3].y, 50 - 10 * width[k], 1e-3f) << k;
    EXPECT_NEAR(v[4 * k].y, 50 + 10 * width[k], 1e-3f) << k;
    EXPECT_FLOAT_EQ(v[4 * k].u, 0.0f);
    EXPECT_FLOAT_EQ(v[4 * k + 1].u, 0.5f);
    EXPECT_FLOAT_EQ(v[4 * k + 2].u, 1.0f);
    // The texture repeats every 20 units (the width times the cell's aspect).
    EXPECT_NEAR(centre.v, 0.625f * k, 1e-5f) << k;
    EXPECT_EQ(int(centre.diffuse >> 24), alpha[k]) << k;
  }
}

TEST_F(PresetCurve, OnlyTheVisiblePartIsDrawn) {
  ParticleRecord& c = SpawnAt(D3DXVECTOR3(0, 0, 0));
  c.curve[2] = 0.3f;  // visible start
  c.curve[3] = 0.6f;  // visible end
  const std::vector<DX_V::PCT2> v = Fill();
  // Points at s = 0.5 (moved back to 0.3) and 0.75 (moved back to 0.6, the last).
  ASSERT_EQ(v.size(), 2u * 4);
  EXPECT_EQ(batches[0].primitiveCount, 5u);
  EXPECT_NEAR(v[1].x, -10.0f, 1e-3f);
  EXPECT_NEAR(v[5].x, 5.0f, 1e-3f);

  c.curve[2] = 0.25f;
  c.curve[3] = 0.75f;
  const std::vector<DX_V::PCT2> half = Fill();
  // The cuts fall on points: the one at 0.75 is drawn, and the one past it is moved back onto it.
  ASSERT_EQ(half.size(), 4u * 4);
  const float xs[4] = {-12.5f, 0, 12.5f, 12.5f};
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(half[4 * k + 1].x, xs[k], 1e-3f) << k;
}

TEST_F(PresetCurve, ACurveOfOnePointDrawsNothing) {
  SpawnAt(D3DXVECTOR3(0, 0, 0));
  SpawnAt(D3DXVECTOR3(0, 40, 0));
  curve.Curves()->stripes[0].points->particles.resize(1);
  const std::vector<DX_V::PCT2> v = Fill();
  ASSERT_EQ(v.size(), 5u * 4) << "only the second curve's points";
  EXPECT_EQ(batches[0].primitiveCount, 4u * 5);
  EXPECT_NEAR(v[1].y, 40.0f, 1e-3f);
  const std::vector<uint16_t> indices = Indices(batches[0]);
  ASSERT_EQ(indices.size(), 4u * 15);
  EXPECT_LT(*std::max_element(indices.begin(), indices.end()), 20u)
      << "every index names a written vertex";
}

TEST_F(PresetCurve, RibbonsStopBeforeSixteenBitIndicesWrap) {
  curve.SelectPhysics(2, StraightCurves(10000));
  SpawnAt(D3DXVECTOR3(0, 0, 0));
  SpawnAt(D3DXVECTOR3(0, 40, 0));  // 2 x 10,001 points: 80,008 vertices
  const std::vector<DX_V::PCT2> v = Fill();
  // Whole points only: 16,383 of them, the first curve's 10,001 and 6,382 of the second.
  EXPECT_EQ(v.size(), size_t{ParticleQuadBatch::kMaxMeshVertices / 4 * 4});
  EXPECT_EQ(batches[0].primitiveCount, 10000u * 5 + 6381u * 5);
  const std::vector<uint16_t> indices = Indices(batches[0]);
  ASSERT_FALSE(indices.empty());
  EXPECT_EQ(*std::max_element(indices.begin(), indices.end()), 16383u * 4 - 1);
}

// A curve record of an older version, written field by field from `curve` as it held it.
std::vector<uint8_t> OldCurve(const ZKW_PSTree_Curve& curve, uint32_t version) {
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    WriteRecordHeader(a, u"ZKW_PSTree_Curve", version);
    if (version >= 2) io.WriteInt32(curve.physicsSelector.Value());
    curve.physics->Save(a);
    io.WriteUInt32(curve.middleLength.Value());
    io.WriteUInt32(curve.endLength.Value());
    io.WriteUInt32(curve.startLength.Value());
    for (const CurveProfile* p : {&curve.widthProfile, &curve.opacityProfile})
      for (const ZKW_CustomGraph* g : {&p->middle, &p->end, &p->start})
        g->Graph()->Save(a);
    if (version >= 2) io.WriteUInt32(curve.width.Value());
    if (version >= 3) io.WriteInt32(curve.normalise.Value());
    if (version >= 4) {
      io.WriteUInt32(curve.innerGlowSize.Value());
      WriteColorAlphaParam(a, curve.innerGlow.glowColour);
    }
    curve.ZKW_PSTree_Leaf::Save(a);
  });
}

std::unique_ptr<ZKW_PSTree_Curve> ReadCurve(const std::vector<uint8_t>& bytes) {
  bool whole = false;
  std::unique_ptr<ZKW_IOF_Item> item = ReadItem(bytes, &whole);
  EXPECT_TRUE(whole);
  auto* read = dynamic_cast<ZKW_PSTree_Curve*>(item.get());
  if (read != nullptr) item.release();
  return std::unique_ptr<ZKW_PSTree_Curve>(read);
}

TEST_F(PresetCurve, RecordsOfEveryVersionRead) {
  auto straight = StraightCurves(6);
  straight->width.value.SetValue(7);
  curve.SelectPhysics(5, std::move(straight));
  curve.widthProfile.end.SetGraph(Straight(1, 0));
  curve.opacityProfile.start.SetGraph(Straight(0, 1));
  curve.width.SetValue(36);
  curve.normalise.SetValue(0);
  curve.innerGlowSize.SetValue(30);
  curve.innerGlow.glowColour.SetValue(0x00FF80);
  curve.innerGlow.glowColour.alpha.SetValue(20);
  curve.size.SetValue(12);

  const std::vector<uint8_t> bytes = Saved(curve);
  EXPECT_EQ(OldCurve(curve, 4), bytes);
  for (uint32_t version = 1; version <= 4; ++version) {
    SCOPED_TRACE(version);
    auto read = ReadCurve(OldCurve(curve, version));
    ASSERT_NE(read, nullptr);
    // Version 1 files a physics that is not fractal under key 2.
    const int key = version >= 2 ? 5 : 2;
    EXPECT_EQ(read->physicsSelector.Value(), key);
    ASSERT_EQ(read->physicsSelector.objects.count(key), 1u);
    EXPECT_EQ(read->physicsSelector.objects[key].Get(), read->physics.Get());
    ZKW_PtclSysPhys_LineCurv* line = dynamic_cast<ZKW_PtclSysPhys_LineCurv*>(read->physics.Get());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->segments.Value(), 6u);
    EXPECT_EQ(read->middleLength.Value(), 30u);
    EXPECT_EQ(read->startLength.Value(), 10u);
    unsigned cursor = 1;
    EXPECT_FLOAT_EQ(read->widthProfile.end.ValueAt(0.25f, &cursor), 0.75f);
    cursor = 1;
    EXPECT_FLOAT_EQ(read->opacityProfile.start.ValueAt(0.25f, &cursor), 0.25f);
    // Version 1 takes the width from the physics and turns its curves to the way they go.
    EXPECT_EQ(read->width.Value(), version >= 2 ? 36u : 7u);
    EXPECT_EQ(line->spin.mode.Value(), version >= 2 ? 0 : 1);
    EXPECT_EQ(read->normalise.Value(), version >= 3 ? 0 : 1);
    EXPECT_EQ(read->innerGlowSize.Value(), version >= 4 ? 30u : 0u);
    EXPECT_EQ(read->innerGlow.glowColour.Value(), version >= 4 ? 0x00FF80u : 0u);
    EXPECT_EQ(read->innerGlow.glowColour.alpha.Scaled(), version >= 4 ? 204 : 255);
    EXPECT_EQ(read->size.Value(), 12u);
    if (version == 4) EXPECT_EQ(Saved(*read), bytes);
  }

  // A fractal physics of a version-1 record stays under key 1.
  curve.SelectPhysics(1, std::make_unique<ZKW_PtclSysPhys_FractalCurv>());
  auto fractal = ReadCurve(OldCurve(curve, 1));
  ASSERT_NE(fractal, nullptr);
  EXPECT_EQ(fractal->physicsSelector.Value(), 1);
  EXPECT_NE(dynamic_cast<ZKW_PtclSysPhys_FractalCurv*>(fractal->physics.Get()), nullptr);
}

TEST_F(PresetCurve, RestartRebuildsEveryCurveAndClearEmptiesThePhysics) {
  ParticleRecord& c = SpawnAt(D3DXVECTOR3(0, 0, 0));
  const size_t transforms = c.transforms.size();  // the curve's own and the node's colour
  ZKW_PtclSysPhys_Points* before = curve.Curves()->stripes[0].points.Get();
  curve.Restart();
  EXPECT_EQ(c.transforms.size(), transforms - 1) << "the colour is not given again";
  EXPECT_NE(curve.Curves()->stripes[0].points.Get(), before);
  EXPECT_EQ(curve.Curves()->stripes[0].points->particles.size(), 5u);
  curve.ClearParticles();
  EXPECT_TRUE(curve.Curves()->stripes.empty());
  EXPECT_EQ(Fill().size(), 0u);
}

class PresetCurvePixels : public TreeRenderTest {};

// The green of a pixel: white ribbons turn red where the inner glow lies on them.
int Green(uint32_t pixel) {
  return int((pixel >> 8) & 0xFF);
}

TEST_F(PresetCurvePixels, TheInnerGlowLightsTheRibbonInsideItsEdges) {
  for (unsigned size : {50u, 0u}) {
    SCOPED_TRACE(size);
    auto root = std::make_unique<ZKW_PSTree_Root>();
    root->keepGuid = 1;
    root->position.SetValue(D3DXVECTOR3(32, 32, 0));
    auto node = std::make_unique<ZKW_PSTree_Curve>(
        DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Point>()));
    node->SelectPhysics(2, StraightCurves(4));
    node->middleLength.SetValue(48);
    node->endLength.SetValue(0);
    node->startLength.SetValue(0);
    node->width.SetValue(40);  // a white band from y = 12 to 52, x = 8 to 56
    node->innerGlowSize.SetValue(size);
    node->innerGlow.glowColour.SetValue(0x0000FF);  // red
    UsePicture(*node, DS_ImageFileLink(u"ribbon.png", 1), 2, 2, 2, 2,
               std::vector<uint32_t>(4, 0xFFFFFFFF));
    root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(node)));

    RuntimeObjectList objects = DrawOnce(*root, 0xFF000000);
    EXPECT_EQ(Drew("MaskedNormalEffect"), size > 0);
    EXPECT_EQ(Drew("InnerGlowFirstStep"), size > 0);
    const uint32_t edge = PixelAt(32, 14), centre = PixelAt(32, 32);
    EXPECT_GT(int((edge >> 16) & 0xFF), 0xF0) << "red stays full inside";
    EXPECT_GT(int((centre >> 16) & 0xFF), 0xF0);
    if (size > 0) {
      EXPECT_LT(Green(edge), 0xC0) << "red near the edge, inside";
      EXPECT_GT(Green(centre), Green(edge) + 0x30) << "less of it deep inside";
    } else {
      EXPECT_GT(Green(edge), 0xF0) << "no glow: white";
    }
    for (const auto& [x, y] : {std::pair{32, 8}, std::pair{32, 57}, std::pair{4, 32}})
      EXPECT_EQ(PixelAt(x, y), 0xFF000000u) << "nothing outside, at " << x << ", " << y;
  }
}

}  // namespace
}  // namespace tree_test
