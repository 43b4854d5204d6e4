// The parameter blocks that object records carry inline: oscillations and the text blocks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/param/oscillation_params.h"
#include "core/param/recording_control.h"
#include "core/param/text_style_params.h"

namespace {

using Log = std::vector<std::string>;

std::vector<uint8_t> Written(const std::function<void(DS_IOF_Archive&)>& save) {
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  save(out);
  return static_cast<DS_IOF_W&>(out.io()).TakeBytes();
}

std::vector<uint8_t> Int32s(std::initializer_list<int32_t> values) {
  std::vector<uint8_t> out;
  for (int32_t v : values)
    for (int shift = 0; shift < 32; shift += 8)
      out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift));
  return out;
}

TEST(OscillationParams, DefaultsRecordAndQuietMode) {
  OscillationParams params;
  EXPECT_EQ(params.mode.Value(), 0);
  EXPECT_EQ(params.frequency.Value(), 50u);
  EXPECT_FLOAT_EQ(params.frequency.Scaled(), 5.0f);
  EXPECT_EQ(params.amplitude.Value(), 100u);
  EXPECT_FLOAT_EQ(params.amplitude.Scaled(), 0.5f);

  // Amplitude, frequency, mode.
  const std::vector<uint8_t> record = Int32s({40, 30, 2});
  Log log;
  RecordingControl mode("mode", &log, &params.mode);
  RecordingControl amplitude("amplitude", &log, &params.amplitude);
  RecordingControl frequency("frequency", &log, &params.frequency);
  ArchiveSource in(SourceMode::Memory, record);
  ReadOscillationParams(in.archive(), params);
  EXPECT_FALSE(in.archive().Failed());
  EXPECT_EQ(in.Consumed(), 12u);
  EXPECT_EQ(params.mode.Value(), 2);
  EXPECT_FLOAT_EQ(params.amplitude.Scaled(), 0.2f);
  EXPECT_FLOAT_EQ(params.frequency.Scaled(), 3.0f);
  EXPECT_EQ(log, (Log{"amplitude", "frequency"})) << "the mode is stored without a word";
  EXPECT_EQ(params.mode.UndoControl().Saved(), 0) << "nor does its undo copy follow";

  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { WriteOscillationParams(a, params); }), record);

  // Reading the same values again tells nobody.
  log.clear();
  ArchiveSource again(SourceMode::Memory, record);
  ReadOscillationParams(again.archive(), params);
  EXPECT_TRUE(log.empty());

  const OscillationParams copy(params);
  EXPECT_EQ(copy.mode.Value(), 2);
  EXPECT_FLOAT_EQ(copy.amplitude.Scaled(), 0.2f);
  EXPECT_EQ(copy.mode.ControlCount(), 1) << "only its own undo control";
}

// A text style record with the given version word, text "Hi", a font block and the values.
std::vector<uint8_t> StyleRecord(int32_t version, std::vector<int32_t> values) {
  return Written([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteInt32(version);
    io.WriteWideString(u"Hi");
    io.WriteInt32(1);
    io.WriteWideString(u"Tahoma");
    io.WriteUInt32(24);
    io.WriteInt32(3);
    io.WriteInt32(-4);
    io.WriteDword(0x123456);
    io.WriteUInt32(50);
    for (int32_t v : values)
      io.WriteInt32(v);
  });
}

TEST(TextStyleParams, ReadsBothVersionsAndWritesTheCurrentOne) {
  const std::vector<uint8_t> v2 = StyleRecord(2, {1, 2, 7});
  const std::vector<uint8_t> v1 = StyleRecord(1, {1, 2});
  ASSERT_EQ(v2.size(), v1.size() + 4);

  for (const auto* record : {&v2, &v1}) {
    TextStyleParams style;
    ArchiveSource in(SourceMode::Memory, *record);
    style.Read(in.archive());
    EXPECT_FALSE(in.archive().Failed());
    EXPECT_EQ(in.Consumed(), record->size()) << "a version 1 record has no third value";
    EXPECT_EQ(style.text.Value(), u"Hi");
    EXPECT_EQ(style.font.face.Value(), u"Tahoma");
    EXPECT_EQ(style.font.size.Value(), 24u);
    EXPECT_EQ(style.font.style1.Value(), 3);
    EXPECT_EQ(style.font.style2.Value(), -4);
    EXPECT_EQ(style.font.color.Value(), 0x123456u);
    EXPECT_EQ(style.font.color.alpha.Scaled(), 127);
    EXPECT_EQ(style.value1.Value(), 1);
    EXPECT_EQ(style.value2.Value(), 2);
    EXPECT_EQ(style.value3.Value(), record == &v2 ? 7 : 0);
    EXPECT_EQ(style.version, 2);
    // Written back always in the current layout: a version 1 record gains its third value.
    EXPECT_EQ(Written([&](DS_IOF_Archive& a) { style.Save(a); }),
              record == &v2 ? v2 : StyleRecord(2, {1, 2, 0}));
  }
}

TEST(TextStyleParams, OnlyADifferentTransparencyIsNotifiedAndCopiesKeepNoObservers) {
  struct Case {
    uint32_t transparency;
    uint8_t alpha;
    bool notified;
  } cases[] = {{0, 255, false}, {100, 0, true}, {50, 127, true}};
  for (const Case& c : cases) {
    TextLayerParams layer;
    Log log;
    RecordingControl watcher("alpha", &log, &layer.color.alpha);
    RecordingControl enabled("enabled", &log, &layer.enabled);
    const std::vector<uint8_t> record = Written([&](DS_IOF_Archive& a) {
      a.io().WriteInt32(1);
      a.io().WriteDword(0xFF00FF);
      a.io().WriteUInt32(c.transparency);
      a.io().WriteUInt32(9);
    });
    ArchiveSource in(SourceMode::Memory, record);
    layer.Read(in.archive());
    EXPECT_EQ(layer.color.alpha.Scaled(), c.alpha) << c.transparency;
    EXPECT_EQ(log.size(), c.notified ? 1u : 0u) << c.transparency;
    EXPECT_EQ(layer.enabled.Value(), 1);
    EXPECT_EQ(layer.amount.Value(), 9u);
    EXPECT_EQ(Written([&](DS_IOF_Archive& a) { layer.Save(a); }), record);
  }

  TextStyleParams style;
  Log log;
  RecordingControl text("text", &log, &style.text);
  RecordingControl colour("colour", &log, &style.font.color);
  style.font.color.alpha.SetValue(20);
  TextStyleParams copy(style);
  EXPECT_EQ(copy.font.color.alpha.Scaled(), 204) << "recomputed from the copied percent";
  copy.text.SetValue(u"changed");
  copy.font.color.SetValue(0x00FF00);
  EXPECT_TRUE(log.empty()) << "the copy's changes reach none of the source's observers";
  EXPECT_EQ(style.text.Value(), u"");
}

TEST(FontData, ComparesFacesExactlyAndRoundTrips) {
  FontData arial;
  EXPECT_EQ(arial.height, 32);
  EXPECT_EQ(arial.weight, 700);
  EXPECT_EQ(arial.face, u"Arial");
  FontData lower = arial;
  lower.face = u"arial";
  EXPECT_FALSE(arial == lower);

  FontMediaParam font(arial);
  Log log;
  RecordingControl watcher("font", &log, &font);
  EXPECT_FALSE(font.SetValue(arial));
  EXPECT_TRUE(font.SetValue(lower));
  EXPECT_EQ(log, Log{"font"});

  FontData heavy{-12, 900, 1, u"DejaVu Sans"};
  const std::vector<uint8_t> record = Written([&](DS_IOF_Archive& a) { WriteFontData(a, heavy); });
  FontData read;
  ArchiveSource in(SourceMode::Memory, record);
  ReadFontData(in.archive(), read);
  EXPECT_EQ(read, heavy);
  EXPECT_EQ(in.Consumed(), record.size());
}

}  // namespace
