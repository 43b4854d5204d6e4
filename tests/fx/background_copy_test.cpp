// The background copy brush: its record, what it sets on its effect, the render targets of a
// linked copy, and its pixels, linked copies among them.
#include <gtest/gtest.h>

#include <memory>

#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_move_fx.h"
#include "fx/fx_fixture.h"
#include "fx/record_layout.h"

namespace fx_test {
namespace {

using BackgroundCopyRecordTest = FxTest;

TEST_F(BackgroundCopyRecordTest, StoresItsRectangleFlagsAndSource) {
  DS_BackgroundCopy copy;
  copy.rectangle.xMin.SetValue(1);
  copy.rectangle.xMax.SetValue(2);
  copy.rectangle.yMin.SetValue(3);
  copy.rectangle.yMax.SetValue(4);
  copy.rectangle.extra1.SetValue(-5);
  copy.rectangle.extra2.SetValue(6);
  copy.verticalFlag.SetValue(7);
  copy.horizontalFlag.SetValue(8);
  const GUID source = GUID::Parse(u"{01234567-89AB-CDEF-0123-456789ABCDEF}");
  copy.source.SetValue(source);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { copy.Save(a); }), u"DS_BackgroundCopy", 2,
               {Word(1), Word(2), Word(3), Word(4), Word(uint32_t(-5)), Word(6), Word(7), Word(8),
                Text(source.ToString())},
               u"DS_FX_Constructor");
  ExpectRoundTrip(copy);
  EXPECT_TRUE(copy.KindFlag());
  EXPECT_FALSE(copy.KindQuery());

  // Version 1 holds no source: it copies the picture drawn so far.
  const auto old = Written([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"DS_BackgroundCopy");
    a.io().WriteDword(1);
    WriteMediaRectangle(a, copy.rectangle);
    a.io().WriteInt32(1);
    a.io().WriteInt32(0);
    copy.DS_FX_Constructor::Save(a);
  });
  auto read = ReadBrush<DS_BackgroundCopy>(old);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->source.Value().IsNull());
  EXPECT_FALSE(read->IsLinked());
  EXPECT_EQ(read->verticalFlag.Value(), 1);
  EXPECT_EQ(read->rectangle.extra1.Value(), -5);
}

TEST_F(BrushValuesTest, CopyOffsetIsInPicturesAndAFlagAddsAWholeOne) {
  DS_BackgroundCopy copy;
  ExpectNear(Values(Drawn(copy), "offset", 2), {0, 0});
  copy.horizontalFlag.SetValue(1);
  ExpectNear(Values(Drawn(copy), "offset", 2), {1, 0});
  copy.horizontalFlag.SetValue(0);
  copy.verticalFlag.SetValue(-1);
  copy.rectangle.extra1.SetValue(200);
  copy.rectangle.extra2.SetValue(-150);
  copy.scale.SetValue(100);
  DS_FX_Constructor& drawn = Drawn(copy);
  ExpectNear(Values(drawn, "offset", 2), {0.25f, 0.75f});
  ExpectNear(Values(drawn, "Scale", 2), {800.0f / 600.0f / 2, 0.5f});

  // The picture drawn so far is read in modes 1 and 2 (technique "MainFX"); a linked copy reads
  // none and draws over the picture in every mode.
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    copy.mode.SetValue(mode);
    copy.source.SetValue(GUID());
    auto plain = MakeObject(copy);
    EXPECT_EQ(plain->NeedsPictureBelow(), mode == 0 ? 0 : 1);
    EXPECT_EQ(plain->NeedsTargetCopy(), mode == 2);
    plain->Draw(canvas_);
    EXPECT_EQ(std::string(Brushed(plain).Brush().effect->GetCurrentTechnique()),
              mode == 0 ? "Main" : "MainFX");
    copy.source.SetValue(GUID::Create());
    auto linked = MakeObject(copy);
    EXPECT_EQ(linked->NeedsPictureBelow(), 0);
    EXPECT_FALSE(linked->NeedsTargetCopy());
    linked->Draw(canvas_);
    EXPECT_EQ(std::string(Brushed(linked).Brush().effect->GetCurrentTechnique()), "Main");
  }
}

TEST_F(BrushValuesTest, ALinkedCopyDrawsIntoTargetsOfItsOwnAndMakesThemAgainAfterALoss) {
  DS_BackgroundCopy copy;
  copy.source.SetValue(GUID::Create());  // no live object
  auto& prepared = static_cast<DS_BackgroundCopy&>(Drawn(copy));
  EXPECT_EQ(prepared.targets.width, 3 * width_) << "three times the back buffer";
  ASSERT_TRUE(prepared.targets.current);
  gfx::Texture* background = nullptr;
  ASSERT_EQ(prepared.effect->GetTexture("Background", &background), gfx::kOk);
  EXPECT_EQ(background, prepared.targets.current.Get());
  const auto cleared = Pixels(background);
  if (background != nullptr) background->Release();
  EXPECT_TRUE(std::all_of(cleared.begin(), cleared.end(), [](uint32_t t) { return t == 0; }))
      << "cleared to transparent: no object has the GUID";

  object_->ForwardLostDevice();
  EXPECT_FALSE(prepared.targets.current);
  object_->Draw(canvas_);
  EXPECT_TRUE(prepared.targets.current) << "made again on the next draw";

  // Without any size for them the copy is clear and nothing is begun or cleared.
  GetDeviceValues().targetScaleLimit = 0;
  auto& bare = static_cast<DS_BackgroundCopy&>(Drawn(copy));
  GetDeviceValues().targetScaleLimit = 3;
  EXPECT_FALSE(bare.targets.current);
  ClearLog();
  object_->Draw(canvas_);
  ASSERT_EQ(Log().size(), 1u) << "only the copy's own pass";
  ASSERT_EQ(bare.effect->GetTexture("Background", &background), gfx::kOk);
  EXPECT_EQ(background, nullptr);
}

class BackgroundCopyPixelsTest : public BrushFrameTest {
 protected:
  std::vector<uint32_t> FrameWith(const RuntimeObjectList& objects) {
    for (const auto& object : objects)
      Play(*object, 0.0f, 0.2f);
    Frame(renderer_, objects);
    return BackBufferPixels();
  }
};

TEST_F(BackgroundCopyPixelsTest, AnOffsetMovesTheBarAndAFlagMirrorsIt) {
  const auto plain = StartBarSlide(renderer_);
  const float bar = BarCentre(plain);
  ASSERT_NEAR(bar, 25.5f, 0.6f);
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    DS_BackgroundCopy copy;
    copy.mode.SetValue(mode);
    copy.rectangle.extra1.SetValue(16);  // a quarter of the picture
    EXPECT_NEAR(BarCentre(FrameWith({MakeObject(copy)})), bar - 16, 0.6f);
    copy.rectangle.extra1.SetValue(0);
    copy.horizontalFlag.SetValue(1);
    EXPECT_NEAR(BarCentre(FrameWith({MakeObject(copy)})), 63 - bar, 0.6f) << "mirrored";
  }
}

TEST_F(BackgroundCopyPixelsTest, ALinkedObjectShowsInTheCopy) {
  const auto plain = StartBarSlide(renderer_);
  const float bar = BarCentre(plain);
  // The linked object: a move brush that draws the picture with the bar a quarter to the right.
  // It is live but not on the slide, so only the copy shows it.
  DS_MoveFX move;
  move.baseStrength.SetValue(1250);
  auto moved = MakeObject(move);
  Play(*moved, 0.0f, 0.2f);
  DS_BackgroundCopy copy;
  copy.source.SetValue(Brushed(moved).Brush().guid);
  for (int mode : {0, 1}) {
    copy.mode.SetValue(mode);
    EXPECT_NEAR(BarCentre(FrameWith({MakeObject(copy)})), bar + 16, 0.6f) << mode;
  }

  // A GUID of no live object copies a clear picture: the slide stays as it is.
  copy.source.SetValue(GUID::Create());
  EXPECT_LE(MaxDifference(FrameWith({MakeObject(copy)}), plain), 2);
}

TEST_F(BackgroundCopyPixelsTest, CopiesLinkedInACircleDrawWithoutEnd) {
  const auto plain = StartBarSlide(renderer_);
  // Linked to itself: reached again while drawing, it draws nothing into its own copy.
  DS_BackgroundCopy self;
  self.guid = GUID::Create();
  self.source.SetValue(self.guid);
  auto selfObject = MakeObject(self);
  EXPECT_EQ(Brushed(selfObject).Brush().guid, self.guid);
  EXPECT_LE(MaxDifference(FrameWith({selfObject}), plain), 2);

  // Two copies that link each other, both on the slide.
  DS_BackgroundCopy a, b;
  a.guid = GUID::Create();
  b.guid = GUID::Create();
  a.source.SetValue(b.guid);
  b.source.SetValue(a.guid);
  a.mode.SetValue(1);
  EXPECT_LE(MaxDifference(FrameWith({MakeObject(a), MakeObject(b)}), plain), 2);
}

}  // namespace
}  // namespace fx_test
