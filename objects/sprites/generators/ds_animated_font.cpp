#include "objects/sprites/generators/ds_animated_font.h"

#include <algorithm>
#include <limits>

#include "core/link/ds_named_file_link.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/gfx/device.h"
#include "platform/math/d3dx_math.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

DS_AnimatedFont::DS_AnimatedFont() {
  animationSpeed.SetScale(0.01f, 0.0f);
}

bool DS_AnimatedFont::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_AnimatedFont", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteWideString(text.Value());
  io.WriteUInt32(animationSpeed.Value());
  io.WriteUInt32(scale.Value());
  for (const MediaParamT<unsigned>& value : values)
    io.WriteUInt32(value.Value());
  io.WriteInt32(intValue.Value());
  io.WriteDword(static_cast<uint32_t>(glyphMap.size()));
  for (const auto& [character, entry] : glyphMap) {
    io.WriteInt16(static_cast<int16_t>(character));
    io.WriteWideString(entry.name);
    io.WriteInt64(entry.id);
  }
  WriteImageLinks(archive, glyphPictures);
  return DS_StaticGenerator::Save(archive);
}

bool DS_AnimatedFont::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadWideString(text.RawValue());
  ReadChangedUInt32(archive, animationSpeed);
  ReadChangedUInt32(archive, scale);
  for (MediaParamT<unsigned>& value : values)
    io.ReadUInt32(value.RawValue());
  io.ReadInt32(intValue.RawValue());
  ReadGlyphMap(archive);
  ReadImageFileLinkVector(archive, glyphPictures);
  return DS_StaticGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_AnimatedFont::ReadGlyphMap(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  uint32_t n = 0;
  io.ReadDword(n);
  // An entry holds at least its character, an empty name's length and its id.
  if (!io.CountFits(n, 2 + 4 + 8)) return;
  for (uint32_t i = 0; i < n && !io.Failed(); ++i) {
    int16_t character = 0;
    GlyphEntry entry;
    io.ReadInt16(character);
    io.ReadWideString(entry.name);
    io.ReadInt64(entry.id);
    if (!io.Failed()) glyphMap.emplace(static_cast<char16_t>(character), std::move(entry));
  }
}

std::unique_ptr<DS_ParticleGenerator> DS_AnimatedFont::Clone() const {
  return std::make_unique<DS_AnimatedFont>(*this);
}

void DS_AnimatedFont::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_StaticGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
  if (DS_DocResManager* document = CurrentDocument()) {
    for (const DS_ImageFileLink& link : glyphPictures)
      glyphTextures.push_back(document->LoadModulePictures(link));
  }
  // Glyphs beyond the sources have no place and get no quad.
  const unsigned quads = static_cast<unsigned>(
      std::min({glyphTextures.size(), sources.size(), size_t{kMaxParticlesPerList}}));
  if (quads > 0) {
    obj.SetQuadCount(0, quads);
    if (obj.LockLayer(0)) {
      D3DXVECTOR3 low(std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), 0);
      D3DXVECTOR3 high = -low;
      unsigned i = 0;
      for (const GeneratorParticle& source : sources) {
        if (i == quads) break;
        const D3DXVECTOR3& p = source.position;
        const float w = static_cast<float>(glyphTextures[i].width);
        const float h = static_cast<float>(glyphTextures[i].height);
        const QuadVertices quad = {DX_V::PCT{p.x, p.y + h, p.z, 0xFFFFFFFF, 0.0f, 1.0f},
                                   DX_V::PCT{p.x, p.y, p.z, 0xFFFFFFFF, 0.0f, 0.0f},
                                   DX_V::PCT{p.x + w, p.y + h, p.z, 0xFFFFFFFF, 1.0f, 1.0f},
                                   DX_V::PCT{p.x + w, p.y, p.z, 0xFFFFFFFF, 1.0f, 0.0f}};
        obj.WriteQuad(0, i++, quad);
        low = D3DXVECTOR3(std::min(low.x, p.x), std::min(low.y, p.y), 0);
        high = D3DXVECTOR3(std::max(high.x, p.x + w), std::max(high.y, p.y + h), 0);
      }
      obj.UnlockLayer(0);
      const D3DXVECTOR3 corners[4] = {low, D3DXVECTOR3(low.x, high.y, 0),
                                      D3DXVECTOR3(high.x, low.y, 0), high};
      for (int k = 0; k < 4; ++k)
        unscaledBounds.corners[k].RawValue() = corners[k];
    }
  }
  // The block scaled by s about the position.
  const D3DXVECTOR3 p = position.Value();
  const float s = scale.Scaled();
  D3DXMATRIX to, scaling, back, m;
  D3DXMatrixTranslation(&to, -p.x, -p.y, -p.z);
  D3DXMatrixScaling(&scaling, s, s, s);
  D3DXMatrixTranslation(&back, p.x, p.y, p.z);
  D3DXMatrixMultiply(&m, &to, &scaling);
  D3DXMatrixMultiply(&m, &m, &back);
  TransformNode& node = obj.LayerNode(0);
  node.world = m;
  node.local = m;
  for (int k = 0; k < 4; ++k) {
    D3DXVECTOR3 corner;
    D3DXVec3TransformCoord(&corner, &unscaledBounds.corners[k].Value(), &m);
    bounds.corners[k].RawValue() = corner;
  }
}

void DS_AnimatedFont::Update(float t, DS_ParticlesObj& /*obj*/) {
  Step(animationSpeed, t);
  for (TextureFrameSet& set : glyphTextures)
    set.Advance(animationSpeed.localTime);
}

void DS_AnimatedFont::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || obj.LayerCount() == 0) return;
  const unsigned quads = obj.DrawnQuads(0);
  for (unsigned i = 0; i < quads && i < glyphTextures.size(); ++i) {
    device->SetTexture(0, glyphTextures[i].CurrentTexture().Get());
    renderer.DrawIndexedMesh(obj.Layer(0), effect.Get(), i, 1);
  }
}
