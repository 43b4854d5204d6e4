#include <gtest/gtest.h>

#include <cmath>

#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/routines/value_routines.h"
#include "systems_fixture.h"

namespace classic_test {
namespace {

class RayOfLightTest : public ClassicRenderTest {
 protected:
  // Rays down a 64 x 64 square: from the top edge (corner 2 to corner 0) to the bottom edge.
  DS_RayOfLight Rays(unsigned count) {
    DS_RayOfLight rays;
    WhiteLook(rays.appearance, DS_ImageFileLink(u"band.png", 1), 1);
    rays.area.SetRect(64, 64, D3DXVECTOR3(32, 32, 0));
    rays.count.SetValue(count);
    rays.lifetime.value.SetValue(100);  // 10 s
    rays.width.value.SetValue(16);
    return rays;
  }
};

TEST_F(RayOfLightTest, EveryRayIsThreeQuads) {
  DS_RayOfLight description = Rays(5);
  description.timing.RawValue() = 1;  // no pre-warm
  AttachedKind<DS_RayOfLight> a(description);
  EXPECT_TRUE(a.kind->particles.empty());
  a.kind->Update(0.0f);
  EXPECT_EQ(a.kind->particles.size(), 5u);
  EXPECT_EQ(a.mech->quadCounts[0], 15u);
  for (const auto& ray : a.kind->particles) {
    EXPECT_GE(ray->position.x, 0.0f);
    EXPECT_LE(ray->position.x, 1.0f);
    EXPECT_EQ(ray->ownOpacity, 0.0f) << "a new ray starts dark";
    EXPECT_FLOAT_EQ(ray->ownSize, 16.0f);
  }
  // Its opacity rises over half its life and falls over the other half.
  RoutineParticle& ray = *a.kind->particles.front();
  for (int i = 0; i < 50; ++i)
    ray.Update(0.1f);
  EXPECT_NEAR(ray.ownOpacity, 1.0f, 1e-4f);
  for (int i = 0; i < 49; ++i)
    ray.Update(0.1f);
  EXPECT_NEAR(ray.ownOpacity, 0.0f, 0.03f);
}

TEST_F(RayOfLightTest, RayGeometryWidensFadesAndDims) {
  DS_RayOfLight description = Rays(1);
  description.farWidth.SetValue(20);  // twice as wide at the far edge
  description.head.SetValue(25);
  description.tail.SetValue(25);
  AttachedKind<DS_RayOfLight> a(description);
  DS_RayOfLight& rays = *a.kind;
  ASSERT_EQ(rays.particles.size(), 1u);
  RoutineParticle& ray = *rays.particles.front();
  ray.position.x = 0.5f;
  ray.ownOpacity = 1.0f;
  rays.FillQuads();
  const DX_V::PCT* v = BatchVertices(a.mech->batches[0]);
  // From (32, 0) on the start edge to (32, 64) on the far one; the half width is 8 at the
  // start, 16 at the far end and 10 where the head ends, a quarter of the way.
  EXPECT_NEAR(Distance(Corner(v[5]), D3DXVECTOR3(24, 0, 0)), 0.0f, 1e-3f) << "S - h1";
  EXPECT_NEAR(Distance(Corner(v[7]), D3DXVECTOR3(40, 0, 0)), 0.0f, 1e-3f) << "S + h1";
  EXPECT_NEAR(Distance(Corner(v[8]), D3DXVECTOR3(16, 64, 0)), 0.0f, 1e-3f) << "T - h2";
  EXPECT_NEAR(Distance(Corner(v[10]), D3DXVECTOR3(48, 64, 0)), 0.0f, 1e-3f) << "T + h2";
  EXPECT_NEAR(Distance(Corner(v[4]), D3DXVECTOR3(22, 16, 0)), 0.0f, 1e-3f) << "P1 - g1";
  EXPECT_NEAR(v[4].v, 0.25f, 1e-6f);
  EXPECT_NEAR(v[0].v, 0.75f, 1e-6f);
  for (int i : {0, 1, 2, 3, 4, 6, 9, 11})
    EXPECT_EQ(AlphaOf(v[i]), 255) << i;
  for (int i : {5, 7, 8, 10})
    EXPECT_EQ(AlphaOf(v[i]), 0) << "the ends fade out: " << i;

  // Near the ends of the edges a ray is dimmed.
  rays.edgeFade.SetValue(4);  // 0.02
  EXPECT_FLOAT_EQ(rays.EdgeDimming(0.01f), 0.5f);
  EXPECT_NEAR(rays.EdgeDimming(0.99f), 0.5f, 1e-5f);
  EXPECT_FLOAT_EQ(rays.EdgeDimming(0.5f), 1.0f);
  ray.position.x = 0.01f;
  rays.FillQuads();
  EXPECT_NEAR(AlphaOf(BatchVertices(a.mech->batches[0])[0]), 128, 1);
  // Without an edge fade rays are dimmed only once they have drifted past the ends.
  rays.edgeFade.SetValue(0);
  EXPECT_EQ(rays.EdgeDimming(0.0f), 1.0f);
  EXPECT_EQ(rays.EdgeDimming(1.0f), 1.0f);
  EXPECT_EQ(rays.EdgeDimming(-0.1f), 0.0f);
  EXPECT_EQ(rays.EdgeDimming(1.1f), 0.0f);
  ray.ownOpacity = std::nanf("");
  rays.FillQuads();
  EXPECT_EQ(AlphaOf(BatchVertices(a.mech->batches[0])[0]), 0) << "a NaN alpha packs as 0";
}

TEST_F(RayOfLightTest, RaysOfNoLifetimeHaveNoRates) {
  DS_RayOfLight rays = Rays(2);
  rays.lifetime.value.SetValue(0);
  rays.Emit(0.1f);
  ASSERT_EQ(rays.particles.size(), 2u);
  for (const auto& ray : rays.particles) {
    for (const auto& routine : ray->routines) {
      if (const auto* rise = dynamic_cast<const IPR_Increment*>(routine.Get()))
        EXPECT_EQ(rise->rate, 0.0f);
    }
    ray->Update(0.1f);
    EXPECT_TRUE(std::isfinite(ray->ownOpacity));
  }
  rays.Advance(0.1f);
  EXPECT_EQ(rays.particles.size(), 2u) << "replaced as they die";

  DS_RayOfLight many = Rays(0xFFFFFFFF);
  EXPECT_EQ(many.RayCount(), DS_RayOfLight::kMaxRays) << "three quads a ray within one list";
}

TEST_F(RayOfLightTest, ARayIsClearAtItsStartEdgeAndOpaqueInItsMiddle) {
  DS_RayOfLight description = Rays(1);
  description.head.SetValue(25);
  description.tail.SetValue(25);
  description.timing.RawValue() = 1;
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(description.CreateRuntimeObject())};
  auto& rays =
      static_cast<DS_RayOfLight&>(*static_cast<ZKW_ParticleSystemMech&>(*objects.front()).ctrl);
  objects.front()->AdvanceTime(1.0f);
  ASSERT_EQ(rays.particles.size(), 1u);
  RoutineParticle& ray = *rays.particles.front();
  ray.position.x = 0.5f;
  ray.ownOpacity = 1.0f;
  rays.FillQuads();
  Frame(renderer_, objects);
  EXPECT_LT(RedOf(PixelAt(32, 0)), 20) << "clear at the start edge";
  EXPECT_EQ(RedOf(PixelAt(32, 32)), 255) << "opaque in the middle";
  EXPECT_EQ(RedOf(PixelAt(8, 32)), 0) << "nothing beside the ray";
  EXPECT_GT(RedOf(PixelAt(32, 8)), 80) << "fading in over the head";
  EXPECT_LT(RedOf(PixelAt(32, 8)), 180);
}

}  // namespace
}  // namespace classic_test
