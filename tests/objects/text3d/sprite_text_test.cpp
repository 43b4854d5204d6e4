// The sprite text kinds: the sprite they make, what they set in their effect and draw, the
// link's hit test with its integer half sizes, and the scroll phases.
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "platform/app/window.h"
#include "platform/gfx/device.h"
#include "player/render/matrix_values.h"
#include "text_object_fixture.h"

namespace text_object_test {
namespace {

using SpriteTextTest = TextObjectTest;

TEST_F(SpriteTextTest, TheSpriteSitsAtThePositionInTheSpriteColour) {
  DS_StaticTextConstructor description;
  description.position.SetValue(D3DXVECTOR3(20, 30, 0.25f));
  description.width.SetValue(101);
  description.height.SetValue(20);
  description.colour.SetValue(0x00FF00);
  description.transparency.SetValue(50);
  auto made = MakeSpriteText(description);
  made.object->Update(0.1f);
  ASSERT_EQ(made.object->Sprites().size(), 1u);
  SpriteRecord& sprite = made.object->Sprites()[0];
  EXPECT_EQ(sprite.centre, D3DXVECTOR3(20, 30, 0.25f));
  EXPECT_EQ(sprite.halfWidth, 50.5f) << "drawn with the float half";
  EXPECT_EQ(sprite.halfHeight, 10.0f);
  EXPECT_EQ(sprite.colour, 0x7F00FF00u);
  sprite.alphaFactor = 0.5f;
  made.object->Update(0.2f);
  EXPECT_EQ(sprite.colour, 0x3F00FF00u);
}

// The static text draws its sprites itself with "CommonVretexColor" and its picture, after
// setting stage 0 to modulate texture and vertex colour; the run-time object draws nothing
// more.
TEST_F(SpriteTextTest, TheStaticTextDrawsItsSpritesThroughCommonVretexColor) {
  DS_StaticTextConstructor description;
  description.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
  description.width.SetValue(16);
  description.height.SetValue(8);
  const ComRef<gfx::Texture> picture = MakeTexture(2, 2, {~0u, ~0u, ~0u, ~0u});
  Doc().guidTextures[description.PictureKey()] = picture;
  auto made = MakeSpriteText(description);
  ASSERT_TRUE(made.text->effect) << "the player's own effect 1901";
  EXPECT_EQ(made.text->textPicture.Get(), picture.Get());
  made.object->Update(0.1f);
  DS_2D_Light renderer;
  device_->SetTextureStageState(0, gfx::TextureStageState::ColorOp, gfx::TextureOp::SelectArg1);
  ClearLog();
  EXPECT_FALSE(made.text->SetEffectParameters(renderer, *made.object));
  EXPECT_EQ(Techniques(), (std::vector<std::string>{"CommonVretexColor"}));
  uint32_t op = 0;
  ASSERT_EQ(device_->GetTextureStageState(0, gfx::TextureStageState::ColorOp, &op), gfx::kOk);
  EXPECT_EQ(op, gfx::TextureOp::Modulate);
  ClearLog();
  made.object->Draw(renderer);
  EXPECT_EQ(Log().size(), 1u) << "one draw, the text's own";
}

// A link is hit within the integer halves of its size about its position (borders inside):
// width 101 reaches 50 pixels each side.
TEST_F(SpriteTextTest, TheLinkHitAreaUsesIntegerHalves) {
  DS_TextLinkConstructor description;
  description.position.SetValue(D3DXVECTOR3(32, 32, 0));
  description.width.SetValue(101);
  description.height.SetValue(21);
  auto made = MakeSpriteText(description);
  DS_TextLinkConstructor& link = *made.text;
  struct Case {
    int x, y;
    bool inside;
  };
  for (const Case& c : {Case{32, 32, true}, Case{82, 32, true}, Case{-18, 32, true},
                        Case{83, 32, false}, Case{-19, 32, false}, Case{32, 42, true},
                        Case{32, 22, true}, Case{32, 43, false}, Case{32, 21, false}}) {
    EXPECT_EQ(link.HitTest(float(c.x), float(c.y)), c.inside) << c.x << " " << c.y;
    app::SetCursor(app::Cursor::Arrow);
    EXPECT_EQ(link.HoverTest(c.x, c.y), c.inside ? 1 : 0);
    EXPECT_EQ(app::CurrentCursor(), c.inside ? app::Cursor::Hand : app::Cursor::Arrow);
  }
  // The window point goes back through the view the link is drawn with.
  Context().view = ScalingMatrix(2.0f, 1.0f, 1.0f);
  EXPECT_TRUE(link.HitTest(164, 32));
  EXPECT_FALSE(link.HitTest(165, 32));
  Context().view = IdentityMatrix();

  Hold(link, TimingState::Hidden, 0.0f);
  app::SetCursor(app::Cursor::Arrow);
  EXPECT_EQ(link.HoverTest(32, 32), 0);
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Arrow);
  Hold(link, TimingState::Shown, 1.0f);
  RenderContextTlsSlot::Set(nullptr);
  EXPECT_EQ(link.HoverTest(32, 32), 0) << "before the first frame";
  link.Click(32, 32);
  RenderContextTlsSlot::Set(&Context());
}

TEST_F(SpriteTextTest, ShiftsOfPhases) {
  struct Case {
    float phase, shift;
  };
  for (const Case& c : {Case{0.0f, 1.0f}, Case{1.0f / 3.0f, 0.0f}, Case{0.5f, 0.5f},
                        Case{1.25f, -0.25f}, Case{-0.25f, 0.25f}, Case{-1.0f, 1.0f}})
    EXPECT_NEAR(DS_ScrollingTextConstructor::ShiftOfPhase(c.phase), c.shift, 1e-6f) << c.phase;
}

// The active phase moves by the motion step / the divisor once a frame; a divisor of 0 leaves it
// still and a hidden timeline sets both phases to 0. The sprite shows the part of the picture
// its size holds, the whole picture while the picture's size is unknown. "Shift" carries the
// shifts to "ScrollText".
TEST_F(SpriteTextTest, TheScrollingTextMovesItsPhaseAndWindow) {
  DS_ScrollingTextConstructor description;
  description.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
  description.width.SetValue(32);
  description.height.SetValue(16);
  description.motionRate.SetValue(50);  // real time
  description.scrollDivisor.SetValue(2);
  description.direction.SetValue(1);
  description.count.SetValue(3);
  auto made = MakeSpriteText(description);
  DS_ScrollingTextConstructor& text = *made.text;
  made.object->Update(0.0f);
  made.object->Update(0.1f);
  EXPECT_NEAR(text.verticalPhase, -0.05f, 1e-6f) << "once a frame for three sprites";
  EXPECT_NEAR(text.horizontalPhase, 1.0f / 3.0f, 1e-6f);
  EXPECT_NEAR(text.verticalShift, 3.0f * -0.05f + 1.0f, 1e-5f);
  EXPECT_EQ(text.horizontalShift, 0.0f);
  const SpriteRecord& sprite = made.object->Sprites()[0];
  EXPECT_EQ(sprite.rightU, 1.0f) << "a version 1 record shows the whole picture";
  EXPECT_EQ(sprite.bottomV, 1.0f);

  text.pictureWidth = 128.0f;
  text.pictureHeight = 64.0f;
  text.scrollDivisor.SetValue(0);
  made.object->Update(0.2f);
  EXPECT_NEAR(text.verticalPhase, -0.05f, 1e-6f) << "a divisor of 0 holds the phase";
  EXPECT_EQ(sprite.rightU, 0.25f);
  EXPECT_EQ(sprite.bottomV, 0.25f);

  DS_2D_Light renderer;
  ClearLog();
  EXPECT_FALSE(text.SetEffectParameters(renderer, *made.object));
  EXPECT_EQ(Techniques(), (std::vector<std::string>{"ScrollText"}));
  const std::vector<float> shift = Values(text.effect.Get(), "Shift", 2);
  EXPECT_EQ(shift[0], 0.0f);
  EXPECT_NEAR(shift[1], text.verticalShift, 1e-6f);

  Hold(text, TimingState::Hidden, 0.0f);
  made.object->Update(0.3f);
  EXPECT_EQ(text.verticalPhase, 0.0f);
  EXPECT_EQ(text.horizontalPhase, 0.0f);
}

}  // namespace
}  // namespace text_object_test
