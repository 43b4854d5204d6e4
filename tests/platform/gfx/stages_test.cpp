#include <cmath>

#include "gfx_fixture.h"

namespace gfx_test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                   kBlack = 0xFF000000;

class StageTest : public GfxTest {
 protected:
  void SetStage(uint32_t stage, uint32_t colorOp, uint32_t arg1, uint32_t arg2) {
    device_->SetTextureStageState(stage, TextureStageState::ColorOp, colorOp);
    device_->SetTextureStageState(stage, TextureStageState::ColorArg1, arg1);
    device_->SetTextureStageState(stage, TextureStageState::ColorArg2, arg2);
  }
  // The texel index (0..3) of a 4 x 1 texture of red, green, blue, white that a pixel shows.
  std::vector<int> Row(int y) {
    const auto pixels = BackBufferPixels();
    std::vector<int> out;
    for (uint32_t x = 0; x < kSize; ++x) {
      const uint32_t p = pixels[y * kSize + x];
      out.push_back(p == kRed ? 0 : p == kGreen ? 1 : p == kBlue ? 2 : p == kWhite ? 3 : -1);
    }
    return out;
  }
  ComPtr<Texture> Strip4() { return MakeTexture(4, 1, {kRed, kGreen, kBlue, kWhite}); }
};

// A 2 x 2 texture of red, green / blue, white over the whole target, top row first.
TEST_F(StageTest, ColourOperationsCombineTextureAndDiffuse) {
  auto texture = MakeTexture(2, 2, {kRed, kGreen, kBlue, 0x80FFFFFF});
  device_->SetTexture(0, texture.Get());
  struct Case {
    uint32_t op, arg1, arg2;
    uint32_t topLeft, bottomRight;
  };
  const Case cases[] = {
      {TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse, 0xFF800000, 0xFF808080},
      {TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, kRed, 0xFFFFFFFF},
      {TextureOp::SelectArg2, TextureArg::Texture, TextureArg::Diffuse, 0xFF808080, 0xFF808080},
      {TextureOp::Add, TextureArg::Texture, TextureArg::Diffuse, 0xFFFF8080, 0xFFFFFFFF},
      {TextureOp::Disable, TextureArg::Texture, TextureArg::Diffuse, 0xFF808080, 0xFF808080},
  };
  for (const Case& c : cases) {
    SetStage(0, c.op, c.arg1, c.arg2);
    DrawScreenQuad(0, 0, 8, 8, 0xFF808080);
    EXPECT_TRUE(ColorNear(Pixel(1, 1), c.topLeft)) << "op " << c.op;
    EXPECT_TRUE(ColorNear(Pixel(6, 6) | 0xFF000000, c.bottomRight)) << "op " << c.op;
  }
  // Alpha has its own operation: texture alpha 0x80 times diffuse alpha 0x80.
  SetStage(0, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse);
  device_->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
  device_->SetTextureStageState(0, TextureStageState::AlphaArg2, TextureArg::Diffuse);
  DrawScreenQuad(0, 0, 8, 8, 0x80808080);
  EXPECT_TRUE(ColorNear(Pixel(6, 6), 0x40FFFFFF));
  EXPECT_TRUE(ColorNear(Pixel(1, 1), 0x80FF0000));
}

// A stage whose operation reads a texture it does not have passes the colour and alpha so far
// on, as Direct3D does; an operation that does not read the texture works as usual. Stage 0
// shows a 0x80 red texture over a grey vertex colour; stage 1 has no texture.
TEST_F(StageTest, AStageWithoutATexturePassesTheValueSoFarOn) {
  SetStage(0, TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse);
  DrawScreenQuad(0, 0, 8, 8, 0xFF204080);
  EXPECT_EQ(Pixel(3, 3), 0xFF204080u) << "stage 0 keeps the vertex colour";

  auto red = MakeTexture(1, 1, {0x80FF0000});
  device_->SetTexture(0, red.Get());
  SetStage(0, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse);
  device_->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
  device_->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Texture);
  struct Case {
    uint32_t op, arg1, arg2;
    uint32_t expected;
  };
  const Case cases[] = {
      {TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Current, 0x80FF0000},
      {TextureOp::Modulate, TextureArg::Texture, TextureArg::Current, 0x80FF0000},
      {TextureOp::Add, TextureArg::Diffuse, TextureArg::Texture, 0x80FF0000},
      {TextureOp::SelectArg2, TextureArg::Texture, TextureArg::Diffuse, 0x80808080},
      {TextureOp::SelectArg1, TextureArg::Diffuse, TextureArg::Texture, 0x80808080},
  };
  for (const Case& c : cases) {
    SetStage(1, c.op, c.arg1, c.arg2);
    device_->SetTextureStageState(1, TextureStageState::AlphaOp, c.op);
    device_->SetTextureStageState(1, TextureStageState::AlphaArg1, c.arg1);
    device_->SetTextureStageState(1, TextureStageState::AlphaArg2, c.arg2);
    DrawScreenQuad(0, 0, 8, 8, 0x80808080);
    EXPECT_TRUE(ColorNear(Pixel(3, 3), c.expected))
        << "op " << c.op << " " << std::hex << Pixel(3, 3);
  }
}

// u runs from 0 to 2 over the 8 pixels of a 2 x 1 black and white texture.
TEST_F(StageTest, AddressModesRepeatMirrorClampAndBorder) {
  auto texture = MakeTexture(2, 1, {kBlack, kWhite});
  device_->SetTexture(0, texture.Get());
  SetStage(0, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse);
  device_->SetSamplerState(0, SamplerState::BorderColor, kRed);
  const uint32_t B = kBlack, W = kWhite, R = kRed;
  const struct {
    uint32_t mode;
    std::vector<uint32_t> row;
  } cases[] = {
      {TextureAddress::Wrap, {B, B, W, W, B, B, W, W}},
      {TextureAddress::Mirror, {B, B, W, W, W, W, B, B}},
      {TextureAddress::Clamp, {B, B, W, W, W, W, W, W}},
      {TextureAddress::Border, {B, B, W, W, R, R, R, R}},
  };
  for (const auto& c : cases) {
    device_->SetSamplerState(0, SamplerState::AddressU, c.mode);
    DrawScreenQuad(0, 0, 8, 8, kWhite, 0, 0, 2, 1);
    const auto pixels = BackBufferPixels();
    for (uint32_t x = 0; x < kSize; ++x)
      EXPECT_EQ(pixels[4 * kSize + x], c.row[x]) << "mode " << c.mode << " x " << x;
  }
}

TEST_F(StageTest, LinearFilteringBlendsNeighbouringTexels) {
  auto texture = MakeTexture(2, 1, {kBlack, kWhite});
  device_->SetTexture(0, texture.Get());
  SetStage(0, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse);
  device_->SetSamplerState(0, SamplerState::AddressU, TextureAddress::Clamp);
  device_->SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
  DrawScreenQuad(0, 0, 8, 8, kWhite);
  // Pixel 3's centre is at u = 3.5 / 8, a quarter texel left of the boundary between texels.
  EXPECT_TRUE(ColorNear(Pixel(3, 0), 0xFF5F5F5F, 3));
  EXPECT_EQ(Pixel(0, 0), kBlack);
}

// Stage 0 bump-maps stage 1: its (du, dv) texel, turned through the stage's matrix, moves the
// coordinates stage 1 samples with. Set 1's u runs from 0 to 1 over a strip of four colours.
TEST_F(StageTest, BumpEnvMapDisplacesTheNextStage) {
  struct ScreenVertex2 {
    float x, y, z, rhw, u0, v0, u1, v1;
  };
  const uint32_t fvf = Fvf::XyzRhw | Fvf::Tex2;
  auto vb = MakeVertices<ScreenVertex2>({{0, 8, 0.5f, 1, 0, 1, 0, 1},
                                         {0, 0, 0.5f, 1, 0, 0, 0, 0},
                                         {8, 8, 0.5f, 1, 1, 1, 1, 1},
                                         {8, 0, 0.5f, 1, 1, 0, 1, 0}},
                                        fvf);
  auto strip = Strip4();
  device_->SetTexture(1, strip.Get());
  SetStage(0, TextureOp::BumpEnvMap, TextureArg::Texture, TextureArg::Current);
  SetStage(1, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Current);
  device_->SetSamplerState(0, SamplerState::AddressU, TextureAddress::Clamp);
  device_->SetSamplerState(0, SamplerState::AddressV, TextureAddress::Clamp);

  const std::vector<int> unshifted = {0, 0, 1, 1, 2, 2, 3, 3};
  const std::vector<int> shifted = {1, 1, 2, 2, 3, 3, 0, 0};  // u + 0.25, wrapping
  struct Case {
    Format format;
    int du, dv;  // signed texel values
    float m00, m01, m10, m11;
    bool setTexture;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {Format::V8U8, 64, 0, 0.5f, 0, 0, 0, true, shifted},    // u' = u + du m00
      {Format::V8U8, 0, 64, 0, 0, 0.5f, 0, true, shifted},    // u' = u + dv m10
      {Format::V8U8, 64, 0, 0, 0.5f, 0, 0, true, unshifted},  // m01 moves v only
      {Format::V8U8, -64, 0, -0.5f, 0, 0, 0, true, shifted},  // signed texels
      {Format::V16U16, 16384, 0, 0.5f, 0, 0, 0, true, shifted},
      {Format::V8U8, 64, 0, 0.5f, 0, 0, 0, false, unshifted},  // no bump map: no offset
  };
  for (const Case& c : cases) {
    ComPtr<Texture> bump;
    ASSERT_EQ(device_->CreateTexture(1, 1, 1, 0, c.format, Pool::Managed, bump.Put()), kOk);
    LockedRect r;
    ASSERT_EQ(bump->LockRect(0, &r, nullptr, 0), kOk);
    if (c.format == Format::V8U8) {
      const int8_t texel[2] = {int8_t(c.du), int8_t(c.dv)};
      std::memcpy(r.bits, texel, 2);
    } else {
      const int16_t texel[2] = {int16_t(c.du), int16_t(c.dv)};
      std::memcpy(r.bits, texel, 4);
    }
    bump->UnlockRect(0);
    device_->SetTexture(0, c.setTexture ? bump.Get() : nullptr);
    device_->SetTextureStageState(0, TextureStageState::BumpEnvMat00, FloatBits(c.m00));
    device_->SetTextureStageState(0, TextureStageState::BumpEnvMat01, FloatBits(c.m01));
    device_->SetTextureStageState(0, TextureStageState::BumpEnvMat10, FloatBits(c.m10));
    device_->SetTextureStageState(0, TextureStageState::BumpEnvMat11, FloatBits(c.m11));
    DrawStrip(vb.Get(), fvf, sizeof(ScreenVertex2));
    EXPECT_EQ(Row(3), c.expected) << "du " << c.du << " dv " << c.dv << " m " << c.m00 << ","
                                  << c.m01 << "," << c.m10 << "," << c.m11;
  }
}

// Texture coordinates from the camera-space position through the stage's texture transform.
// Three-component inputs are (x, y, z, 1), so the fourth row translates; two-component inputs
// are (u, v, 1, 0), so the third row does.
TEST_F(StageTest, TextureTransformsAndCameraSpaceCoordinates) {
  auto strip = Strip4();
  device_->SetTexture(0, strip.Get());
  SetStage(0, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse);
  device_->SetTextureStageState(0, TextureStageState::TextureTransformFlags,
                                TextureTransform::Count2);
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 8, 0, 0, 10);
  device_->SetTransform(TransformState::Projection, &projection);

  // Camera space: u = x / 8 + 0.25.
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, 1.0f / 8, 1.0f / 8, 1);
  m._41 = 0.25f;
  device_->SetTransform(TransformState::Texture0, &m);
  device_->SetTextureStageState(0, TextureStageState::TexCoordIndex,
                                TexCoordIndex::CameraSpacePosition);
  auto positions = MakeVertices<ColorVertex>(
      {{0, 8, 1, kWhite}, {0, 0, 1, kWhite}, {8, 8, 1, kWhite}, {8, 0, 1, kWhite}}, kColorFvf);
  DrawStrip(positions.Get(), kColorFvf, sizeof(ColorVertex));
  EXPECT_EQ(Row(2), (std::vector<int>{1, 1, 2, 2, 3, 3, 0, 0}));

  // Camera space, not the vertex's own: the world moves the quad 4 left and the projection
  // follows, so the same pixels show u - 0.5.
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, -4, 0, 0);
  device_->SetTransform(TransformState::World, &world);
  D3DXMatrixOrthoOffCenterLH(&projection, -4, 4, 8, 0, 0, 10);
  device_->SetTransform(TransformState::Projection, &projection);
  DrawStrip(positions.Get(), kColorFvf, sizeof(ColorVertex));
  EXPECT_EQ(Row(2), (std::vector<int>{3, 3, 0, 0, 1, 1, 2, 2}));

  // Passed-through (u, v): the third row translates.
  D3DXMatrixIdentity(&m);
  m._31 = 0.25f;
  device_->SetTransform(TransformState::Texture0, &m);
  device_->SetTextureStageState(0, TextureStageState::TexCoordIndex, 0);
  DrawScreenQuad(0, 0, 8, 8, kWhite);
  EXPECT_EQ(Row(2), (std::vector<int>{1, 1, 2, 2, 3, 3, 0, 0}));
  device_->SetTextureStageState(0, TextureStageState::TextureTransformFlags,
                                TextureTransform::Disable);
  DrawScreenQuad(0, 0, 8, 8, kWhite);
  EXPECT_EQ(Row(2), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
}

// The coordinate index picks the set a stage reads.
TEST_F(StageTest, TexCoordIndexSelectsTheSet) {
  struct ScreenVertex2 {
    float x, y, z, rhw, u0, v0, u1, v1;
  };
  const uint32_t fvf = Fvf::XyzRhw | Fvf::Tex2;
  // Set 0 runs u from 0 to 1, set 1 from 1 to 0.
  auto vb = MakeVertices<ScreenVertex2>({{0, 8, 0.5f, 1, 0, 1, 1, 1},
                                         {0, 0, 0.5f, 1, 0, 0, 1, 0},
                                         {8, 8, 0.5f, 1, 1, 1, 0, 1},
                                         {8, 0, 0.5f, 1, 1, 0, 0, 0}},
                                        fvf);
  auto strip = Strip4();
  device_->SetTexture(0, strip.Get());
  SetStage(0, TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse);
  DrawStrip(vb.Get(), fvf, sizeof(ScreenVertex2));
  EXPECT_EQ(Row(0), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
  device_->SetTextureStageState(0, TextureStageState::TexCoordIndex, 1);
  DrawStrip(vb.Get(), fvf, sizeof(ScreenVertex2));
  EXPECT_EQ(Row(0), (std::vector<int>{3, 3, 2, 2, 1, 1, 0, 0}));
}

// Flat shading takes each triangle's first vertex colour, as Direct3D does.
TEST_F(StageTest, FlatShadingUsesTheFirstVertex) {
  auto vb = MakeVertices<ScreenVertex>(
      {{0, 0, 0.5f, 1, kRed, 0, 0}, {8, 0, 0.5f, 1, kGreen, 0, 0}, {0, 8, 0.5f, 1, kBlue, 0, 0}},
      kScreenFvf);
  device_->SetRenderState(RenderState::ShadeMode, ShadeMode::Flat);
  DrawStrip(vb.Get(), kScreenFvf, sizeof(ScreenVertex), 1);
  EXPECT_EQ(Pixel(1, 1), kRed);
  EXPECT_EQ(Pixel(5, 1), kRed);
  EXPECT_EQ(Pixel(1, 5), kRed);
  device_->SetRenderState(RenderState::ShadeMode, ShadeMode::Gouraud);
  DrawStrip(vb.Get(), kScreenFvf, sizeof(ScreenVertex), 1);
  EXPECT_NE(Pixel(5, 1), kRed);
}

// A quad facing the camera at (+-4, +-4, 1) under a directional light along +z: every vertex
// sees the light and the eye at the same angles, so the lit colour is the same everywhere.
TEST_F(StageTest, DirectionalLightWithMaterialAmbientAndSpecular) {
  struct LitVertex {
    float x, y, z, nx, ny, nz;
  };
  const uint32_t fvf = Fvf::Xyz | Fvf::Normal;
  auto vb = MakeVertices<LitVertex>(
      {{-4, 4, 1, 0, 0, -1}, {-4, -4, 1, 0, 0, -1}, {4, 4, 1, 0, 0, -1}, {4, -4, 1, 0, 0, -1}},
      fvf);
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, -4, 4, 4, -4, 0, 10);
  device_->SetTransform(TransformState::Projection, &projection);
  device_->SetRenderState(RenderState::Lighting, 1);
  device_->SetRenderState(RenderState::Ambient, 0x00404040);
  Light light;
  light.type = LightType::Directional;
  light.diffuse = {1, 1, 1, 1};
  light.specular = {0.5f, 0.5f, 0.5f, 1};
  light.direction = {0, 0, 1};
  device_->SetLight(0, &light);
  device_->LightEnable(0, true);
  Material material;
  material.diffuse = {0.5f, 0.25f, 0, 1};
  material.ambient = {0.2f, 0.2f, 0.2f, 1};
  material.specular = {1, 1, 1, 1};
  material.power = 4;
  device_->SetMaterial(&material);

  // Direct3D's formula: emissive + ambient material x (global ambient + light ambients)
  // + diffuse material x light diffuse x N.L, and specular x (N.H)^power with H the half vector
  // of the light and eye directions.
  const double ambient = 0.2 * (0x40 / 255.0);
  const double eyeZ = 1 / std::sqrt(33.0), eyeXY = 4 / std::sqrt(33.0);
  // N = (0, 0, -1); the light and eye directions are (0, 0, -1) and (-+4, -+4, -1) / sqrt(33).
  const double hz = (1 + eyeZ) / std::sqrt(2 * eyeXY * eyeXY + (1 + eyeZ) * (1 + eyeZ));
  const double specular = 0.5 * std::pow(hz, 4);
  auto channel = [](double v) { return uint32_t(std::lround(std::min(v, 1.0) * 255)); };
  auto color = [&](double r, double g, double b) {
    return 0xFF000000 | channel(r) << 16 | channel(g) << 8 | channel(b);
  };
  DrawStrip(vb.Get(), fvf, sizeof(LitVertex));
  EXPECT_TRUE(ColorNear(Pixel(4, 4), color(0.5 + ambient, 0.25 + ambient, ambient)));

  device_->SetRenderState(RenderState::SpecularEnable, 1);
  DrawStrip(vb.Get(), fvf, sizeof(LitVertex));
  const uint32_t lit =
      color(0.5 + ambient + specular, 0.25 + ambient + specular, ambient + specular);
  EXPECT_TRUE(ColorNear(Pixel(4, 4), lit));
  EXPECT_TRUE(ColorNear(Pixel(0, 7), lit));

  // A light from behind leaves the ambient part; a disabled light leaves it too.
  light.direction = {0, 0, -1};
  device_->SetLight(0, &light);
  DrawStrip(vb.Get(), fvf, sizeof(LitVertex));
  EXPECT_TRUE(ColorNear(Pixel(4, 4), color(ambient, ambient, ambient)));
}

}  // namespace
}  // namespace gfx_test
