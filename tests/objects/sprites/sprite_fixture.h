#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_w.h"
#include "core/registry/read_by_name.h"
#include "core/timing/zkw_timing.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "objects/sprites/ds_sprite_array_obj.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "player/support/every_class.h"
#include "renderers/renderer_fixture.h"

namespace sprite_test {

using renderer_test::ReadArchive;
using renderer_test::Written;

// A headless device, a current document whose scene is `sceneWidth` x `sceneHeight` pixels, a
// render context, and every class of the program registered (the sprite tests share one
// process, with the player's scene fixture).
class SpriteTest : public renderer_test::RendererTest {
 protected:
  explicit SpriteTest(uint32_t width = 64, uint32_t height = 32) : RendererTest(width, height) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterEveryClass();
  }

  void SetUp() override {
    RendererTest::SetUp();
    SetSceneSize(width_, height_);
  }

  void SetSceneSize(uint32_t w, uint32_t h) {
    Doc().sceneView.pictureWidth = w;
    Doc().sceneView.pictureHeight = h;
  }
};

// A timeline of fixed visibility, to see what the presets do with a timeline's value.
class FixedTimeline : public ZKW_Timing {
 public:
  explicit FixedTimeline(float value, TimingState state = TimingState::Shown) {
    value_ = value;
    state_ = state;
  }
};

inline void SetTimelineValue(DS_ABObj_Constructor& description, float value) {
  description.timing.SetTiming(std::make_unique<FixedTimeline>(value));
}

// A preset kind for tests only: its sprites start where SpawnParticle puts them, at `places`
// by creation index (one pixel each, of the colour given with the place; other sprites go
// outside the scene), and move right by `drift` per motion second.
class PlacedSprites : public DS_ParticleSystemCtrl {
 public:
  struct Place {
    float x, y;
    uint32_t colour;  // 0xAARRGGBB
  };

  PlacedSprites() = default;
  PlacedSprites(const PlacedSprites&) = default;

  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"PlacedSprites", 1);
    return DS_BaseSpriteProp::Save(archive);
  }
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override {
    return MakeSpriteArrayObject(*this);
  }
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override {
    return std::make_unique<PlacedSprites>(*this);
  }
  void SpawnParticle(SpriteRecord& sprite) override {
    const size_t i = spawned++;
    sprite.centre = D3DXVECTOR3(-100.0f, -100.0f, 0.0f);
    sprite.colour = 0xFFFFFFFF;
    for (const auto& [index, place] : places) {
      if (index != i) continue;
      sprite.centre = D3DXVECTOR3(place.x, place.y, 0.0f);
      sprite.colour = place.colour;
    }
    sprite.halfWidth = sprite.halfHeight = halfSize;
  }
  void UpdateParticle(SpriteRecord& sprite) override { sprite.centre.x += drift * motionStep; }

  std::vector<std::pair<size_t, Place>> places;
  float halfSize = 0.5f;
  // Pixels per motion second that every sprite moves to the right.
  float drift = 0.0f;
  size_t spawned = 0;
};

// The description a record makes through the object registry, with the stream's state.
struct ReadResult {
  std::unique_ptr<DS_ABObj_Constructor> object;
  bool failed = false;
  uint64_t remaining = 0;
};
inline ReadResult ReadDescription(std::vector<uint8_t> bytes) {
  ReadArchive source(std::move(bytes));
  ReadResult result;
  result.object = ReadByName(source.archive(), GetObjectRegistry());
  result.failed = source.archive().Failed();
  result.remaining = source.Remaining();
  return result;
}

// A sprite-array object on a clone of `preset`, and the clone it drives.
inline std::unique_ptr<DS_SpriteArrayObj> MakeArray(DS_ParticleSystemCtrl& preset) {
  return std::make_unique<DS_SpriteArrayObj>(preset.Clone());
}
template <class Kind>
Kind& PresetOf(const ParticleGeomArray& array) {
  return dynamic_cast<Kind&>(*array.Preset());
}

// The vertices of an array's quads as they stand (managed buffers keep their data).
inline std::vector<DX_V::PCT> Vertices(PCTSpriteArray& array) {
  std::vector<DX_V::PCT> out;
  if (DX_V::PCT* v = array.LockVertices()) {
    out.assign(v, v + array.vertices.count);
    array.UnlockVertices();
  }
  return out;
}

// Whether the read made an object and took the record whole: no failure, nothing left.
inline ::testing::AssertionResult ReadWhole(const ReadResult& read) {
  if (read.object == nullptr) return ::testing::AssertionFailure() << "no object";
  if (read.failed) return ::testing::AssertionFailure() << "the stream failed";
  if (read.remaining != 0)
    return ::testing::AssertionFailure() << read.remaining << " bytes left unread";
  return ::testing::AssertionSuccess();
}

// A channel of a 0xAARRGGBB pixel: 0 blue, 8 green, 16 red, 24 alpha.
inline int Channel(uint32_t pixel, int shift) {
  return int((pixel >> shift) & 0xFF);
}

// What a description's Save writes.
inline std::vector<uint8_t> SavedBytes(const DS_IOF_Item& item) {
  return Written([&](DS_IOF_Archive& archive) { item.Save(archive); });
}

}  // namespace sprite_test
