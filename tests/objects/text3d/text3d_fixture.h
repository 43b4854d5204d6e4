#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/registry/read_by_name.h"
#include "core/timing/zkw_timing.h"
#include "objects/text3d/text3d_class_list.h"
#include "objects/text3d/zkw_text_obj.h"
#include "platform/gfx/gfx_fixture.h"
#include "renderers/renderer_fixture.h"

namespace text3d_test {

using renderer_test::ReadArchive;
using renderer_test::Written;

// A timeline held at one state and value, as a real one reports them at some moment.
class HeldTimeline : public ZKW_Timing {
 public:
  HeldTimeline(TimingState state, float value) {
    state_ = state;
    value_ = value;
  }
};

// The renderer fixture with the text kinds registered, on a 64 x 64 back buffer.
class Text3dTest : public renderer_test::RendererTest {
 protected:
  Text3dTest() : RendererTest(64, 64) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterClasses({RegisterCoreClasses, RegisterPlayerClasses, RegisterRendererClasses,
                     RegisterObjectsText3dClasses});
  }

  // The run-time object a slide start makes of `text`, in the handle a slide keeps.
  static DS_SafePtr<ZKW_RenderObj> MakeObject(ZKW_Text& text) {
    DS_SafePtr<ZKW_RenderObj> handle(text.CreateRuntimeObject());
    EXPECT_NE(dynamic_cast<ZKW_TextObj*>(handle.Get()), nullptr);
    return handle;
  }
  // The prepared clone that the object draws, of kind X.
  template <class X>
  static X& DrawnAs(const DS_SafePtr<ZKW_RenderObj>& handle) {
    return dynamic_cast<X&>(dynamic_cast<ZKW_TextObj&>(*handle).Text());
  }

  // Makes `timeline` the current timeline of the description.
  static void Hold(ZKW_Text& text, TimingState state, float value) {
    text.timing.SetTiming(std::make_unique<HeldTimeline>(state, value));
  }

  // Gives `link` the frame textures of a `width` x `height` picture of those texels, used whole,
  // as the document's texture set built for it.
  void ProvideFrames(const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                     const std::vector<std::vector<uint32_t>>& frames, float delay = 0.0f) {
    LinkTextureSet& set = Doc().linkTextureSets[link.Key()];
    set.Reset();
    for (const auto& texels : frames) {
      set.textures.push_back(MakeTexture(width, height, texels));
      set.delays.push_back(delay);
    }
    set.sourceWidth = set.textureWidth = width;
    set.sourceHeight = set.textureHeight = height;
  }

  // The leading `count` values of an effect parameter.
  static std::vector<float> Values(gfx::Effect* effect, const char* name, int count) {
    std::vector<float> values(size_t(count), NAN);
    EXPECT_NE(effect, nullptr) << name;
    if (effect != nullptr) effect->GetFloatArray(name, values.data(), uint32_t(count));
    return values;
  }
};

// The description a record of `bytes` reads into through the object registry, which must be of
// class X; `failed` tells whether the stream failed, `remaining` the bytes left.
template <class X>
std::unique_ptr<X> ReadText(std::vector<uint8_t> bytes, bool* failed = nullptr,
                            uint64_t* remaining = nullptr) {
  ReadArchive source(std::move(bytes));
  std::unique_ptr<DS_ABObj_Constructor> read = ReadByName(source.archive(), GetObjectRegistry());
  if (failed != nullptr) *failed = source.archive().Failed();
  if (remaining != nullptr) *remaining = source.Remaining();
  auto* text = dynamic_cast<X*>(read.get());
  if (text == nullptr) return nullptr;
  read.release();
  return std::unique_ptr<X>(text);
}

}  // namespace text3d_test
