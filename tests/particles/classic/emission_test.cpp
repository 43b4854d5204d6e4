#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/random_direction.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/emission/emission_shapes.h"

namespace {

TEST(EvenImitter, KeepsTheFractionSoTheRateIsExact) {
  ZKW_EvenImitter even;  // 100 x 0.2 = 20 per second
  int total = 0;
  for (int step = 0; step < 125; ++step) {  // 2 s in steps of 0.016
    const int n = even.Count(0.016f);
    EXPECT_LE(n, 1);
    total += n;
  }
  EXPECT_NEAR(total, 40, 1);

  ZKW_EvenImitter fresh;
  EXPECT_EQ(fresh.Count(0.2f), 4);

  ZKW_EvenImitter off;
  off.rate.SetValue(0);
  EXPECT_EQ(off.Count(1.0f), 0);
  EXPECT_EQ(off.accumulator, 0.0f) << "no rate leaves the accumulator alone";

  ZKW_EvenImitter flood;
  flood.rate.SetValue(std::numeric_limits<uint32_t>::max());
  EXPECT_EQ(flood.Count(10.0f), std::numeric_limits<int>::max()) << "saturates, never wraps";
}

TEST(RndImitter, FiresOnTheFirstPositiveStepThenAfterItsIntervals) {
  crt_srand(3);
  ZKW_RndImitter random;
  random.minimum.RawValue() = 0.5f;
  random.maximum.RawValue() = 1.5f;
  EXPECT_EQ(random.Count(0.0f), 0) << "a first call with dt 0";
  EXPECT_EQ(random.Count(0.1f), 1);
  EXPECT_GE(random.next, 0.5f);
  EXPECT_LE(random.next, 1.5f);
  int fired = 0;
  float waited = 0.1f;
  while (fired == 0 && waited < 3.0f) {
    fired = random.Count(0.05f);
    waited += 0.05f;
  }
  EXPECT_EQ(fired, 1);
  EXPECT_GE(waited, 0.5f);
  EXPECT_LE(waited, 1.5f + 0.1f);

  ZKW_RndImitter every;
  EXPECT_EQ(every.Count(0.0f), 0);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(every.Count(i == 0 ? 0.1f : 0.0f), 1) << "both 0: one on every call";
}

TEST(RndImitter, BadIntervalsCountAsZeroAndOneCallIsBounded) {
  for (float bad :
       {-1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    ZKW_RndImitter odd;
    odd.minimum.RawValue() = bad;
    odd.maximum.RawValue() = bad;
    EXPECT_EQ(odd.Count(0.1f), 1) << bad;
    EXPECT_EQ(odd.Count(0.0f), 1) << bad;
  }
  // Intervals near 0 make events faster than any list holds; they stay due for later calls.
  ZKW_RndImitter tiny;
  tiny.minimum.RawValue() = 1e-9f;
  tiny.maximum.RawValue() = 1e-9f;
  EXPECT_EQ(tiny.Count(100.0f), int(kMaxParticlesPerList));
  EXPECT_GT(tiny.Count(0.0f), 0);
}

TEST(ImitterShapes, PlaceParticlesAsEachShapeDraws) {
  ZKW_PointImitter point;
  point.point.RawValue() = {3, 4, 5};
  EXPECT_TRUE(point.Generate(0).empty());
  EXPECT_TRUE(point.Generate(-2).empty());
  for (const auto& p : point.Generate(3))
    EXPECT_EQ(p->position, D3DXVECTOR3(3, 4, 5));

  ZKW_SectorImitter sector;
  sector.point.RawValue() = {10, 10, 0};
  sector.direction = 90;
  sector.opening = 60;
  sector.radius = 8;
  for (const auto& p : sector.Generate(200)) {
    const D3DXVECTOR3 d = p->position - D3DXVECTOR3(10, 10, 0);
    const float r = std::hypot(d.x, d.y);
    EXPECT_LE(r, 8.0f + 1e-4f);
    if (r < 1e-3f) continue;
    const float degrees = std::atan2(-d.y, d.x) * 180.0f / 3.1415927f;  // from +x towards -y
    EXPECT_GE(degrees, 60.0f - 1e-2f);
    EXPECT_LE(degrees, 120.0f + 1e-2f);
  }

  // The circle draws the radius first, then the angle.
  ZKW_CircleImitter circle;
  circle.diameter = 6;
  crt_srand(11);
  const D3DXVECTOR3 placed = circle.Generate(1).front()->position;
  crt_srand(11);
  const float r = crt_rand_unit() * 3.0f;
  D3DXVECTOR3 expected;
  RandomDirection2D(&expected, r, 0, 360);
  EXPECT_EQ(placed, expected);

  // The rectangle draws y first.
  ZKW_RectImitter rect;
  rect.rect.corners[0].RawValue() = {0, 100, 0};
  rect.rect.corners[3].RawValue() = {10, 200, 7};
  crt_srand(4);
  const D3DXVECTOR3 inRect = rect.Generate(1).front()->position;
  crt_srand(4);
  const float y = crt_rand_unit() * 100.0f + 100.0f;
  const float x = crt_rand_unit() * 10.0f;
  EXPECT_EQ(inRect, D3DXVECTOR3(x, y, 0));
}

TEST(PosArrImitter, FillsFreeSlotsAndTakesThemBackWhenParticlesGo) {
  ZKW_PosArrImitter array;
  std::vector<D3DXVECTOR3> points;
  for (int i = 0; i < 10; ++i)
    points.push_back({float(i), 0, 0});
  array.SetPositions(points);

  RoutineParticleList all = array.Generate(10);
  ASSERT_EQ(all.size(), 10u);
  EXPECT_TRUE(array.FreeSlots().empty());
  std::vector<bool> taken(10, false);
  for (const auto& p : all) {
    const int slot = int(p->position.x);
    EXPECT_FALSE(taken[slot]) << "one particle per place";
    taken[slot] = true;
    ASSERT_EQ(p->routines.size(), 1u);
    EXPECT_TRUE(p->Update(0.1f));
  }
  EXPECT_TRUE(array.Generate(3).empty()) << "no free place";

  const int freed = int(all.front()->position.x);
  all.pop_front();
  EXPECT_EQ(array.FreeSlots(), std::vector<int>{freed});
  EXPECT_EQ(array.Generate(5).size(), 1u) << "at most the free places";

  // Particles that outlive their array free nothing.
  auto gone = std::make_unique<ZKW_PosArrImitter>(array);
  gone->SetPositions(points);
  RoutineParticleList orphans = gone->Generate(2);
  gone.reset();
  orphans.clear();
}

}  // namespace
