#include "platform/audio/decibels.h"

#include <gtest/gtest.h>

namespace {

TEST(Decibels, VolumeToMixerLevel) {
  const struct {
    long db;
    int level;
  } cases[] = {{0, 128}, {500, 128}, {-600, 64}, {-2000, 13}, {-4000, 1}, {-10000, 0}, {-20000, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(audio::MixVolume(c.db), c.level) << c.db;
}

TEST(Decibels, PanAttenuatesOneSide) {
  const struct {
    long db;
    int left, right;
  } cases[] = {{0, 255, 255}, {600, 128, 255}, {-600, 255, 128}, {10000, 0, 255}, {-10000, 255, 0}};
  for (const auto& c : cases) {
    const audio::Panning p = audio::MixPanning(c.db);
    EXPECT_EQ(p.left, c.left) << c.db;
    EXPECT_EQ(p.right, c.right) << c.db;
  }
}

}  // namespace
