#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/registry/read_by_name.h"
#include "core/timing/zkw_timing.h"
#include "fx/fx_class_list.h"
#include "renderers/brush/ds_brush_obj.h"
#include "renderers/renderer_fixture.h"

namespace fx_test {

using renderer_test::Channel;
using renderer_test::MaxDifference;
using renderer_test::ReadArchive;
using renderer_test::Stripes;
using renderer_test::Written;

// 64 x 64 black texels with a white bar 4 texels wide from x = 24.
inline std::vector<uint32_t> BarTexels() {
  std::vector<uint32_t> texels(64 * 64, 0xFF000000);
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 24; x < 28; ++x)
      texels[y * 64 + x] = 0xFFFFFFFF;
  return texels;
}

// The middle of the bright columns of row 32 of a frame 64 pixels wide; -1 without any.
inline float BarCentre(const std::vector<uint32_t>& frame) {
  float sum = 0, count = 0;
  for (uint32_t x = 0; x < 64; ++x) {
    if (Channel(frame[32 * 64 + x], 8) > 128) {
      sum += float(x);
      count += 1;
    }
  }
  return count > 0 ? sum / count : -1.0f;
}

// A timeline frozen at one value: what a real timeline reports while its object is hidden (0)
// or half faded in.
class FixedTimeline : public ZKW_Timing {
 public:
  explicit FixedTimeline(float value) { value_ = value; }
};

// The renderer fixture with the brush kinds registered, on a 64 x 64 back buffer.
class FxTest : public renderer_test::RendererTest {
 protected:
  FxTest() : RendererTest(64, 64) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterClasses(
        {RegisterCoreClasses, RegisterPlayerClasses, RegisterRendererClasses, RegisterFxClasses});
  }

  // The brush's run-time object, made as a slide start makes it, in the handle a slide keeps.
  static DS_SafePtr<ZKW_RenderObj> MakeObject(DS_FX_Constructor& brush) {
    DS_SafePtr<ZKW_RenderObj> handle(brush.CreateRuntimeObject());
    EXPECT_NE(dynamic_cast<DS_BrushObj*>(handle.Get()), nullptr);
    return handle;
  }
  static DS_BrushObj& Brushed(const DS_SafePtr<ZKW_RenderObj>& handle) {
    return dynamic_cast<DS_BrushObj&>(*handle);
  }

  // The slide started on the default background made a 64 x 64 picture of BarTexels; answers
  // its first frame.
  std::vector<uint32_t> StartBarSlide(DS_2D_Light& renderer) {
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, 64, 64, BarTexels());
    StartSlide(renderer);
    Frame(renderer);
    return BackBufferPixels();
  }

  // Stores `texture` as the document's picture under the brush's mask id.
  void GiveMask(const DS_FX_Constructor& brush, const ComRef<gfx::Texture>& texture) {
    Doc().guidTextures[GuidPictureKey{brush.maskId, {}, 1}] = texture;
  }

  // Steps the object's clock from `from` to `to` seconds in frames of 0.1 s, as a slide does.
  static void Play(ZKW_RenderObj& object, float from, float to) {
    for (float t = from; t < to + 1e-4f; t += 0.1f)
      object.AdvanceTime(t);
  }

  // The leading `count` values of an effect parameter.
  static std::vector<float> Values(const DS_FX_Constructor& brush, const char* name, int count) {
    std::vector<float> values(size_t(count), NAN);
    EXPECT_TRUE(brush.effect) << name;
    if (brush.effect) brush.effect->GetFloatArray(name, values.data(), uint32_t(count));
    return values;
  }
};

using Floats = std::vector<float>;

inline void ExpectNear(const Floats& actual, const Floats& expected, float tolerance = 1e-5f,
                       const char* note = "") {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], tolerance) << "value " << i << " " << note;
}

// What brushes set on their effects, on an 800 x 600 picture that fills the target.
class BrushValuesTest : public FxTest {
 protected:
  void SetUp() override {
    FxTest::SetUp();
    StartSlideOn(canvas_, 800, 600, 0xFFFFFFFF);
  }

  // The brush's run-time object after its clock ran to `seconds` (phase = speed x seconds), drawn
  // once; answers the brush the object drew.
  DS_FX_Constructor& Drawn(DS_FX_Constructor& description, float seconds = 0.0f) {
    object_ = MakeObject(description);
    Play(*object_, 0.0f, seconds);
    object_->Draw(canvas_);
    return Brushed(object_).Brush();
  }

  DS_2D_Light canvas_;
  DS_SafePtr<ZKW_RenderObj> object_;
};

// Brushes drawn for real, whole frames of a slide of their own.
class BrushFrameTest : public FxTest {
 protected:
  // The frame with the object drawn after its clock ran from `from` to `to` seconds.
  std::vector<uint32_t> FrameAfter(const DS_SafePtr<ZKW_RenderObj>& object, float from, float to) {
    Play(*object, from, to);
    Frame(renderer_, {object});
    return BackBufferPixels();
  }

  DS_2D_Light renderer_;
};

// The largest difference of a frame 64 pixels wide from `picture` inside the region where
// inside(x, y) holds, and outside it.
template <class Inside>
std::pair<int, int> RegionDifferences(const std::vector<uint32_t>& frame,
                                      const std::vector<uint32_t>& picture, Inside inside) {
  std::pair<int, int> most{0, 0};
  for (size_t i = 0; i < std::min(frame.size(), picture.size()); ++i) {
    int& slot = inside(uint32_t(i % 64), uint32_t(i / 64)) ? most.first : most.second;
    slot = std::max(slot, MaxDifference({frame[i]}, {picture[i]}));
  }
  return most;
}

// The description a record of `bytes` reads into through the object registry, which must be of
// class X; the record is read to its end without failing.
template <class X>
std::unique_ptr<X> ReadBrush(std::vector<uint8_t> bytes) {
  ReadArchive source(std::move(bytes));
  std::unique_ptr<DS_ABObj_Constructor> read = ReadByName(source.archive(), GetObjectRegistry());
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Remaining(), 0u);
  auto* brush = dynamic_cast<X*>(read.get());
  EXPECT_NE(brush, nullptr);
  if (brush == nullptr) return nullptr;
  read.release();
  return std::unique_ptr<X>(brush);
}

}  // namespace fx_test
