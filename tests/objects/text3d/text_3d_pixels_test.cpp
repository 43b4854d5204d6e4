// The 3D text drawn with the fixed-function pipeline on a headless device.
#include <gtest/gtest.h>

#include "objects/text3d/glyph_fixture.h"
#include "objects/text3d/text3d_fixture.h"
#include "objects/text3d/zkw_3d_tex.h"
#include "platform/math/d3dx_math.h"

namespace text3d_test {
namespace {

constexpr uint32_t kBlack = 0xFF000000, kGreen = 0xFF00FF00;

class Text3dPixelsTest : public Text3dTest {
 protected:
  void SetUp() override {
    Text3dTest::SetUp();
    StartSlideOn(renderer_, 64, 64, kBlack);
  }

  // Two green boxes ten units wide, the first on (17, 27)-(27, 37) and the second on
  // (37, 27)-(47, 37), lit straight from the front without ambient light.
  std::unique_ptr<ZKW_3DTex> MakeText(const GlyphSet& glyphs = Boxes(2)) {
    auto text = std::make_unique<ZKW_3DTex>();
    text->SetGlyphs(glyphs);
    text->text.font.size.SetValue(10);
    text->text.font.color.SetValue(0x00FF00);
    text->position.SetValue(D3DXVECTOR3(32, 32, 0));
    text->objectSpeed.SetValue(0);
    return text;
  }

  std::vector<uint32_t> Draw(const DS_SafePtr<ZKW_RenderObj>& object) {
    ClearLog();
    Frame(renderer_, RuntimeObjectList{object});
    return BackBufferPixels();
  }

  static uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
    return pixels[size_t(y) * 64 + x];
  }

  DS_2D_Light renderer_;
};

TEST_F(Text3dPixelsTest, GlyphsAreLitInTheFontColourAndMovedByTheirOwnMatrix) {
  auto text = MakeText();
  DS_SafePtr<ZKW_RenderObj> object = MakeObject(*text);
  object->AdvanceTime(0.0f);
  const auto still = Draw(object);
  EXPECT_TRUE(gfx_test::ColorNear(At(still, 22, 32), kGreen, 3)) << "glyph 1, lit from the front";
  EXPECT_TRUE(gfx_test::ColorNear(At(still, 42, 32), kGreen, 3)) << "glyph 2";
  EXPECT_TRUE(gfx_test::ColorNear(At(still, 32, 32), kBlack)) << "the gap between them";
  EXPECT_TRUE(gfx_test::ColorNear(At(still, 42, 22), kBlack));

  // Glyph 2 lifted by one unit of the mesh: ten units up the picture; glyph 1 stays.
  ZKW_3DTex& drawn = DrawnAs<ZKW_3DTex>(object);
  D3DXMatrixTranslation(&drawn.glyphMatrices[1], 0, 1, 0);
  const auto lifted = Draw(object);
  EXPECT_TRUE(gfx_test::ColorNear(At(lifted, 42, 22), kGreen, 3));
  EXPECT_TRUE(gfx_test::ColorNear(At(lifted, 42, 32), kBlack));
  EXPECT_TRUE(gfx_test::ColorNear(At(lifted, 22, 32), kGreen, 3));

  // The draw of each glyph is its subset: one draw per glyph.
  int draws = 0;
  for (const gfx::FrameLogEntry& entry : Log())
    draws += entry.kind == gfx::FrameLogEntry::Kind::Draw && entry.indexed &&
             entry.state.Get(gfx::RenderState::Lighting) != 0;
  EXPECT_EQ(draws, 2);
}

TEST_F(Text3dPixelsTest, TheDrawSetsLightMaterialAndAmbientAndLeavesLightingOff) {
  auto text = MakeText();
  text->ambient.SetValue(0x1234);
  text->lightAngleA.SetValue(0);
  text->lightAngleB.SetValue(30);
  text->text.font.color.SetValue(0x336699);
  DS_SafePtr<ZKW_RenderObj> object = MakeObject(*text);
  object->AdvanceTime(0.0f);
  Draw(object);

  gfx::Light light;
  ASSERT_EQ(device_->GetLight(0, &light), gfx::kOk);
  EXPECT_EQ(light.type, gfx::LightType::Directional);
  EXPECT_NEAR(light.direction.x, 1.0f, 1e-6f);
  EXPECT_NEAR(light.direction.y, 0.0f, 1e-6f);
  EXPECT_NEAR(light.direction.z, 0.0f, 1e-6f);
  EXPECT_EQ(light.diffuse, (gfx::ColorValue{1, 1, 1, 0}));
  gfx::Material material;
  ASSERT_EQ(device_->GetMaterial(&material), gfx::kOk);
  const gfx::ColorValue tint{0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f, 1};
  EXPECT_EQ(material.diffuse, tint);
  EXPECT_EQ(material.ambient, tint);
  EXPECT_EQ(material.specular, (gfx::ColorValue{}));

  bool drewGlyph = false;
  for (const gfx::FrameLogEntry& entry : Log()) {
    if (entry.kind != gfx::FrameLogEntry::Kind::Draw || !entry.indexed) continue;
    drewGlyph = true;
    EXPECT_EQ(entry.state.Get(gfx::RenderState::Ambient), 0x34343434u) << "the low byte";
    EXPECT_EQ(entry.state.Get(gfx::RenderState::CullMode), gfx::Cull::CW);
    EXPECT_EQ(entry.state.Get(gfx::RenderState::ZEnable), 1u);
  }
  EXPECT_TRUE(drewGlyph);
  uint32_t value = 0;
  ASSERT_EQ(device_->GetRenderState(gfx::RenderState::Lighting, &value), gfx::kOk);
  EXPECT_EQ(value, 0u);
  ASSERT_EQ(device_->GetRenderState(gfx::RenderState::CullMode, &value), gfx::kOk);
  EXPECT_EQ(value, gfx::Cull::None);
  ASSERT_EQ(device_->GetRenderState(gfx::RenderState::ZEnable, &value), gfx::kOk);
  EXPECT_EQ(value, 0u);
}

TEST_F(Text3dPixelsTest, ADamagedBlockDrawsNothing) {
  GlyphSet glyphs = Boxes(2);
  glyphs.mesh.indices[0] = uint16_t(glyphs.mesh.vertexCount + 5);
  auto text = MakeText(glyphs);
  ASSERT_FALSE(text->mesh);
  DS_SafePtr<ZKW_RenderObj> object = MakeObject(*text);
  object->AdvanceTime(0.0f);
  const auto pixels = Draw(object);
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 22, 32), kBlack));
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 42, 32), kBlack));
}

TEST_F(Text3dPixelsTest, ItDrawsWhateverItsTimelineSays) {
  auto text = MakeText();
  DS_SafePtr<ZKW_RenderObj> object = MakeObject(*text);
  Hold(DrawnAs<ZKW_3DTex>(object), TimingState::Hidden, 0.0f);
  object->AdvanceTime(0.0f);
  EXPECT_TRUE(gfx_test::ColorNear(At(Draw(object), 22, 32), kGreen, 3));
}

}  // namespace
}  // namespace text3d_test
