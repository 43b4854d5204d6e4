#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>

#include "core/crt_rand.h"
#include "geometry/path/bspline_point_io.h"
#include "lines_fixture.h"
#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/lines/sliding_line.h"
#include "particles/classic/lines/waving_line.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"

namespace classic_test {
namespace {

// A device, so that the played records have batches to fill.
using LinesRecordTest = ClassicRenderTest;

std::vector<uint8_t> Saved(const DS_IOF_Item& item) {
  return Bytes([&](DS_IOF_Archive& a) { item.Save(a); });
}

// Two looks that tell apart: the line's of size 7 and the heads' of size 3.
void TwoLooks(ParticleAppearance& line, ParticleAppearance& heads) {
  line.size.SetValue(7);
  line.blend.SetValue(1);
  heads.size.SetValue(3);
  heads.glowMode.SetValue(ParticleAppearance::kGlow);
}

void SetStaticLine(ZKW_StaticLineCtrl& line) {
  StraightPath(line.path, {{0, 0, 0}, {100, 50, 0}, {200, 0, 0}});
  line.particlesOn.SetValue(1);
  TwoLooks(line.lineAppearance, line.appearance);
  line.offsetAcross.SetValue(2.5f);
  line.offsetAlong.SetValue(-4.0f);
  line.width.SetValue(12);
  line.widthEnvelope.riseEnd.SetValue(10);
  line.widthEnvelope.endFactor.SetValue(30);
  line.opacityEnvelope.fallStart.SetValue(70);
  line.speed.SetValue(120);
}

void SetShootingLine(ZKW_ShootingLine& line) {
  StraightPath(line.path, {{0, 0, 0}, {300, 0, 0}});
  TwoLooks(line.lineAppearance, line.appearance);
  line.shotCounter.minimum.SetValue(0.25f);
  line.shotCounter.maximum.SetValue(2.0f);
  line.shotSpeed.SetValue(150);
  line.lateralOffset.SetValue(9);
  line.trailLength.SetValue(60);
  line.width.SetValue(8);
  line.widthEnvelope.startFactor.SetValue(40);
  line.wobbleFrequency.SetValue(500);
  line.particlesOn.SetValue(1);
  line.offsetAcross.SetValue(1.0f);
  line.offsetAlong.SetValue(2.0f);
}

std::vector<std::unique_ptr<ZKW_ParticleSystemCtrl>> EveryKind() {
  std::vector<std::unique_ptr<ZKW_ParticleSystemCtrl>> kinds;
  auto growing = std::make_unique<ZKW_GrovingLine>();
  SetStaticLine(*growing);
  growing->pathWidthEnvelope.riseEnd.SetValue(20);
  growing->pathOpacityEnvelope.startFactor.SetValue(50);
  growing->retract.SetValue(1);
  kinds.push_back(std::move(growing));
  auto sliding = std::make_unique<ZKW_SlidingLine>();
  SetStaticLine(*sliding);
  sliding->slideLength.SetValue(80);
  sliding->alternate.SetValue(1);
  kinds.push_back(std::move(sliding));
  auto shooting = std::make_unique<ZKW_ShootingLine>();
  SetShootingLine(*shooting);
  kinds.push_back(std::move(shooting));
  auto tears = std::make_unique<ZKW_Tears>();
  SetShootingLine(*tears);
  kinds.push_back(std::move(tears));
  auto waving = std::make_unique<ZKW_WavingLine>();
  waving->start.SetValue({10, 20, 0});
  waving->end.SetValue({210, 20, 0});
  waving->width.SetValue(6);
  waving->widthEnvelope.fallStart.SetValue(60);
  TwoLooks(waving->lineAppearance, waving->appearance);
  waving->amplitude.SetValue(30);
  waving->ripple.SetValue(40);
  waving->particlesOn.SetValue(1);
  waving->offsetAcross.SetValue(3.0f);
  waving->offsetAlong.SetValue(-1.0f);
  kinds.push_back(std::move(waving));
  auto path = std::make_unique<ZKW_ParticlePath>();
  StraightPath(path->path, {{0, 0, 0}, {50, 50, 0}, {100, 0, 0}});
  path->counter.rate.SetValue(40);
  path->pathSpeed.SetValue(70);
  path->speedSpread.SetValue(25);
  path->lateralOffset.SetValue(15);
  path->wobbleMode.SetValue(1);
  path->wobbleFrequency.SetValue(300);
  path->startWidth.SetValue(10);
  path->endWidth.SetValue(90);
  path->rampInEnd.SetValue(20);
  path->rampOutStart.SetValue(80);
  kinds.push_back(std::move(path));
  auto trace = std::make_unique<ZKW_ParticleTrace>();
  StraightPath(trace->path, {{0, 0, 0}, {100, 0, 0}});
  trace->points.SetValue(11);
  trace->lifetime.SetValue(250);
  trace->scatter.SetValue(4);
  trace->drift.SetValue(6);
  kinds.push_back(std::move(trace));
  return kinds;
}

TEST_F(LinesRecordTest, EveryKindRoundTripsThroughItsClassName) {
  const char16_t* names[] = {u"ZKW_GrovingLine",  u"ZKW_SlidingLine", u"ZKW_ShootingLine",
                             u"ZKW_Tears",        u"ZKW_WavingLine",  u"ZKW_ParticlePath",
                             u"ZKW_ParticleTrace"};
  auto kinds = EveryKind();
  for (size_t i = 0; i < kinds.size(); ++i) {
    const std::vector<uint8_t> bytes = Saved(*kinds[i]);
    ReadArchive header(bytes);
    zkw_string name;
    header.archive().io().ReadWideString(name);
    EXPECT_EQ(name, names[i]);
    uint64_t left = 1;
    bool failed = true;
    auto read = ReadObject(bytes, &left, &failed);
    ASSERT_NE(read, nullptr) << i;
    const DS_ABObj_Constructor& made = *read;
    const ZKW_ParticleSystemCtrl& saved = *kinds[i];
    EXPECT_EQ(typeid(made), typeid(saved));
    EXPECT_EQ(left, 0u) << i;
    EXPECT_FALSE(failed) << i;
    EXPECT_EQ(Saved(*read), bytes) << i;
  }
  const auto growingRead = ReadObject(Saved(*kinds[0]));
  const auto& growing = dynamic_cast<const ZKW_GrovingLine&>(*growingRead);
  EXPECT_EQ(growing.path.GetCount(), 3);
  EXPECT_EQ(growing.lineAppearance.size.Value(), 7u);
  EXPECT_EQ(growing.appearance.size.Value(), 3u);
  EXPECT_FLOAT_EQ(growing.offsetAlong.Value(), -4.0f);
  EXPECT_EQ(growing.retract.Value(), 1);
  EXPECT_EQ(growing.GetObjectKind(), DS_ABObj_Constructor::kLineKind);
  const auto wavingRead = ReadObject(Saved(*kinds[4]));
  const auto& waving = dynamic_cast<const ZKW_WavingLine&>(*wavingRead);
  EXPECT_FLOAT_EQ(waving.ripple.Scaled(), 0.4f);
  EXPECT_EQ(waving.end.Value(), D3DXVECTOR3(210, 20, 0));
  EXPECT_EQ(waving.GetObjectKind(), DS_ABObj_Constructor::kParticleSystemKind);
  const auto shootingRead = ReadObject(Saved(*kinds[2]));
  const auto& shooting = dynamic_cast<const ZKW_ShootingLine&>(*shootingRead);
  EXPECT_FLOAT_EQ(shooting.wobbleFrequency.Scaled(), 0.1f);
  EXPECT_FLOAT_EQ(shooting.shotCounter.maximum.Value(), 2.0f);
  const auto traceRead = ReadObject(Saved(*kinds[6]));
  const auto& trace = dynamic_cast<const ZKW_ParticleTrace&>(*traceRead);
  EXPECT_FLOAT_EQ(trace.lifetime.Scaled(), 2.5f);
}

TEST_F(LinesRecordTest, TruncatedRecordsFailTheStreamAndStillMakeTheirKind) {
  for (const auto& kind : EveryKind()) {
    const std::vector<uint8_t> bytes = Saved(*kind);
    for (size_t cut : {size_t(40), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
      bool failed = false;
      auto read =
          ReadObject(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut), nullptr, &failed);
      ASSERT_NE(read, nullptr);
      const DS_ABObj_Constructor& made = *read;
      const ZKW_ParticleSystemCtrl& saved = *kind;
      EXPECT_EQ(typeid(made), typeid(saved));
      EXPECT_TRUE(failed) << typeid(saved).name() << " cut at " << cut;
    }
  }
}

// The record of a static line (a growing line of `growingVersion` around it) whose line part
// is of version 1: one Int32 more after the offsets, and the two looks stored in each other's
// places.
std::vector<uint8_t> OldGrowingLine(uint32_t growingVersion) {
  ZKW_GrovingLine line;
  SetStaticLine(line);
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_GrovingLine");
    io.WriteDword(growingVersion);
    line.pathWidthEnvelope.Write(a);
    line.pathOpacityEnvelope.Write(a);
    if (growingVersion >= 2) io.WriteInt32(1);
    io.WriteWideString(u"ZKW_StaticLineCtrl");
    io.WriteDword(1);
    io.WriteUInt32(line.width.Value());
    line.widthEnvelope.Write(a);
    line.opacityEnvelope.Write(a);
    io.WriteWideString(u"ZKW_LineCtrl");
    io.WriteDword(1);
    WriteBSplinePointVector(a, line.path.Value());
    io.WriteInt32(1);
    line.appearance.SaveBlock(a);  // the heads' look in the line's place
    io.WriteFloat(2.5f);
    io.WriteFloat(-4.0f);
    io.WriteInt32(77);  // dropped
    ZKW_GrovingLine control;
    control.appearance.Assign(line.lineAppearance);  // the line's look in the control record
    control.ZKW_ParticleSystemCtrl::Save(a);
  });
}

TEST_F(LinesRecordTest, OlderLineRecordsExchangeTheirLooksAndHaveNoRetract) {
  for (uint32_t version : {1u, 2u}) {
    uint64_t left = 1;
    auto read = ReadObject(OldGrowingLine(version), &left);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(left, 0u) << version;
    const auto& line = dynamic_cast<const ZKW_GrovingLine&>(*read);
    EXPECT_EQ(line.lineAppearance.size.Value(), 7u) << "the strip's look from the control record";
    EXPECT_EQ(line.lineAppearance.blend.Value(), 1);
    EXPECT_EQ(line.appearance.size.Value(), 3u) << "the heads' look from the line record";
    EXPECT_EQ(line.appearance.glowMode.Value(), ParticleAppearance::kGlow);
    EXPECT_FLOAT_EQ(line.offsetAlong.Value(), -4.0f);
    EXPECT_EQ(line.path.GetCount(), 3);
    EXPECT_EQ(line.retract.Value(), version == 1 ? 0 : 1);
  }
}

TEST_F(LinesRecordTest, AnOlderShootingLineExchangesItsLooks) {
  ZKW_ShootingLine line;
  SetShootingLine(line);
  std::vector<uint8_t> bytes = Saved(line);
  // The version word follows the class name: a Dword length and 16 UTF-16 units.
  const size_t versionAt = 4 + 2 * 16;
  ASSERT_EQ(bytes[versionAt], 2u);
  bytes[versionAt] = 1;
  uint64_t left = 1;
  auto read = ReadObject(bytes, &left);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(left, 0u);
  const auto& old = dynamic_cast<const ZKW_ShootingLine&>(*read);
  EXPECT_EQ(old.lineAppearance.size.Value(), 3u);
  EXPECT_EQ(old.appearance.size.Value(), 7u);
  EXPECT_EQ(old.trailLength.Value(), 60u);
}

TEST_F(LinesRecordTest, TearsReadAndPlayAsTheShootingLineTheyHold) {
  ZKW_ShootingLine inner;
  SetShootingLine(inner);
  inner.shotCounter.minimum.SetValue(0.1f);
  inner.shotCounter.maximum.SetValue(0.1f);
  const std::vector<uint8_t> shooting = Saved(inner);
  const std::vector<uint8_t> wrapped = Bytes([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"ZKW_Tears");
    a.io().WriteDword(7);  // not used
    a.io().WriteBytes(uint32_t(shooting.size()), shooting.data());
  });
  uint64_t left = 1;
  auto tearsRead = ReadObject(wrapped, &left);
  ASSERT_NE(tearsRead, nullptr);
  EXPECT_EQ(left, 0u);
  auto& tears = dynamic_cast<ZKW_Tears&>(*tearsRead);
  EXPECT_EQ(Bytes([&](DS_IOF_Archive& a) { tears.ZKW_ShootingLine::Save(a); }), shooting);

  auto shootingRead = ReadObject(shooting);
  std::vector<std::vector<float>> played;
  for (DS_ABObj_Constructor* description : {shootingRead.get(), tearsRead.get()}) {
    crt_srand(5);
    Running<ZKW_ShootingLine> run(*description);
    for (float t = 0.0f; t < 2.0f; t += 0.1f)
      run.control.Update(t);
    std::vector<float> corners;
    for (const DX_V::PCT& v : run.Quads(1)) {
      corners.push_back(v.x);
      corners.push_back(v.y);
    }
    played.push_back(corners);
  }
  EXPECT_FALSE(played[0].empty());
  EXPECT_EQ(played[0], played[1]);
}

}  // namespace
}  // namespace classic_test
