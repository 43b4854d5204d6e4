#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/registry/read_by_name.h"
#include "core/timing/zkw_timing.h"
#include "objects/sprites/ds_fx_obj.h"
#include "objects/text3d/ds_static_text.h"
#include "objects/text3d/ds_static_text_constructor.h"
#include "particles/classic/control/particle_system_mech.h"
#include "player/document/scene_view.h"
#include "player/support/every_class.h"
#include "renderers/renderer_fixture.h"

// What the tests of the sprite and quad text objects share.
namespace text_object_test {

using renderer_test::ReadArchive;

// What the object's Save writes.
template <class X>
std::vector<uint8_t> RecordOf(const X& object) {
  return renderer_test::Written([&](DS_IOF_Archive& archive) { object.Save(archive); });
}

// A timeline held at one state and value, with a cycle of `cycle` seconds.
class HeldTimeline : public ZKW_Timing {
 public:
  HeldTimeline(TimingState state, float value, float cycle = 0.0f) : cycle_(cycle) {
    state_ = state;
    value_ = value;
  }
  float GetCycleLength() const override { return cycle_; }

 private:
  float cycle_;
};

inline void Hold(DS_ABObj_Constructor& description, TimingState state, float value,
                 float cycle = 0.0f) {
  description.timing.SetTiming(std::make_unique<HeldTimeline>(state, value, cycle));
}

// The description a record reads into through the object registry, of class X (null for
// another class); `failed` tells whether the stream failed.
template <class X>
std::unique_ptr<X> ReadAs(std::vector<uint8_t> bytes, bool* failed = nullptr) {
  ReadArchive source(std::move(bytes));
  std::unique_ptr<DS_ABObj_Constructor> read = ReadByName(source.archive(), GetObjectRegistry());
  if (failed != nullptr) *failed = source.archive().Failed();
  auto* x = dynamic_cast<X*>(read.get());
  if (x == nullptr) return nullptr;
  read.release();
  return std::unique_ptr<X>(x);
}

// A 64 x 64 headless device whose scene is the back buffer, one scene pixel to one window pixel,
// with every class of the program registered.
class TextObjectTest : public renderer_test::RendererTest {
 protected:
  TextObjectTest() : RendererTest(64, 64) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterEveryClass();
  }

  void SetUp() override {
    RendererTest::SetUp();
    SceneView& view = Doc().sceneView;
    view.pictureWidth = view.pictureHeight = 64;
    view.scaleX = view.scaleY = 1.0f;
    view.quad.FromBackBuffer();
  }

  // A run-time object of kind Object as a slide keeps it, and the clone of kind X it draws.
  template <class Object, class X>
  struct Made {
    DS_SafePtr<ZKW_RenderObj> handle;
    Object* object;
    X* text;
  };
  template <class Object, class X, class Clone>
  static Made<Object, X> MakeObject(X& description, Clone clone) {
    DS_SafePtr<ZKW_RenderObj> handle(description.CreateRuntimeObject());
    auto* object = dynamic_cast<Object*>(handle.Get());
    EXPECT_NE(object, nullptr);
    return {handle, object, object != nullptr ? dynamic_cast<X*>(clone(*object)) : nullptr};
  }
  // A sprite text's DS_FXObj; a quad text's particle-system object.
  template <class X>
  static Made<DS_FXObj, X> MakeSpriteText(X& description) {
    return MakeObject<DS_FXObj>(description, [](DS_FXObj& o) { return &o.FXPreset(); });
  }
  template <class X>
  static Made<ZKW_ParticleSystemMech, X> MakeQuadText(X& description) {
    return MakeObject<ZKW_ParticleSystemMech>(description,
                                              [](ZKW_ParticleSystemMech& o) { return o.ctrl; });
  }

  // Gives `link` the one frame of a `width` x `height` texture of `texels`, whose used part is
  // `usedWidth` x `usedHeight` pixels from the top-left.
  void ProvideFrame(const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                    const std::vector<uint32_t>& texels, uint32_t usedWidth = 0,
                    uint32_t usedHeight = 0) {
    LinkTextureSet& set = Doc().linkTextureSets[link.Key()];
    set.Reset();
    set.textures.push_back(MakeTexture(width, height, texels));
    set.delays.push_back(0.0f);
    set.textureWidth = width;
    set.textureHeight = height;
    set.sourceWidth = usedWidth != 0 ? usedWidth : width;
    set.sourceHeight = usedHeight != 0 ? usedHeight : height;
    set.usedU = float(set.sourceWidth) / float(width);
    set.usedV = float(set.sourceHeight) / float(height);
  }

  // A quad text description on the picture links, with its quad `w` x `h` about `centre`.
  template <class X>
  static void Dress(X& text, std::vector<DS_ImageFileLink> links, float w, float h,
                    D3DXVECTOR3 centre) {
    text.appearance.picture.SetValue(DS_NamedFileLinkData(std::move(links)));
    text.appearance.colorSet.colors.RawValue() = {0xFFFFFF};
    text.corners.SetRect(w, h, centre);
    text.spinSpeed.SetValue(0);
  }

  // The techniques of the frame's effect draws, in order.
  std::vector<std::string> Techniques() {
    std::vector<std::string> names;
    for (const gfx::FrameLogEntry& entry : Log())
      if (entry.kind == gfx::FrameLogEntry::Kind::Draw && !entry.technique.empty())
        names.push_back(entry.technique);
    return names;
  }

  static std::vector<float> Values(gfx::Effect* effect, const char* name, int count) {
    std::vector<float> values(size_t(count), NAN);
    EXPECT_NE(effect, nullptr) << name;
    if (effect != nullptr) effect->GetFloatArray(name, values.data(), uint32_t(count));
    return values;
  }
};

}  // namespace text_object_test
