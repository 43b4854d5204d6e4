#pragma once

#include "platform/gfx/gfx_fixture.h"
#include "platform/headless_sdl.h"

namespace gfx_image_test {

// The device fixture, with Mesa's libraries kept loaded until the leak check, which reads
// their thread data.
class ImageTest : public gfx_test::GfxTest {
 protected:
  void SetUp() override {
    UseHeadlessSdl();
    GfxTest::SetUp();
  }
};

}  // namespace gfx_image_test
