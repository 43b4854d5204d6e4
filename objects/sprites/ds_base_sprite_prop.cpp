#include "objects/sprites/ds_base_sprite_prop.h"

#include <algorithm>
#include <limits>

#include "core/float_to_int.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/document/doc_res_manager.h"

uint32_t ColourWithAlpha(uint32_t colour, float alpha) {
  const uint32_t a = static_cast<uint32_t>(std::clamp(SaturatingTruncate<int>(alpha), 0, 255));
  return a << 24 | (colour & 0x00FFFFFFu);
}

DS_BaseSpriteProp::DS_BaseSpriteProp() {
  speed.SetValue(100);
  speed.SetScale(0.01f, 0.0f);
}

DS_BaseSpriteProp::DS_BaseSpriteProp(const DS_BaseSpriteProp& other) = default;

DS_BaseSpriteProp::~DS_BaseSpriteProp() = default;

bool DS_BaseSpriteProp::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BaseSpriteProp", kVersion);
  DS_ViewObjCtrl::Save(archive);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(count.Value());
  io.WriteUInt32(size.Value());
  io.WriteUInt32(transparency.Value());
  io.WriteInt32(blendMode.Value());
  io.WriteDword(colour.Value());
  for (float value : {pulseRate, pulseMin, pulseMax, sizeFactorMin, sizeFactorMax})
    io.WriteFloat(value);
  // Registered as pictures, so that the document stores them with their textures to be made.
  for (const DS_ImageFileLink* link : {&picture, &secondPicture}) {
    RegisterSavedLinkWithDocument(*link);
    WriteFileLink(archive, *link);
  }
  io.WriteUInt32(spareCount);
  io.WriteFloat(spareRate);
  io.WriteUInt32(frameCount);
  io.WriteFloat(frameRate);
  io.WriteBool(frameStrip);
  io.WriteInt32(pictureSource);
  io.WriteInt32(verticalFlip.Value());
  io.WriteInt32(horizontalFlip.Value());
  io.WriteInt32(frameLockedMotion.Value());
  io.WriteUInt32(speed.Value());
  return true;
}

bool DS_BaseSpriteProp::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  const bool result = DS_ViewObjCtrl::ReadBody(archive, ReadBaseHeader(archive));
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(count.RawValue());
  if (version < 3) io.ReadUInt32(motionRate.RawValue());
  io.ReadUInt32(size.RawValue());
  ReadChangedUInt32(archive, transparency);
  io.ReadInt32(blendMode.RawValue());
  io.ReadDword(colour.RawValue());
  for (float* value : {&pulseRate, &pulseMin, &pulseMax, &sizeFactorMin, &sizeFactorMax})
    io.ReadFloat(*value);
  if (version == 1) {
    archive.ReadResourceRecordList(embeddedFrames);
    io.ReadResourceRecord(embeddedSecondPicture);
  } else {
    ReadFileLink(archive, picture);
    ReadFileLink(archive, secondPicture);
  }
  io.ReadUInt32(spareCount);
  io.ReadFloat(spareRate);
  io.ReadUInt32(frameCount);
  io.ReadFloat(frameRate);
  io.ReadBool(frameStrip);
  if (version == 1) {
    ReadFloatArray(archive, embeddedDelays);
    return result;
  }
  if (version > 3) io.ReadInt32(pictureSource);
  if (version > 4) {
    io.ReadInt32(verticalFlip.RawValue());
    io.ReadInt32(horizontalFlip.RawValue());
  }
  if (version > 5) io.ReadInt32(frameLockedMotion.RawValue());
  if (version > 6) ReadChangedUInt32(archive, speed);
  return result;
}

PictureRef* DS_BaseSpriteProp::GetPicture(PictureRef* out) {
  *out = PictureRef{&picture, pictureSource, false,
                    1.0f / static_cast<float>(frameCount != 0 ? frameCount : 1)};
  return out;
}

void DS_BaseSpriteProp::AppendImageLinks(std::vector<DS_ImageFileLink>& links) {
  links.push_back(picture);
}

bool DS_BaseSpriteProp::SplitExportBlock(int& frames) {
  return frames > 10;
}

void DS_BaseSpriteProp::SpawnParticle(SpriteRecord& /*sprite*/) {}

void DS_BaseSpriteProp::UpdateParticle(SpriteRecord& /*sprite*/) {}

unsigned DS_BaseSpriteProp::NextFrame(unsigned frame) {
  return (frame + 1) % FrameCount();
}

int DS_BaseSpriteProp::ParticleCount() {
  return static_cast<int>(std::min<unsigned>(count.Value(), std::numeric_limits<int>::max()));
}

uint32_t DS_BaseSpriteProp::ApplyOpacity(uint32_t c) {
  return ColourWithAlpha(c, static_cast<float>(c >> 24) * TimelineValue());
}

float DS_BaseSpriteProp::TimelineValue() const {
  const ZKW_Timing* timeline = timing.Current();
  return timeline != nullptr ? timeline->GetValue() : 1.0f;
}

uint32_t DS_BaseSpriteProp::SpriteColour(float alphaFactor) const {
  const uint32_t c = colour.Value();
  const uint32_t rgb = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
  return ColourWithAlpha(rgb, static_cast<float>(transparency.Scaled()) * alphaFactor);
}

void DS_BaseSpriteProp::ApplyHalfSize(SpriteRecord& sprite) const {
  const float s = static_cast<float>(size.Value()) * sprite.sizeFactor * 0.5f;
  if (sprite.aspect < 1.0f) {
    sprite.halfWidth = s;
    sprite.halfHeight = s * sprite.aspect;
  } else {
    sprite.halfWidth = s / sprite.aspect;
    sprite.halfHeight = s;
  }
}

float DS_BaseSpriteProp::PictureAspect() const {
  DS_DocResManager* document = CurrentDocument();
  float aspect = 1.0f;
  if (document != nullptr && !picture.name.empty()) {
    aspect = pictureSource == 2 ? document->BuildLinkTextures(picture, D3DX_FILTER_TRIANGLE).aspect
                                : document->GetImageTextures(picture).aspect;
  }
  if (frameStrip) aspect *= static_cast<float>(FrameCount());
  return aspect;
}

void DS_BaseSpriteProp::ResolveEmbeddedPictures() {
  if (!picture.name.empty()) return;
  DS_DocResManager* document = CurrentDocument();
  if (document != nullptr) {
    const DS_ImageFileLink frames = document->RegisterFramePictures(embeddedFrames, embeddedDelays);
    picture.name = frames.name;
    picture.id = frames.id;
    if (embeddedSecondPicture.resourceId != 0) {
      const DS_ImageFileLink second = document->RegisterModulePicture(embeddedSecondPicture);
      secondPicture.name = second.name;
      secondPicture.id = second.id;
    }
  }
  embeddedFrames.clear();
  embeddedDelays.clear();
}

ComRef<gfx::Texture> CurrentPictureTexture(const DS_ImageFileLink& link) {
  DS_DocResManager* document = CurrentDocument();
  if (document == nullptr || link.name.empty()) return {};
  return document->GetImageTextures(link).CurrentTexture();
}
