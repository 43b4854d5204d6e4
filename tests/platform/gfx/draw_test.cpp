#include "gfx_fixture.h"

namespace gfx_test {
namespace {

// Indices are 16-bit, the base vertex is added after they are read, so a batch reaches
// vertices past 65,535.
TEST_F(GfxTest, IndexedDrawsReachPastSixteenBitsThroughTheBaseVertex) {
  constexpr uint32_t kBase = 70000;
  ComPtr<VertexBuffer> vb;
  ASSERT_EQ(device_->CreateVertexBuffer((kBase + 4) * sizeof(ScreenVertex), Usage::WriteOnly,
                                        kScreenFvf, Pool::Managed, vb.Put()),
            kOk);
  void* p = nullptr;
  ASSERT_EQ(vb->Lock(kBase * sizeof(ScreenVertex), 4 * sizeof(ScreenVertex), &p, 0), kOk);
  const ScreenVertex quad[4] = {{0, 0, 0.5f, 1, 0xFF0000FF, 0, 0},
                                {8, 0, 0.5f, 1, 0xFF0000FF, 0, 0},
                                {0, 8, 0.5f, 1, 0xFF0000FF, 0, 0},
                                {8, 8, 0.5f, 1, 0xFF0000FF, 0, 0}};
  std::memcpy(p, quad, sizeof quad);
  vb->Unlock();
  ComPtr<IndexBuffer> ib;
  ASSERT_EQ(
      device_->CreateIndexBuffer(12, Usage::WriteOnly, Format::Index16, Pool::Managed, ib.Put()),
      kOk);
  EXPECT_EQ(ib->Lock(0, 0, &p, 0), kOk);
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  std::memcpy(p, indices, sizeof indices);
  ib->Unlock();

  device_->SetFVF(kScreenFvf);
  device_->SetStreamSource(0, vb.Get(), 0, sizeof(ScreenVertex));
  device_->SetIndices(ib.Get());
  ASSERT_EQ(device_->DrawIndexedPrimitive(PrimitiveType::TriangleList, kBase, 0, 4, 0, 2), kOk);
  EXPECT_EQ(Pixel(1, 6), 0xFF0000FFu);
  EXPECT_EQ(Pixel(6, 1), 0xFF0000FFu);

  // Draws that would read outside the buffers are refused.
  EXPECT_EQ(device_->DrawIndexedPrimitive(PrimitiveType::TriangleList, kBase + 1, 0, 4, 0, 2),
            kInvalidCall);
  EXPECT_EQ(device_->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 3, 2),
            kInvalidCall);
  EXPECT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleStrip, kBase + 1, 2), kInvalidCall);
  device_->SetStreamSource(0, vb.Get(), 0, 12);  // too short for the position
  EXPECT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2), kInvalidCall);
  device_->SetStreamSource(0, vb.Get(), 0, sizeof(ScreenVertex));
  device_->SetFVF(0x006);  // a format the device cannot read
  EXPECT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2), kInvalidCall);
}

// A format that names more coordinate sets than the stride holds (XYZ|TEX3 over 28-byte
// XYZ|TEX2 vertices) draws with the sets that are there.
TEST_F(GfxTest, ElementsPastTheStrideAreNotRead) {
  struct Vertex {
    float x, y, z, u0, v0, u1, v1;
  };
  auto vb = MakeVertices<Vertex>({{0, 8, 0.5f, 0, 1, 0, 1},
                                  {0, 0, 0.5f, 0, 0, 0, 0},
                                  {8, 8, 0.5f, 1, 1, 1, 1},
                                  {8, 0, 0.5f, 1, 0, 1, 0}},
                                 Fvf::Xyz | Fvf::Tex2);
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 8, 0, 0, 1);
  device_->SetTransform(TransformState::Projection, &projection);
  auto texture = MakeTexture(2, 1, {0xFF0000FF, 0xFF00FF00});
  device_->SetTexture(1, texture.Get());
  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  device_->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Current);
  device_->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::SelectArg1);
  DrawStrip(vb.Get(), Fvf::Xyz | Fvf::Tex3, sizeof(Vertex));
  EXPECT_EQ(Pixel(1, 4), 0xFF0000FFu);
  EXPECT_EQ(Pixel(6, 4), 0xFF00FF00u);
}

TEST_F(GfxTest, ShaderProgramOnTheFixedFunctionVertexStage) {
  const char* fragment = R"(#version 330 core
in vec4 gfx_Diffuse;
in vec4 gfx_TexCoord0;
uniform vec4 tint;
uniform float weights[3];
out vec4 color;
void main() { color = gfx_Diffuse * tint * weights[2]; }
)";
  ComPtr<ShaderProgram> program;
  std::string errors;
  ASSERT_EQ(ShaderProgram::Create(device_.Get(), "Tint", "", fragment, program.Put(), &errors), kOk)
      << errors;
  const int tint = program->UniformHandle("tint"), weights = program->UniformHandle("weights");
  ASSERT_GE(tint, 0);
  ASSERT_GE(weights, 0);
  EXPECT_EQ(program->UniformHandle("missing"), -1);
  const float all[4] = {1, 0.5f, 0.25f, 1};
  program->SetFloats(tint, all, 4);
  const float ones[3] = {1, 1, 1};
  program->SetFloats(weights, ones, 3);
  device_->SetShaderProgram(program.Get());
  DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
  EXPECT_TRUE(ColorNear(Pixel(4, 4), 0xFFFF8040));

  // Fewer values set the leading ones and keep the rest.
  const float two[2] = {0, 1};
  program->SetFloats(tint, two, 2);
  const float half[1] = {0.5f};
  program->SetFloats(weights, half, 1);  // weights[2] stays 1
  DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
  EXPECT_TRUE(ColorNear(Pixel(4, 4), 0xFF00FF40));

  // Flat shading does not change what the program's inputs are.
  device_->SetRenderState(RenderState::ShadeMode, ShadeMode::Flat);
  DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
  EXPECT_TRUE(ColorNear(Pixel(4, 4), 0xFF00FF40));
  device_->SetRenderState(RenderState::ShadeMode, ShadeMode::Gouraud);

  device_->SetShaderProgram(nullptr);
  DrawScreenQuad(0, 0, 8, 8, 0xFF123456);
  EXPECT_EQ(Pixel(4, 4), 0xFF123456u);
}

TEST_F(GfxTest, ShaderProgramWithItsOwnVertexStage) {
  // Clip space as Direct3D has it: y up, z from 0 to w. The quad covers the top-left quarter.
  const char* vertex = R"(#version 330 core
void main() { gl_Position = vec4(gfx_Vertex.xy, 0.5, 1.0); }
)";
  const char* fragment = R"(#version 330 core
uniform sampler2D picture;
out vec4 color;
void main() { color = texture(picture, vec2(0.5)); }
)";
  ComPtr<ShaderProgram> program;
  std::string errors;
  ASSERT_EQ(
      ShaderProgram::Create(device_.Get(), "Corner", vertex, fragment, program.Put(), &errors), kOk)
      << errors;
  auto texture = MakeTexture(1, 1, {0xFF00FF00});
  device_->SetTexture(2, texture.Get());
  const int32_t stage = 2;
  program->SetInts(program->UniformHandle("picture"), &stage, 1);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
  device_->SetShaderProgram(program.Get());
  auto vb = MakeVertices<ColorVertex>({{-1, 0, 0, 0}, {-1, 1, 0, 0}, {0, 0, 0, 0}, {0, 1, 0, 0}},
                                      kColorFvf);
  DrawStrip(vb.Get(), kColorFvf, sizeof(ColorVertex));
  EXPECT_EQ(Pixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(Pixel(5, 1), 0xFF000000u);
  EXPECT_EQ(Pixel(1, 5), 0xFF000000u);
}

TEST_F(GfxTest, ShaderProgramErrorsNameTheProgramAndLine) {
  ComPtr<ShaderProgram> program;
  std::string errors;
  EXPECT_EQ(ShaderProgram::Create(device_.Get(), "Broken", "",
                                  "#version 330 core\nout vec4 c;\nvoid main() { c = nope; }\n",
                                  program.Put(), &errors),
            kFail);
  EXPECT_EQ(program.Get(), nullptr);
  EXPECT_NE(errors.find("Broken"), std::string::npos) << errors;
  EXPECT_NE(errors.find("3"), std::string::npos) << errors;
}

}  // namespace
}  // namespace gfx_test
