#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/crt_rand.h"
#include "core/registry/core_class_list.h"
#include "core/timing/timing_test_support.h"
#include "geometry/geometry_class_list.h"
#include "geometry/graph/vgraph_line_kinds.h"
#include "particles/behaviour/params/flow_prm.h"
#include "particles/behaviour/params/loop_prm.h"
#include "particles/behaviour/params/moded_float_params.h"
#include "particles/behaviour/params/path_follow_prm.h"
#include "particles/behaviour/params/periodic_prm.h"
#include "particles/behaviour/params/random_fly_prm.h"
#include "particles/behaviour/params/rotation_direction_prm.h"
#include "particles/behaviour/params/spin_prm.h"
#include "particles/behaviour/params/spiral_prm.h"
#include "particles/behaviour/params/spread_handles.h"
#include "particles/behaviour/params/velocity_field_prm.h"

namespace {

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> out;
  for (uint32_t w : words) {
    for (int i = 0; i < 4; ++i)
      out.push_back(static_cast<uint8_t>(w >> (8 * i)));
  }
  return out;
}

TEST(SpreadParams, DefaultScaledValues) {
  SpinPrm spin;
  PathFollowPrm follow;
  TrackPrm track;
  RandomFlyPrm fly;
  VelocityFieldPrm field;
  LoopPrm loop;
  PeriodicPrm periodic;
  FlowPrm flow;
  SpiralPrm spiral;
  ModedFloatParams cycle;
  const struct {
    const char* what;
    float scaled, expected;
  } cases[] = {
      {"spin speed", spin.speed.value.Scaled(), 2.5f},
      {"spin speed spread", spin.speed.spread.Scaled(), 1.0f},
      {"spin angle spread (degrees)", spin.angle.spread.Factor(), 1.0f},
      {"follow speed", follow.speed.Scaled(), 50.0f},
      {"track depth", track.depth.Scaled(), 5.0f},
      {"fly speed", fly.speed.Scaled(), 2.0f},
      {"fly vertical", fly.vertical.Scaled(), 1.0f},
      {"fly retarget rate", fly.retargetRate.Scaled(), 1.1f},
      {"fly travel time", fly.travelTime.Scaled(), 0.42f},
      {"field strength", field.strength.Scaled(), 100.0f},
      {"field noise scale", field.noiseScale.Scaled(), 0.5f},
      {"field noise speed", field.noiseSpeed.Scaled(), 1.0f},
      {"loop speed", loop.speed.value.Scaled(), 0.01f},
      {"periodic speed", periodic.speed.Scaled(), 2.5f},
      {"periodic amplitude", periodic.amplitude.Scaled(), 0.5f},
      {"flow speed", flow.speed.value.Scaled(), 100.0f},
      {"spiral angular speed", spiral.angularSpeed.value.Scaled(), 100.0f},
      {"emission duration", cycle.duration.Value(), 1.0f},
  };
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(c.scaled, c.expected) << c.what;
  EXPECT_EQ(follow.bounce.Value(), 1);
  EXPECT_EQ(field.permutationX.size(), 512u);
  EXPECT_EQ(loop.speed.envelope.ValueAt(0.3f, nullptr), 1.0f);
}

TEST(SpreadParams, AngleRange) {
  AngleSpreadPrm angle;
  angle.value.SetValue(90);
  for (float r : {0.0f, 0.4f, 1.0f})
    EXPECT_FLOAT_EQ(angle.Angle(r), 1.5707963f);
  angle.spread.SetValue(90);
  EXPECT_FLOAT_EQ(angle.Angle(0.0f), 0.0f);
  EXPECT_FLOAT_EQ(angle.Angle(1.0f), 3.1415926f);
}

// A record read into an empty handle makes the parameter; into a shared one it changes what
// every sharer sees.
TEST(SpreadParams, SharedHandlesReadInPlace) {
  const auto bytes = Words({40, 25});
  DS_SafePtr<ValueSpreadPrm> empty;
  ArchiveSource first(SourceMode::Memory, bytes);
  ReadValueSpreadPrm(first.archive(), empty);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->value.Value(), 40u);
  EXPECT_FLOAT_EQ(empty->spread.Scaled(), 0.75f);

  DS_SafePtr<AngleSpreadPrm> mine(std::make_unique<AngleSpreadPrm>());
  DS_SafePtr<AngleSpreadPrm> theirs = mine;
  ArchiveSource second(SourceMode::Memory, bytes);
  ReadAngleSpreadPrm(second.archive(), mine);
  EXPECT_EQ(mine.Get(), theirs.Get());
  EXPECT_NEAR(theirs->value.Scaled(), 40.0f * 0.017453292f, 1e-6f);
}

TEST(RotationDirection, SignDrawnPerParameterAndModeShared) {
  crt_srand(3);
  const int draws[] = {crt_rand(), crt_rand()};
  crt_srand(3);
  RotationDirectionPrm first;
  RotationDirectionPrm copy(first);
  EXPECT_EQ(first.sign, draws[0] % 2 == 0 ? 1.0f : -1.0f);
  EXPECT_EQ(copy.sign, draws[1] % 2 == 0 ? 1.0f : -1.0f);
  EXPECT_EQ(copy.mode.Get(), first.mode.Get());

  const struct {
    int mode;
    float factor;
  } cases[] = {{0, 1.0f}, {1, -1.0f}, {2, first.sign}, {7, 1.0f}};
  for (const auto& c : cases) {
    first.mode->SetValue(c.mode);
    EXPECT_EQ(first.Factor(), c.factor) << "mode " << c.mode;
  }

  RotationDirectionPrm read;
  read.mode.Release();
  ArchiveSource source(SourceMode::Memory, Words({2}));
  ReadRotationDirectionPrm(source.archive(), read);
  ASSERT_TRUE(read.mode);
  EXPECT_EQ(read.mode->Value(), 2);
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteRotationDirectionPrm(a, read); }),
            Words({2}));
}

TEST(SpreadParams, BlockLayouts) {
  SpinPrm spin;
  spin.direction.SetValue(2);
  spin.speed.value.SetValue(70);
  spin.speed.spread.SetValue(10);
  spin.mode.SetValue(1);
  spin.angle.value.SetValue(45);
  spin.angle.spread.SetValue(5);
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteSpinPrm(a, spin); }),
            Words({1, 2, 70, 10, 1, 45, 5}));

  PathFollowPrm follow;
  follow.easing.SetValue(3);
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WritePathFollowPrm(a, follow); }),
            Words({1, 50, 1, 3, 0}));
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteRandomFlyPrm(a, RandomFlyPrm()); }),
            Words({1, 100, 100, 50, 20}));
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteFlowPrm(a, FlowPrm()); }),
            Words({1, 100, 0, 0, 0}));
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteVelocityFieldPrm(a, VelocityFieldPrm()); }),
            Words({2, 100, 100, 100, 0, 0, 0}));

  SpiralPrm spiral;
  spiral.centreOffset.SetValue({1.5f, 0, 0});
  uint32_t onePointFive = 0;
  const float f = 1.5f;
  std::memcpy(&onePointFive, &f, 4);
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteSpiralPrm(a, spiral); }),
            Words({2, 100, 0, 0, 0, onePointFive, 0, 0, 0, 0}));
}

// Each block reads back what it writes, with every value changed from its default.
TEST(SpreadParams, BlocksRoundTrip) {
  RegisterBehaviourTestClasses();
  SpinPrm spin;
  spin.direction.SetValue(1);
  spin.angle.spread.SetValue(33);
  SpinPrm spinBack;
  ArchiveSource s1(SourceMode::Memory,
                   WrittenBytes([&](DS_IOF_Archive& a) { WriteSpinPrm(a, spin); }));
  ReadSpinPrm(s1.archive(), spinBack);
  EXPECT_EQ(spinBack.direction.Value(), 1);
  EXPECT_EQ(spinBack.angle.spread.Value(), 33u);

  PathFollowPrm follow;
  follow.speed.SetValue(80);
  follow.bounce.SetValue(0);
  follow.orientation.SetValue(2);
  PathFollowPrm followBack;
  ArchiveSource s2(SourceMode::Memory,
                   WrittenBytes([&](DS_IOF_Archive& a) { WritePathFollowPrm(a, follow); }));
  ReadPathFollowPrm(s2.archive(), followBack);
  EXPECT_EQ(followBack.speed.Value(), 80u);
  EXPECT_EQ(followBack.bounce.Value(), 0);
  EXPECT_EQ(followBack.orientation.Value(), 2);

  RandomFlyPrm fly;
  fly.travelTime.SetValue(99);
  RandomFlyPrm flyBack;
  ArchiveSource s3(SourceMode::Memory,
                   WrittenBytes([&](DS_IOF_Archive& a) { WriteRandomFlyPrm(a, fly); }));
  ReadRandomFlyPrm(s3.archive(), flyBack);
  EXPECT_FLOAT_EQ(flyBack.travelTime.Scaled(), 99 * 0.02f + 0.02f);

  FlowPrm flow;
  flow.direction.SetValue(270);
  flow.scatter.SetValue(15);
  FlowPrm flowBack;
  ArchiveSource s4(SourceMode::Memory,
                   WrittenBytes([&](DS_IOF_Archive& a) { WriteFlowPrm(a, flow); }));
  ReadFlowPrm(s4.archive(), flowBack);
  EXPECT_EQ(flowBack.direction.Value(), 270u);
  EXPECT_NEAR(flowBack.direction.Direction().y, 1.0f, 1e-6f) << "the angle's data followed";
  EXPECT_FLOAT_EQ(flowBack.scatter.Scaled(), 0.15f);

  SpiralPrm spiral;
  spiral.radialSpeed.spread.SetValue(40);
  spiral.centreOffset.SetValue({1, 2, 3});
  spiral.inward.SetValue(1);
  SpiralPrm spiralBack;
  ArchiveSource s5(SourceMode::Memory,
                   WrittenBytes([&](DS_IOF_Archive& a) { WriteSpiralPrm(a, spiral); }));
  ReadSpiralPrm(s5.archive(), spiralBack);
  EXPECT_EQ(spiralBack.radialSpeed.spread.Value(), 40u);
  EXPECT_EQ(spiralBack.centreOffset.Value(), D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(spiralBack.inward.Value(), 1);

  LoopPrm loop;
  loop.speed.envelope.SetGraph(
      DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_StraightLine>(0.0f, 1.0f)));
  loop.direction.SetValue(90);
  loop.edgeMode.SetValue(1);
  LoopPrm loopBack;
  const auto loopBytes = WrittenBytes([&](DS_IOF_Archive& a) { WriteLoopPrm(a, loop); });
  ArchiveSource s6(SourceMode::Memory, loopBytes);
  ReadLoopPrm(s6.archive(), loopBack);
  EXPECT_FALSE(s6.archive().Failed());
  EXPECT_EQ(s6.Consumed(), loopBytes.size());
  EXPECT_FLOAT_EQ(loopBack.speed.envelope.ValueAt(0.25f, nullptr), 0.25f);
  EXPECT_EQ(loopBack.direction.Value(), 90u);
  EXPECT_EQ(loopBack.edgeMode.Value(), 1);

  VelocityFieldPrm field;
  field.drift.spread.SetValue(12);
  field.driftDirection.SetValue(30);
  VelocityFieldPrm fieldBack;
  ArchiveSource s7(SourceMode::Memory,
                   WrittenBytes([&](DS_IOF_Archive& a) { WriteVelocityFieldPrm(a, field); }));
  ReadVelocityFieldPrm(s7.archive(), fieldBack);
  EXPECT_EQ(fieldBack.drift.spread.Value(), 12u);
  EXPECT_EQ(fieldBack.driftDirection.Value(), 30u);
}

// Version 1 records lack a field: it keeps the value it had.
TEST(SpreadParams, OlderVersionsKeepMissingFields) {
  RegisterBehaviourTestClasses();
  VelocityFieldPrm field;
  ArchiveSource fieldSource(SourceMode::Memory, Words({1, 5, 6, 7, 8, 45}));
  ReadVelocityFieldPrm(fieldSource.archive(), field);
  EXPECT_EQ(field.drift.value.Value(), 8u);
  EXPECT_EQ(field.drift.spread.Value(), 0u);
  EXPECT_EQ(field.driftDirection.Value(), 45u);
  EXPECT_EQ(fieldSource.Consumed(), 24u);

  LoopPrm loop;
  auto loopBytes = Words({1});
  Append(loopBytes, SavedBytes(ZKW_VGraph_Const()));
  Append(loopBytes, Words({200, 0, 180}));
  ArchiveSource loopSource(SourceMode::Memory, loopBytes);
  ReadLoopPrm(loopSource.archive(), loop);
  EXPECT_EQ(loopSource.Consumed(), loopBytes.size());
  EXPECT_FLOAT_EQ(loop.speed.value.Scaled(), 0.02f);
  EXPECT_EQ(loop.direction.Value(), 180u);
  EXPECT_EQ(loop.edgeMode.Value(), 0);
}

}  // namespace
