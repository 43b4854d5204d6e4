#include "player/sound/sound_levels.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(SoundLevels, MusicVolumeOfMasterAndTrack) {
  const struct {
    int master;
    float track;
    long expected;
  } cases[] = {{100, 1.0f, 0},   {100, 0.75f, -1000}, {50, 1.0f, -2000}, {100, 0.5f, -2000},
               {0, 1.0f, -4000}, {100, 0.0f, -4000},  {200, 1.0f, 0},    {-50, 1.0f, -6000}};
  for (const auto& c : cases)
    EXPECT_EQ(MusicVolume(c.master, c.track), c.expected) << c.master << " x " << c.track;
}

TEST(SoundLevels, FileAndBufferLevelsAreSignedAndClamped) {
  const int64_t huge = UINT32_MAX;  // an unsigned percent from a project
  const struct {
    int64_t percent;
    long fileVolume, fileBalance, bufferVolume, bufferPan;
  } cases[] = {
      {0, -4000, -4000, -5000, -5000}, {50, -2000, 0, -2500, 0},   {100, 0, 4000, 0, 5000},
      {150, 0, 8000, 0, 10000},        {huge, 0, 10000, 0, 10000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileVolume(c.percent), c.fileVolume) << c.percent;
    EXPECT_EQ(FileBalance(c.percent), c.fileBalance) << c.percent;
    EXPECT_EQ(BufferVolume(c.percent), c.bufferVolume) << c.percent;
    EXPECT_EQ(BufferPan(c.percent), c.bufferPan) << c.percent;
  }
  EXPECT_EQ(PrimaryVolume(100, false), 0);
  EXPECT_EQ(PrimaryVolume(0, false), -5000);
  EXPECT_EQ(PrimaryVolume(100, true), -10000);
}

TEST(SoundLevels, WaveLength) {
  EXPECT_EQ(WaveLengthHundredths(88200, 44100), 200u);
  EXPECT_EQ(WaveLengthHundredths(44100 + 220, 44100), 100u);  // 1.005 s rounds down
  EXPECT_EQ(WaveLengthHundredths(44100 + 221, 44100), 101u);
  // Past 43 MB the byte count times 100 no longer fits 32 bits.
  EXPECT_EQ(WaveLengthHundredths(50'000'000, 44100), 113379u);
  EXPECT_EQ(WaveLengthHundredths(88200, 0), 0u);
}

}  // namespace
