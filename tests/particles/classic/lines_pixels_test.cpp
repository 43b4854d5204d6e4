#include <gtest/gtest.h>

#include "lines_fixture.h"
#include "particles/classic/lines/groving_line.h"

namespace classic_test {
namespace {

class LinesPixelsTest : public ClassicRenderTest {
 protected:
  // A line 20 wide across the picture along y = 32, shown whole; its strip white in `colour`
  // (COLORREF) at `opacity` percent, drawn with `blend`; no head.
  std::unique_ptr<ZKW_GrovingLine> Line(int blend, uint32_t colour, unsigned opacity) {
    auto line = std::make_unique<ZKW_GrovingLine>();
    StraightPath(line->path, {{-10, 32, 0}, {74, 32, 0}});
    line->width.SetValue(20);
    WhiteLook(line->lineAppearance, DS_ImageFileLink(u"streak.png", 1), 20);
    line->lineAppearance.blend.SetValue(blend);
    line->lineAppearance.colorSet.colors.RawValue() = {colour};
    line->lineAppearance.colorSet.opacity.SetValue(100 - opacity);
    return line;
  }

  void Draw(RuntimeObjectList& objects, float t) {
    objects.front()->AdvanceTime(t);
    Frame(renderer_, objects);
  }

  // The rows of column x whose pixel differs from `background` in its colour.
  int RowsOtherThan(int x, uint32_t background) {
    int rows = 0;
    for (int y = 0; y < 64; ++y)
      rows += (PixelAt(x, y) & 0xFFFFFF) != (background & 0xFFFFFF);
    return rows;
  }
};

TEST_F(LinesPixelsTest, AStraightLineCoversItsWidthAcross) {
  auto line = Line(0, 0xFFFFFF, 100);
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(line->CreateRuntimeObject())};
  EXPECT_EQ(objects.front()->NeedsPictureBelow(), 0);
  Draw(objects, 1.0f);
  for (int x : {5, 32, 58}) {
    EXPECT_EQ(RowsOtherThan(x, 0xFF000000), 20) << x;
    EXPECT_EQ(PixelAt(x, 32) & 0xFFFFFF, 0xFFFFFFu) << x;
  }
  EXPECT_TRUE(std::any_of(Log().begin(), Log().end(), [](const gfx::FrameLogEntry& e) {
    return e.technique == "BlendNormal";
  }));
}

TEST_F(LinesPixelsTest, TheMultiplyBlendDarkensThePictureUnderTheLineOnly) {
  struct Case {
    unsigned opacity;
    int red, green;  // under the line, of a grey 0x80
  } cases[] = {{100, 0x80, 0}, {50, 0x80, 0x40}};
  for (const Case& c : cases) {
    auto line = Line(1, 0x0000FF, c.opacity);  // red
    StartSlideOn(renderer_, 64, 64, 0xFF808080);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(line->CreateRuntimeObject())};
    EXPECT_EQ(objects.front()->NeedsPictureBelow(), 1);
    Draw(objects, 1.0f);
    const uint32_t under = PixelAt(32, 32);
    EXPECT_NEAR(RedOf(under), c.red, 3) << c.opacity;
    EXPECT_NEAR(GreenOf(under), c.green, 3) << c.opacity;
    EXPECT_NEAR(BlueOf(under), c.green, 3) << c.opacity;
    EXPECT_EQ(RowsOtherThan(32, 0xFF808080), 20) << c.opacity;
    EXPECT_NEAR(GreenOf(PixelAt(32, 5)), 0x80, 1) << "beside the line";
    EXPECT_TRUE(std::any_of(Log().begin(), Log().end(), [](const gfx::FrameLogEntry& e) {
      return e.technique == "BlendMultiplay";
    }));
  }
}

TEST_F(LinesPixelsTest, ALineThatMovedLeavesNoTraceInItsSurface) {
  auto line = Line(1, 0x000000, 100);  // black: the picture under it goes black
  PhaseTimeline& timeline = UsePhaseTimeline(*line);
  timeline.Set(TimingState::Shown, 1.0f, 2.0f);
  StartSlideOn(renderer_, 64, 64, 0xFF808080);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(line->CreateRuntimeObject())};
  Draw(objects, 1.0f);
  EXPECT_EQ(PixelAt(50, 32) & 0xFFFFFF, 0u);
  timeline.Set(TimingState::Shown, 0.25f, 2.0f);  // up to x = 11
  Draw(objects, 1.1f);
  EXPECT_EQ(PixelAt(5, 32) & 0xFFFFFF, 0u);
  EXPECT_NEAR(GreenOf(PixelAt(50, 32)), 0x80, 1) << "the earlier line is gone";
}

TEST_F(LinesPixelsTest, WithoutItsSurfaceTheMultiplyKeepsThePictureBelow) {
  auto line = Line(1, 0x000000, 100);
  StartSlideOn(renderer_, 64, 64, 0xFF808080);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(line->CreateRuntimeObject())};
  auto& mech = static_cast<ZKW_ParticleSystemMech&>(*objects.front());
  auto& control = static_cast<ZKW_GrovingLine&>(*mech.ctrl);
  ASSERT_TRUE(control.lineSurface.texture);
  control.lineSurface.OnLostDevice();
  Draw(objects, 1.0f);
  EXPECT_EQ(RowsOtherThan(32, 0xFF808080), 0);
  EXPECT_FALSE(control.lineSurface.savedTarget);
}

}  // namespace
}  // namespace classic_test
