#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "particles/tree/line/stripe_line_node.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

class StripeLinePixels : public TreeRenderTest {};

TEST_F(StripeLinePixels, AFractalLineDrawsItsBandAlongTheCurve) {
  // A root at (12, 32) with one fractal line of 40 units, 8 wide, in red: the band runs from
  // x 12 to 52, its middle bent off the straight line by the roughness.
  auto system = std::make_unique<ZKW_PtclSys_Constructor>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(12, 32, 0));
  auto made = std::make_unique<ZKW_PtclSysNode_FractalLine>();
  ZKW_PtclSysNode_FractalLine& line = *made;
  line.SetPhysics(Group(1));
  line.curves->levels.RawValue() = 3;
  line.curves->roughness.SetValue(25);  // 0.1: the middle moves up to 4 units off the axis
  line.curves->length.value.SetValue(40);
  line.curves->width.value.SetValue(8);
  line.colour.SetValue(0x0000FF);
  UsePicture(line, DS_ImageFileLink(u"white.png", 1), 2, 2, 2, 2,
             std::vector<uint32_t>(4, 0xFFFFFFFF));
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(made)));

  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system->CreateRuntimeObject())};
  for (const float t : {0.0f, 0.1f, 0.2f})
    objects.front()->Update(t);
  ClearLog();
  Frame(renderer_, objects);

  ASSERT_EQ(line.stripes.size(), 1u);
  const std::vector<StripePoint>& points = line.stripes[0].points;
  ASSERT_EQ(points.size(), 9u);
  EXPECT_NEAR(points.front().position.x, 12.0f, 1e-3f);
  EXPECT_NEAR(points.back().position.x, 52.0f, 1e-3f);
  // Every point of the band's centre line is red; well off the band the night stays black.
  for (const StripePoint& p : points) {
    const int x = std::clamp(static_cast<int>(p.position.x + 0.5f), 13, 51);
    const uint32_t centre = PixelAt(x, static_cast<int>(p.position.y));
    EXPECT_GT(int((centre >> 16) & 0xFF), 200) << "x " << x << ", y " << p.position.y;
    EXPECT_LT(int((centre >> 8) & 0xFF), 40) << "x " << x;
  }
  for (const int y : {20, 44})
    EXPECT_EQ(PixelAt(32, y) & 0xFFFFFF, 0u) << "y " << y;
  EXPECT_EQ(PixelAt(58, 32) & 0xFFFFFF, 0u) << "past the end of the line";
}

TEST_F(StripeLinePixels, BandsStopWhereSixteenBitIndicesWouldWrap) {
  // 24 curves of 4,097 points each need far more than 65,535 vertices.
  ZKW_PtclSysNode_FractalLine line;
  line.SetPhysics(Group(24));
  line.curves->levels.RawValue() = 12;
  line.curves->roughness.SetValue(0);  // straight bands offset fast
  line.curves->length.value.SetValue(40);
  line.curves->width.value.SetValue(3);
  ParticleList parents = {ParticleHandle(std::make_unique<ParticleRecord>())};
  line.SpawnFromParents(&parents);
  line.RebuildStripes();
  ASSERT_EQ(line.stripes.size(), 24u);
  QuadBatches batches(1);
  size_t index = 0;
  line.FillVertices(batches, &index);
  ParticleQuadBatch& batch = batches[0];
  ASSERT_TRUE(batch.IsMesh());
  const uint32_t vertices = batch.vertices.count;
  EXPECT_GT(vertices, 60000u) << "the bands fill the batch";
  EXPECT_LE(vertices, 65535u);
  void* data = nullptr;
  ASSERT_TRUE(batch.indices && gfx::Succeeded(batch.indices->Lock(0, 0, &data, 0)) && data);
  const auto* indices = static_cast<const uint16_t*>(data);
  uint32_t largest = 0;
  for (uint32_t i = 0; i < 3 * batch.primitiveCount; ++i)
    largest = std::max<uint32_t>(largest, indices[i]);
  batch.indices->Unlock();
  EXPECT_LT(largest, vertices) << "every triangle names a written vertex";
}

TEST_F(StripeLinePixels, VertexColoursSaturateInsteadOfWrapping) {
  // Alpha 3 along the curve and 50 % transparency: 1.5, which stays 255 rather than wrapping.
  struct Case {
    unsigned alpha, transparency;
    uint32_t argb;
  };
  for (const Case& c : {Case{3, 50, 0xFFFF0000}, Case{1, 50, 0x7FFF0000}, Case{0, 0, 0x00FF0000}}) {
    ZKW_PtclSysNode_FractalLine line;
    line.SetPhysics(Group(1));
    line.curves->levels.RawValue() = 1;
    line.curves->alpha.value.SetValue(c.alpha);
    line.colour.SetValue(0x0000FF);
    line.colour.alpha.SetValue(c.transparency);
    ParticleList parents = {ParticleHandle(std::make_unique<ParticleRecord>())};
    line.SpawnFromParents(&parents);
    line.RebuildStripes();
    QuadBatches batches(1);
    size_t index = 0;
    line.FillVertices(batches, &index);
    ParticleQuadBatch& batch = batches[0];
    ASSERT_GT(batch.vertices.count, 0u);
    const DX_V::PCT2* v = batch.LockVertices();
    ASSERT_NE(v, nullptr);
    for (uint32_t i = 0; i < batch.vertices.count; ++i)
      EXPECT_NEAR(double(v[i].diffuse >> 24), double(c.argb >> 24), 1) << "alpha " << c.alpha;
    EXPECT_EQ(v[0].diffuse & 0xFFFFFF, c.argb & 0xFFFFFF);
    batch.UnlockVertices();
  }
}

}  // namespace
}  // namespace tree_test
