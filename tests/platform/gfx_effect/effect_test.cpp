#include <fstream>
#include <sstream>
#include <vector>

#include "platform/gfx/effect/effect.h"
#include "platform/gfx/gfx_fixture.h"
#include "platform/headless_sdl.h"

namespace gfx_test {
namespace {

std::string SampleEffect() {
  std::ifstream in(std::string(SCENE_SOURCE_DIR) + "/assets/effects/textured_blend.effect",
                   std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A tint effect: the vertex colour times Color times Weights[2] (all 1 by default). "Tint"
// changes no blending state; "Replace" draws without blending; "Moved" has its own vertex
// stage, which places the vertices with Transform.
const char* const kTint = R"(#vornview effect 1
float4 Color = 1, 1, 1, 1;
float Weights[3] = 1, 1, 1;
float4x4 Transform = identity;
texture Picture;
sampler PictureSampler {
  Texture = Picture;
  AddressU = Clamp;
  MinFilter = Point;
  MagFilter = Point;
  Unset = 0, 0, 1, 1;
}
technique Tint {
  pass { Fragment = Tinted; }
}
technique Replace {
  pass { AlphaBlendEnable = False; SrcBlend = One; DestBlend = Zero; CullMode = None;
         Fragment = Tinted; }
}
technique Sampled {
  pass { Fragment = Sampled; }
}
technique Moved {
  pass { Vertex = Moved; Fragment = Plain; }
}
code vertex Moved
out vec4 colour;
void main() {
  gl_Position = Transform * vec4(gfx_Vertex.xyz, 1.0);
  colour = gfx_Color;
}
endcode
code fragment Plain
in vec4 colour;
out vec4 result;
void main() { result = colour * Color; }
endcode
code fragment Tinted
out vec4 result;
void main() { result = gfx_Diffuse * Color * Weights[2]; }
endcode
code fragment Sampled
out vec4 result;
void main() { result = texture(PictureSampler, gfx_TexCoord0.xy); }
endcode
)";

class EffectTest : public GfxTest {
 protected:
  // Mesa's libraries stay loaded until the leak check, which reads their thread data.
  void SetUp() override {
    UseHeadlessSdl();
    GfxTest::SetUp();
  }

  ComPtr<Effect> Make(const std::string& text, const char* name = "test") {
    ComPtr<Effect> e;
    std::string errors;
    EXPECT_EQ(
        D3DXCreateEffect(device_.Get(), text.data(), uint32_t(text.size()), name, e.Put(), &errors),
        kOk)
        << errors;
    return e;
  }

  // One pass loop as the scene code writes it, drawing a quad over the whole target.
  void DrawWithEffect(Effect* effect, uint32_t color, uint32_t flags = 0) {
    uint32_t passes = 0;
    ASSERT_EQ(effect->Begin(&passes, flags), kOk);
    for (uint32_t i = 0; i < passes; ++i) {
      ASSERT_EQ(effect->BeginPass(i), kOk);
      DrawScreenQuad(0, 0, kSize, kSize, color);
      ASSERT_EQ(effect->EndPass(), kOk);
    }
    ASSERT_EQ(effect->End(), kOk);
  }

  void ClearTo(uint32_t color) { device_->Clear(0, nullptr, ClearFlags::Target, color, 1, 0); }
};

TEST_F(EffectTest, SampleEffectBlendsNormallyAndAdditively) {
  auto effect = Make(SampleEffect(), "textured_blend");
  ASSERT_TRUE(effect);
  EXPECT_STREQ(effect->GetCurrentTechnique(), "BlendNormal");  // the first
  // Texture 0xFF8040C0 x vertex colour (alpha 0x80, white) over 0xFF204060.
  auto texture = MakeTexture(1, 1, {0xFF8040C0});
  ASSERT_EQ(effect->SetTexture("Texture0", texture.Get()), kOk);

  ClearTo(0xFF204060);
  DrawWithEffect(effect.Get(), 0x80FFFFFF);
  // Over: src x a + dst x (1 - a), a = 0.502.
  EXPECT_TRUE(ColorNear(Pixel(4, 4) & 0x00FFFFFF, 0x00504090, 2)) << std::hex << Pixel(4, 4);

  ASSERT_EQ(effect->SetTechnique("BlendSum"), kOk);
  ClearTo(0xFF204060);
  DrawWithEffect(effect.Get(), 0x80FFFFFF);
  // Sum: dst + src x a.
  EXPECT_TRUE(ColorNear(Pixel(4, 4) & 0x00FFFFFF, 0x006060C0, 2)) << std::hex << Pixel(4, 4);

  // Without a texture it draws the vertex colour.
  ASSERT_EQ(effect->SetTexture("Texture0", nullptr), kOk);
  ASSERT_EQ(effect->SetTechnique("BlendNormal"), kOk);
  ClearTo(0xFF000000);
  DrawWithEffect(effect.Get(), 0xFF336699);
  EXPECT_TRUE(ColorNear(Pixel(4, 4) & 0x00FFFFFF, 0x00336699, 1)) << std::hex << Pixel(4, 4);
}

TEST_F(EffectTest, TechniquesAreChosenByExactName) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  EXPECT_STREQ(effect->GetCurrentTechnique(), "Tint");
  EXPECT_EQ(effect->SetTechnique("Replace"), kOk);
  // Unknown, differently cased or missing names leave the current technique.
  EXPECT_EQ(effect->SetTechnique("Nope"), kInvalidCall);
  EXPECT_EQ(effect->SetTechnique("replace"), kInvalidCall);
  EXPECT_EQ(effect->SetTechnique(nullptr), kInvalidCall);
  EXPECT_STREQ(effect->GetCurrentTechnique(), "Replace");
  // A handle from GetTechnique works as the name does.
  const EffectHandle moved = effect->GetTechnique(3);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(effect->SetTechnique(moved), kOk);
  EXPECT_EQ(effect->GetCurrentTechnique(), moved);
  EXPECT_EQ(effect->GetTechnique(4), nullptr);
}

TEST_F(EffectTest, ValuesAndTechniquePersistBetweenUsers) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  // Two users share the effect, as a document's users share its effect cache entry.
  ComPtr<Effect> first = effect, second = effect;
  const float red[4] = {1, 0, 0, 1};
  ASSERT_EQ(first->SetFloatArray("Color", red, 4), kOk);
  ASSERT_EQ(first->SetTechnique("Replace"), kOk);
  first.Reset();

  ClearTo(0xFF0000FF);
  device_->SetRenderState(RenderState::AlphaBlendEnable, 1);
  DrawWithEffect(second.Get(), 0x80FFFFFF);  // Replace ignores the blend the device has
  EXPECT_EQ(Pixel(4, 4), 0x80FF0000u);
  EXPECT_STREQ(second->GetCurrentTechnique(), "Replace");
}

TEST_F(EffectTest, SettersChangeOnlyTheLeadingValuesAndIgnoreUnknownNames) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  effect->SetTechnique("Replace");
  // Three of Color's four values: alpha stays 1.
  const float rgb[3] = {0, 1, 0};
  ASSERT_EQ(effect->SetFloatArray("Color", rgb, 3), kOk);
  // One of the three weights: Weights[2] stays 1.
  const float zero = 0;
  ASSERT_EQ(effect->SetFloatArray("Weights", &zero, 1), kOk);
  // Unknown and wrongly typed names change nothing.
  EXPECT_EQ(effect->SetFloat("color", 0.0f), kInvalidCall);
  EXPECT_EQ(effect->SetFloat("Missing", 0.0f), kInvalidCall);
  EXPECT_EQ(effect->SetFloat(nullptr, 0.0f), kInvalidCall);
  EXPECT_EQ(effect->SetFloat("Picture", 0.0f), kInvalidCall);
  EXPECT_EQ(effect->SetTexture("Color", nullptr), kInvalidCall);
  ClearTo(0xFF000000);
  DrawWithEffect(effect.Get(), 0x80FFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0x8000FF00u);

  // SetVector, SetInt and SetBool reach float parameters too.
  const D3DXVECTOR4 half(0.5f, 0.5f, 0, 1);
  ASSERT_EQ(effect->SetVector("Color", &half), kOk);
  ASSERT_EQ(effect->SetInt("Weights", 7), kOk);  // Weights[0], not read
  ASSERT_EQ(effect->SetBool("Weights", true), kOk);
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  EXPECT_TRUE(ColorNear(Pixel(4, 4), 0xFF808000, 1)) << std::hex << Pixel(4, 4);
}

TEST_F(EffectTest, EndRestoresWhatThePassesSetAndNothingElse) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  effect->SetTechnique("Replace");
  auto texture = MakeTexture(1, 1, {0xFF123456});
  device_->SetTexture(0, texture.Get());
  device_->SetRenderState(RenderState::AlphaBlendEnable, 1);
  device_->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
  device_->SetRenderState(RenderState::ZWriteEnable, 1);
  device_->SetSamplerState(0, SamplerState::AddressU, TextureAddress::Mirror);
  device_->SetSamplerState(0, SamplerState::AddressV, TextureAddress::Mirror);

  uint32_t passes = 0;
  ASSERT_EQ(effect->Begin(&passes, 0), kOk);
  ASSERT_EQ(passes, 1u);
  ASSERT_EQ(effect->BeginPass(0), kOk);
  uint32_t v = 0;
  EXPECT_EQ(device_->GetRenderState(RenderState::AlphaBlendEnable, &v), kOk);
  EXPECT_EQ(v, 0u);
  EXPECT_EQ(device_->GetSamplerState(0, SamplerState::AddressU, &v), kOk);
  EXPECT_EQ(v, TextureAddress::Clamp);
  EXPECT_NE(device_->GetShaderProgram(), nullptr);
  device_->SetRenderState(RenderState::ZWriteEnable, 0);  // the caller's own change
  effect->EndPass();
  effect->End();

  EXPECT_EQ(device_->GetRenderState(RenderState::AlphaBlendEnable, &v), kOk);
  EXPECT_EQ(v, 1u);
  EXPECT_EQ(device_->GetRenderState(RenderState::SrcBlend, &v), kOk);
  EXPECT_EQ(v, Blend::SrcAlpha);
  EXPECT_EQ(device_->GetSamplerState(0, SamplerState::AddressU, &v), kOk);
  EXPECT_EQ(v, TextureAddress::Mirror);
  EXPECT_EQ(device_->GetSamplerState(0, SamplerState::AddressV, &v), kOk);
  EXPECT_EQ(v, TextureAddress::Mirror);  // the effect does not set it
  Texture* bound = nullptr;
  EXPECT_EQ(device_->GetTexture(0, &bound), kOk);
  EXPECT_EQ(bound, texture.Get());
  if (bound) bound->Release();
  EXPECT_EQ(device_->GetShaderProgram(), nullptr);
  EXPECT_EQ(device_->GetRenderState(RenderState::ZWriteEnable, &v), kOk);
  EXPECT_EQ(v, 0u);  // not the effect's state: the caller's change stays

  // With DoNotSaveState the pass states remain.
  DrawWithEffect(effect.Get(), 0xFFFFFFFF, EffectBegin::DoNotSaveState);
  EXPECT_EQ(device_->GetRenderState(RenderState::AlphaBlendEnable, &v), kOk);
  EXPECT_EQ(v, 0u);
  EXPECT_NE(device_->GetShaderProgram(), nullptr);
}

TEST_F(EffectTest, CallerMayOverrideBlendingAfterBeginPass) {
  auto effect = Make(SampleEffect());
  ASSERT_TRUE(effect);
  ClearTo(0xFF0000FF);
  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  effect->BeginPass(0);
  device_->SetRenderState(RenderState::DestBlend, Blend::Zero);
  device_->SetRenderState(RenderState::SrcBlend, Blend::One);
  DrawScreenQuad(0, 0, kSize, kSize, 0x40FF0000);
  effect->EndPass();
  effect->End();
  EXPECT_EQ(Pixel(4, 4), 0x40FF0000u);  // replaced, not blended
}

TEST_F(EffectTest, TexturesValuesAndCommitChanges) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  ASSERT_EQ(effect->SetTechnique("Sampled"), kOk);
  ClearTo(0xFF000000);
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0xFF0000FFu);  // the sampler's unset value

  auto green = MakeTexture(1, 1, {0xFF00FF00});
  auto red = MakeTexture(1, 1, {0xFFFF0000});
  effect->SetTexture("Picture", green.Get());
  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  effect->BeginPass(0);
  // Set during the pass, the texture waits for CommitChanges.
  effect->SetTexture("Picture", red.Get());
  DrawScreenQuad(0, 0, 4, kSize, 0xFFFFFFFF);
  EXPECT_EQ(effect->CommitChanges(), kOk);
  DrawScreenQuad(4, 0, kSize, kSize, 0xFFFFFFFF);
  effect->EndPass();
  effect->End();
  EXPECT_EQ(Pixel(1, 4), 0xFF00FF00u);
  EXPECT_EQ(Pixel(6, 4), 0xFFFF0000u);
  EXPECT_EQ(effect->CommitChanges(), kInvalidCall);  // outside a pass

  // Float values the same way.
  effect->SetTechnique("Replace");
  const float white[4] = {1, 1, 1, 1}, blue[4] = {0, 0, 1, 1};
  effect->SetFloatArray("Color", white, 4);
  effect->Begin(&passes, 0);
  effect->BeginPass(0);
  effect->SetFloatArray("Color", blue, 4);
  DrawScreenQuad(0, 0, 4, kSize, 0xFFFFFFFF);
  effect->CommitChanges();
  DrawScreenQuad(4, 0, kSize, kSize, 0xFFFFFFFF);
  effect->EndPass();
  effect->End();
  EXPECT_EQ(Pixel(1, 4), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(6, 4), 0xFF0000FFu);
}

TEST_F(EffectTest, PassesUseTheDeviceTransformsOrTheirOwnVertexStage) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  // World-space vertices in the left half of clip space, placed by the device's transforms:
  // a world matrix that moves them right by one clip unit puts them in the right half.
  auto vb = MakeVertices<ColorVertex>({{-1, -1, 0.5f, 0xFFFFFFFF},
                                       {-1, 1, 0.5f, 0xFFFFFFFF},
                                       {0, -1, 0.5f, 0xFFFFFFFF},
                                       {0, 1, 0.5f, 0xFFFFFFFF}},
                                      kColorFvf);
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 1, 0, 0);
  device_->SetTransform(TransformState::World, &world);

  // Whether the quad lands on the left or on the right half.
  auto drawnSide = [&] {
    ClearTo(0xFF000000);
    uint32_t passes = 0;
    effect->Begin(&passes, 0);
    effect->BeginPass(0);
    DrawStrip(vb.Get(), kColorFvf, sizeof(ColorVertex));
    effect->EndPass();
    effect->End();
    const bool left = Pixel(1, 4) == 0xFFFFFFFF, right = Pixel(6, 4) == 0xFFFFFFFF;
    return left == right ? "both or none" : left ? "left" : "right";
  };
  effect->SetTechnique("Replace");
  EXPECT_STREQ(drawnSide(), "right");

  // The vertex stage of "Moved" ignores the device and uses Transform: the identity leaves
  // the quad on the left, then a translation set as a D3DX matrix moves it right.
  effect->SetTechnique("Moved");
  EXPECT_STREQ(drawnSide(), "left");
  ASSERT_EQ(effect->SetMatrix("Transform", &world), kOk);
  EXPECT_STREQ(drawnSide(), "right");
}

TEST_F(EffectTest, FrameLogNamesTheEffectAndTheTechnique) {
  auto effect = Make(SampleEffect(), "sample");
  ASSERT_TRUE(effect);
  device_->EnableFrameLog(true);
  effect->SetTechnique("BlendSum");
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  DrawScreenQuad(0, 0, 1, 1, 0xFFFFFFFF);  // after End: fixed function
  const auto& log = device_->CurrentFrameLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].technique, "BlendSum");
  EXPECT_EQ(log[0].effect, "sample");
  EXPECT_TRUE(log[0].shaderProgram);
  EXPECT_EQ(log[0].state.Get(RenderState::DestBlend), Blend::One);
  EXPECT_EQ(log[1].technique, "");
  EXPECT_EQ(log[1].effect, "");
  EXPECT_FALSE(log[1].shaderProgram);
}

TEST_F(EffectTest, CallsOutOfOrderFail) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  uint32_t passes = 0;
  EXPECT_EQ(effect->BeginPass(0), kInvalidCall);
  EXPECT_EQ(effect->EndPass(), kInvalidCall);
  EXPECT_EQ(effect->End(), kInvalidCall);
  ASSERT_EQ(effect->Begin(&passes, 0), kOk);
  EXPECT_EQ(effect->Begin(&passes, 0), kInvalidCall);
  EXPECT_EQ(effect->BeginPass(1), kInvalidCall);
  ASSERT_EQ(effect->BeginPass(0), kOk);
  EXPECT_EQ(effect->BeginPass(0), kInvalidCall);
  EXPECT_EQ(effect->End(), kOk);  // ends the open pass too
  EXPECT_EQ(device_->GetShaderProgram(), nullptr);
}

TEST_F(EffectTest, CompileErrorsNameTheEffectAndFileLine) {
  const std::string text =
      "#vornview effect 1\n"
      "technique T { pass { Fragment = F; } }\n"
      "code fragment F\n"
      "out vec4 c;\n"
      "void main() {\n"
      "  c = undeclared;\n"  // line 6
      "}\n"
      "endcode\n";
  ComPtr<Effect> e;
  std::string errors;
  EXPECT_EQ(D3DXCreateEffect(device_.Get(), text.data(), uint32_t(text.size()), "broken", e.Put(),
                             &errors),
            kFail);
  EXPECT_EQ(e.Get(), nullptr);
  EXPECT_NE(errors.find("broken(6): "), std::string::npos) << errors;
  EXPECT_NE(errors.find("undeclared"), std::string::npos) << errors;

  errors.clear();
  const std::string notOurs = "\x01\x09\xFF\xFE compiled";
  EXPECT_EQ(D3DXCreateEffect(device_.Get(), notOurs.data(), uint32_t(notOurs.size()), "binary",
                             e.Put(), &errors),
            kFail);
  EXPECT_NE(errors.find("binary(1): "), std::string::npos) << errors;
}

TEST_F(EffectTest, KeepsWorkingAfterADeviceReset) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  effect->SetTechnique("Replace");
  const float red[4] = {1, 0, 0, 1};
  effect->SetFloatArray("Color", red, 4);
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);

  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  device_->SimulateLoss();
  EXPECT_EQ(effect->OnLostDevice(), kOk);  // ends the open Begin
  EXPECT_EQ(effect->Begin(&passes, 0), kOk);
  effect->End();
  device_->EndSimulatedLoss();
  ASSERT_EQ(device_->Reset(device_->GetPresentParameters()), kOk);
  EXPECT_EQ(effect->OnResetDevice(), kOk);
  device_->SetRenderState(RenderState::Lighting, 0);
  device_->SetRenderState(RenderState::ZEnable, 0);
  ClearTo(0xFF000000);
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0xFFFF0000u);
}

// Samplers that read the texture bound at their stage and a texture with two names.
const char* const kStages = R"(#vornview effect 1
texture Picture, Other;
sampler Stage0 { MinFilter = Point; MagFilter = Point; Unset = 0, 0, 1, 1; }
sampler Named { Texture = Other; MinFilter = Point; MagFilter = Point; Unset = 1, 0, 0, 1; }
technique FromStage {
  pass { AlphaBlendEnable = False; Fragment = FromStage; }
}
technique FromName {
  pass { AlphaBlendEnable = False; Fragment = FromName; }
}
code fragment FromStage
out vec4 result;
void main() { result = texture(Stage0, gfx_TexCoord0.xy); }
endcode
code fragment FromName
out vec4 result;
void main() { result = texture(Named, gfx_TexCoord0.xy); }
endcode
)";

TEST_F(EffectTest, StageSamplersReadTheBoundTextureAndSecondNamesFeedOneTexture) {
  auto effect = Make(kStages);
  ASSERT_TRUE(effect);
  auto green = MakeTexture(1, 1, {0xFF00FF00});
  auto white = MakeTexture(1, 1, {0xFFFFFFFF});

  // Nothing bound at stage 0: the unset value.
  device_->SetTexture(0, nullptr);
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0xFF0000FFu);
  // Bound before Begin, as the scene's own draws do.
  device_->SetTexture(0, green.Get());
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0xFF00FF00u);
  ComPtr<Texture> after;
  EXPECT_EQ(device_->GetTexture(0, after.Put()), kOk);
  EXPECT_EQ(after.Get(), green.Get()) << "End leaves the caller's binding";
  // Bound after BeginPass.
  device_->SetTexture(0, nullptr);
  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  effect->BeginPass(0);
  device_->SetTexture(0, white.Get());
  DrawScreenQuad(0, 0, kSize, kSize, 0xFFFFFFFF);
  effect->EndPass();
  effect->End();
  EXPECT_EQ(Pixel(4, 4), 0xFFFFFFFFu);

  // Either name sets the one texture that the sampler of the second name reads.
  effect->SetTechnique("FromName");
  DrawWithEffect(effect.Get(), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0xFFFF0000u) << "unset";
  for (const char* name : {"Picture", "Other"}) {
    ASSERT_EQ(effect->SetTexture(name, nullptr), kOk);
    ASSERT_EQ(effect->SetTexture(name, green.Get()), kOk);
    ClearTo(0xFF000000);
    DrawWithEffect(effect.Get(), 0xFFFFFFFF);
    EXPECT_EQ(Pixel(4, 4), 0xFF00FF00u) << name;
  }
  ComPtr<Texture> got;
  ASSERT_EQ(effect->GetTexture("Other", got.Put()), kOk);
  EXPECT_EQ(got.Get(), green.Get());
}

TEST_F(EffectTest, GettersReadWhatWasSet) {
  auto effect = Make(kTint);
  ASSERT_TRUE(effect);
  float weights[4] = {9, 9, 9, 9};
  ASSERT_EQ(effect->GetFloatArray("Weights", weights, 4), kOk);
  EXPECT_EQ(std::vector<float>(weights, weights + 4), (std::vector<float>{1, 1, 1, 9}))
      << "the declared defaults, as many as the parameter holds";
  const float two[2] = {0.5f, 0.25f};
  effect->SetFloatArray("Weights", two, 2);
  ASSERT_EQ(effect->GetFloatArray("Weights", weights, 3), kOk);
  EXPECT_EQ(std::vector<float>(weights, weights + 3), (std::vector<float>{0.5f, 0.25f, 1}));

  D3DXMATRIX m;
  ASSERT_EQ(effect->GetMatrix("Transform", &m), kOk);
  EXPECT_EQ(m(0, 0), 1.0f);
  EXPECT_EQ(m(3, 0), 0.0f);
  D3DXMATRIX moved = m;
  moved(3, 0) = 2.5f;
  moved(1, 2) = -1.0f;
  effect->SetMatrix("Transform", &moved);
  ASSERT_EQ(effect->GetMatrix("Transform", &m), kOk);
  EXPECT_EQ(m(3, 0), 2.5f);
  EXPECT_EQ(m(1, 2), -1.0f);

  ComPtr<Texture> texture;
  ASSERT_EQ(effect->GetTexture("Picture", texture.Put()), kOk);
  EXPECT_EQ(texture.Get(), nullptr) << "unset";
  auto red = MakeTexture(1, 1, {0xFFFF0000});
  effect->SetTexture("Picture", red.Get());
  ASSERT_EQ(effect->GetTexture("Picture", texture.Put()), kOk);
  EXPECT_EQ(texture.Get(), red.Get());

  // Unknown names and names of the other kind.
  float value = 0;
  EXPECT_EQ(effect->GetFloatArray("Missing", &value, 1), kInvalidCall);
  EXPECT_EQ(effect->GetFloatArray("Picture", &value, 1), kInvalidCall);
  EXPECT_EQ(effect->GetMatrix("Color", &m), kInvalidCall);
  EXPECT_EQ(effect->GetTexture("Color", texture.Put()), kInvalidCall);
  EXPECT_EQ(texture.Get(), nullptr);
}

}  // namespace
}  // namespace gfx_test
