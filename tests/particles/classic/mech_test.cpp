#include <gtest/gtest.h>

#include "classic_fixture.h"
#include "particles/classic/routines/age_routines.h"
#include "platform/math/d3dx_math.h"

namespace classic_test {
namespace {

using MechTest = ClassicRenderTest;

const DX_V::PCT* Vertices(const PCTSpriteArray& batch) {
  return reinterpret_cast<const DX_V::PCT*>(batch.vertices.buffer->Data().data());
}

// A control attached to its run-time object, with one batch.
struct Attached {
  Attached() {
    object = StepControl().CreateRuntimeObject();
    mech = static_cast<ZKW_ParticleSystemMech*>(object.get());
    control = static_cast<StepControl*>(mech->ctrl);
  }
  std::unique_ptr<ZKW_RenderObj> object;
  ZKW_ParticleSystemMech* mech;
  StepControl* control;
};

TEST_F(MechTest, BatchesGrowOnlyAndDrawTheirCount) {
  Attached a;
  LinkTextureSet frames;
  a.mech->SetBatchQuadCount(0, 10, &frames, nullptr);
  const uint64_t ten = a.mech->batches[0].vertices.buffer->Id();
  a.mech->SetBatchQuadCount(0, 11, &frames, nullptr);
  const uint64_t eleven = a.mech->batches[0].vertices.buffer->Id();
  EXPECT_NE(eleven, ten) << "growing recreates the buffers";
  a.mech->SetBatchQuadCount(0, 5, &frames, nullptr);
  EXPECT_EQ(a.mech->batches[0].vertices.buffer->Id(), eleven) << "shrinking keeps them";
  EXPECT_EQ(a.mech->batches[0].QuadCapacity(), 11u);
  EXPECT_EQ(a.mech->quadCounts[0], 5u);

  ComRef<gfx::Effect> effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  ASSERT_TRUE(effect);
  ClearLog();
  a.mech->DrawBatch(effect.Get(), "BlendSum", 0);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].primitiveCount, 10u);
  EXPECT_EQ(Log()[0].technique, "BlendSum");

  a.mech->SetBatchQuadCount(3, 5, &frames, nullptr);  // no such batch: nothing
  a.mech->DrawBatch(effect.Get(), "BlendSum", 3);
  EXPECT_EQ(Log().size(), 1u);
}

TEST_F(MechTest, QuadColoursAndFlips) {
  Attached a;
  a.control->appearance.colorSet.colors.RawValue() = {0x336699};
  DX_V::PCT quad[4] = {};
  a.mech->SetQuadColors(127.6f / 255.0f, quad);
  for (const DX_V::PCT& v : quad)
    EXPECT_EQ(v.diffuse, 0x80996633u);

  LinkTextureSet frames;
  frames.usedU = 0.5f;
  frames.usedV = 0.25f;
  struct Case {
    int horizontal, vertical;
    float c0u, c0v, c3u, c3v;
  } cases[] = {{0, 0, 0, 0.25f, 0.5f, 0}, {1, 1, 0.5f, 0, 0, 0.25f}, {1, 0, 0.5f, 0.25f, 0, 0}};
  for (const Case& c : cases) {
    a.control->appearance.flipHorizontal.SetValue(c.horizontal);
    a.control->appearance.flipVertical.SetValue(c.vertical);
    a.mech->SetBatchQuadCount(0, 2, &frames, &a.control->appearance);
    const DX_V::PCT* v = Vertices(a.mech->batches[0]);
    for (int q = 0; q < 2; ++q) {
      EXPECT_EQ(v[4 * q].u, c.c0u) << c.horizontal << c.vertical;
      EXPECT_EQ(v[4 * q].v, c.c0v) << c.horizontal << c.vertical;
      EXPECT_EQ(v[4 * q + 3].u, c.c3u) << c.horizontal << c.vertical;
      EXPECT_EQ(v[4 * q + 3].v, c.c3v) << c.horizontal << c.vertical;
    }
  }
}

TEST_F(MechTest, FillBatchPlacesTurnsAndColoursEachQuad) {
  Attached a;
  ParticleAppearance& look = a.control->appearance;
  ProvideFrames(DS_ImageFileLink(u"p.png", 1), 8, 4, 2, 2, std::vector<uint32_t>(4, ~0u));
  look.picture.SetValue(DS_NamedFileLinkData({DS_ImageFileLink(u"p.png", 1)}));
  ASSERT_EQ(look.frames.size(), 1u);
  look.colorSet.opacity.SetValue(0);

  auto p = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{10, 20, 0}));
  p->atlasCell = {0.5f, 0.5f, 0.5f, 0.0f};
  p->colour = 0x336699;
  p->multipliers[RoutineParticle::kAlong] = p->multipliers[RoutineParticle::kAcross] = 0;
  a.control->particles = {p};

  look.FillBatch(a.control->particles, *a.mech, 8.0f, 0);
  ASSERT_EQ(a.mech->quadCounts[0], 1u);
  const DX_V::PCT* v = Vertices(a.mech->batches[0]);
  // Width 8, height 8 x aspect 0.5: A = (4, 0), B = (0, 2); c0 = C - A + B, ...
  const float corners[4][2] = {{6, 22}, {6, 18}, {14, 22}, {14, 18}};
  const float uvs[4][2] = {{0.5f, 0.5f}, {0.5f, 0.0f}, {1.0f, 0.5f}, {1.0f, 0.0f}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[i].x, corners[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].y, corners[i][1]) << i;
    EXPECT_FLOAT_EQ(v[i].u, uvs[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].v, uvs[i][1]) << i;
    EXPECT_EQ(v[i].diffuse, 0xFF996633u);
  }

  // Along the velocity: the quad's x axis turns onto (0, 1), so A = (0, 4) and B = (-2, 0).
  look.orientation.SetValue(ParticleAppearance::kAlongVelocity);
  p->velocity = {0, 3, 0};
  look.FillBatch(a.control->particles, *a.mech, 8.0f, 0);
  EXPECT_NEAR(v[0].x, 8.0f, 1e-5f);
  EXPECT_NEAR(v[0].y, 16.0f, 1e-5f);

  // Spinning without spin speed stays at the start angle; the offsets move the centre.
  look.orientation.SetValue(ParticleAppearance::kSpinning);
  p->spinFactor = 1.0f;
  p->direction = {1, 0, 0};
  p->multipliers[RoutineParticle::kAlong] = 3;
  look.FillBatch(a.control->particles, *a.mech, 8.0f, 0);
  EXPECT_FLOAT_EQ(v[0].x, 9.0f);
  EXPECT_FLOAT_EQ(v[0].y, 22.0f);

  // Half the life into a 20 / 80 fade with a quarter transparency.
  look.orientation.SetValue(ParticleAppearance::kFixed);
  look.colorSet.opacity.SetValue(25);  // 191
  look.opacityEnvelope.riseEnd.SetValue(20);
  p->SetLifeRoutine(MakeRoutine<IPR_ConstantAge>(10.0f));
  p->age = 1.0f;
  look.FillBatch(a.control->particles, *a.mech, 8.0f, 0);
  EXPECT_EQ(v[0].diffuse >> 24, 96u) << "0.5 x 191, rounded";

  // Fewer particles than the batch holds: the quads past them are left with the base
  // coordinates, not with the cells of the particles drawn there before.
  a.control->particles = {p, p, p};
  look.FillBatch(a.control->particles, *a.mech, 8.0f, 0);
  a.control->particles = {p};
  look.FillBatch(a.control->particles, *a.mech, 8.0f, 0);
  ASSERT_EQ(a.mech->quadCounts[0], 1u);
  ASSERT_EQ(a.mech->batches[0].QuadCapacity(), 3u);
  v = Vertices(a.mech->batches[0]);
  const float base[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[i].u, uvs[i][0]) << i;
    for (int q = 1; q < 3; ++q) {
      EXPECT_EQ(v[4 * q + i].u, base[i][0]) << q << " " << i;
      EXPECT_EQ(v[4 * q + i].v, base[i][1]) << q << " " << i;
    }
  }
}

TEST_F(MechTest, NothingIsFilledOrDrawnWithoutFramesOrEffect) {
  Attached a;
  a.control->perStep = 3;
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  a.object->Update(1.0f);
  a.object->Update(1.1f);
  EXPECT_FALSE(a.control->particles.empty());
  EXPECT_EQ(a.mech->quadCounts[0], 0u) << "no picture";
  ClearLog();
  int readers = 0;
  a.object->Render(renderer_, &readers);
  EXPECT_TRUE(Log().empty());

  WhiteLook(a.control->appearance, DS_ImageFileLink(u"w.png", 1), 4);
  a.control->appearance.effectLink = DS_HLSLEffectFile(u"none.dll", 5);
  a.control->appearance.LoadEffect();
  a.object->Update(1.2f);
  EXPECT_GT(a.mech->quadCounts[0], 0u);
  a.object->Render(renderer_, &readers);
  EXPECT_TRUE(Log().empty()) << "no effect";
}

}  // namespace
}  // namespace classic_test
