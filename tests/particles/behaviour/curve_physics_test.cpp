#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/crt_rand.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/physics/curve_physics.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/physics/perlin_curve.h"
#include "particles/behaviour/physics/random_curve.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;

class CurvePhysics : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

// One parent particle and the curve the physics makes for it.
struct OneCurve {
  explicit OneCurve(ZKW_PtclSys_Physics& physics) {
    parents.emplace_back(std::make_unique<ParticleRecord>(D3DXVECTOR3(10, 20, 0)));
    made = physics.SpawnForParents(&parents);
  }
  ParticleList parents;
  ParticleList made;
};

const ParticleList& Points(const ZKW_PtclSysPhys_Curves& curves, size_t stripe = 0) {
  return curves.stripes.at(stripe).points->particles;
}

TEST_F(CurvePhysics, DefaultStripesRunFromTheOriginToOneAlongX) {
  struct Case {
    std::function<std::unique_ptr<ZKW_PtclSysPhys_Curves>()> make;
    size_t points;
  };
  const Case cases[] = {
      {[] { return std::make_unique<ZKW_PtclSysPhys_LineCurv>(); }, 11},
      {[] { return std::make_unique<ZKW_PtclSysPhys_FractalCurv>(); }, 33},
      {[] { return std::make_unique<ZKW_PtclSysPhys_PerlinCurv>(); }, 13},
      {[] { return std::make_unique<ZKW_PtclSysPhys_RandomCurv>(); }, 21},
  };
  for (const Case& c : cases) {
    const auto physics = c.make();
    OneCurve one(*physics);
    for (int frame = 0; frame < 10; ++frame)
      EXPECT_TRUE(physics->Update(&one.parents, 0.05f).empty());
    ASSERT_EQ(physics->stripes.size(), 1u);
    const ParticleList& points = Points(*physics);
    ASSERT_EQ(points.size(), c.points);
    EXPECT_EQ(points.front()->Position(), D3DXVECTOR3(0, 0, 0)) << c.points;
    EXPECT_EQ(points.back()->Position(), D3DXVECTOR3(1, 0, 0)) << c.points;
  }
  ZKW_PtclSysPhys_LineCurv line;
  OneCurve one(line);
  for (size_t i = 0; i < 11; ++i)
    EXPECT_FLOAT_EQ(Points(line)[i]->Position().x, static_cast<float>(i) / 10);
}

TEST_F(CurvePhysics, EachParentGetsACurveThatDiesWithIt) {
  ZKW_PtclSysPhys_LineCurv line;
  line.length.value.SetValue(40);
  line.alpha.value.SetValue(1);
  line.end.value.SetValue(3);
  EXPECT_TRUE(line.SpawnForParents(nullptr).empty());
  ParticleList parents;
  for (int i = 0; i < 2; ++i)
    parents.emplace_back(std::make_unique<ParticleRecord>());
  parents[0]->floats[ParticleRecord::kLife] = 0.5f;
  const ParticleList made = line.SpawnForParents(&parents);
  ASSERT_EQ(made.size(), 2u);
  ASSERT_EQ(line.stripes.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(made[i]->Parent(), parents[i].Get());
    EXPECT_EQ(line.stripes[i].owner, made[i]);
    EXPECT_TRUE(made[i]->Has(ParticleRecord::kRelativeToParent));
    EXPECT_TRUE(made[i]->Has(ParticleRecord::kDiesWithParent));
    ASSERT_EQ(made[i]->transforms.size(), 4u);
    EXPECT_NE(dynamic_cast<PtclTr_InheritAge*>(made[i]->transforms[0].Get()), nullptr);
    EXPECT_NE(dynamic_cast<PtclTr_LineGeom*>(made[i]->transforms[1].Get()), nullptr);
    EXPECT_NE(dynamic_cast<PtclTr_TimePrm*>(made[i]->transforms[2].Get()), nullptr);
    EXPECT_NE(dynamic_cast<PtclTr_StandardSpin*>(made[i]->transforms[3].Get()), nullptr);
  }
  line.Update(&parents, 0.1f);
  const ParticleRecord& curve = *made[0];
  EXPECT_FLOAT_EQ(curve.floats[ParticleRecord::kLife], 0.5f) << "the age is the parent's";
  const float block[4] = {1, 40, 0, 3};  // width, length, start (a line at 0), end
  for (int i = 0; i < 4; ++i)
    EXPECT_FLOAT_EQ(curve.curve[i], block[i]) << "curve block " << i;

  parents[0]->flags |= ParticleRecord::kDead;
  line.Update(&parents, 0.1f);
  ASSERT_EQ(line.stripes.size(), 1u) << "the stripe of a dead curve goes";
  EXPECT_EQ(line.stripes[0].owner, made[1]);
  line.KillAll();
  EXPECT_TRUE(line.stripes.empty());
}

TEST_F(CurvePhysics, TransformsDrawTheirRandomNumbersInAFixedOrder) {
  // A fresh generator after `skip` draws.
  const auto draws = [](int skip, int count) {
    crt_srand(1);
    for (int i = 0; i < skip; ++i)
      crt_rand();
    std::vector<float> out;
    for (int i = 0; i < count; ++i)
      out.push_back(crt_rand_unit());
    return out;
  };

  // The curve particle draws its two random floats, then angle, speed and sign of its spin.
  ZKW_PtclSysPhys_LineCurv line;
  std::vector<float> u = draws(2, 3);
  crt_srand(1);
  ParticleHandle curve = MakeChildParticle({});
  line.AttachCurveTransforms(*curve);
  const auto* spin = dynamic_cast<PtclTr_StandardSpin*>(curve->transforms.back().Get());
  ASSERT_NE(spin, nullptr);
  EXPECT_FLOAT_EQ(spin->angleRandom, 2 * u[0] - 1);
  EXPECT_FLOAT_EQ(spin->speedRandom, u[1]);
  EXPECT_EQ(spin->spinSign, static_cast<int>(std::lround(u[2] * 32767)) % 2 != 0 ? 1 : -1);

  // The curve block: width, length, start, end, each lowered by its spread at a new number.
  for (GraphSpreadPrm* p : {&line.width, &line.length, &line.start, &line.end}) {
    p->value.SetValue(2);
    p->spread.SetValue(100);
  }
  line.start.envelope.SetGraph(line.width.envelope.Value());
  u = draws(0, 4);
  crt_srand(1);
  PtclTr_LineGeom(&line).Apply(0.0f, curve.Get());
  for (int i = 0; i < 4; ++i)
    EXPECT_FLOAT_EQ(curve->curve[i], 2 * u[i]) << "curve block " << i;

  // A fractal midpoint comes after both end points: its record's two draws, then phase, r1, r2.
  ZKW_PtclSysPhys_FractalCurv fractal;
  fractal.levels.RawValue() = 1;
  u = draws(6, 3);
  crt_srand(1);
  const auto stripe = fractal.BuildStripe({});
  const auto* mid = dynamic_cast<PtclTr_FractalPnt*>(stripe->particles[1]->transforms[0].Get());
  ASSERT_NE(mid, nullptr);
  EXPECT_FLOAT_EQ(mid->phase, u[0]);
  EXPECT_FLOAT_EQ(mid->r1, 2 * u[1] - 1);
  EXPECT_FLOAT_EQ(mid->r2, 2 * u[2] - 1);

  // Perlin octaves fill their tables entry by entry: phase, from (the value), to.
  ZKW_PtclSysPhys_PerlinCurv perlin;
  u = draws(0, 15);
  crt_srand(1);
  const PtclTr_PerlinCurve octaves(&perlin, 2, 1);
  ASSERT_EQ(octaves.octaves.size(), 2u);
  size_t next = 0;
  const size_t sizes[2] = {2, 3};
  for (size_t o = 0; o < 2; ++o) {
    const auto* octave = dynamic_cast<PtclTr_PerlinOctave*>(octaves.octaves[o].Get());
    ASSERT_NE(octave, nullptr);
    ASSERT_EQ(octave->table.size(), sizes[o]);
    EXPECT_EQ(octave->frequency, sizes[o] - 1);
    EXPECT_FLOAT_EQ(octave->weight, 1.0f / static_cast<float>(o + 1));
    for (const PtclTr_PerlinOctave::Entry& e : octave->table) {
      EXPECT_FLOAT_EQ(e.phase, u[next]);
      EXPECT_FLOAT_EQ(e.from, 2 * u[next + 1] - 1);
      EXPECT_FLOAT_EQ(e.value, e.from);
      EXPECT_FLOAT_EQ(e.to, 2 * u[next + 2] - 1);
      next += 3;
    }
  }

  // A random walk bends x by e1 times y and y by e2 times x: from the start only e2 shows.
  ZKW_PtclSysPhys_RandomCurv random;
  u = draws(0, 2);
  crt_srand(1);
  const std::vector<D3DXVECTOR3> walk = random.RandomWalk(2);
  ASSERT_EQ(walk.size(), 3u);
  const float e2 = random.roughness.Scaled() * (2 * u[1] - 1);
  EXPECT_NEAR(walk[1].x, 0.5f / std::sqrt(1 + e2 * e2), 1e-6f);
  EXPECT_NEAR(walk[1].y, 0.5f * e2 / std::sqrt(1 + e2 * e2), 1e-6f);
  EXPECT_EQ(walk[2], D3DXVECTOR3(1, 0, 0));
}

TEST_F(CurvePhysics, FractalMidpointsSitOnTheBisectorsOfTheirMovedEnds) {
  // At speed 5 a frame of 0.3 s moves the phase by 1.5: it still comes back into 0..1.
  for (const float step : {0.05f, 0.3f}) {
    ZKW_PtclSysPhys_FractalCurv fractal;
    fractal.roughness.SetValue(100);  // 0.4
    OneCurve one(fractal);
    for (int frame = 0; frame < 12; ++frame) {
      fractal.Update(&one.parents, step);
      for (const ParticleHandle& point : Points(fractal)) {
        const auto* mid = point->transforms.empty()
                              ? nullptr
                              : dynamic_cast<PtclTr_FractalPnt*>(point->transforms[0].Get());
        if (mid == nullptr) continue;
        const D3DXVECTOR3 a = mid->a->Position(), b = mid->b->Position();
        const D3DXVECTOR3 ab = b - a, off = point->Position() - (a + b) * 0.5f;
        EXPECT_NEAR(D3DXVec3Dot(&off, &ab), 0.0f, 1e-5f) << "frame " << frame;
        EXPECT_LE(D3DXVec3Length(&off), 0.4f * D3DXVec3Length(&ab) + 1e-5f) << "step " << step;
        EXPECT_GE(mid->phase, 0.0f);
        EXPECT_LE(mid->phase, 1.0f) << "step " << step;
      }
    }
    EXPECT_FLOAT_EQ(fractal.clockTotal, 12 * step * 5);
    EXPECT_NE(Points(fractal)[16]->Position().y, 0.0f) << "the middle moved";
  }
}

TEST_F(CurvePhysics, RandomPointsReachTheirWalkAndAreReAimedEveryFifthOfASecond) {
  ZKW_PtclSysPhys_RandomCurv random;
  OneCurve one(random);
  std::vector<D3DXVECTOR3> targets;
  for (const ParticleHandle& p : Points(random))
    targets.push_back(p->Position() + p->Velocity());
  EXPECT_FLOAT_EQ(Points(random)[0]->floats[ParticleRecord::kLife], 1.0f) << "the re-aim time";
  random.Update(&one.parents, 0.1f);
  random.Update(&one.parents, 0.1f);  // total 1: not past the re-aim time yet
  for (size_t i = 0; i < targets.size(); ++i) {
    EXPECT_NEAR(Points(random)[i]->Position().x, targets[i].x, 1e-5f) << i;
    EXPECT_NEAR(Points(random)[i]->Position().y, targets[i].y, 1e-5f) << i;
  }
  random.Update(&one.parents, 0.01f);
  EXPECT_FLOAT_EQ(Points(random)[0]->floats[ParticleRecord::kLife], 2.05f);
  EXPECT_EQ(Points(random).back()->Position(), D3DXVECTOR3(1, 0, 0));
}

TEST_F(CurvePhysics, PerlinOffsetsSumTheOctavesAtEachPoint) {
  ZKW_PtclSysPhys_PerlinCurv perlin;
  OneCurve one(perlin);
  const auto* curve = dynamic_cast<PtclTr_PerlinCurve*>(one.made[0]->transforms.back().Get());
  ASSERT_NE(curve, nullptr) << "the octaves step with the curve";
  for (const ParticleHandle& p : Points(perlin))
    ASSERT_EQ(p->transforms, curve->octaves) << "every point shares the octaves";
  perlin.Update(&one.parents, 0.1f);
  // At x = 0 and no scroll each octave gives its first table value.
  float want = 0;
  for (const auto& octave : curve->octaves) {
    const auto& o = dynamic_cast<const PtclTr_PerlinOctave&>(*octave);
    want += o.table[0].value * o.weight * 0.1f;
  }
  EXPECT_FLOAT_EQ(Points(perlin)[0]->floats[ParticleRecord::kAlong], want);
  float largest = 0;
  for (const ParticleHandle& p : Points(perlin))
    largest = std::max(largest, std::fabs(p->floats[ParticleRecord::kAlong]));
  EXPECT_GT(largest, 0.0f);
  EXPECT_LE(largest, 0.1f * 1.5f) << "amplitude 0.1 times weights 1 and 1/2";

  // A change of 4 phases a frame keeps every value between its targets.
  perlin.changeSpeed.SetValue(800);  // 40 a second
  for (int frame = 0; frame < 10; ++frame)
    perlin.Update(&one.parents, 0.1f);
  for (const auto& octave : curve->octaves)
    for (const PtclTr_PerlinOctave::Entry& e :
         dynamic_cast<const PtclTr_PerlinOctave&>(*octave).table) {
      EXPECT_GE(e.phase, 0.0f);
      EXPECT_LE(e.phase, 1.0f);
      EXPECT_LE(std::fabs(e.value), 1.0f);
    }
}

// A maker of curve physics of kind K with `set` applied to the defaults.
template <class K, class Set>
std::function<std::unique_ptr<ZKW_PtclSysPhys_Curves>()> Kind(Set set) {
  return [set] {
    auto made = std::make_unique<K>();
    set(*made);
    return made;
  };
}

TEST_F(CurvePhysics, StoredCountsAreClampedToWorkableStripes) {
  using Line = ZKW_PtclSysPhys_LineCurv;
  using Random = ZKW_PtclSysPhys_RandomCurv;
  using Fractal = ZKW_PtclSysPhys_FractalCurv;
  using Perlin = ZKW_PtclSysPhys_PerlinCurv;
  struct Case {
    const char* what;
    std::function<std::unique_ptr<ZKW_PtclSysPhys_Curves>()> make;
    size_t points;
  };
  const Case cases[] = {
      {"line, 0 segments", Kind<Line>([](Line& c) { c.segments.RawValue() = 0; }), 2},
      {"line, 4e9 segments", Kind<Line>([](Line& c) { c.segments.RawValue() = 4000000000u; }),
       65535},
      {"random, 0 segments", Kind<Random>([](Random& c) { c.segments.RawValue() = 0; }), 2},
      {"fractal, 0 levels", Kind<Fractal>([](Fractal& c) { c.levels.RawValue() = 0; }), 2},
      {"fractal, 40 levels", Kind<Fractal>([](Fractal& c) { c.levels.RawValue() = 40; }), 32769},
      {"perlin, 0 octaves", Kind<Perlin>([](Perlin& c) { c.octaves.RawValue() = 0; }), 7},
      {"perlin, multiplier 0",
       Kind<Perlin>([](Perlin& c) { c.frequencyMultiplier.RawValue() = 0; }), 13},
      {"perlin, 100 octaves", Kind<Perlin>([](Perlin& c) {
         c.octaves.RawValue() = 100;
         c.segments.RawValue() = 0;
       }),
       32769},
      {"perlin, huge multiplier and segments", Kind<Perlin>([](Perlin& c) {
         c.frequencyMultiplier.RawValue() = 4000000000u;
         c.segments.RawValue() = 4000000000u;
       }),
       65535},
  };
  for (const Case& c : cases) {
    const auto physics = c.make();
    OneCurve one(*physics);
    physics->Update(&one.parents, 0.3f);
    ASSERT_EQ(physics->stripes.size(), 1u) << c.what;
    EXPECT_EQ(Points(*physics).size(), c.points) << c.what;
    EXPECT_EQ(Points(*physics).back()->Position().x, 1.0f) << c.what;
  }
}

TEST_F(CurvePhysics, RecordsOfEveryKindReadBack) {
  ZKW_PtclSysPhys_LineCurv line;
  line.segments.RawValue() = 4;
  line.spin.mode.RawValue() = 2;
  line.end.value.SetValue(7);
  ZKW_PtclSysPhys_FractalCurv fractal;
  fractal.levels.RawValue() = 3;
  fractal.roughness.SetValue(10);
  fractal.speed.SetValue(20);
  ZKW_PtclSysPhys_RandomCurv random;
  random.segments.RawValue() = 6;
  random.speed.SetValue(5);
  ZKW_PtclSysPhys_PerlinCurv perlin;
  perlin.amplitude.value.SetValue(80);
  perlin.octaves.RawValue() = 3;
  perlin.frequencyMultiplier.RawValue() = 2;
  perlin.scrollSpeed.SetValue(30);
  ExpectRoundTrip<ZKW_PtclSysPhys_LineCurv>(line);
  ExpectRoundTrip<ZKW_PtclSysPhys_FractalCurv>(fractal);
  ExpectRoundTrip<ZKW_PtclSysPhys_RandomCurv>(random);
  ExpectRoundTrip<ZKW_PtclSysPhys_PerlinCurv>(perlin);
  ExpectRoundTrip<ZKW_PtclSysPhys_PerlinCurv>(ZKW_PtclSysPhys_PerlinCurv());

  bool whole = false;
  const auto read = ReadAs<ZKW_PtclSysPhys_PerlinCurv>(behaviour_test::Saved(perlin), &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_FLOAT_EQ(read->scrollSpeed.Scaled(), 0.3f) << "scaled values follow what is read";
  EXPECT_FLOAT_EQ(read->amplitude.value.Scaled(), 0.16f);
}

// The curves part as version 1 wrote it: no start and end.
void CurvesV1(DS_IOF_Archive& a, const ZKW_PtclSysPhys_Curves& curves) {
  WriteRecordHeader(a, u"ZKW_PtclSysPhys_Curves", 1);
  WriteSpinPrm(a, curves.spin);
  for (const GraphSpreadPrm* p : {&curves.length, &curves.width, &curves.alpha})
    WriteGraphSpreadPrm(a, *p);
  curves.ZKW_PtclSysPhys_PntStripes::Save(a);
}

TEST_F(CurvePhysics, OlderRecordsKeepTheDefaultsOfWhatTheyLack) {
  ZKW_PtclSysPhys_LineCurv line;
  line.width.value.SetValue(9);
  const std::vector<uint8_t> lineV1 = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_LineCurv", 1);
    a.io().WriteUInt32(3);
    CurvesV1(a, line);
  });
  bool whole = false;
  const auto readLine = ReadAs<ZKW_PtclSysPhys_LineCurv>(lineV1, &whole);
  ASSERT_NE(readLine, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(readLine->segments.Value(), 3u);
  EXPECT_FLOAT_EQ(readLine->width.value.Scaled(), 9.0f);
  unsigned cursor = 1;
  EXPECT_EQ(readLine->start.envelope.ValueAt(0.5f, &cursor), 0.0f) << "the default start line";
  EXPECT_EQ(readLine->end.value.Value(), 1u);

  const std::vector<uint8_t> fractalV1 = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_FractalCurv", 1);
    a.io().WriteUInt32(4);
    a.io().WriteUInt32(25);
    ZKW_PtclSysPhys_FractalCurv().ZKW_PtclSysPhys_Curves::Save(a);
  });
  const auto fractal = ReadAs<ZKW_PtclSysPhys_FractalCurv>(fractalV1, &whole);
  ASSERT_NE(fractal, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(fractal->levels.Value(), 4u);
  EXPECT_FLOAT_EQ(fractal->roughness.Scaled(), 0.1f);
  EXPECT_FLOAT_EQ(fractal->speed.Scaled(), 5.0f) << "the default speed";

  struct Perlin {
    uint32_t version;
    float amplitude;
    unsigned octaves;
    float changeSpeed;
  };
  const ZKW_PtclSysPhys_PerlinCurv defaults;
  for (const Perlin& v : {Perlin{0, 0.0f, 2, 2.5f}, Perlin{1, 0.0f, 2, 2.5f},
                          Perlin{2, 0.06f, 2, 2.5f}, Perlin{3, 0.002f, 5, 0.5f}}) {
    const std::vector<uint8_t> bytes = Bytes([&](DS_IOF_Archive& a) {
      WriteRecordHeader(a, u"ZKW_PtclSysPhys_PerlinCurv", v.version);
      a.io().WriteUInt32(8);
      if (v.version == 2) a.io().WriteUInt32(30);
      if (v.version == 3) {
        GraphSpreadPrm amplitude{1, 0.002f};
        WriteGraphSpreadPrm(a, amplitude);
        a.io().WriteUInt32(5);
        a.io().WriteUInt32(2);
        a.io().WriteUInt32(10);
      }
      defaults.ZKW_PtclSysPhys_Curves::Save(a);
    });
    const auto perlin = ReadAs<ZKW_PtclSysPhys_PerlinCurv>(bytes, &whole);
    ASSERT_NE(perlin, nullptr);
    EXPECT_TRUE(whole) << "version " << v.version;
    EXPECT_EQ(perlin->segments.Value(), 8u);
    EXPECT_FLOAT_EQ(perlin->amplitude.value.Scaled(), v.amplitude) << "version " << v.version;
    EXPECT_EQ(perlin->octaves.Value(), v.octaves);
    EXPECT_FLOAT_EQ(perlin->changeSpeed.Scaled(), v.changeSpeed);
    EXPECT_FLOAT_EQ(perlin->scrollSpeed.Scaled(), 0.0f);
  }

  // A truncated record fails the stream and keeps the defaults it did not reach.
  std::vector<uint8_t> cut = behaviour_test::Saved(ZKW_PtclSysPhys_RandomCurv());
  cut.resize(cut.size() / 2);
  const auto random = ReadAs<ZKW_PtclSysPhys_RandomCurv>(cut, &whole);
  EXPECT_FALSE(whole);
  if (random) EXPECT_EQ(random->segments.Value(), 20u);
}

}  // namespace
