#include <gtest/gtest.h>

#include <string>

#include "core/scene/runtime_object_map.h"
#include "renderer_fixture.h"
#include "renderers/brush/ds_brush_obj.h"
#include "renderers/brush/ds_fire_fx.h"
#include "renderers/brush/ds_underwater_fx.h"
#include "renderers/light/picture_below_check.h"

namespace renderer_test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

class BrushObjectTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    picture_ = StartStripedSlide(canvas_);
    breaches_.clear();
    previous_ = SetPictureBelowBreachHandler(
        [this](const std::string& message) { breaches_.push_back(message); });
  }
  void TearDown() override {
    SetPictureBelowBreachHandler(previous_);
    RendererTest::TearDown();
  }

  // An underwater brush of `mode` (with or without its effect) as a slide's run-time object.
  static DS_SafePtr<ZKW_RenderObj> MakeBrush(int mode, bool withEffect) {
    DS_UnderwaterFX brush;
    brush.mode.SetValue(mode);
    if (!withEffect) brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1);  // no such effect
    return DS_SafePtr<ZKW_RenderObj>(brush.CreateRuntimeObject());
  }

  RecordingCanvas canvas_;
  std::vector<uint32_t> picture_;
  std::vector<std::string> breaches_;
  PictureBelowBreachHandler previous_;
};

// Mode 1 switches in the object's Render, mode 2 in the pass (for its target copy), every other
// mode nowhere; a brush without an effect neither reads nor draws. What is announced is what is
// switched, frame after frame.
TEST_F(BrushObjectTest, TheModeDecidesWhoSwitchesTheTarget) {
  struct Case {
    int mode;
    bool effect;
    int below;
    bool copy;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {-1, true, 0, false, {"draw"}},
      {0, true, 0, false, {"draw"}},
      {1, true, 1, false, {"switch cleared", "draw"}},
      {2, true, 1, true, {"switch", "draw"}},
      {3, true, 0, false, {"draw"}},
      {0, false, 0, false, {}},
      {1, false, 0, false, {}},
      {2, false, 0, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + (c.effect ? "" : " without effect"));
    DS_SafePtr<ZKW_RenderObj> object = MakeBrush(c.mode, c.effect);
    EXPECT_EQ(object->NeedsPictureBelow(), c.below);
    EXPECT_EQ(object->NeedsTargetCopy(), c.copy);
    for (int frame = 0; frame < 2; ++frame) {
      object->AdvanceTime(0.1f * float(frame));
      canvas_.events.clear();
      Frame(canvas_, {object});
      EXPECT_EQ(canvas_.events, c.events);
    }
    if (!c.effect) EXPECT_LE(MaxDifference(BackBufferPixels(), picture_), 2) << "the slide stays";
  }
  EXPECT_TRUE(breaches_.empty()) << (breaches_.empty() ? "" : breaches_.front());
}

TEST_F(BrushObjectTest, AnInactiveBrushReadsNothingButStillAsksForItsCopy) {
  DS_SafePtr<ZKW_RenderObj> object = MakeBrush(2, true);
  object->SetActive(false);
  EXPECT_EQ(object->NeedsPictureBelow(), 0);
  EXPECT_TRUE(object->NeedsTargetCopy());
  canvas_.events.clear();
  Frame(canvas_, {object});
  EXPECT_TRUE(canvas_.events.empty());
  EXPECT_TRUE(breaches_.empty());
}

TEST_F(BrushObjectTest, TheObjectOwnsAPreparedCopyAndPassesItsCallsOn) {
  DS_UnderwaterFX description;
  description.speed.SetValue(1);
  description.keepGuid = 0;
  gfx::Texture* mask = ProvidePicture(DS_ImageFileLink(u"masks.dll", 1), 4, 4, kWhite);
  Doc().guidTextures[GuidPictureKey{description.maskId, {}, 1}] = ComRef<gfx::Texture>(mask);
  mask->AddRef();

  DS_SafePtr<ZKW_RenderObj> handle(description.CreateRuntimeObject());
  auto& object = dynamic_cast<DS_BrushObj&>(*handle);
  DS_FX_Constructor& brush = object.Brush();
  EXPECT_NE(&brush, &description);
  EXPECT_TRUE(brush.effect);
  EXPECT_EQ(brush.maskTexture.Get(), mask) << "the document's picture under the mask id";
  EXPECT_FALSE(description.effect) << "the saved brush stays unprepared";
  EXPECT_FALSE(brush.guid.IsNull());
  EXPECT_EQ(FindRuntimeObject(brush.guid), &object);

  EXPECT_EQ(object.GetObjectKind(), DS_ABObj_Constructor::kBrushKind);
  EXPECT_EQ(description.GetObjectKind(), DS_ABObj_Constructor::kPlainKind);
  DS_FireFX fire;
  DS_SafePtr<ZKW_RenderObj> fireObject(fire.CreateRuntimeObject());
  EXPECT_EQ(dynamic_cast<DS_BrushObj&>(*fireObject).GetObjectKind(), 4);
  EXPECT_FALSE(object.KindFlag());

  object.SetTargetPoint(1, 2, 3);
  EXPECT_EQ(brush.targetPoint.z, 3.0f);

  // The brush ticks with the object's local time; the same time twice steps nothing.
  object.Update(1.0f);
  object.Update(1.1f);
  const float phase = brush.Phase();
  EXPECT_NEAR(phase, 0.1f, 1e-6f);
  object.Update(1.1f);
  EXPECT_EQ(brush.Phase(), phase);
  object.Restart();
  EXPECT_EQ(brush.Phase(), 0.0f);
}

}  // namespace
}  // namespace renderer_test
