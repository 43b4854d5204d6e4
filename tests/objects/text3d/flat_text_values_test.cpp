// The flat textured text's arithmetic without a device: placement, fade tables, fill clock.
#include <gtest/gtest.h>

#include "objects/text3d/flat_text_layout.h"
#include "objects/text3d/zkw_2d_tex.h"

namespace {

TEST(FlatTextValues, AlignmentPlacesTheUsedPartOfThePicture) {
  // A quad of 128 texels on a 256-texel texture (a = 0.5) whose text uses 0.8 of it.
  const D3DXVECTOR3 first(10, 20, 0), last(138, 52, 0);
  struct Case {
    int horizontal;
    float e;
  };
  for (const Case& c : {Case{0, 0.0f}, Case{1, 0.15f}, Case{2, 0.3f}}) {
    SCOPED_TRACE(c.horizontal);
    const FlatTextPlacement p = PlaceFlatText(first, last, 256, 64, 0.8f, 1.0f, c.horizontal, 1);
    EXPECT_FLOAT_EQ(p.a, 0.5f);
    EXPECT_FLOAT_EQ(p.c, 0.5f);
    EXPECT_NEAR(p.e, c.e, 1e-6f) << "the grid samples u from e to e + a";
    EXPECT_FLOAT_EQ(p.f, 0.25f);
  }
  const FlatTextPlacement none = PlaceFlatText(first, last, 0, 0, 1.0f, 1.0f, 1, 1);
  EXPECT_EQ(none.a, 0.0f) << "a texture without size places nothing, not inf";
  EXPECT_EQ(none.c, 0.0f);
}

TEST(FlatTextValues, FadeTablesMoveFromTheHiddenEndToTheShownEnd) {
  const FlatTextPlacement p{0.5f, 0.25f, 0.15f, 0.05f};
  const float u1 = 0.8f, v1 = 0.6f;
  const FadeEnd slideIn = FadeInTable(2, p, u1, v1).At(0.5f);
  EXPECT_FLOAT_EQ(slideIn.shift.x, (0.15f - 0.8f) / 2);
  EXPECT_EQ(slideIn.shift.y, 0.0f);
  EXPECT_EQ(slideIn.alpha, 1.0f);
  const FadeEnd shown = FadeInTable(2, p, u1, v1).At(1.0f);
  EXPECT_EQ(shown.shift.x, 0.0f) << "at v = 1 the text is in place";

  // Every kind's hidden end; the shown end is always alpha 1 with no shift or wipe.
  struct Case {
    int kind;
    FadeEnd in, out;
  };
  const Case cases[] = {
      {0, {1, {}, {}}, {1, {}, {}}},
      {1, {0, {}, {}}, {0, {}, {}}},
      {2, {1, {p.e - u1, 0}, {}}, {1, {p.a + p.e, 0}, {}}},
      {3, {1, {p.a + p.e, 0}, {}}, {1, {p.e - u1, 0}, {}}},
      {4, {1, {0, p.f + p.c}, {}}, {1, {0, p.f - v1}, {}}},
      {5, {1, {0, p.f - v1}, {}}, {1, {0, p.f + p.c}, {}}},
      {6, {1, {}, {0, 1}}, {1, {}, {0, 1}}},
      {7, {1, {}, {1, 0}}, {1, {}, {1, 0}}},
      {8, {1, {}, {1, 1}}, {1, {}, {1, 1}}},
      {9, {1, {}, {}}, {1, {}, {}}},
      {-1, {1, {}, {}}, {1, {}, {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    for (const auto& [table, expected] : {std::pair{FadeInTable(c.kind, p, u1, v1), c.in},
                                          std::pair{FadeOutTable(c.kind, p, u1, v1), c.out}}) {
      EXPECT_FLOAT_EQ(table.hidden.alpha, expected.alpha);
      EXPECT_FLOAT_EQ(table.hidden.shift.x, expected.shift.x);
      EXPECT_FLOAT_EQ(table.hidden.shift.y, expected.shift.y);
      EXPECT_EQ(table.hidden.wipe.x, expected.wipe.x);
      EXPECT_EQ(table.hidden.wipe.y, expected.wipe.y);
      EXPECT_EQ(table.shown.alpha, 1.0f);
      EXPECT_EQ(table.shown.shift.x, 0.0f);
      EXPECT_EQ(table.shown.wipe.y, 0.0f);
    }
  }
}

TEST(FlatTextValues, TheFillClockStepsTheFillFramesAtTheFillSpeed) {
  ZKW_2DTex text;
  text.fill.textures.resize(4);
  text.fill.delays = {0.3f, 0.3f, 0.3f, 0.3f};
  for (float t = 0.0f; t < 1.01f; t += 0.1f)
    text.Tick(t);
  EXPECT_FLOAT_EQ(text.fillTime, 1.0f) << "100 %: the fill runs with the object's time";
  EXPECT_EQ(text.fill.frameIndex, 3u);

  text.Tick(5.0f);
  EXPECT_FLOAT_EQ(text.fillStep, 0.2f) << "a step is at most 0.2 s";
  text.Tick(1.0f);
  EXPECT_EQ(text.fillStep, 0.0f) << "time running back takes no step";

  ZKW_2DTex frozen;
  frozen.fillSpeed.SetValue(0);
  frozen.fill.textures.resize(2);
  frozen.fill.delays = {0.1f, 0.1f};
  frozen.fill.frameIndex = 1;
  for (float t = 0.0f; t < 3.0f; t += 0.1f)
    frozen.Tick(t);
  EXPECT_EQ(frozen.fill.frameIndex, 1u) << "speed 0 freezes the fill on its frame";
}

}  // namespace
