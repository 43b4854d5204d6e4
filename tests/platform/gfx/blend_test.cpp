#include <algorithm>
#include <array>
#include <cmath>

#include "gfx_fixture.h"

namespace gfx_test {
namespace {

using Rgba = std::array<double, 4>;

Rgba Unpack(uint32_t c) {
  return {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
          (c >> 24) / 255.0};
}

uint32_t Pack(const Rgba& c) {
  auto ch = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return ch(c[3]) << 24 | ch(c[0]) << 16 | ch(c[1]) << 8 | ch(c[2]);
}

// The blend factor of Direct3D's table for channel i (3 = alpha).
double Factor(uint32_t blend, const Rgba& s, const Rgba& d, const Rgba& constant, int i) {
  switch (blend) {
    case Blend::Zero:
      return 0;
    case Blend::One:
      return 1;
    case Blend::SrcColor:
      return s[i];
    case Blend::InvSrcColor:
      return 1 - s[i];
    case Blend::SrcAlpha:
      return s[3];
    case Blend::InvSrcAlpha:
      return 1 - s[3];
    case Blend::DestAlpha:
      return d[3];
    case Blend::InvDestAlpha:
      return 1 - d[3];
    case Blend::DestColor:
      return d[i];
    case Blend::InvDestColor:
      return 1 - d[i];
    case Blend::SrcAlphaSat:
      return i == 3 ? 1 : std::min(s[3], 1 - d[3]);
    case Blend::BlendFactor:
      return constant[i];
    case Blend::InvBlendFactor:
      return 1 - constant[i];
  }
  return 0;
}

uint32_t Expected(uint32_t src, uint32_t dst, uint32_t op, uint32_t source, uint32_t dest,
                  uint32_t constant) {
  const Rgba s = Unpack(source), d = Unpack(dest), k = Unpack(constant);
  Rgba out;
  for (int i = 0; i < 4; ++i) {
    const double a = s[i] * Factor(src, s, d, k, i), b = d[i] * Factor(dst, s, d, k, i);
    switch (op) {
      case BlendOp::Add:
        out[i] = a + b;
        break;
      case BlendOp::Subtract:
        out[i] = a - b;
        break;
      case BlendOp::RevSubtract:
        out[i] = b - a;
        break;
      case BlendOp::Min:
        out[i] = std::min(s[i], d[i]);
        break;
      case BlendOp::Max:
        out[i] = std::max(s[i], d[i]);
        break;
    }
  }
  return Pack(out);
}

class BlendTest : public GfxTest {
 protected:
  static constexpr uint32_t kDest = 0x80402010, kSource = 0x60C08040, kConstant = 0x40FF8000;

  uint32_t Blended(uint32_t src, uint32_t dst, uint32_t op) {
    device_->Clear(0, nullptr, ClearFlags::Target, kDest, 1.0f, 0);
    device_->SetRenderState(RenderState::SrcBlend, src);
    device_->SetRenderState(RenderState::DestBlend, dst);
    device_->SetRenderState(RenderState::BlendOp, op);
    DrawScreenQuad(0, 0, 8, 8, kSource);
    return Pixel(3, 3);
  }

  void SetUp() override {
    GfxTest::SetUp();
    device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
    device_->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
    device_->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Diffuse);
    device_->SetRenderState(RenderState::AlphaBlendEnable, 1);
    device_->SetRenderState(RenderState::BlendFactor, kConstant);
  }
};

TEST_F(BlendTest, EveryFactorPairAdds) {
  const uint32_t factors[] = {Blend::Zero,         Blend::One,          Blend::SrcColor,
                              Blend::InvSrcColor,  Blend::SrcAlpha,     Blend::InvSrcAlpha,
                              Blend::DestAlpha,    Blend::InvDestAlpha, Blend::DestColor,
                              Blend::InvDestColor, Blend::BlendFactor,  Blend::InvBlendFactor};
  for (uint32_t src : factors)
    for (uint32_t dst : factors)
      EXPECT_TRUE(ColorNear(Blended(src, dst, BlendOp::Add),
                            Expected(src, dst, BlendOp::Add, kSource, kDest, kConstant)))
          << "src " << src << " dst " << dst;
  EXPECT_TRUE(
      ColorNear(Blended(Blend::SrcAlphaSat, Blend::One, BlendOp::Add),
                Expected(Blend::SrcAlphaSat, Blend::One, BlendOp::Add, kSource, kDest, kConstant)));
  // BOTHSRCALPHA stands for the usual SRCALPHA / INVSRCALPHA pair.
  EXPECT_TRUE(ColorNear(
      Blended(Blend::BothSrcAlpha, Blend::Zero, BlendOp::Add),
      Expected(Blend::SrcAlpha, Blend::InvSrcAlpha, BlendOp::Add, kSource, kDest, kConstant)));
}

TEST_F(BlendTest, OperationsIncludingMinAndMax) {
  for (uint32_t op :
       {BlendOp::Add, BlendOp::Subtract, BlendOp::RevSubtract, BlendOp::Min, BlendOp::Max})
    EXPECT_TRUE(ColorNear(Blended(Blend::SrcAlpha, Blend::One, op),
                          Expected(Blend::SrcAlpha, Blend::One, op, kSource, kDest, kConstant)))
        << "op " << op;
}

TEST_F(BlendTest, DisabledBlendingWritesTheSource) {
  device_->SetRenderState(RenderState::AlphaBlendEnable, 0);
  EXPECT_EQ(Blended(Blend::Zero, Blend::One, BlendOp::Add), kSource);
}

TEST_F(GfxTest, ColourWriteMaskKeepsMaskedChannels) {
  const struct {
    uint32_t mask, expected;
  } cases[] = {{ColorWrite::Red | ColorWrite::Green | ColorWrite::Blue, 0x40FFFFFF},
               {ColorWrite::Red, 0x40FF2010},
               {ColorWrite::Alpha, 0xFF402010},
               {0, 0x40402010}};
  for (const auto& c : cases) {
    device_->SetRenderState(RenderState::ColorWriteEnable, ColorWrite::All);
    device_->Clear(0, nullptr, ClearFlags::Target, 0x40402010, 1.0f, 0);
    device_->SetRenderState(RenderState::ColorWriteEnable, c.mask);
    DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
    EXPECT_EQ(Pixel(2, 2), c.expected) << "mask " << c.mask;
  }
}

}  // namespace
}  // namespace gfx_test
