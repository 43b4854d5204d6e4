#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "classic_fixture.h"
#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/field_ptcl_sys.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/kinds/single_object_path.h"
#include "particles/classic/kinds/splash_ptcl_sys.h"
#include "particles/classic/kinds/spray_presets.h"
#include "particles/classic/kinds/static_object.h"
#include "particles/classic/kinds/stream_ptcl_sys.h"
#include "particles/classic/kinds/through_space_ctrl.h"
#include "particles/classic/kinds/vortex_ptcl_sys.h"

namespace classic_test {
namespace {

class SystemsRecordTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }
};

std::vector<uint8_t> Saved(const DS_IOF_Item& item) {
  return Bytes([&](DS_IOF_Archive& a) { item.Save(a); });
}

void SetSplash(ZKW_SplashPtclSys& s) {
  s.rectEmitter.rect.SetRect(100, 50, D3DXVECTOR3(50, 25, 0));
  s.sectorEmitter.point.RawValue() = {3, 4, 5};
  s.sectorEmitter.radius = 30;
  s.sectorEmitter.direction = 45;
  s.sectorEmitter.opening = 20;
  s.source.SetValue(1);
  s.count.SetValue(17);
  s.lifetime.SetValue(150);
  s.flight.SetValue(300);
  s.flight.spread.SetValue(12);
  s.flightSpeed.SetValue(40);
}

// Each of the seventeen kinds with values apart from their defaults, named by its class.
std::vector<std::unique_ptr<ZKW_ParticleSystemCtrl>> EveryKind() {
  std::vector<std::unique_ptr<ZKW_ParticleSystemCtrl>> kinds;
  auto space = std::make_unique<ZKW_ThroughSpaceCtrl>();
  space->counter.rate.SetValue(70);
  space->area.rect.SetRect(640, 480, D3DXVECTOR3(320, 240, 0));
  space->rotationSpeed.SetValue(10);
  space->rotationDirection.SetValue(1);
  space->centre.SetValue(D3DXVECTOR3(1, 2, 3));
  space->away = 1;
  space->flightSpeed.SetValue(120);
  kinds.push_back(std::move(space));

  auto field = std::make_unique<ZKW_FieldPtclSys>();
  field->lifetime.SetValue(250);
  field->fill.SetValue(60);
  field->slots.SetPositions({{1, 2, 3}, {4, 5, 6}, {-7, 8.5f, 0}});
  field->direction.SetValue(90);
  field->direction.spread.SetValue(15);
  field->startSpeed.SetValue(33);
  kinds.push_back(std::move(field));

  auto setBrown = [](ZKW_BrownAnimation& b) {
    b.count.SetValue(12);
    b.walkSpeed.SetValue(25);
    b.changeRate.SetValue(40);
    b.accelerationTime.SetValue(10);
    b.region.rect.SetRect(200, 100, D3DXVECTOR3(100, 50, 0));
  };
  auto brown = std::make_unique<ZKW_BrownAnimation>();
  setBrown(*brown);
  kinds.push_back(std::move(brown));
  auto firefly = std::make_unique<ZKW_Firefly>();
  setBrown(*firefly);
  firefly->tracer.look.size.SetValue(9);
  firefly->tracer.look.shapeName.SetValue(u"Sphere");
  firefly->tracer.counter.rate.SetValue(55);
  firefly->tracer.lifetime.SetValue(80);
  firefly->tracer.circleSize.SetValue(150);
  firefly->tracer.expansion.SetValue(75);
  kinds.push_back(std::move(firefly));

  auto still = std::make_unique<ZKW_StaticObject>();
  still->corners.SetRect(40, 20, D3DXVECTOR3(30, 40, 0));
  still->spinSpeed.SetValue(100);
  still->spinDirection.SetValue(1);
  kinds.push_back(std::move(still));
  auto path = std::make_unique<ZKW_SigleObjectPath>();
  path->pathSpeed.SetValue(10);
  path->orientation.SetValue(2);
  for (float x : {0.0f, 50.0f, 80.0f}) {
    DX_SmartPnt point;
    point.SetValueSilently(D3DXVECTOR3(x, x / 2, 0));
    path->path.AppendPoint(point, nullptr);
  }
  kinds.push_back(std::move(path));

  auto splash = std::make_unique<ZKW_SplashPtclSys>();
  SetSplash(*splash);
  kinds.push_back(std::move(splash));
  auto spray = std::make_unique<ZKW_SprayPtclSys>();
  SetSplash(*spray);
  spray->counter.rate.SetValue(44);
  kinds.push_back(std::move(spray));
  auto fog = std::make_unique<DS_PtclFog>();
  fog->kept.SetValue(5);
  fog->counter.rate.SetValue(100);
  fog->flightSpeed.SetValue(40);
  kinds.push_back(std::move(fog));
  auto bokeh = std::make_unique<DS_BokehLights>();
  bokeh->kept.SetValue(-2);
  kinds.push_back(std::move(bokeh));
  auto smoke3 = std::make_unique<DS_PtclSmoke3>();
  smoke3->kept.SetValue(7);
  kinds.push_back(std::move(smoke3));
  kinds.push_back(std::make_unique<DS_Shimmer>());

  auto setStream = [](DS_StreamPtclSys& s) {
    s.counter.rate.SetValue(80);
    s.area.SetRect(200, 100, D3DXVECTOR3(0, 0, 0));
    s.lifetime.SetValue(300);
    s.speed.value.SetValue(15);
    s.speed.jitter.SetValue(30);
    s.scatter.SetValue(25);
  };
  auto stream = std::make_unique<DS_StreamPtclSys>();
  setStream(*stream);
  kinds.push_back(std::move(stream));
  auto smoke2 = std::make_unique<DS_PtclSmoke2>();
  setStream(*smoke2);
  smoke2->kept1.SetValue(1);
  smoke2->kept2.SetValue(2);
  smoke2->kept3.SetValue(-3);
  kinds.push_back(std::move(smoke2));

  auto vortex = std::make_unique<ZKW_VortexPtclSys>();
  vortex->counter.rate.SetValue(90);
  vortex->emitter.point.RawValue() = {100, 80, 0};
  vortex->radialSpeed.SetValue(20);
  vortex->swirl.SetValue(150);
  vortex->swirlDirection.SetValue(1);
  vortex->sector.SetValue(30);
  vortex->sector.spread.SetValue(10);
  vortex->arms.SetValue(3);
  vortex->armRotation.SetValue(5);
  vortex->armDirection.SetValue(1);
  vortex->distance.SetValue(120);
  kinds.push_back(std::move(vortex));

  auto rain = std::make_unique<DS_RainOnGlass>();
  rain->counter.rate.SetValue(30);
  rain->pane.rect.SetRect(300, 200, D3DXVECTOR3(150, 100, 0));
  rain->slideForce.SetValue(40);
  rain->flow.SetValue(270);
  kinds.push_back(std::move(rain));

  auto ray = std::make_unique<DS_RayOfLight>();
  ray->area.SetRect(64, 64, D3DXVECTOR3(32, 32, 0));
  ray->count.SetValue(5);
  ray->lifetime.value.SetValue(50);
  ray->lifetime.jitter.SetValue(20);
  ray->width.value.SetValue(16);
  ray->width.jitter.SetValue(10);
  ray->drift.value.SetValue(300);
  ray->drift.jitter.SetValue(100);
  ray->farWidth.SetValue(20);
  ray->head.SetValue(25);
  ray->tail.SetValue(30);
  ray->edgeFade.SetValue(4);
  ray->kept.SetValue(-9);
  kinds.push_back(std::move(ray));

  for (auto& kind : kinds) {
    kind->appearance.size.SetValue(13);
    kind->speed.SetValue(150);
    kind->name = u"kind";
  }
  return kinds;
}

TEST_F(SystemsRecordTest, EveryKindRoundTripsThroughItsClassName) {
  const auto kinds = EveryKind();
  ASSERT_EQ(kinds.size(), 17u);
  for (const auto& kind : kinds) {
    const ZKW_ParticleSystemCtrl& written = *kind;
    const char* name = typeid(written).name();
    const std::vector<uint8_t> bytes = Saved(written);
    uint64_t left = 1;
    bool failed = true;
    auto read = ReadObject(bytes, &left, &failed);
    ASSERT_NE(read, nullptr) << name;
    const DS_ABObj_Constructor& object = *read;
    EXPECT_EQ(typeid(object), typeid(written));
    EXPECT_EQ(left, 0u) << name;
    EXPECT_FALSE(failed) << name;
    EXPECT_EQ(Saved(object), bytes) << name;
  }
}

TEST_F(SystemsRecordTest, ReadValuesTakeTheirScales) {
  const auto kinds = EveryKind();
  auto reread = [&](size_t i) { return ReadObject(Saved(*kinds[i])); };
  const auto space = reread(0);
  const auto& flight = dynamic_cast<const ZKW_ThroughSpaceCtrl&>(*space);
  EXPECT_FLOAT_EQ(flight.rotationSpeed.Scaled(), 4.0f);
  EXPECT_FLOAT_EQ(flight.flightSpeed.Scaled(), 1.2f);
  EXPECT_EQ(flight.centre.Value(), D3DXVECTOR3(1, 2, 3));
  const auto field = reread(1);
  const auto& places = dynamic_cast<const ZKW_FieldPtclSys&>(*field).slots;
  EXPECT_EQ(places.Positions().size(), 3u);
  EXPECT_EQ(places.FreeSlots(), (std::vector<int>{0, 1, 2}));
  EXPECT_FLOAT_EQ(dynamic_cast<const ZKW_FieldPtclSys&>(*field).lifetime.Scaled(), 2.5f);
  const auto brown = reread(2);
  EXPECT_FLOAT_EQ(dynamic_cast<const ZKW_BrownAnimation&>(*brown).accelerationTime.Scaled(), 0.22f);
  const auto path = reread(5);
  EXPECT_EQ(dynamic_cast<const ZKW_SigleObjectPath&>(*path).path.GetCount(), 3);
  const auto fog = reread(8);
  const auto& mist = dynamic_cast<const DS_PtclFog&>(*fog);
  EXPECT_FLOAT_EQ(mist.counter.rate.Scaled(), 1.0f) << "the fog's rate counts hundredths";
  EXPECT_FLOAT_EQ(mist.flightSpeed.Scaled(), 0.4f);
  EXPECT_FLOAT_EQ(mist.appearance.spinSpeed.Factor(), 0.0005f);
  EXPECT_EQ(mist.PrewarmTime(), 8.0f);
  const auto vortex = reread(14);
  EXPECT_FLOAT_EQ(dynamic_cast<const ZKW_VortexPtclSys&>(*vortex).armRotation.Scaled(), 10.0f);
  const auto ray = reread(16);
  const auto& rays = dynamic_cast<const DS_RayOfLight&>(*ray);
  EXPECT_FLOAT_EQ(rays.lifetime.value.Scaled(), 5.0f);
  EXPECT_FLOAT_EQ(rays.lifetime.jitter.Scaled(), 0.8f);
  EXPECT_FLOAT_EQ(rays.drift.value.Scaled(), 0.06f);
  EXPECT_FLOAT_EQ(rays.farWidth.Scaled(), 2.0f);
}

TEST_F(SystemsRecordTest, TruncatedRecordsFailWithoutHarm) {
  for (const auto& kind : EveryKind()) {
    const ZKW_ParticleSystemCtrl& written = *kind;
    const std::vector<uint8_t> bytes = Saved(written);
    for (size_t cut = 0; cut < bytes.size(); cut += 5) {
      bool failed = false;
      ReadObject(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut), nullptr, &failed);
      EXPECT_TRUE(failed) << typeid(written).name() << " cut at " << cut;
    }
  }
  // A field whose place count cannot be in the record keeps no places.
  const auto huge = Bytes([](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"ZKW_FieldPtclSys");
    a.io().WriteDword(1);
    a.io().WriteUInt32(100);
    a.io().WriteUInt32(50);
    a.io().WriteDword(0x7FFFFFFF);
  });
  bool failed = false;
  auto read = ReadObject(huge, nullptr, &failed);
  EXPECT_TRUE(failed);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(dynamic_cast<ZKW_FieldPtclSys&>(*read).slots.Positions().empty());
}

// A "ZKW_ParticleSystemCtrl" record whose appearance has the frame speed and picture links
// given.
std::vector<uint8_t> ControlRecord(unsigned frameSpeed, std::vector<DS_ImageFileLink> links = {}) {
  StepControl control;
  control.appearance.frameSpeed.SetValue(frameSpeed);
  control.appearance.picture.SetValue(DS_NamedFileLinkData(std::move(links)));
  control.appearance.colorSet.colors.RawValue() = {0x123456, 0x654321};
  control.appearance.colorSet.mode1.SetValue(2);
  control.appearance.colorSet.opacity.SetValue(30);
  control.appearance.effectLink = DS_HLSLEffectFile(u"fx.dll", 77);
  return Bytes([&](DS_IOF_Archive& a) { control.ZKW_ParticleSystemCtrl::Save(a); });
}

std::vector<LinkKey> Keys(const std::vector<DS_ImageFileLink>& links) {
  std::vector<LinkKey> keys;
  for (const DS_ImageFileLink& link : links)
    keys.push_back(link.Key());
  return keys;
}

void Append(DS_IOF_Virtual& io, const std::vector<uint8_t>& bytes) {
  io.WriteBytes(uint32_t(bytes.size()), bytes.data());
}

TEST_F(SystemsRecordTest, OlderFlightsThroughSpace) {
  for (uint32_t version : {1u, 2u}) {
    for (uint8_t away : {uint8_t{0}, uint8_t{1}}) {
      const auto bytes = Bytes([&](DS_IOF_Archive& a) {
        DS_IOF_Virtual& io = a.io();
        io.WriteWideString(u"ZKW_ThroughSpaceCtrl");
        io.WriteDword(version);
        io.WriteUInt32(50);
        for (int i = 0; i < 12; ++i)
          io.WriteFloat(float(i));
        io.WriteUInt32(10);
        io.WriteInt32(1);
        for (float c : {5.0f, 6.0f, 0.0f})
          io.WriteFloat(c);
        io.WriteByte(away);
        if (version >= 2) io.WriteUInt32(300);
        // Records this old nest an older control record, which keeps no envelopes.
        Append(io, LegacyControl(4, {1}, true));
      });
      uint64_t left = 1;
      auto read = ReadObject(bytes, &left);
      ASSERT_NE(read, nullptr);
      EXPECT_EQ(left, 0u);
      const auto& flight = dynamic_cast<const ZKW_ThroughSpaceCtrl&>(*read);
      EXPECT_EQ(flight.counter.rate.Value(), 50u);
      EXPECT_EQ(flight.area.rect.corners[3].Value(), D3DXVECTOR3(9, 10, 11));
      EXPECT_EQ(flight.centre.Value(), D3DXVECTOR3(5, 6, 0));
      EXPECT_EQ(flight.away, away);
      const ParticleAppearance& look = flight.appearance;
      if (version == 1) {
        EXPECT_EQ(flight.flightSpeed.Value(), 30u) << "the frame speed was the speed";
        EXPECT_FLOAT_EQ(flight.flightSpeed.Scaled(), 0.3f);
        EXPECT_EQ(look.frameSpeed.Value(), 100u);
      } else {
        EXPECT_EQ(flight.flightSpeed.Value(), 300u);
        EXPECT_EQ(look.frameSpeed.Value(), 30u);
      }
      EXPECT_EQ(look.sizeEnvelope.riseEnd.Value(), 0u);
      EXPECT_EQ(look.sizeEnvelope.fallStart.Value(), 100u);
      EXPECT_EQ(look.opacityEnvelope.riseEnd.Value(), away ? 0u : 10u);
      EXPECT_EQ(look.opacityEnvelope.fallStart.Value(), away ? 90u : 100u);
    }
  }
}

// A firefly record of firefly version `version` around a tracer of version `tracerVersion`.
std::vector<uint8_t> OlderFirefly(uint32_t version, int32_t tracerVersion,
                                  std::vector<DS_ImageFileLink> links) {
  ParticleAppearance traces;
  traces.size.SetValue(21);
  ZKW_BrownAnimation brown;
  brown.count.SetValue(4);
  brown.appearance.picture.SetValue(DS_NamedFileLinkData(links));
  brown.appearance.colorSet.colors.RawValue() = {0x112233};
  brown.appearance.colorSet.mode1.SetValue(1);
  brown.appearance.colorSet.opacity.SetValue(40);
  brown.appearance.effectLink = DS_HLSLEffectFile(u"fx.dll", 91);
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_Firefly");
    io.WriteDword(version);
    io.WriteInt32(tracerVersion);
    if (tracerVersion > 1) {
      io.WriteInt32(ParticleAppearance::kVersion);
      io.WriteWideString(u"Bubble");
      traces.Save(a);
    }
    io.WriteUInt32(60);  // rate
    io.WriteUInt32(90);  // lifetime
    if (tracerVersion < 2) io.WriteUInt32(33);
    io.WriteUInt32(120);  // circle size
    io.WriteUInt32(80);   // expansion
    if (tracerVersion < 4) io.WriteInt32(7);
    brown.Save(a);
  });
}

TEST_F(SystemsRecordTest, OlderFireflies) {
  for (int32_t t : {1, 2, 3, 4}) {
    uint64_t left = 1;
    auto read = ReadObject(OlderFirefly(2, t, {}), &left);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(left, 0u) << t;
    const auto& firefly = dynamic_cast<const ZKW_Firefly&>(*read);
    const ParticleAppearance& look = firefly.tracer.look;
    EXPECT_EQ(firefly.tracer.counter.rate.Value(), 60u);
    EXPECT_FLOAT_EQ(firefly.tracer.lifetime.Scaled(), 0.9f);
    EXPECT_FLOAT_EQ(firefly.tracer.circleSize.Scaled(), 1.2f);
    EXPECT_FLOAT_EQ(firefly.tracer.expansion.Scaled(), 0.6f);
    EXPECT_EQ(firefly.count.Value(), 4u);
    EXPECT_EQ(look.size.Value(), t < 2 ? 33u : 21u) << t;
    EXPECT_EQ(look.shapeName.Value(), t < 2 ? u"" : u"Bubble");
    EXPECT_EQ(look.flags & ParticleAppearance::kGravity, t < 4 ? 1u : 0u) << t;
    EXPECT_EQ(look.sizeEnvelope.fallStart.Value(), t < 3 ? 0u : 100u) << t;
    EXPECT_EQ(look.opacityEnvelope.riseEnd.Value(), t < 3 ? 10u : 0u) << t;
    EXPECT_EQ(look.opacityEnvelope.fallStart.Value(), t < 3 ? 0u : 100u) << t;
  }

  // Version 1 kept both pictures in the control's: the first is the traces'.
  const DS_ImageFileLink traces(u"trace.png", 5), flies(u"fly.png", 6);
  auto read = ReadObject(OlderFirefly(1, 4, {traces, flies}));
  ASSERT_NE(read, nullptr);
  const auto& split = dynamic_cast<const ZKW_Firefly&>(*read);
  EXPECT_EQ(Keys(split.tracer.look.picture.Value().links), std::vector<LinkKey>{traces.Key()});
  EXPECT_EQ(Keys(split.appearance.picture.Value().links), std::vector<LinkKey>{flies.Key()});
  EXPECT_EQ(split.tracer.look.colorSet.colors.Value(), std::vector<uint32_t>{0x112233});
  EXPECT_EQ(split.tracer.look.colorSet.mode1.Value(), 1);
  EXPECT_EQ(split.tracer.look.colorSet.opacity.Value(), 40u);
  EXPECT_EQ(split.tracer.look.effectLink.id, 91);

  // With one picture there is nothing to split: both keep what they read.
  auto lone = ReadObject(OlderFirefly(1, 4, {flies}));
  ASSERT_NE(lone, nullptr);
  const auto& kept = dynamic_cast<const ZKW_Firefly&>(*lone);
  EXPECT_EQ(Keys(kept.appearance.picture.Value().links), std::vector<LinkKey>{flies.Key()});
  EXPECT_TRUE(kept.tracer.look.picture.Value().links.empty());
}

// The three phases of the older splash layout.
void WritePhases(DS_IOF_Virtual& io, uint32_t rise, uint32_t hold, uint32_t fall, int32_t flag) {
  io.WriteUInt32(20);  // size spread
  io.WriteInt32(-1);   // dropped
  io.WriteUInt32(rise);
  io.WriteUInt32(hold);
  io.WriteUInt32(fall);
  io.WriteInt32(flag);
}

std::vector<uint8_t> OlderSplash(uint32_t rise, uint32_t hold, uint32_t fall, int32_t flag) {
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_SplashPtclSys");
    io.WriteDword(1);
    for (int i = 0; i < 15; ++i)
      io.WriteFloat(float(i));
    io.WriteUInt32(25);  // radius
    io.WriteUInt32(90);  // direction
    io.WriteUInt32(30);  // spread
    io.WriteInt32(1);
    io.WriteUInt32(14);  // count
    WritePhases(io, rise, hold, fall, flag);
    Append(io, LegacyControl(4, {1}, true));
  });
}

TEST_F(SystemsRecordTest, OlderSplashesAndSprays) {
  struct Case {
    uint32_t rise, hold, fall;
    int32_t flag;
    unsigned lifetime, sizeRise, sizeFall, opacityRise, opacityFall;
  } cases[] = {{50, 100, 50, 0, 200, 0, 100, 25, 75},
               {50, 100, 50, 1, 200, 25, 75, 0, 100},
               {0, 0, 0, 0, 0, 0, 100, 0, 100},
               {0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0xFFFFFFFF, 0, 100, 50, 100}};
  for (const Case& c : cases) {
    uint64_t left = 1;
    auto read = ReadObject(OlderSplash(c.rise, c.hold, c.fall, c.flag), &left);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(left, 0u);
    const auto& splash = dynamic_cast<const ZKW_SplashPtclSys&>(*read);
    EXPECT_EQ(splash.count.Value(), 14u);
    EXPECT_EQ(splash.sectorEmitter.radius, 25u);
    EXPECT_EQ(splash.lifetime.Value(), c.lifetime) << c.rise;
    const ParticleAppearance& look = splash.appearance;
    EXPECT_EQ(look.sizeSpread.Value(), 20u);
    EXPECT_EQ(look.sizeEnvelope.riseEnd.Value(), c.sizeRise) << c.rise;
    EXPECT_EQ(look.sizeEnvelope.fallStart.Value(), c.sizeFall) << c.rise;
    EXPECT_EQ(look.opacityEnvelope.riseEnd.Value(), c.opacityRise) << c.rise;
    EXPECT_EQ(look.opacityEnvelope.fallStart.Value(), c.opacityFall) << c.rise;
    EXPECT_EQ(splash.flight.spread.Value(), 360u);
    EXPECT_EQ(splash.flightSpeed.Value(), 0u);
  }

  const auto spray = Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_SprayPtclSys");
    io.WriteDword(1);
    io.WriteUInt32(65);
    for (int i = 0; i < 12; ++i)
      io.WriteFloat(float(i));
    WritePhases(io, 20, 60, 20, 0);
    Append(io, LegacyControl(4, {1}, true));
  });
  uint64_t left = 1;
  auto read = ReadObject(spray, &left);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(left, 0u);
  const auto& flat = dynamic_cast<const ZKW_SprayPtclSys&>(*read);
  EXPECT_EQ(flat.counter.rate.Value(), 65u);
  EXPECT_EQ(flat.rectEmitter.rect.corners[1].Value(), D3DXVECTOR3(3, 4, 5));
  EXPECT_EQ(flat.lifetime.Value(), 100u);
  EXPECT_EQ(flat.appearance.opacityEnvelope.riseEnd.Value(), 20u);
  EXPECT_EQ(flat.appearance.opacityEnvelope.fallStart.Value(), 80u);
  EXPECT_EQ(flat.count.Value(), 0u);
  EXPECT_EQ(flat.source.Value(), 0);
}

TEST_F(SystemsRecordTest, TheStreamsSecondSpeedPairHolds) {
  const auto bytes = Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"DS_StreamPtclSys");
    io.WriteDword(1);
    io.WriteUInt32(40);
    for (int i = 0; i < 12; ++i)
      io.WriteFloat(float(i));
    io.WriteUInt32(120);
    for (uint32_t v : {10u, 20u, 30u, 40u})
      io.WriteUInt32(v);
    io.WriteUInt32(50);
    Append(io, ControlRecord(100));
  });
  uint64_t left = 1;
  auto read = ReadObject(bytes, &left);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(left, 0u);
  const auto& stream = dynamic_cast<const DS_StreamPtclSys&>(*read);
  EXPECT_EQ(stream.speed.value.Value(), 30u);
  EXPECT_FLOAT_EQ(stream.speed.value.Scaled(), 60.0f);
  EXPECT_FLOAT_EQ(stream.speed.jitter.Scaled(), 0.6f);
  EXPECT_FLOAT_EQ(stream.lifetime.Scaled(), 1.2f);
  EXPECT_FLOAT_EQ(stream.scatter.Scaled(), 0.1f);
}

}  // namespace
}  // namespace classic_test
