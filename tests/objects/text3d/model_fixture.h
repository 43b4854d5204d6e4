#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "objects/sprites/sprite_fixture.h"
#include "objects/text3d/ds_3d_obj_array.h"
#include "platform/sys/local_time.h"
#include "player/support/every_class.h"

namespace model_test {

using sprite_test::ReadDescription;
using sprite_test::ReadResult;
using sprite_test::ReadWhole;
using sprite_test::SavedBytes;
using sprite_test::SpriteTest;

// A headless device, a current document with a scene of the back buffer's size, a render
// context and every class of the program and of the player's tests (which the demo's scene test
// in the same program registers); the local time is fixed by SetTime until the test ends.
class ModelTest : public SpriteTest {
 protected:
  explicit ModelTest(uint32_t width = 64, uint32_t height = 64) : SpriteTest(width, height) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterEveryClass();
  }

  void SetUp() override {
    SpriteTest::SetUp();
    SetTime(10, 10, 0);
  }
  void TearDown() override {
    sys::SetLocalTimeSource(nullptr);
    SpriteTest::TearDown();
  }

  // The local time the clocks read from now on; nothing when `readable` is false.
  void SetTime(int hour, int minute, int second, bool readable = true) {
    std::optional<sys::LocalTimeOfDay> time;
    if (readable) time = sys::LocalTimeOfDay{hour, minute, second};
    sys::SetLocalTimeSource([time] { return time; });
  }

  // The run-time object of a model description, made as a slide start makes it.
  static std::unique_ptr<DS_3DObjArray> MakeModel(DS_3D_Obj_Ctrl& description) {
    std::unique_ptr<ZKW_RenderObj> made = description.CreateRuntimeObject();
    return std::unique_ptr<DS_3DObjArray>(dynamic_cast<DS_3DObjArray*>(made.release()));
  }

  // One frame of a slide whose only object is `object`; the back buffer's pixels.
  std::vector<uint32_t> DrawOnly(std::unique_ptr<ZKW_RenderObj> object) {
    RuntimeObjectList objects;
    objects.emplace_back(std::move(object));
    ClearLog();
    Frame(renderer_, objects);
    return BackBufferPixels();
  }

  uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) const {
    return pixels[size_t(y) * width_ + x];
  }

  DS_2D_Light renderer_;
};

}  // namespace model_test
