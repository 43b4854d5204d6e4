#include "objects/sprites/sprite_record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SpriteRecord, ResetClearsTheFourTimersOnly) {
  SpriteRecord sprite;
  sprite.centre = D3DXVECTOR3(5, 6, 7);
  sprite.velocity = D3DXVECTOR3(1, 2, 3);
  sprite.halfWidth = 10;
  sprite.alphaFactor = 0.5f;
  sprite.colour = 0x80FF0000;
  sprite.boundSide = 2;
  sprite.waiting = 1;
  sprite.eventTime = 4.5f;
  sprite.pauseLength = 0.7f;
  sprite.waitUntil = 9.0f;
  sprite.waitClock = 8.0f;
  SpriteRecord expected = sprite;
  expected.eventTime = expected.pauseLength = expected.waitUntil = expected.waitClock = 0.0f;

  ResetSpriteRecord(sprite);
  EXPECT_EQ(std::memcmp(&sprite, &expected, sizeof(SpriteRecord)), 0);
  EXPECT_EQ(sprite.waiting, 1);
  EXPECT_EQ(sprite.boundSide, 2);
}

}  // namespace
