// Textured quads through the device's fixed-function path against the same quads drawn by a
// minimal hand-written GL program, both on one headless context in the same run. Each
// benchmark reports the time of both per frame and their ratio (device / GL); the target is
// a ratio of at most 2.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/fixed_function.h"
#include "platform/math/d3dx_math.h"

namespace {

using namespace gfx;

// The benchmark cannot go on without what it asked the device for.
void Check(HResult hr, const char* call) {
  if (Failed(hr)) {
    std::fprintf(stderr, "%s failed: 0x%08X\n", call, unsigned(hr));
    std::abort();
  }
}

using Clock = std::chrono::steady_clock;

constexpr uint32_t kTarget = 256;
constexpr float kQuad = 16;

struct Vertex {  // XYZ | DIFFUSE | TEX1
  float x, y, z;
  uint32_t color;
  float u, v;
};
constexpr uint32_t kFvf = Fvf::Xyz | Fvf::Diffuse | Fvf::Tex1;

// Quad i's four corners in strip order, placed on a grid that wraps over the target.
void FillQuad(Vertex* v, int i, int frame, bool local) {
  const float x = local ? 0 : float((i * 37 + frame) % int(kTarget - kQuad));
  const float y = local ? 0 : float((i * 53) % int(kTarget - kQuad));
  const uint32_t c = 0xC0FFFFFF;
  v[0] = {x, y + kQuad, 0.5f, c, 0, 1};
  v[1] = {x, y, 0.5f, c, 0, 0};
  v[2] = {x + kQuad, y + kQuad, 0.5f, c, 1, 1};
  v[3] = {x + kQuad, y, 0.5f, c, 1, 0};
}

struct Fixture {
  ComPtr<Device> device;
  ComPtr<Texture> textures[2];
  D3DXMATRIX projection;
  // The hand-written path.
  GLuint program = 0, vao = 0, vbo = 0, ibo = 0, glTextures[2] = {};
  GLint projectionAt = -1, worldAt = -1;

  Fixture() {
    if (Failed(Device::CreateHeadless(kTarget, kTarget, device.Put()))) return;
    std::vector<uint32_t> texels(64 * 64);
    for (int i = 0; i < 64 * 64; ++i)
      texels[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    const GlFunctions& gl = device->Gl();
    for (int t = 0; t < 2; ++t) {
      Check(device->CreateTexture(64, 64, 1, 0, Format::A8R8G8B8, Pool::Managed, textures[t].Put()),
            "CreateTexture");
      LockedRect r;
      Check(textures[t]->LockRect(0, &r, nullptr, 0), "LockRect");
      std::memcpy(r.bits, texels.data(), texels.size() * 4);
      textures[t]->UnlockRect(0);
      gl.GenTextures(1, &glTextures[t]);
      gl.BindTexture(GL_TEXTURE_2D, glTextures[t]);
      gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                    texels.data());
      gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
      gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    D3DXMatrixOrthoOffCenterLH(&projection, 0, kTarget, kTarget, 0, 0, 1);
    std::string errors;
    program = LinkProgram(gl, R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec4 color;
layout(location = 4) in vec2 uv;
uniform mat4 projection;
uniform mat4 world;
out vec4 vColor;
out vec2 vUv;
void main() {
  vec4 p = projection * (world * vec4(position, 1.0));
  gl_Position = vec4(p.x, -p.y, 2.0 * p.z - p.w, p.w);
  vColor = color;
  vUv = uv;
}
)",
                          R"(#version 330 core
in vec4 vColor;
in vec2 vUv;
uniform sampler2D picture;
out vec4 color;
void main() { color = texture(picture, vUv) * vColor; }
)",
                          &errors);
    projectionAt = gl.GetUniformLocation(program, "projection");
    worldAt = gl.GetUniformLocation(program, "world");
    gl.GenVertexArrays(1, &vao);
    gl.GenBuffers(1, &vbo);
    gl.GenBuffers(1, &ibo);
  }

  ~Fixture() {
    if (!device) return;
    const GlFunctions& gl = device->Gl();
    gl.DeleteProgram(program);
    gl.DeleteVertexArrays(1, &vao);
    gl.DeleteBuffers(1, &vbo);
    gl.DeleteBuffers(1, &ibo);
    gl.DeleteTextures(2, glTextures);
  }

  void DeviceState() {
    device->ResetGlStateCache();
    device->SetRenderState(RenderState::Lighting, 0);
    device->SetRenderState(RenderState::ZEnable, 0);
    device->SetRenderState(RenderState::CullMode, Cull::None);
    device->SetRenderState(RenderState::AlphaBlendEnable, 1);
    device->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    device->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    device->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
    device->SetTextureStageState(0, TextureStageState::AlphaArg2, TextureArg::Diffuse);
    device->SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    device->SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    device->SetTransform(TransformState::Projection, &projection);
    device->SetFVF(kFvf);
  }

  void GlState() {
    const GlFunctions& gl = device->Gl();
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.Viewport(0, 0, kTarget, kTarget);
    gl.Disable(GL_DEPTH_TEST);
    gl.Disable(GL_CULL_FACE);
    gl.Enable(GL_BLEND);
    gl.BlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA,
                         GL_ONE_MINUS_SRC_ALPHA);
    gl.UseProgram(program);
    gl.BindVertexArray(vao);
    gl.BindBuffer(GL_ARRAY_BUFFER, vbo);
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    gl.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), nullptr);
    gl.VertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                           reinterpret_cast<void*>(12));
    gl.VertexAttribPointer(4, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(16));
    gl.EnableVertexAttribArray(0);
    gl.EnableVertexAttribArray(2);
    gl.EnableVertexAttribArray(4);
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindSampler(0, 0);
    float m[16];
    std::memcpy(m, &projection, 64);
    gl.UniformMatrix4fv(projectionAt, 1, GL_FALSE, m);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    std::memcpy(m, &identity, 64);
    gl.UniformMatrix4fv(worldAt, 1, GL_FALSE, m);
  }
};

std::vector<uint16_t> QuadIndices(int quads) {
  std::vector<uint16_t> indices;
  for (int q = 0; q < quads; ++q)
    for (int k : {0, 1, 2, 2, 1, 3})
      indices.push_back(uint16_t(4 * q + k));
  return indices;
}

// Lit pixels of the device's back buffer and of the window's framebuffer, which the two paths
// drew into: both must show the same picture for the comparison to mean anything.
bool SamePicture(Fixture& f) {
  ComPtr<Surface> bb;
  Check(f.device->GetBackBuffer(0, 0, BackBufferType::Mono, bb.Put()), "GetBackBuffer");
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  Check(bb->ReadPixels(&bytes, &pitch), "ReadPixels");
  std::vector<uint8_t> window(bytes.size());
  const GlFunctions& gl = f.device->Gl();
  gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.ReadPixels(0, 0, kTarget, kTarget, GL_BGRA, GL_UNSIGNED_BYTE, window.data());
  auto lit = [](const std::vector<uint8_t>& p) {
    size_t n = 0;
    for (size_t i = 0; i < p.size(); i += 4)
      n += (p[i] | p[i + 1] | p[i + 2]) != 0;
    return n;
  };
  return lit(bytes) > 0 && lit(bytes) == lit(window);
}

void Report(benchmark::State& state, double deviceSeconds, double glSeconds) {
  const double frames = double(state.iterations());
  state.counters["device_ms"] = deviceSeconds / frames * 1e3;
  state.counters["gl_ms"] = glSeconds / frames * 1e3;
  state.counters["ratio"] = glSeconds > 0 ? deviceSeconds / glSeconds : 0;
}

// One batch per frame: the quads are rewritten into a vertex buffer and drawn with one indexed
// draw, as the sprite and particle layers do.
void BM_QuadBatch(benchmark::State& state) {
  Fixture f;
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  const int quads = int(state.range(0));
  const GlFunctions& gl = f.device->Gl();
  ComPtr<VertexBuffer> vb;
  ComPtr<IndexBuffer> ib;
  Check(f.device->CreateVertexBuffer(uint32_t(quads * 4 * sizeof(Vertex)), Usage::WriteOnly, kFvf,
                                     Pool::Managed, vb.Put()),
        "CreateVertexBuffer");
  const std::vector<uint16_t> indices = QuadIndices(quads);
  Check(f.device->CreateIndexBuffer(uint32_t(indices.size() * 2), Usage::WriteOnly, Format::Index16,
                                    Pool::Managed, ib.Put()),
        "CreateIndexBuffer");
  void* p = nullptr;
  Check(ib->Lock(0, 0, &p, 0), "Lock");
  std::memcpy(p, indices.data(), indices.size() * 2);
  ib->Unlock();
  gl.BindVertexArray(f.vao);
  gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, f.ibo);
  gl.BufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * 2), indices.data(),
                GL_STATIC_DRAW);
  gl.BindBuffer(GL_ARRAY_BUFFER, f.vbo);
  gl.BufferData(GL_ARRAY_BUFFER, GLsizeiptr(quads * 4 * sizeof(Vertex)), nullptr, GL_DYNAMIC_DRAW);
  std::vector<Vertex> vertices(size_t(quads) * 4);

  double deviceSeconds = 0, glSeconds = 0;
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    auto t0 = Clock::now();
    f.DeviceState();
    f.device->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
    Check(vb->Lock(0, 0, &p, 0), "Lock");
    for (int q = 0; q < quads; ++q)
      FillQuad(static_cast<Vertex*>(p) + 4 * q, q, frame, false);
    vb->Unlock();
    f.device->SetTexture(0, f.textures[0].Get());
    f.device->SetStreamSource(0, vb.Get(), 0, sizeof(Vertex));
    f.device->SetIndices(ib.Get());
    f.device->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, uint32_t(quads * 4), 0,
                                   uint32_t(quads * 2));
    gl.Finish();
    auto t1 = Clock::now();
    f.GlState();
    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    for (int q = 0; q < quads; ++q)
      FillQuad(&vertices[4 * size_t(q)], q, frame, false);
    gl.BufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(vertices.size() * sizeof(Vertex)),
                     vertices.data());
    gl.BindTexture(GL_TEXTURE_2D, f.glTextures[0]);
    gl.DrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_SHORT, nullptr);
    gl.Finish();
    auto t2 = Clock::now();
    deviceSeconds += std::chrono::duration<double>(t1 - t0).count();
    glSeconds += std::chrono::duration<double>(t2 - t1).count();
    if (frame == 1 && !SamePicture(f)) {
      state.SkipWithError("the two paths drew different pictures");
      return;
    }
  }
  Report(state, deviceSeconds, glSeconds);
}
BENCHMARK(BM_QuadBatch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One draw per quad, each with its own world matrix and a texture that alternates: the way
// meshes and frame lists are drawn.
void BM_QuadPerDraw(benchmark::State& state) {
  Fixture f;
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  const int quads = int(state.range(0));
  const GlFunctions& gl = f.device->Gl();
  Vertex quad[4];
  FillQuad(quad, 0, 0, true);
  ComPtr<VertexBuffer> vb;
  Check(f.device->CreateVertexBuffer(sizeof quad, Usage::WriteOnly, kFvf, Pool::Managed, vb.Put()),
        "CreateVertexBuffer");
  void* p = nullptr;
  Check(vb->Lock(0, 0, &p, 0), "Lock");
  std::memcpy(p, quad, sizeof quad);
  vb->Unlock();
  gl.BindVertexArray(f.vao);
  gl.BindBuffer(GL_ARRAY_BUFFER, f.vbo);
  gl.BufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);

  double deviceSeconds = 0, glSeconds = 0;
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    auto t0 = Clock::now();
    f.DeviceState();
    f.device->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
    f.device->SetStreamSource(0, vb.Get(), 0, sizeof(Vertex));
    for (int q = 0; q < quads; ++q) {
      D3DXMATRIX world;
      D3DXMatrixTranslation(&world, float((q * 37 + frame) % 240), float((q * 53) % 240), 0);
      f.device->SetTransform(TransformState::World, &world);
      f.device->SetTexture(0, f.textures[q & 1].Get());
      f.device->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
    }
    gl.Finish();
    auto t1 = Clock::now();
    f.GlState();
    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    for (int q = 0; q < quads; ++q) {
      D3DXMATRIX world;
      D3DXMatrixTranslation(&world, float((q * 37 + frame) % 240), float((q * 53) % 240), 0);
      float m[16];
      std::memcpy(m, &world, 64);
      gl.UniformMatrix4fv(f.worldAt, 1, GL_FALSE, m);
      gl.BindTexture(GL_TEXTURE_2D, f.glTextures[q & 1]);
      gl.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
    gl.Finish();
    auto t2 = Clock::now();
    deviceSeconds += std::chrono::duration<double>(t1 - t0).count();
    glSeconds += std::chrono::duration<double>(t2 - t1).count();
    if (frame == 1 && !SamePicture(f)) {
      state.SkipWithError("the two paths drew different pictures");
      return;
    }
  }
  Report(state, deviceSeconds, glSeconds);
}
BENCHMARK(BM_QuadPerDraw)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
