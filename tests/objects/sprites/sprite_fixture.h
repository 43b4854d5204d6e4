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
    // Colour only, as the player's device draws from start-up on: whatever needs alpha in a
    // target it draws to has to ask for it.
    device_->SetRenderState(gfx::RenderState::ColorWriteEnable, 7);
  }

  // The back buffer's colour at (x, y), opaque: under that mask its alpha means nothing.
  uint32_t ColourAt(int x, int y) {
    return BackBufferPixels()[size_t(y) * width_ + size_t(x)] | 0xFF000000u;
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

// A "DS_BaseSpriteProp" record of `version`, written field by field as that version stores it,
// on the view part of `view`: count 7, size 24, transparency 40, blend mode 1, red, pulse 0.5
// (0.1 to 0.9), size factors 0.5 to 2, picture 79 of the resource library (or, in version 1,
// the embedded `frames` and, after the strip fields, their `delays`), spare count 3 and rate
// 0.25, a strip of 4 frames at 10 per second; `rateAfterCount` goes where versions below 3 keep
// the motion rate. The fields of later versions keep their defaults: picture source 0, no
// flips, no lock, speed 100 %.
inline void WriteBaseSpriteRecord(DS_IOF_Archive& archive, uint32_t version,
                                  const DS_ViewObjCtrl& view,
                                  const std::vector<ResourceDataRecord>& frames = {},
                                  const std::vector<float>& delays = {},
                                  uint32_t rateAfterCount = 30) {
  DS_IOF_Virtual& io = archive.io();
  WriteRecordHeader(archive, u"DS_BaseSpriteProp", version);
  view.DS_ViewObjCtrl::Save(archive);
  io.WriteUInt32(7);  // count
  if (version < 3) io.WriteUInt32(rateAfterCount);
  io.WriteUInt32(24);       // size
  io.WriteUInt32(40);       // transparency
  io.WriteInt32(1);         // blend mode
  io.WriteDword(0x0000FF);  // colour: red
  for (float f : {0.5f, 0.1f, 0.9f, 0.5f, 2.0f})
    io.WriteFloat(f);
  if (version == 1) {
    io.WriteDword(static_cast<uint32_t>(frames.size()));
    for (const ResourceDataRecord& record : frames)
      io.WriteResourceRecord(record);
    io.WriteResourceRecord(ResourceDataRecord{});
  } else {
    for (int i = 0; i < 2; ++i) {
      io.WriteWideString(i == 0 ? u"glimres.dll" : u"");
      io.WriteInt64(i == 0 ? 79 : 0);
    }
  }
  io.WriteUInt32(3);     // spare count
  io.WriteFloat(0.25f);  // spare rate
  io.WriteUInt32(4);     // frame count
  io.WriteFloat(10.0f);  // frame rate
  io.WriteBool(true);    // frame strip
  if (version == 1) {
    io.WriteDword(static_cast<uint32_t>(delays.size()));
    for (float d : delays)
      io.WriteFloat(d);
    return;
  }
  if (version > 3) io.WriteInt32(0);                    // picture source
  if (version > 4) io.WriteInt32(0), io.WriteInt32(0);  // flips
  if (version > 5) io.WriteInt32(0);                    // frame-locked motion
  if (version > 6) io.WriteUInt32(100);                 // speed
}

// What a description's Save writes.
inline std::vector<uint8_t> SavedBytes(const DS_IOF_Item& item) {
  return Written([&](DS_IOF_Archive& archive) { item.Save(archive); });
}

}  // namespace sprite_test
