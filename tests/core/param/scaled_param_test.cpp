#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/param/jitter_param.h"
#include "core/param/media_speed_param.h"
#include "core/param/moded_scaled_params.h"
#include "core/param/recording_control.h"
#include "core/param/scaled_param.h"

namespace {

using Log = std::vector<std::string>;

TEST(ScaledParam, KindsConvertTheirValues) {
  struct Case {
    const char* what;
    UINTSclaleTo<float> param;
    unsigned value;
    float expected;
  };
  Case cases[] = {
      {"TimeParam 150 hundredths", TimeParam(), 150, 1.5f},
      {"ZKW_Angle 180 degrees", ZKW_Angle(), 180, 3.14159265f},
      {"jitter 30 %", ZKW_JitterMediaPrm(), 30, 0.7f},
      {"jitter 0 %", ZKW_JitterMediaPrm(), 0, 1.0f},
      {"speed default", MediaSpeedParam(), 1, 1.0f},
  };
  for (auto& c : cases) {
    c.param.SetValue(c.value);
    EXPECT_FLOAT_EQ(c.param.Scaled(), c.expected) << c.what;
  }
  EXPECT_EQ(ZKW_JitterMediaPrm().Scaled(), 1.0f) << "default scaled of a jitter percent";
}

TEST(ScaledParam, EightBitAlphaWraps) {
  UINTSclaleTo<unsigned char> alpha(0, -2.55f, 255.0f);
  EXPECT_EQ(alpha.Scaled(), 255);
  const std::pair<unsigned, int> cases[] = {{100, 0}, {50, 127}, {101, 254}, {0, 255}};
  for (auto [value, expected] : cases) {
    alpha.SetValue(value);
    EXPECT_EQ(alpha.Scaled(), expected) << value;
  }
  UINTSclaleTo<unsigned char> big(300, 1.0f, 0.0f);
  EXPECT_EQ(big.Scaled(), 44);
  big.SetValue(4000000000u);
  big.SetFactor(1e30f);  // far beyond any integer: saturates instead of overflowing
  EXPECT_EQ(big.Scaled(), 255);
}

TEST(ScaledParam, SubscribersSeeTheRecomputedValue) {
  TimeParam param;
  float seen = -1;
  Log log;
  RecordingControl watcher("w", &log, &param);
  watcher.action = [&] { seen = param.Scaled(); };
  param.SetValue(250);
  EXPECT_FLOAT_EQ(seen, 2.5f);
  EXPECT_EQ(param.UndoControl().Saved(), 250u);
}

TEST(ScaledParam, CopyKeepsTheOwnersFactorAndRecomputes) {
  UINTSclaleTo<float> original;
  original.SetScale(0.5f, 2.0f);
  original.SetValue(10);
  Log log;
  RecordingControl watcher("w", &log, &original);
  UINTSclaleTo<float> copy(original);
  EXPECT_EQ(copy.Factor(), 0.5f);
  EXPECT_EQ(copy.Scaled(), 7.0f);
  EXPECT_EQ(copy.ControlCount(), 2) << "its own undo and recompute controls only";
  copy.SetValue(20);
  EXPECT_EQ(copy.Scaled(), 12.0f);
  EXPECT_TRUE(log.empty());
}

TEST(MediaSpeedParam, ClockSteps) {
  MediaSpeedParam speed;
  speed.Advance(10.0f);
  EXPECT_EQ(speed.step, 0.0f) << "first step after construction";
  EXPECT_EQ(speed.localTime, 0.0f);
  speed.Advance(10.5f);
  EXPECT_FLOAT_EQ(speed.step, 0.2f) << "steps are cut to 0.2 s";
  speed.Advance(10.6f);
  EXPECT_NEAR(speed.step, 0.1f, 1e-5f);
  speed.Advance(3.0f);
  EXPECT_EQ(speed.step, 0.0f) << "time running backwards";
  speed.Advance(std::nanf(""));
  EXPECT_EQ(speed.step, 0.0f);

  speed.SetScale(0.01f, 0.0f);
  speed.SetValue(150);
  speed.Advance(3.1f);
  EXPECT_NEAR(speed.step, 0.15f, 1e-5f);
  EXPECT_NEAR(speed.localTime, 0.45f, 1e-5f);

  MediaSpeedParam copy(speed);
  EXPECT_EQ(copy.localTime, speed.localTime);
  EXPECT_EQ(copy.lastTime, speed.lastTime);
  EXPECT_FLOAT_EQ(copy.Scaled(), 1.5f);
}

std::vector<uint8_t> UInt32s(std::initializer_list<uint32_t> values) {
  DS_IOF_W w;
  for (uint32_t v : values)
    w.WriteUInt32(v);
  return w.TakeBytes();
}

TEST(JitterParam, ReadNotifiesEachPartEvenWhenUnchanged) {
  ZKW_JitterParam jitter;
  Log log;
  RecordingControl v("value", &log, &jitter.value), j("jitter", &log, &jitter.jitter);
  ArchiveSource same(SourceMode::Memory, UInt32s({0, 0}));
  ReadJitterParam(same.archive(), jitter);
  EXPECT_EQ(log, (Log{"value", "jitter"}));

  ArchiveSource changed(SourceMode::Memory, UInt32s({4, 25}));
  ReadJitterParam(changed.archive(), jitter);
  EXPECT_EQ(jitter.value.Scaled(), 4.0f);
  EXPECT_FLOAT_EQ(jitter.jitter.Scaled(), 0.75f);
}

TEST(ModedScaledParams, DefaultsAndRoundTrip) {
  ModedScaledParams params;
  const float defaults[] = {0, 0, 1, 1, 0, 0, 1};
  for (int i = 0; i < 7; ++i)
    EXPECT_FLOAT_EQ(params.values[i].Scaled(), defaults[i]) << i;

  ModedScaledParams source;
  for (unsigned i = 0; i < 7; ++i)
    source.values[i].SetValue(10 * i + 5);
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive out(std::move(writer));
  WriteModedScaledParams(out, source);
  EXPECT_EQ(w.Bytes().size(), 32u);

  Log log;
  RecordingControl third("third", &log, &params.values[2]);
  ArchiveSource in(SourceMode::Memory, w.Bytes());
  ReadModedScaledParams(in.archive(), params);
  for (unsigned i = 0; i < 7; ++i)
    EXPECT_EQ(params.values[i].Value(), 10 * i + 5);
  EXPECT_FLOAT_EQ(params.values[6].Scaled(), 65.0f);
  EXPECT_EQ(log.size(), 1u);

  // Reading the same values again notifies nobody; a truncated record keeps what it lacks.
  log.clear();
  auto bytes = w.Bytes();
  bytes.resize(12);
  ArchiveSource truncated(SourceMode::File, bytes);
  ReadModedScaledParams(truncated.archive(), params);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(params.values[6].Value(), 65u);
}

}  // namespace
