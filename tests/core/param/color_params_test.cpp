#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/param/color_params.h"
#include "core/param/color_set_params.h"
#include "core/param/recording_control.h"
#include "core/param/smart_color_hsb.h"
#include "core/param/smart_gradient_color.h"

namespace {

using Log = std::vector<std::string>;
using Stops = std::vector<SmartGradientColor::Stop>;

void ExpectColor(const D3DXCOLOR& c, float r, float g, float b, const std::string& what) {
  EXPECT_NEAR(c.r, r, 1e-6f) << what;
  EXPECT_NEAR(c.g, g, 1e-6f) << what;
  EXPECT_NEAR(c.b, b, 1e-6f) << what;
  EXPECT_EQ(c.a, 1.0f) << what;
}

TEST(SmartColorHSB, ConvertsBySector) {
  struct Case {
    unsigned h, s, v;
    float r, g, b;
  };
  const Case cases[] = {
      {0, 100, 100, 1, 0, 0},           {120, 100, 100, 0, 1, 0},       {240, 100, 100, 0, 0, 1},
      {30, 100, 100, 1, 0.5f, 0},       {200, 0, 40, 0.4f, 0.4f, 0.4f},  // no saturation: grey
      {300, 50, 100, 1, 0.5f, 1},       {360, 100, 100, 1, 0, 1},  // 360 falls into the last rule
      {180, 50, 50, 0.25f, 0.5f, 0.5f},
  };
  SmartColorHSB color;
  for (const Case& c : cases) {
    const std::string what =
        std::to_string(c.h) + "/" + std::to_string(c.s) + "/" + std::to_string(c.v);
    color.SetHSB(c.h, c.s, c.v);
    ExpectColor(color.Color(), c.r, c.g, c.b, what);
    ExpectColor(HsbToColor(c.h, c.s, c.v), c.r, c.g, c.b, what);
  }
}

TEST(SmartColorHSB, FollowsEachParameterAndSetsSilently) {
  SmartColorHSB color;
  ExpectColor(color.Color(), 0, 0, 0, "default");
  color.saturation.SetValue(100);
  color.brightness.SetValue(100);
  ExpectColor(color.Color(), 1, 0, 0, "after two changes");
  color.hue.SetValue(240);
  ExpectColor(color.Color(), 0, 0, 1, "after the hue");

  Log log;
  RecordingControl watcher("hue", &log, &color.hue);
  color.SetHSB(120, 100, 100);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(color.hue.UndoControl().Saved(), 120u);
  ExpectColor(color.Color(), 0, 1, 0, "SetHSB");

  SmartColorHSB copy(color);
  ExpectColor(copy.Color(), 0, 1, 0, "copy");
  copy.hue.SetValue(0);
  ExpectColor(copy.Color(), 1, 0, 0, "the copy watches its own parameters");
  ExpectColor(color.Color(), 0, 1, 0, "the original is untouched");
}

TEST(ColorAlphaParam, TransparencyBecomesAlpha) {
  ColorAlphaParam color;
  EXPECT_EQ(color.Value(), 0xFFFFFFu);
  EXPECT_EQ(color.alpha.Scaled(), 255);
  color.alpha.SetValue(100);
  EXPECT_EQ(color.alpha.Scaled(), 0);
  color.alpha.SetValue(50);
  EXPECT_EQ(color.alpha.Scaled(), 127);
  ColorAlphaParam copy(color);
  EXPECT_EQ(copy.alpha.Scaled(), 127);
  // Above 100 % the alpha stays 0 instead of wrapping to a nearly opaque byte.
  for (unsigned percent : {101u, 150u, 200u, 4000000000u}) {
    copy.alpha.SetValue(percent);
    EXPECT_EQ(copy.alpha.Scaled(), 0) << percent;
  }
}

TEST(SmartGradientColor, DefaultStopsAndInsertion) {
  SmartGradientColor gradient;
  EXPECT_EQ(gradient.Value().first, 2);
  EXPECT_EQ(gradient.Value().second, (Stops{{0.0f, 0xFFFFFF}, {0.5f, 0x7F7F7F}, {1.0f, 0x000000}}));

  Log log;
  RecordingControl watcher("w", &log, &gradient);
  EXPECT_EQ(gradient.InsertStop(1, {0.25f, 0x0000FF}), 1);
  EXPECT_EQ(gradient.Value().first, 1);
  EXPECT_EQ(gradient.Value().second[1], (SmartGradientColor::Stop{0.25f, 0x0000FF}));
  EXPECT_EQ(gradient.InsertStop(4, {0.9f, 1}), 4) << "at the end when the index is the count";
  EXPECT_EQ(gradient.InsertStop(99, {1.0f, 2}), 5) << "an index past the end appends";
  EXPECT_EQ(gradient.InsertStop(-3, {0.0f, 3}), 0) << "a negative index inserts first";
  EXPECT_EQ(gradient.Value().second.size(), 7u);
  EXPECT_EQ(log.size(), 4u);

  // Equality covers the selected index, positions and colours.
  auto value = gradient.Value();
  EXPECT_FALSE(gradient.SetValue(value));
  value.first = 3;
  EXPECT_TRUE(gradient.SetValue(value));
  value.second[2].first = 0.3f;
  EXPECT_TRUE(gradient.SetValue(value));
}

std::vector<uint8_t> Written(const ColorSetParams& params) {
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  WriteColorSetParams(out, params);
  return static_cast<DS_IOF_W&>(out.io()).Bytes();
}

TEST(ColorSetParams, DefaultsAndRoundTrip) {
  ColorSetParams params;
  EXPECT_EQ(params.colors.Value(), (std::vector<uint32_t>{0xFFFFFF, 0x000000}));
  EXPECT_EQ(params.colors.currentIndex.Value(), 1);
  EXPECT_EQ(params.opacity.Scaled(), 255);

  ColorSetParams source;
  source.colors.Insert(2, 0x00FF00);
  source.mode1.SetValue(2);
  source.mode2.SetValue(-1);
  source.opacity.SetValue(40);
  const auto bytes = Written(source);
  EXPECT_EQ(bytes.size(), 4u + 4u + 12u + 4u + 4u + 4u);

  ColorSetParams read;
  Log log;
  RecordingControl onColors("colors", &log, &read.colors), onMode("mode", &log, &read.mode1),
      onOpacity("opacity", &log, &read.opacity);
  ArchiveSource in(SourceMode::Memory, bytes);
  ReadColorSetParams(in.archive(), read);
  EXPECT_FALSE(in.archive().Failed());
  EXPECT_EQ(read.colors.Value(), (std::vector<uint32_t>{0xFFFFFF, 0x000000, 0x00FF00}));
  EXPECT_EQ(read.colors.currentIndex.Value(), 1) << "the current index is not touched";
  EXPECT_EQ(read.mode1.Value(), 2);
  EXPECT_EQ(read.mode2.Value(), -1);
  EXPECT_EQ(read.opacity.Scaled(), 153);
  EXPECT_EQ(log, Log{"opacity"}) << "only the transparency is announced";

  log.clear();
  ArchiveSource again(SourceMode::Memory, bytes);
  ReadColorSetParams(again.archive(), read);
  EXPECT_TRUE(log.empty()) << "an unchanged transparency is not announced";
}

TEST(ColorSetParams, ColourCountBeyondTheDataFailsTheStream) {
  DS_IOF_W w;
  w.WriteInt32(1);
  w.WriteDword(1000000);  // colours that are not there
  w.WriteDword(5);
  ColorSetParams read;
  ArchiveSource in(SourceMode::Memory, w.Bytes());
  ReadColorSetParams(in.archive(), read);
  EXPECT_TRUE(in.archive().Failed());
  EXPECT_TRUE(read.colors.Value().empty());
  EXPECT_EQ(read.opacity.Value(), 0u) << "later fields read nothing";
}

}  // namespace
