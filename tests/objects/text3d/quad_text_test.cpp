// The quad text kinds: their records, the shadow's shift and the order of their draws, the
// scrolling offset over a timeline cycle, and the link's quad hit test.
#include "objects/text3d/ds_scrolling_tex.h"
#include "objects/text3d/ds_text_link.h"
#include "platform/app/window.h"
#include "player/render/matrix_values.h"
#include "text_object_fixture.h"

namespace text_object_test {
namespace {

class QuadTextTest : public TextObjectTest {
 protected:
  void SetUp() override {
    TextObjectTest::SetUp();
    D3DXMatrixIdentity(&Context().inverseView);
  }

  const DS_ImageFileLink first_{u"first.png", 1};
  const DS_ImageFileLink second_{u"second.png", 2};
};

void Fill(DS_StaticText& text) {
  text.text.SetValue(u"Quad");
  text.fontFace.SetValue(u"Georgia");
  text.fontSize.SetValue(24);
  text.fontValue1.SetValue(-1);
  text.fontValue2.SetValue(2);
  text.fontColour.SetValue(0x102030);
  text.layout1.SetValue(1);
  text.layout2.SetValue(2);
  text.layout3.SetValue(3);
  text.outlineColour.SetValue(0x405060);
  text.outlineAmount1.SetValue(4);
  text.outlineAmount2.SetValue(5);
  text.fillValue.SetValue(6);
  text.fillColour.SetValue(0x708090);
  text.fillAmount.SetValue(7);
  text.shadowOn.SetValue(1);
  text.shadowColour.SetValue(0x0000FF);
  text.shadowColour.alpha.SetValue(20);
  text.shadowDistance.SetValue(4);
  text.shadowDirection.SetValue(90);
  text.furtherColour1.SetValue(0x111111);
  text.furtherColour1.alpha.SetValue(50);
  text.furtherColour2.SetValue(0x222222);
  text.furtherValue1.SetValue(8);
  text.furtherValue2.SetValue(9);
  text.corners.SetRect(20, 10, D3DXVECTOR3(30, 40, 0));
  text.spinSpeed.SetValue(3);
}

void ExpectSame(const DS_StaticText& a, const DS_StaticText& b) {
  EXPECT_EQ(a.text.Value(), b.text.Value());
  EXPECT_EQ(a.fontFace.Value(), b.fontFace.Value());
  EXPECT_EQ(a.fontSize.Value(), b.fontSize.Value());
  EXPECT_EQ(a.fontValue1.Value(), b.fontValue1.Value());
  EXPECT_EQ(a.fontValue2.Value(), b.fontValue2.Value());
  EXPECT_EQ(a.fontColour.Value(), b.fontColour.Value());
  EXPECT_EQ(a.layout1.Value(), b.layout1.Value());
  EXPECT_EQ(a.layout3.Value(), b.layout3.Value());
  EXPECT_EQ(a.outlineColour.Value(), b.outlineColour.Value());
  EXPECT_EQ(a.outlineAmount2.Value(), b.outlineAmount2.Value());
  EXPECT_EQ(a.fillValue.Value(), b.fillValue.Value());
  EXPECT_EQ(a.fillColour.Value(), b.fillColour.Value());
  EXPECT_EQ(a.fillAmount.Value(), b.fillAmount.Value());
  EXPECT_EQ(a.shadowOn.Value(), b.shadowOn.Value());
  EXPECT_EQ(a.shadowColour.Value(), b.shadowColour.Value());
  EXPECT_EQ(a.shadowColour.alpha.Value(), b.shadowColour.alpha.Value());
  EXPECT_EQ(a.shadowColour.alpha.Scaled(), b.shadowColour.alpha.Scaled()) << "the alpha follows";
  EXPECT_EQ(a.shadowDistance.Value(), b.shadowDistance.Value());
  EXPECT_EQ(a.shadowDirection.Value(), b.shadowDirection.Value());
  EXPECT_EQ(a.shadowDirection.Direction().y, b.shadowDirection.Direction().y) << "recomputed";
  EXPECT_EQ(a.furtherColour1.alpha.Scaled(), b.furtherColour1.alpha.Scaled());
  EXPECT_EQ(a.furtherColour2.Value(), b.furtherColour2.Value());
  EXPECT_EQ(a.furtherValue1.Value(), b.furtherValue1.Value());
  EXPECT_EQ(a.furtherValue2.Value(), b.furtherValue2.Value());
  EXPECT_EQ(a.corners.corners[3].Value(), b.corners.corners[3].Value());
  EXPECT_EQ(a.spinSpeed.Value(), b.spinSpeed.Value());
}

TEST_F(QuadTextTest, RecordsOfTheThreeKindsReadBackEqual) {
  DS_StaticText text;
  Fill(text);
  bool failed = true;
  auto read = ReadAs<DS_StaticText>(RecordOf(text), &failed);
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(failed);
  ExpectSame(*read, text);

  DS_TextLink link;
  Fill(link);
  link.targetSlide.SetValue(3);
  auto readLink = ReadAs<DS_TextLink>(RecordOf(link), &failed);
  ASSERT_NE(readLink, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(readLink->targetSlide.Value(), 3u);
  ExpectSame(*readLink, link);

  DS_ScrollingTex scrolling;
  Fill(scrolling);
  scrolling.direction.SetValue(2);
  scrolling.offset = 0.5f;  // not stored
  auto readScrolling = ReadAs<DS_ScrollingTex>(RecordOf(scrolling), &failed);
  ASSERT_NE(readScrolling, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(readScrolling->direction.Value(), 2);
  EXPECT_EQ(readScrolling->offset, 0.0f);
  ExpectSame(*readScrolling, scrolling);

  const std::vector<uint8_t> bytes = RecordOf(link);
  for (size_t cut = 0; cut < bytes.size(); cut += 11) {
    ReadAs<DS_TextLink>(std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut)),
                        &failed);
    EXPECT_TRUE(failed) << cut;
  }
}

// Shadow on, distance 4: direction 0 shifts the shadow by 4 / the texture width along u, 90 by
// -4 / the texture height along v. The second picture is drawn first by "Main", then the first
// picture's shadow and the first picture.
TEST_F(QuadTextTest, TheShadowIsDrawnShiftedBeforeTheText) {
  ProvideFrame(first_, 256, 64, std::vector<uint32_t>(256 * 64, 0xFFFFFFFF));
  ProvideFrame(second_, 4, 4, std::vector<uint32_t>(16, 0xFF00FF00));
  DS_StaticText description;
  Dress(description, {first_}, 20, 10, D3DXVECTOR3(32, 32, 0));
  description.shadowOn.SetValue(1);
  description.shadowDistance.SetValue(4);
  description.shadowColour.SetValue(0x0000FF);
  description.shadowColour.alpha.SetValue(0);
  auto made = MakeQuadText(description);
  EXPECT_EQ(made.text->appearance.effectLink.name, u"glimres.dll");
  EXPECT_EQ(made.text->appearance.effectLink.id, 198);
  ASSERT_TRUE(made.text->appearance.effect) << "the player's own effect 198";
  const D3DXVECTOR2 along = made.text->ShadowShift(D3DXVECTOR2(0, 0));
  EXPECT_FLOAT_EQ(along.x, 4.0f / 256.0f);
  EXPECT_NEAR(along.y, 0.0f, 1e-7f);
  made.text->shadowDirection.SetValue(90);
  const D3DXVECTOR2 down = made.text->ShadowShift(D3DXVECTOR2(0.5f, 0));
  EXPECT_NEAR(down.x, 0.5f, 1e-6f);
  EXPECT_FLOAT_EQ(down.y, -4.0f / 64.0f);

  DS_2D_Light renderer;
  made.object->Update(0.1f);
  ClearLog();
  made.object->Render(renderer, nullptr);
  EXPECT_EQ(Techniques(), (std::vector<std::string>{"Shadow", "Main"}));
  gfx::Effect* effect = made.text->appearance.effect.Get();
  EXPECT_EQ(Values(effect, "Shift", 2), (std::vector<float>{0, 0})) << "Main is not shifted";
  EXPECT_EQ(Values(effect, "Color", 4), (std::vector<float>{1, 0, 0, 1}));

  // Shadow off: the text alone. Two pictures: the second one first.
  made.text->shadowOn.SetValue(0);
  ClearLog();
  made.object->Render(renderer, nullptr);
  EXPECT_EQ(Techniques(), (std::vector<std::string>{"Main"}));
  DS_StaticText twoPictures;
  Dress(twoPictures, {first_, second_}, 20, 10, D3DXVECTOR3(32, 32, 0));
  twoPictures.shadowOn.SetValue(1);
  auto both = MakeQuadText(twoPictures);
  both.object->Update(0.1f);
  ClearLog();
  both.object->Render(renderer, nullptr);
  EXPECT_EQ(Techniques(), (std::vector<std::string>{"Main", "Shadow", "Main"}));

  // No picture: nothing. A stored screen glow does not make the text read the picture below.
  DS_StaticText bare;
  bare.corners.SetRect(20, 10, D3DXVECTOR3(32, 32, 0));
  bare.appearance.glowMode.SetValue(ParticleAppearance::kScreenGlow);
  auto none = MakeQuadText(bare);
  none.object->SetActive(true);
  EXPECT_EQ(none.object->NeedsPictureBelow(), 0);
  ClearLog();
  none.object->Render(renderer, nullptr);
  EXPECT_TRUE(Techniques().empty());
}

// The scroll runs once per timeline cycle from its start offset to its end; a hidden timeline
// holds it at the start, as does a cycle of no length.
TEST_F(QuadTextTest, TheScrollCrossesTheQuadOncePerCycle) {
  // A 64 x 64 texture whose picture uses 48 x 32 of it; the quad is 24 x 8.
  ProvideFrame(first_, 64, 64, std::vector<uint32_t>(64 * 64, 0xFFFFFFFF), 48, 32);
  struct Case {
    int direction;
    float start, end;  // of one cycle
  };
  const float usedU = 0.75f, usedV = 0.5f;
  const float extentV = usedV * 8.0f / 32.0f, extentU = usedU * 24.0f / 48.0f;
  const Case cases[] = {
      {0, extentV, -usedV}, {1, -usedV, extentV}, {2, extentU, -usedU}, {3, -usedU, extentU}};
  for (const Case& c : cases) {
    DS_ScrollingTex description;
    Dress(description, {first_}, 24, 8, D3DXVECTOR3(32, 32, 0));
    description.direction.SetValue(c.direction);
    Hold(description, TimingState::Shown, 1.0f, 2.0f);
    auto made = MakeQuadText(description);
    DS_ScrollingTex& text = *made.text;
    EXPECT_FLOAT_EQ(text.extent, c.direction < 2 ? extentV : extentU) << c.direction;
    EXPECT_FLOAT_EQ(text.offset, c.start) << c.direction;
    // The texture coordinates: (0, b), (0, 0), (a, b), (a, 0).
    const DX_V::PCT* v = made.object->batches[0].LockVertices();
    ASSERT_NE(v, nullptr);
    const float a = c.direction < 2 ? usedU : extentU, b = c.direction < 2 ? extentV : usedV;
    EXPECT_FLOAT_EQ(v[0].v, b);
    EXPECT_FLOAT_EQ(v[2].u, a);
    EXPECT_EQ(v[1].u, 0.0f);
    EXPECT_EQ(v[3].v, 0.0f);
    made.object->batches[0].UnlockVertices();
    // Ten steps of 0.2 s make the cycle of 2 s (the first update only starts the clock).
    for (int i = 0; i <= 10; ++i)
      made.object->Update(0.2f * float(i));
    EXPECT_NEAR(text.offset, c.end, 1e-5f) << c.direction;
  }

  for (const auto& [state, cycle] :
       {std::pair{TimingState::Hidden, 2.0f}, std::pair{TimingState::Shown, 0.0f}}) {
    DS_ScrollingTex description;
    Dress(description, {first_}, 24, 8, D3DXVECTOR3(32, 32, 0));
    description.direction.SetValue(1);
    Hold(description, state, 1.0f, cycle);
    auto made = MakeQuadText(description);
    for (int i = 0; i <= 5; ++i)
      made.object->Update(0.2f * float(i));
    EXPECT_FLOAT_EQ(made.text->offset, -usedV) << int(state) << " " << cycle;
  }
}

// The link's hit test finds the point in the picture where the link is drawn and counts the
// quad's edges as inside; a hidden link and a point before the first frame miss.
TEST_F(QuadTextTest, TheLinkIsHitWithinItsCorners) {
  DS_TextLink description;
  description.corners.SetRect(20, 10, D3DXVECTOR3(30, 40, 0));  // x 20..40, y 35..45
  auto made = MakeQuadText(description);
  DS_TextLink& link = *made.text;
  struct Case {
    int x, y;
    bool inside;
  };
  for (const Case& c :
       {Case{30, 40, true}, Case{20, 35, true}, Case{40, 45, true}, Case{19, 40, false},
        Case{41, 40, false}, Case{30, 34, false}, Case{30, 46, false}}) {
    EXPECT_EQ(link.HitTest(float(c.x), float(c.y)), c.inside) << c.x << " " << c.y;
    app::SetCursor(app::Cursor::Arrow);
    EXPECT_EQ(link.HoverTest(c.x, c.y), c.inside ? 1 : 0);
    EXPECT_EQ(app::CurrentCursor(), c.inside ? app::Cursor::Hand : app::Cursor::Arrow);
  }
  // The point goes back through the view the link is drawn with, and through the camera while
  // it runs, with the parallax of the link's depth.
  RenderContext& context = Context();
  context.view = ScalingMatrix(2.0f, 2.0f, 1.0f);
  EXPECT_TRUE(link.HitTest(60, 80));
  EXPECT_FALSE(link.HitTest(30, 40));
  context.cameraActive = true;
  context.cameraWorld = TranslationMatrix(10.0f, 5.0f, 0.0f);
  context.cameraOffset = D3DXVECTOR3(4.0f, 0.0f, 0.0f);
  EXPECT_TRUE(link.HitTest(80, 90));  // the centre, drawn at (30 + 10, 40 + 5) x 2
  EXPECT_TRUE(link.HitTest(60, 80)) << "the first corner, drawn at (20 + 10, 35 + 5) x 2";
  EXPECT_FALSE(link.HitTest(59, 80));
  link.depth.SetValue(50);  // the camera offset once more
  EXPECT_TRUE(link.HitTest(88, 90));
  EXPECT_TRUE(link.HitTest(68, 90)) << "the left edge, drawn at (20 + 10 + 4) x 2";
  EXPECT_FALSE(link.HitTest(67, 90));
  link.depth.SetValue(100);
  context.cameraActive = false;

  Hold(link, TimingState::Hidden, 0.0f);
  EXPECT_EQ(link.HoverTest(60, 80), 0);
  Hold(link, TimingState::Shown, 1.0f);
  RenderContextTlsSlot::Set(nullptr);
  EXPECT_FALSE(link.HitTest(60, 80)) << "before the first frame";
  EXPECT_EQ(link.HoverTest(60, 80), 0);
  link.Click(60, 80);
  RenderContextTlsSlot::Set(&Context());
}

}  // namespace
}  // namespace text_object_test
