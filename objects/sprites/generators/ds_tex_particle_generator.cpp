#include "objects/sprites/generators/ds_tex_particle_generator.h"

#include "core/link/ds_named_file_link.h"
#include "platform/gfx/descs.h"
#include "player/document/doc_res_manager.h"
#include "player/render/device_desc.h"
#include "player/render/render_target_set.h"

DS_TexParticleGenerator::DS_TexParticleGenerator() : maskKey{GUID::Create(), {}, 1} {}

bool DS_TexParticleGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_TexParticleGenerator", kVersion);
  WriteImageLinks(archive, pictures);
  WriteFileLink(archive, effectLink);
  WriteColorAlphaParam(archive, colour1);
  WriteColorAlphaParam(archive, colour2);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(blendMode.Value());
  io.WriteInt32(secondMode.Value());
  io.WriteInt32(thirdMode.Value());
  io.WriteInt32(modulePictures);
  return DS_ParticleGenerator::Save(archive);
}

bool DS_TexParticleGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadImageFileLinkVector(archive, pictures);
  ReadEffectLink(archive, effectLink);
  ReadColorAlphaParam(archive, colour1);
  ReadColorAlphaParam(archive, colour2);
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(blendMode.RawValue());
  if (version < 2) {
    secondMode.SetValue(0);
    thirdMode.SetValue(0);
  } else {
    io.ReadInt32(secondMode.RawValue());
    io.ReadInt32(thirdMode.RawValue());
    if (version >= 3) io.ReadInt32(modulePictures);
  }
  return DS_ParticleGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

PictureRef* DS_TexParticleGenerator::GetPicture(PictureRef* out) {
  if (pictures.empty()) return DS_ParticleGenerator::GetPicture(out);
  *out = PictureRef{&pictures.front(), modulePictures, false, 1.0f};
  return out;
}

void DS_TexParticleGenerator::AttachRuntimeObject(DS_ParticlesObj& obj) {
  runtimeObject = &obj;
  DS_DocResManager* document = CurrentDocument();
  std::vector<TextureFrameSet> sets;
  if (document != nullptr) {
    sets.reserve(pictures.size());
    for (const DS_ImageFileLink& link : pictures)
      sets.push_back(modulePictures != 0 ? document->LoadModulePictures(link)
                                         : document->GetImageTextures(link));
  }
  textures = std::move(sets);
  effect = document != nullptr ? document->GetEffect(effectLink) : ComRef<gfx::Effect>();
}

void DS_TexParticleGenerator::CreateMaskTarget() {
  DS_DocResManager* document = CurrentDocument();
  if (document == nullptr) return;
  gfx::SurfaceDesc backBuffer;
  GetBackBufferDesc(backBuffer);
  maskTarget = document->GetGuidRenderTarget(maskKey);
  // A mask that cannot be made stays empty: the kinds then draw without it.
  (void)maskTarget->Create(backBuffer.width, backBuffer.height);
}

bool DS_TexParticleGenerator::CanDrawMask() const {
  return effect && maskTarget != nullptr && maskTarget->current;
}

int DS_TexParticleGenerator::NeedsTarget() const {
  const int mode = blendMode.Value();
  return (mode == 1 || mode == 2) && CanDrawMask() ? 1 : 0;
}

gfx::Texture* DS_TexParticleGenerator::PictureTexture(size_t i) const {
  if (i >= textures.size()) return nullptr;
  const TextureFrameSet& set = textures[i];
  return set.frameIndex < set.textures.size() ? set.textures[set.frameIndex].Get() : nullptr;
}
