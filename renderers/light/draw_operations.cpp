#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/quad_blocks.h"
#include "player/render/render_context.h"
#include "renderers/light/ds_2d_light.h"

namespace {

using gfx::RenderState, gfx::TextureStageState, gfx::TextureArg, gfx::TextureOp;

constexpr uint32_t kTexFvf = gfx::Fvf::Xyz | gfx::Fvf::Tex1;                           // 0x102
constexpr uint32_t kColorTexFvf = gfx::Fvf::Xyz | gfx::Fvf::Diffuse | gfx::Fvf::Tex1;  // 0x142
constexpr uint32_t kNormalTexFvf = gfx::Fvf::Xyz | gfx::Fvf::Normal | gfx::Fvf::Tex1;  // 0x112

void SetWorld(const TransformNode& node) {
  if (RenderContext* context = RenderContextTlsSlot::Get()) context->SetWorldTransform(node.world);
}

// Streams of an indexed mesh; false when it has no buffers to draw.
bool BindIndexed(gfx::Device* d, const IndexedMesh& mesh, uint32_t fvf, uint32_t stride) {
  if (!mesh.vertices.buffer || !mesh.indices) return false;
  d->SetIndices(mesh.indices.Get());
  d->SetFVF(fvf);
  d->SetStreamSource(0, mesh.vertices.buffer.Get(), 0, stride);
  return true;
}

// A mesh's triangles in one draw (grids and loaded meshes fit 16-bit indices).
void DrawIndexed(gfx::Device* d, const IndexedMesh& mesh, uint32_t startIndex,
                 uint32_t primitiveCount) {
  d->DrawIndexedPrimitive(mesh.primitiveType, 0, 0, mesh.vertices.count, startIndex,
                          primitiveCount);
}

// A quad batch's triangles, block by block, so that batches past 16,384 quads draw whole.
void DrawQuads(gfx::Device* d, const IndexedMesh& mesh, uint32_t startIndex,
               uint32_t primitiveCount) {
  DrawIndexedQuads(*d, mesh.primitiveType, mesh.vertices.count, startIndex, primitiveCount);
}

// Begin, every pass with `draw` inside it, End.
template <class Draw>
void ForEachPass(gfx::Effect* effect, Draw draw) {
  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  for (uint32_t i = 0; i < passes; ++i) {
    effect->BeginPass(i);
    draw();
    effect->EndPass();
  }
  effect->End();
}

}  // namespace

void DS_2D_Light::SetViewProjection() {
  if (const RenderContext* context = RenderContextTlsSlot::Get()) context->ApplyViewProjection();
}

void DS_2D_Light::ApplyBlendOverrides() {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  if (renderFlags & (kLayerSplit | kFreshTarget)) {
    d->SetRenderState(RenderState::DestBlend, gfx::Blend::Zero);
    d->SetRenderState(RenderState::SrcBlend, gfx::Blend::One);
  }
  if (renderFlags & kSourceOne) d->SetRenderState(RenderState::SrcBlend, gfx::Blend::One);
}

void DS_2D_Light::DrawIndexedTex(const IndexedMesh& mesh, gfx::Effect* effect) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || effect == nullptr) return;
  SetViewProjection();
  SetWorld(mesh.node);
  if (!BindIndexed(d, mesh, kTexFvf, 20)) return;
  ForEachPass(effect, [&] { DrawIndexed(d, mesh, 0, mesh.primitiveCount); });
}

void DS_2D_Light::DrawTexWithEffect(const SimpleMesh& mesh, gfx::Effect* effect) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || effect == nullptr || !mesh.vertices.buffer) return;
  SetViewProjection();
  SetWorld(mesh.node);
  d->SetFVF(kTexFvf);
  d->SetStreamSource(0, mesh.vertices.buffer.Get(), 0, 20);
  ForEachPass(effect, [&] {
    ApplyBlendOverrides();
    d->DrawPrimitive(mesh.primitiveType, 0, mesh.primitiveCount);
  });
}

void DS_2D_Light::DrawWithEffect(const SimpleMesh& mesh, gfx::Effect* effect) {
  DrawTexWithEffect(mesh, effect);
}

void DS_2D_Light::DrawIndexedColorTex(const IndexedMesh& mesh, gfx::Effect* effect) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || effect == nullptr) return;
  SetViewProjection();
  SetWorld(mesh.node);
  if (!BindIndexed(d, mesh, kColorTexFvf, 24)) return;
  ForEachPass(effect, [&] { DrawQuads(d, mesh, 0, mesh.primitiveCount); });
}

void DS_2D_Light::DrawIndexedColorTexBlend(const IndexedMesh& mesh, gfx::Effect* effect,
                                           gfx::EffectHandle technique, uint32_t primitiveCount) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || effect == nullptr || !mesh.vertices.buffer || !mesh.indices) return;
  SetViewProjection();
  SetWorld(mesh.node);
  effect->SetTechnique(technique);
  ForEachPass(effect, [&] {
    ApplyBlendOverrides();
    BindIndexed(d, mesh, kColorTexFvf, 24);
    DrawQuads(d, mesh, 0, primitiveCount);
  });
}

void DS_2D_Light::DrawIndexedMesh(const IndexedMesh& mesh, gfx::Effect* effect, uint32_t firstQuad,
                                  uint32_t quadCount) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  SetViewProjection();
  SetWorld(mesh.node);
  const uint32_t start = 6 * firstQuad, primitives = 2 * quadCount;
  if (effect != nullptr) {
    if (!BindIndexed(d, mesh, kColorTexFvf, 24)) return;
    ForEachPass(effect, [&] { DrawQuads(d, mesh, start, primitives); });
    return;
  }
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
  d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
  if (!BindIndexed(d, mesh, kColorTexFvf, 24)) return;
  DrawQuads(d, mesh, start, primitives);
}

void DS_2D_Light::DrawFrameList(const MeshPart& part) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  SetViewProjection();
  if (part.twoSided) d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetTexture(0, part.picture.Get());
  if (BindIndexed(d, part, kNormalTexFvf, MeshGeometry::kStride)) {
    const int walks = part.twoSided ? 2 : 1;
    for (int walk = 0; walk < walks; ++walk) {
      for (const TransformNode* node : part.placements) {
        if (node == nullptr) continue;
        SetWorld(*node);
        // The winding flag marks mirrored placements; the second walk draws the other faces.
        const bool mirrored = node->flag != 0;
        d->SetRenderState(RenderState::CullMode,
                          mirrored != (walk == 1) ? gfx::Cull::CCW : gfx::Cull::CW);
        DrawIndexed(d, part, 0, part.primitiveCount);
      }
    }
  }
  d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
}

void DS_2D_Light::DrawFrameTree(const MeshGeometry& mesh) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  SetViewProjection();
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  d->SetTexture(0, mesh.picture.Get());
  if (BindIndexed(d, mesh, kNormalTexFvf, MeshGeometry::kStride)) {
    for (const TransformNode* child : mesh.node.children) {
      if (child == nullptr) continue;
      SetWorld(*child);
      d->SetRenderState(RenderState::CullMode, gfx::Cull::CCW);
      DrawIndexed(d, mesh, 0, mesh.primitiveCount);
      d->SetRenderState(RenderState::CullMode, gfx::Cull::CW);
      DrawIndexed(d, mesh, 0, mesh.primitiveCount);
    }
  }
  d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
}

void DS_2D_Light::DrawSpriteLayer(const SpriteLayer& layer) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  const IndexedMesh& mesh = layer.LayerMesh();
  SetViewProjection();
  SetWorld(mesh.node);
  d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
  gfx::Texture* second = layer.SecondTexture();
  const int blendMode = layer.BlendMode();
  d->SetRenderState(RenderState::DestBlend, second != nullptr || blendMode == 0
                                                ? gfx::Blend::InvSrcAlpha
                                                : gfx::Blend::One);
  ApplyBlendOverrides();
  d->SetTexture(0, layer.FrameTexture());
  if (BindIndexed(d, mesh, kColorTexFvf, 24)) {
    const uint32_t primitives = 2 * layer.QuadCount();
    DrawQuads(d, mesh, 0, primitives);
    if (second != nullptr) {
      d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
      d->SetTexture(0, second);
      if (blendMode == 1) d->SetRenderState(RenderState::DestBlend, gfx::Blend::One);
      DrawQuads(d, mesh, 0, primitives);
    }
  }
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
  d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
}

void DS_2D_Light::DrawCustom(CustomDrawable& drawable, void* argument) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  SetViewProjection();
  drawable.Prepare(argument);
  d->SetSamplerState(0, gfx::SamplerState::AddressU, gfx::TextureAddress::Mirror);
  d->SetSamplerState(0, gfx::SamplerState::AddressV, gfx::TextureAddress::Mirror);
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
  d->SetRenderState(RenderState::ZEnable, 0);
  d->SetTexture(0, drawable.Texture());
  const IndexedMesh& mesh = drawable.Mesh();
  if (BindIndexed(d, mesh, kTexFvf, 20)) DrawIndexed(d, mesh, 0, mesh.primitiveCount);
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
  d->SetTextureStageState(0, TextureStageState::TextureTransformFlags,
                          gfx::TextureTransform::Disable);
}

void DS_2D_Light::DrawFadeOverlay(const ColorQuadMesh* overlay) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || overlay == nullptr || !overlay->vertices.buffer) return;
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
  d->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Diffuse);
  d->SetFVF(ColorQuadMesh::kScreenFvf);
  d->SetStreamSource(0, overlay->vertices.buffer.Get(), 0, 20);
  d->DrawPrimitive(overlay->primitiveType, 0, overlay->primitiveCount);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Texture);
}

void DS_2D_Light::DrawColorQuad(const ColorQuadMesh& quad) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || !quad.vertices.buffer) return;
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
  d->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Diffuse);
  d->SetFVF(ColorQuadMesh::kWorldFvf);
  d->SetStreamSource(0, quad.vertices.buffer.Get(), 0, 16);
  d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Texture);
}

void DS_2D_Light::DrawScreenQuad(const TexturedScreenQuad& quad) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || !quad.vertices.buffer) return;
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
  d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
  d->SetRenderState(RenderState::ZEnable, 0);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
  d->SetTexture(0, quad.texture.Get());
  d->SetFVF(TexturedScreenQuad::kFvf);
  d->SetStreamSource(0, quad.vertices.buffer.Get(), 0, 28);
  d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
}
