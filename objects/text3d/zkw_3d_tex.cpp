#include "objects/text3d/zkw_3d_tex.h"

#include "core/clock_step.h"
#include "core/param/param_reads.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "platform/math/d3dx_math.h"
#include "player/device/device_values.h"
#include "player/render/render_context.h"

namespace {

TextBox BoxOf(const MediaQuad& quad) {
  const D3DXVECTOR3& first = quad.corners[0].Value();
  const D3DXVECTOR3& last = quad.corners[3].Value();
  return {first.x, first.y, last.x, last.y};
}

void ReadPosition(DS_IOF_Virtual& io, MediaParamT<D3DXVECTOR3>& position) {
  D3DXVECTOR3& p = position.RawValue();
  io.ReadFloat(p.x);
  io.ReadFloat(p.y);
  io.ReadFloat(p.z);
}

}  // namespace

ZKW_3DTex::ZKW_3DTex() {
  glyphSpeed.SetScale(0.01f, 0.0f);
  glyphSpeed.SetValue(100);
  D3DXMatrixIdentity(&baseMatrix);
  D3DXMatrixIdentity(&objectMatrix);
}

bool ZKW_3DTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_3DTex", kVersion);
  DS_IOF_Virtual& io = archive.io();
  const D3DXVECTOR3& p = position.Value();
  io.WriteFloat(p.x);
  io.WriteFloat(p.y);
  io.WriteFloat(p.z);
  io.WriteUInt32(depth.Value());
  io.WriteInt32(spare);
  io.WriteUInt32(ambient.Value());
  io.WriteUInt32(lightAngleB.Value());
  io.WriteUInt32(lightAngleA.Value());
  io.WriteInt32(rotationAxis.Value());
  io.WriteInt32(objectMotion.Value());
  io.WriteUInt32(objectAmplitude.Value());
  io.WriteUInt32(objectSpeed.Value());
  io.WriteInt32(glyphMotion.Value());
  io.WriteInt32(glyphLoop.Value());
  io.WriteUInt32(glyphAmplitude.Value());
  io.WriteUInt32(glyphSpeed.Value());
  io.WriteUInt32(glyphDelay.Value());
  io.WriteUInt32(glyphPeriod.Value());
  WriteGlyphSet(archive, glyphs);
  io.WriteUInt32(arcAngle.Value());
  io.WriteInt32(arcSide.Value());
  return ZKW_Text::Save(archive);
}

bool ZKW_3DTex::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadPosition(io, position);
  ReadChangedUInt32(archive, depth);
  int32_t unused = 0;
  io.ReadInt32(unused);
  io.ReadUInt32(ambient.RawValue());
  io.ReadUInt32(lightAngleB.RawValue());
  io.ReadUInt32(lightAngleA.RawValue());
  io.ReadInt32(rotationAxis.RawValue());
  io.ReadInt32(objectMotion.RawValue());
  ReadChangedUInt32(archive, objectAmplitude);
  ReadChangedUInt32(archive, objectSpeed);
  io.ReadInt32(glyphMotion.RawValue());
  io.ReadInt32(glyphLoop.RawValue());
  io.ReadUInt32(glyphAmplitude.RawValue());
  ReadChangedUInt32(archive, glyphSpeed);
  ReadChangedUInt32(archive, glyphDelay);
  ReadChangedUInt32(archive, glyphPeriod);
  ReadGlyphs(archive);
  if (version >= 2) {
    ReadChangedUInt32(archive, arcAngle);
    io.ReadInt32(arcSide.RawValue());
  } else {
    arcAngle.SetValue(0);
    arcSide.RawValue() = 0;
  }
  return ZKW_Text::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_3DTex::ReadGlyphs(DS_IOF_Archive& archive) {
  mesh.Reset();
  ReadGlyphSet(archive, glyphs);
  MakeMesh();
}

void ZKW_3DTex::SetGlyphs(const GlyphSet& set) {
  glyphs = set;
  MakeMesh();
}

void ZKW_3DTex::MakeMesh() {
  glyphMatrices.assign(glyphs.glyphBounds.size(), D3DXMATRIX());
  for (D3DXMATRIX& m : glyphMatrices)
    D3DXMatrixIdentity(&m);
  mesh = glyphs.mesh.MakeMesh(CurrentDevice());
}

TextBox ZKW_3DTex::TextBounds() const {
  return BoxOf(glyphs.textBounds);
}

TextBox ZKW_3DTex::GlyphBounds(size_t glyph) const {
  return BoxOf(glyphs.glyphBounds[glyph]);
}

void ZKW_3DTex::Restart() {
  objectLast = objectPhase = 0.0f;
  glyphLast = glyphTime = 0.0f;
}

void ZKW_3DTex::Tick(float t) {
  const float size = static_cast<float>(text.font.size.Value());
  const TextBox bounds = TextBounds();
  const float cx = bounds.CentreX(), cy = bounds.CentreY();
  const float pivotZ = -Depth() * 0.5f;
  baseMatrix = TextBaseMatrix(size, position.Value(), cx, cy);

  if (objectSpeed.Value() == 0) {
    objectLast = objectPhase = 0.0f;
  } else {
    objectStep = objectSpeed.Scaled() * ClockStep(objectLast, t);
    objectPhase += objectStep;
  }
  D3DXVECTOR3 pivot;
  const D3DXVECTOR3 centre(cx, cy, pivotZ);
  D3DXVec3TransformCoord(&pivot, &centre, &baseMatrix);
  objectMatrix = baseMatrix * ObjectMotionMatrix(objectMotion.Value(), rotationAxis.Value(),
                                                 objectPhase, objectAmplitude.Scaled(), pivot);

  glyphStep = glyphSpeed.Scaled() * ClockStep(glyphLast, t);
  glyphTime += glyphStep;
  const float height = bounds.y1 - bounds.y0;
  const float arc = static_cast<float>(arcAngle.Value());
  for (size_t i = 0; i < glyphMatrices.size(); ++i) {
    const TextBox glyph = GlyphBounds(i);
    const float q = GlyphPhase(glyphTime, static_cast<int>(i), glyphDelay.Scaled(),
                               glyphLoop.Value(), glyphPeriod.Scaled(), glyphSpeed.Scaled());
    const D3DXVECTOR3 glyphCentre(glyph.CentreX(), glyph.CentreY(), pivotZ);
    glyphMatrices[i] =
        GlyphMotionMatrix(glyphMotion.Value(), q, static_cast<float>(glyphAmplitude.Value()),
                          height, glyphCentre) *
        ArcMatrix(arc, arcSide.Value(), bounds, glyph.CentreX());
  }
}

void ZKW_3DTex::Draw(DS_2D_Light& /*canvas*/) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  using gfx::RenderState, gfx::TextureStageState;
  d->SetTextureStageState(0, TextureStageState::ColorArg1, gfx::TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, gfx::TextureArg::Diffuse);
  d->SetTextureStageState(0, TextureStageState::ColorOp, gfx::TextureOp::Modulate);
  d->SetTexture(0, nullptr);

  const uint32_t level = ambient.Value() & 0xFF;
  d->SetRenderState(RenderState::NormalizeNormals, 1);
  d->SetRenderState(RenderState::ZEnable, gfx::ZBuffer::True);
  d->SetRenderState(RenderState::ZWriteEnable, 1);
  d->SetRenderState(RenderState::DitherEnable, 1);
  d->SetRenderState(RenderState::SpecularEnable, 1);
  d->SetRenderState(RenderState::Lighting, 1);
  d->SetRenderState(RenderState::Ambient, level << 24 | level << 16 | level << 8 | level);
  d->SetRenderState(RenderState::CullMode, gfx::Cull::CW);

  gfx::Light light;
  light.type = gfx::LightType::Directional;
  light.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
  light.direction = TextLightDirection(static_cast<float>(lightAngleA.Value()),
                                       static_cast<float>(lightAngleB.Value()));
  d->SetLight(0, &light);
  d->LightEnable(0, true);

  const uint32_t colour = text.font.color.Value();
  const gfx::ColorValue tint{static_cast<float>(colour & 0xFF) / 255.0f,
                             static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                             static_cast<float>((colour >> 16) & 0xFF) / 255.0f, 1.0f};
  gfx::Material material;
  material.diffuse = tint;
  material.ambient = tint;
  d->SetMaterial(&material);

  RenderContext* context = RenderContextTlsSlot::Get();
  if (context != nullptr) context->ApplyViewProjection();
  gfx::ComPtr<gfx::Surface> depthSurface;
  if (gfx::Succeeded(d->GetDepthStencilSurface(depthSurface.Put())))
    d->Clear(0, nullptr, gfx::ClearFlags::ZBuffer | gfx::ClearFlags::Stencil, 0, 1.0f, 0);

  if (mesh && context != nullptr) {
    for (size_t i = 0; i < glyphMatrices.size(); ++i) {
      context->SetWorldTransform(glyphMatrices[i] * objectMatrix);
      mesh->DrawSubset(static_cast<uint32_t>(i + 1));
    }
  }

  d->SetRenderState(RenderState::Lighting, 0);
  d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
  d->SetRenderState(RenderState::ZEnable, gfx::ZBuffer::False);
}
