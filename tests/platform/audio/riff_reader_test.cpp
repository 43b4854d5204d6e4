#include "platform/audio/riff_reader.h"

#include <gtest/gtest.h>

#include "platform/audio/wave_bytes.h"

namespace {

using namespace wave_bytes;

TEST(RiffReader, FormForms) {
  const std::vector<uint8_t> samples = {1, 2, 3, 4};
  // The 16-byte form: no cbSize, and the next chunk's id must not leak into it.
  const auto form16 = Riff({Chunk("fmt ", Format(1, 2, 44100, 16)), Chunk("data", samples)});
  auto wave = audio::ReadWave(form16);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->format.formatTag, 1);
  EXPECT_EQ(wave->format.channels, 2);
  EXPECT_EQ(wave->format.samplesPerSec, 44100u);
  EXPECT_EQ(wave->format.avgBytesPerSec, 176400u);
  EXPECT_EQ(wave->format.blockAlign, 4);
  EXPECT_EQ(wave->format.bitsPerSample, 16);
  EXPECT_EQ(wave->format.cbSize, 0);
  EXPECT_EQ(std::vector<uint8_t>(wave->samples.begin(), wave->samples.end()), samples);

  const auto form18 = Riff({Chunk("fmt ", Format(3, 1, 8000, 32, 7)), Chunk("data", samples)});
  wave = audio::ReadWave(form18);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->format.formatTag, 3);
  EXPECT_EQ(wave->format.cbSize, 7);
}

TEST(RiffReader, ChunkLayouts) {
  const auto fmt = Chunk("fmt ", Format(1, 1, 22050, 8, 0));
  const std::vector<uint8_t> odd = {9, 8, 7};
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    int dataSize;  // -1: no wave
  } cases[] = {
      {"odd chunk padded, data first", Riff({Chunk("data", odd), Chunk("LIST", odd), fmt}), 3},
      {"RIFF after another top-level chunk",
       [&] {
         auto b = Chunk("JUNK", {1, 2});
         auto r = Riff({fmt, Chunk("data", odd)});
         b.insert(b.end(), r.begin(), r.end());
         return b;
       }(),
       3},
      {"data size past the end is cut", Riff({fmt, Chunk("data", odd, 1000)}), 4},
      {"missing data chunk", Riff({fmt, Chunk("LIST", odd)}), -1},
      {"missing fmt chunk", Riff({Chunk("data", odd)}), -1},
      {"fmt shorter than 16 bytes", Riff({Chunk("fmt ", {1, 0, 1, 0}), Chunk("data", odd)}), -1},
      {"other RIFF form", Riff({fmt, Chunk("data", odd)}, "AVI "), -1},
      {"RIFF size past the end", Chunk("RIFF", {'W', 'A', 'V', 'E'}, 0xFFFFFFF0u), -1},
      {"empty", {}, -1},
  };
  for (const auto& c : cases) {
    const auto wave = audio::ReadWave(c.bytes);
    EXPECT_EQ(wave ? int(wave->samples.size()) : -1, c.dataSize) << c.what;
  }
}

}  // namespace
