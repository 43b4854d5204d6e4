#pragma once

#include <cstdint>

#include "platform/math/d3dx_types.h"

// One sprite of a sprite preset's array: made, moved and deleted by its array and its preset.
// The creator sets the size factor, aspect, half sizes, colour and alpha rate from the preset.
struct SpriteRecord {
  D3DXVECTOR3 directionSigns{0.0f, 0.0f, 0.0f};  // signs of motion that kinds flip
  D3DXVECTOR3 velocity{0.0f, 0.0f, 0.0f};        // pixels per motion second
  D3DXVECTOR3 centre{100.0f, 100.0f, 0.0f};      // in scene pixels
  float sizeFactor = 1.0f;
  D3DXMATRIX matrix;  // kept per sprite by kinds that need one
  float topV = 0.0f, bottomV = 1.0f, leftU = 0.0f, rightU = 1.0f;
  float halfWidth = 0.0f;  // along axis 1; negative mirrors the quad
  float halfHeight = 0.0f;
  float aspect = 1.0f;  // height / width of one picture frame
  D3DXVECTOR3 axis1{1.0f, 0.0f, 0.0f};
  D3DXVECTOR3 axis2{0.0f, 1.0f, 0.0f};
  float alphaFactor = 1.0f;
  // Timers on the preset's clocks, in seconds.
  float eventTime = 0.0f;    // the clock value of the preset's last random change to it
  float pauseLength = 0.0f;  // the current dark pause between two flashes
  int32_t boundSide = -1;    // the view side being handled at a border; -1 none
  uint8_t reentered = 0;     // moved to the opposite side by the bound control
  float waitUntil = 0.0f;    // the clock value at which a wait at a border ends
  float waitClock = 0.0f;    // the clock while waiting; the wait ends once past waitUntil
  uint8_t waiting = 0;
  uint32_t colour = 0;     // 0xAARRGGBB before the preset's opacity
  float alphaRate = 0.0f;  // change of the alpha factor per motion second
  // The alpha the bound controls fade, for kinds whose drawn alpha factor is their own pulse.
  float edgeAlpha = 1.0f;
};

// Sets the sprite's four timers (event time, pause length, wait end, wait clock) back to 0 so
// that they restart with the preset's clocks; every other field stays.
inline void ResetSpriteRecord(SpriteRecord& sprite) {
  sprite.eventTime = 0.0f;
  sprite.pauseLength = 0.0f;
  sprite.waitUntil = 0.0f;
  sprite.waitClock = 0.0f;
}
