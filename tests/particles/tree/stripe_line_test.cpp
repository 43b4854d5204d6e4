#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/registry/read_by_name.h"
#include "geometry/graph/vgraph_line.h"
#include "particles/tree/line/stripe_line_node.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

class StripeLine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEveryClass(); }
};

// A fractal line whose curves are straight: 2^levels + 1 points evenly from 0 to 1 along x, with
// an alpha equal to the position u along the visible window.
std::unique_ptr<ZKW_PtclSysNode_FractalLine> StraightLine(unsigned levels) {
  auto node = std::make_unique<ZKW_PtclSysNode_FractalLine>();
  node->SetPhysics(Group(1));
  node->curves->levels.RawValue() = levels;
  node->curves->roughness.SetValue(0);
  node->curves->alpha.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(
      std::vector<ZKW_VGraph_Line::Point>{{0.0f, 0.0f}, {1.0f, 1.0f}})));
  return node;
}

ParticleList OneParent(const D3DXVECTOR3& at = D3DXVECTOR3(0, 0, 0)) {
  return {ParticleHandle(std::make_unique<ParticleRecord>(at))};
}

TEST_F(StripeLine, TheWindowFollowsTheXScaleAndTheLengthFactor) {
  struct Case {
    int follow;
    unsigned length;  // the curves' length factor
    float sx;
    std::vector<float> xs;  // the window's points along the curve, in the curve's unit space
  };
  const Case cases[] = {
      {0, 1, 0.5f, {0, 0.25f, 0.5f}},
      {0, 1, 1.5f, {0.5f, 0.75f, 1}},
      {1, 50, 0.5f, {0, 0.25f, 0.5f}},
      {1, 50, 1.0f, {0.5f, 0.75f, 1}},
      {1, 50, 0.6f, {0.1f, 0.25f, 0.5f, 0.6f}},  // both ends fall between points
      {0, 1, 3.0f, {}},                          // every point left of the window
  };
  for (const Case& c : cases) {
    auto node = StraightLine(2);
    node->stripeMode.RawValue() = 1;
    node->followGeometry.RawValue() = c.follow;
    node->curves->length.value.SetValue(c.length);
    ParticleList parents = OneParent();
    node->SpawnFromParents(&parents);
    ASSERT_EQ(node->curves->stripes.size(), 1u);
    node->physics->particles.at(0)->vectors[ParticleRecord::kScaleXYZ].x = c.sx;
    node->RebuildStripes();
    ASSERT_EQ(node->stripes.size(), 1u);
    const std::vector<StripePoint>& points = node->stripes[0].points;
    ASSERT_EQ(points.size(), c.xs.size()) << "follow " << c.follow << ", sx " << c.sx;
    const float window = c.follow != 0 ? c.length / 100.0f : 1.0f;
    const float lower = std::max(0.0f, c.sx - window);
    for (size_t i = 0; i < points.size(); ++i) {
      // Without a shape the curve is scaled by its length factor.
      EXPECT_NEAR(points[i].position.x, c.xs[i] * static_cast<float>(c.length), 1e-4f)
          << "follow " << c.follow << ", sx " << c.sx << ", point " << i;
      EXPECT_NEAR(points[i].alpha, (c.xs[i] - lower) / (c.xs.back() - lower), 1e-5f);
      EXPECT_FLOAT_EQ(points[i].width, 1.0f);
    }
  }

  // Stripe mode 0 shows the whole curve, stretched along x by the x scale.
  auto node = StraightLine(2);
  ParticleList parents = OneParent(D3DXVECTOR3(5, 7, 0));
  node->SpawnFromParents(&parents);
  node->physics->particles.at(0)->vectors[ParticleRecord::kScaleXYZ] = D3DXVECTOR3(2, 3, 1);
  node->RebuildStripes();
  const std::vector<StripePoint>& points = node->stripes.at(0).points;
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points.front().position, D3DXVECTOR3(5, 7, 0));
  EXPECT_EQ(points.back().position, D3DXVECTOR3(7, 7, 0));
  EXPECT_FLOAT_EQ(points.back().width, 3.0f) << "widths take the y scale";
}

TEST_F(StripeLine, StripesFollowTheParentShapeAlongItsFirstParameter) {
  struct Case {
    int follow;
    float lastX;
  };
  // 1 lays the unit curve along the shape; a value that names no parameter places the curve
  // through its own particle, scaled by the length factor 50.
  for (const Case& c : {Case{1, 110.0f}, Case{7, 60.0f}}) {
    auto made = StraightLine(2);
    made->followGeometry.RawValue() = c.follow;
    made->curves->length.value.SetValue(50);
    ZKW_PtclSysNode_FractalLine* node = made.get();
    // The parent node emits on a straight curve from (0, 0) to (100, 0); its particle stands on
    // the shape at v = 0.5, and the shape's own particle is placed at (10, 20).
    ZKW_PtclSysNode_Emitter emitter;
    emitter.SetPhysics(Group(1));
    std::unique_ptr<ZKW_VGeom2D> shape = CreateVGeom2DByName("ZKW_VGeom2D_BSpline");
    ASSERT_NE(shape, nullptr);
    shape->InitAsSegment(0, 0, 0, 100, 0, 0);
    emitter.physics->SetGeometry(std::move(shape));
    emitter.AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(made)));

    ParticleList base = OneParent(D3DXVECTOR3(10, 20, 0));
    ParticleList onShape = {MakeChildParticle(base[0])};
    onShape[0]->flags |= ParticleRecord::kRelativeToParent;
    onShape[0]->vectors[ParticleRecord::kSurface] = D3DXVECTOR3(0.3f, 0.5f, 0);
    node->SpawnFromParents(&onShape);
    node->RebuildStripes();
    const std::vector<StripePoint>& points = node->stripes.at(0).points;
    ASSERT_EQ(points.size(), 5u) << "follow " << c.follow;
    EXPECT_NEAR(points.front().position.x, 10.0f, 1e-3f) << "follow " << c.follow;
    EXPECT_NEAR(points.back().position.x, c.lastX, 1e-3f) << "follow " << c.follow;
    EXPECT_NEAR(points.back().position.y, 20.0f, 1e-3f) << "follow " << c.follow;
  }
}

TEST_F(StripeLine, CurvesComeAndGoWithTheNodeParticles) {
  auto node = StraightLine(1);
  ParticleList parents = OneParent();
  parents.push_back(ParticleHandle(std::make_unique<ParticleRecord>()));
  node->SpawnFromParents(&parents);
  ASSERT_EQ(node->physics->particles.size(), 2u);
  ASSERT_EQ(node->curves->stripes.size(), 2u);
  for (size_t i = 0; i < 2; ++i)
    EXPECT_EQ(node->curves->stripes[i].owner->Parent(), node->physics->particles[i].Get());
  EXPECT_EQ(node->UpdateParticles(0.1f, &parents), 1);
  EXPECT_EQ(node->stripes.size(), 2u);

  // A node particle that dies takes its curve along one frame later.
  node->physics->particles[0]->flags |= ParticleRecord::kDead;
  node->physics->particles.erase(node->physics->particles.begin());
  node->UpdateParticles(0.1f, &parents);
  EXPECT_EQ(node->curves->stripes.size(), 1u);
  EXPECT_EQ(node->stripes.size(), 1u);
}

TEST_F(StripeLine, UpdateFillAndDrawWalkTheSameBatches) {
  // The radial glow adds no batch, and the children's batches come first.
  auto node = StraightLine(1);
  node->options.radialGlow.enabled.RawValue() = 1;
  node->AddChild(Node<ZKW_PtclSysNode_Picture>(1));
  ParticleList parents = OneParent();
  node->SpawnFromParents(&parents);
  const int batches = node->UpdateParticles(0.1f, &parents);
  EXPECT_EQ(batches, 2);
  QuadBatches quads(static_cast<size_t>(batches));
  size_t index = 0;
  node->FillVertices(quads, &index);
  EXPECT_EQ(index, static_cast<size_t>(batches));
}

// A fractal or random line record whose stripe-line part has `version` (1 to 3).
template <class Node>
std::vector<uint8_t> OlderLine(const char16_t* name, uint32_t version) {
  Node defaults;
  return Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, name, 1);
    defaults.GetCurves()->Save(a);
    WriteRecordHeader(a, u"ZKW_PtclSysNode_StripeLine", version);
    if (version > 1) a.io().WriteInt32(1);
    if (version > 2) a.io().WriteInt32(2);
    defaults.ZKW_PtclSysNodePic_TexDynamic::Save(a);
  });
}

TEST_F(StripeLine, RecordsReadBackInEveryVersion) {
  ZKW_PtclSysNode_FractalLine fractal;
  fractal.stripeMode.RawValue() = 1;
  fractal.followGeometry.RawValue() = 2;
  fractal.curves->levels.RawValue() = 3;
  fractal.curves->width.value.SetValue(4);
  ZKW_PtclSysNode_RandomLine random;
  random.curves->segments.RawValue() = 9;
  random.curves->speed.SetValue(20);
  for (const ZKW_PtclSysNode_StripeLine* node :
       std::initializer_list<const ZKW_PtclSysNode_StripeLine*>{&fractal, &random}) {
    const std::vector<uint8_t> bytes = Saved(*node);
    bool whole = false;
    const auto read = ReadItem(bytes, &whole);
    auto* line = dynamic_cast<ZKW_PtclSysNode_StripeLine*>(read.get());
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(Saved(*line), bytes);
    EXPECT_EQ(line->stripeMode.Value(), node->stripeMode.Value());
    const ZKW_PtclSysPhys_Curves* readCurves = line->GetCurves();
    const ZKW_PtclSysPhys_Curves* savedCurves = node->GetCurves();
    EXPECT_EQ(typeid(*readCurves), typeid(*savedCurves));
  }

  struct Old {
    uint32_t version;
    int stripeMode, follow;
  };
  for (const Old& v : {Old{1, 0, 0}, Old{2, 1, 0}, Old{3, 1, 2}}) {
    for (const auto& bytes :
         {OlderLine<ZKW_PtclSysNode_FractalLine>(u"ZKW_PtclSysNode_FractalLine", v.version),
          OlderLine<ZKW_PtclSysNode_RandomLine>(u"ZKW_PtclSysNode_RandomLine", v.version)}) {
      bool whole = false;
      const auto read = ReadItem(bytes, &whole);
      auto* line = dynamic_cast<ZKW_PtclSysNode_StripeLine*>(read.get());
      ASSERT_NE(line, nullptr);
      EXPECT_TRUE(whole) << "version " << v.version;
      EXPECT_EQ(line->stripeMode.Value(), v.stripeMode) << "version " << v.version;
      EXPECT_EQ(line->followGeometry.Value(), v.follow) << "version " << v.version;
    }
  }
}

}  // namespace
}  // namespace tree_test
