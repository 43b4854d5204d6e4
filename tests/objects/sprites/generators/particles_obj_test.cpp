// The generators' run-time object: its layers of quads, their counts and rectangles, and the
// quad writers with their colour rule.
#include <numbers>

#include "core/list_limits.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/generator_particle.h"
#include "objects/sprites/generators/generator_quads.h"

namespace generator_test {
namespace {

class ParticlesObjTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    run_ = StartRuntime(generator_);
    ASSERT_NE(run_.obj, nullptr);
  }
  DS_ParticlesObj& Obj() { return *run_.obj; }
  const void* Buffer(unsigned layer) { return Obj().Layer(layer).vertices.buffer.Get(); }

  TestGenerator generator_;
  Running<TestGenerator> run_;
};

TEST_F(ParticlesObjTest, FewerLayersKeepTheFirstWithTheirBuffersAndCounts) {
  Obj().SetLayerCount(4);
  for (unsigned layer = 0; layer < 4; ++layer)
    Obj().SetQuadCount(layer, layer + 1);
  const void* first = Buffer(0);
  const void* second = Buffer(1);
  ASSERT_NE(first, nullptr);
  Obj().SetLayerCount(2);
  ASSERT_EQ(Obj().LayerCount(), 2u);
  EXPECT_EQ(Buffer(0), first);
  EXPECT_EQ(Buffer(1), second);
  EXPECT_EQ(Obj().QuadCount(1), 2u);
  EXPECT_FALSE(Obj().LockLayer(2)) << "a layer that is gone";
  Obj().SetLayerCount(3);
  EXPECT_EQ(Obj().QuadCount(2), 0u);
  EXPECT_EQ(Buffer(2), nullptr);
}

// Capacity never shrinks: ten quads' buffers draw four, and four rectangles are listed.
TEST_F(ParticlesObjTest, FewerQuadsKeepTheCapacityAndListTheirRectangles) {
  Obj().SetQuadCount(0, 10);
  const void* buffer = Buffer(0);
  Obj().SetQuadCount(0, 4);
  EXPECT_EQ(Buffer(0), buffer);
  EXPECT_EQ(Obj().Layer(0).QuadCapacity(), 10u);
  EXPECT_EQ(Obj().DrawnQuads(0), 4u);
  ASSERT_TRUE(Obj().LockLayer(0));
  for (unsigned i = 0; i < 4; ++i) {
    QuadVertices quad;
    MakeSpriteQuad(quad, 10.0f * i, 5, 0, 2, 4);
    Obj().WriteQuad(0, i, quad);
  }
  Obj().UnlockLayer(0);
  std::vector<ScreenRect> rects;
  EXPECT_FALSE(Obj().AppendScreenRects(rects));
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[3], (ScreenRect{29, 3, 2, 4}));
  Obj().SetQuadCount(0, 12);
  EXPECT_NE(Buffer(0), nullptr);
  EXPECT_EQ(Obj().Layer(0).QuadCapacity(), 12u);
}

TEST_F(ParticlesObjTest, QuadCountsStopAtTheListLimit) {
  Obj().SetQuadCount(0, kMaxParticlesPerList + 5);
  EXPECT_EQ(Obj().QuadCount(0), kMaxParticlesPerList);
  EXPECT_EQ(Obj().DrawnQuads(0), kMaxParticlesPerList);
  EXPECT_EQ(Obj().Rects(0).size(), kMaxParticlesPerList);
}

// Writes to an unlocked layer or past the quad count change nothing; a quad at one point has a
// rectangle of no size there.
TEST_F(ParticlesObjTest, WritesOutsideALockedLayersCountAreDropped) {
  Obj().SetQuadCount(0, 2);
  QuadVertices point;
  MakeSpriteQuad(point, 7, 8, 0, 0, 0);
  Obj().WriteQuad(0, 0, point);  // not locked
  EXPECT_EQ(Obj().Rects(0)[0], ScreenRect{});
  ASSERT_TRUE(Obj().LockLayer(0));
  Obj().WriteQuad(0, 2, point);
  Obj().WriteQuad(0, 99, point);
  Obj().WriteQuad(1, 0, point);
  Obj().WriteQuad(0, 1, point);
  Obj().UnlockLayer(0);
  EXPECT_EQ(Obj().Rects(0)[0], ScreenRect{});
  EXPECT_EQ(Obj().Rects(0)[1], (ScreenRect{7, 8, 0, 0}));
  EXPECT_EQ(Obj().Rects(0).size(), 2u);
}

// Alpha = the colour's opacity byte x opacity x alpha factor, held in 0..255 and rounded.
TEST_F(ParticlesObjTest, QuadAlphaIsTheOpacityByteTimesTheParticlesOpacity) {
  struct Case {
    float opacityByte, opacity, factor;
    uint32_t alpha;
  };
  const Case cases[] = {{100, 2, 1, 200},    {200, 2, 1, 255},   {200, -0.5f, 1, 0},
                        {255, 0.5f, 1, 128}, {255, 1, 0.2f, 51}, {255, NAN, 1, 0}};
  Obj().SetQuadCount(0, std::size(cases));
  ASSERT_TRUE(Obj().LockLayer(0));
  unsigned i = 0;
  for (const Case& c : cases) {
    ColorAlphaParam colour;
    colour.SetValue(0x336699);
    colour.alpha.SetScale(0.0f, c.opacityByte);
    GeneratorParticle particle;
    particle.channels[GeneratorParticle::kOpacity] = c.opacity;
    Obj().WriteSpriteQuad(0, i++, particle, 4, c.factor, colour);
  }
  Obj().UnlockLayer(0);
  const std::vector<DX_V::PCT> v = LayerVertices(Obj(), 0);
  for (size_t k = 0; k < std::size(cases); ++k) {
    SCOPED_TRACE(k);
    for (size_t corner = 0; corner < 4; ++corner)
      EXPECT_EQ(v[4 * k + corner].diffuse, cases[k].alpha << 24 | 0x996633u);
  }
}

TEST_F(ParticlesObjTest, QuadsAreSizedByScaleAndTurnedByAngle) {
  Obj().SetQuadCount(0, 3);
  ASSERT_TRUE(Obj().LockLayer(0));
  ColorAlphaParam white;
  GeneratorParticle turned(D3DXVECTOR3(20, 10, 0));
  turned.channels[GeneratorParticle::kAngle] = std::numbers::pi_v<float> / 2;
  Obj().WriteOrientedQuad(0, turned, 10, 4, 1, white);
  GeneratorParticle doubled(D3DXVECTOR3(5, 5, 0));
  doubled.channels[GeneratorParticle::kScale] = 2;
  Obj().WriteOrientedQuad(1, doubled, 10, 4, 1, white);
  Obj().WriteSpriteQuad(0, 2, doubled, 3, 1, white);
  Obj().UnlockLayer(0);
  const std::vector<DX_V::PCT> v = LayerVertices(Obj(), 0);
  const auto [w0, h0] = QuadExtent(v, 0);
  EXPECT_NEAR(w0, 4.0f, 1e-4f);
  EXPECT_NEAR(h0, 10.0f, 1e-4f);
  EXPECT_EQ(QuadCentre(v, 0), D3DXVECTOR3(20, 10, 0));
  EXPECT_EQ(QuadExtent(v, 1), std::make_pair(20.0f, 8.0f));
  EXPECT_EQ(QuadExtent(v, 2), std::make_pair(6.0f, 6.0f));
  // Texture coordinates and colour of the strip order.
  EXPECT_EQ(v[8].u, 0.0f);
  EXPECT_EQ(v[8].v, 1.0f);
  EXPECT_EQ(v[11].u, 1.0f);
  EXPECT_EQ(v[11].v, 0.0f);
  EXPECT_EQ(v[8].x, 2.0f);
  EXPECT_EQ(v[8].y, 8.0f);
  EXPECT_EQ(v[8].diffuse, 0xFFFFFFFFu);
}

TEST(GeneratorQuads, SegmentQuadsRunAcrossTheirDirection) {
  QuadVertices quad{};
  MakeSegmentQuad(10, quad, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(10, 0, 0), 2, 4);
  const float expected[4][2] = {{0, 1}, {0, -1}, {10, 2}, {10, -2}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quad[i].x, expected[i][0]);
    EXPECT_FLOAT_EQ(quad[i].y, expected[i][1]);
    EXPECT_EQ(quad[i].diffuse, 0xFFFFFFFFu);
  }
  MakeSegmentQuad(0, quad, D3DXVECTOR3(3, 4, 0), D3DXVECTOR3(), 2, 4);
  for (const DX_V::PCT& vertex : quad) {
    EXPECT_EQ(vertex.x, 3.0f);
    EXPECT_EQ(vertex.y, 4.0f);
  }
}

}  // namespace
}  // namespace generator_test
