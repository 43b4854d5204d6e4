// The appearance's record, copy and assignment.
#include "core/param/param_reads.h"
#include "particles/classic/appearance/particle_appearance.h"

namespace {

// The stored value of an oscillation whose amplitude counts whole units.
void MakeOffsetOscillation(OscillationParams& params) {
  params.amplitude.SetScale(1.0f, 0.0f);
  params.amplitude.SetValue(50);
}

void WriteQuadEnds(DS_IOF_Virtual& io, const PercentParamQuad& quad) {
  io.WriteUInt32(quad.riseEnd.Value());
  io.WriteUInt32(quad.fallStart.Value());
}

void AssignOscillation(OscillationParams& to, const OscillationParams& from) {
  to.mode.SetValue(from.mode.Value());
  to.frequency.SetValue(from.frequency.Value());
  to.amplitude.SetValue(from.amplitude.Value());
}

}  // namespace

ParticleAppearance::ParticleAppearance() {
  frameSpeed.SetScale(0.01f, 0.0f);
  spinSpeed.SetScale(0.05f, 0.0f);
  spinSpeed.SetValue(0);
  // The particles' own colours take the second mode value as their random-phase flag.
  colorSet.mode2.SetValueSilently(-1);
  glowSurface.reduction.RawValue() = 50;
  MakeOffsetOscillation(alongOscillation);
  MakeOffsetOscillation(acrossOscillation);
}

ParticleAppearance::ParticleAppearance(const ParticleAppearance& other)
    : shapeName(other.shapeName),
      picture(other.picture),
      effectLink(other.effectLink),
      frameSpeed(other.frameSpeed),
      framesBackwards(other.framesBackwards),
      flipVertical(other.flipVertical),
      flipHorizontal(other.flipHorizontal),
      colorSet(other.colorSet),
      size(other.size),
      sizeEnvelope(other.sizeEnvelope),
      sizeSpread(other.sizeSpread),
      opacityEnvelope(other.opacityEnvelope),
      opacitySpread(other.opacitySpread),
      spinDirection(other.spinDirection),
      spinSpeed(other.spinSpeed),
      spinSpread(other.spinSpread),
      blend(other.blend),
      orientation(other.orientation),
      startAngle(other.startAngle),
      angleSpread(other.angleSpread),
      glowMode(other.glowMode),
      glowColour(other.glowColour),
      glowBrightness(other.glowBrightness),
      glowPasses(other.glowPasses),
      opacityOscillation(other.opacityOscillation),
      sizeOscillation(other.sizeOscillation),
      flags(other.flags),
      gravityDirection(other.gravityDirection),
      gravity(other.gravity),
      airResistance(other.airResistance),
      alongOscillation(other.alongOscillation),
      acrossOscillation(other.acrossOscillation),
      frames(other.frames),
      effect(other.effect) {
  glowSurface.reduction.RawValue() = other.glowSurface.reduction.Value();
}

void ParticleAppearance::Save(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  WriteNamedFileLinkData(archive, picture.Value());
  WriteFileLink(archive, effectLink);
  io.WriteUInt32(frameSpeed.Value());
  io.WriteInt32(framesBackwards.Value());
  io.WriteInt32(flipVertical.Value());
  io.WriteInt32(flipHorizontal.Value());
  io.WriteUInt32(size.Value());
  WriteColorSetParams(archive, colorSet);
  WriteQuadEnds(io, sizeEnvelope);
  WriteQuadEnds(io, opacityEnvelope);
  io.WriteUInt32(sizeSpread.Value());
  io.WriteUInt32(opacitySpread.Value());
  io.WriteInt32(spinDirection.Value());
  io.WriteUInt32(spinSpeed.Value());
  io.WriteUInt32(spinSpread.Value());
  io.WriteInt32(blend.Value());
  io.WriteUInt32(sizeEnvelope.startFactor.Value());
  io.WriteUInt32(sizeEnvelope.endFactor.Value());
  // The opacity's start factor twice: the reader takes the second into the start factor too, so
  // that the end factor is never stored.
  io.WriteUInt32(opacityEnvelope.startFactor.Value());
  io.WriteUInt32(opacityEnvelope.startFactor.Value());
  io.WriteInt32(orientation.Value());
  io.WriteUInt32(startAngle.Value());
  io.WriteUInt32(angleSpread.Value());
  io.WriteInt32(glowMode.Value());
  io.WriteUInt32(glowSurface.reduction.Value());
  io.WriteDword(glowColour.Value());
  io.WriteUInt32(glowBrightness.Value());
  io.WriteInt32(glowPasses.Value());
  WriteFileLink(archive, DS_HLSLEffectFile(u"glimres.dll", 202));
  WriteOscillationParams(archive, opacityOscillation);
  WriteOscillationParams(archive, sizeOscillation);
  io.WriteDword(flags);
  io.WriteInt32(gravityDirection.Value());
  io.WriteUInt32(gravity.Value());
  io.WriteUInt32(airResistance.Value());
  WriteOscillationParams(archive, alongOscillation);
  WriteOscillationParams(archive, acrossOscillation);
}

void ParticleAppearance::SaveBlock(DS_IOF_Archive& archive) const {
  archive.io().WriteInt32(kVersion);
  archive.io().WriteWideString(shapeName.Value());
  Save(archive);
}

void ParticleAppearance::ReadBlock(DS_IOF_Archive& archive) {
  int32_t version = 0;
  archive.io().ReadInt32(version);
  archive.io().ReadWideString(shapeName.RawValue());
  Read(archive, version);
}

void ParticleAppearance::ReadPictureLinks(DS_IOF_Archive& archive) {
  DS_NamedFileLinkData& data = picture.RawValue();
  ReadImageFileLinkVector(archive, data.links);
  // Without links the picture keeps the name and id it has.
  if (data.links.empty()) return;
  data.currentName = data.links.front().name;
  data.currentId = data.links.front().id;
}

void ParticleAppearance::ReadLegacyColour(DS_IOF_Archive& archive) {
  uint32_t first = 0;
  archive.io().ReadDword(first);
  std::vector<uint32_t>& colours = colorSet.colors.RawValue();
  if (!archive.Failed()) {
    if (colours.empty()) colours.push_back(first);
    colours.front() = first;
  }
  ReadChangedUInt32(archive, colorSet.opacity);
}

void ParticleAppearance::Read(DS_IOF_Archive& archive, int32_t v) {
  DS_IOF_Virtual& io = archive.io();
  if (v >= 7) {
    ReadNamedFileLinkData(archive, picture.RawValue());
  } else {
    ReadPictureLinks(archive);
  }
  ReadEffectLink(archive, effectLink);
  ReadChangedUInt32(archive, frameSpeed);
  io.ReadInt32(framesBackwards.RawValue());
  io.ReadInt32(flipVertical.RawValue());
  io.ReadInt32(flipHorizontal.RawValue());
  io.ReadUInt32(size.RawValue());
  if (v >= 11) {
    ReadColorSetParams(archive, colorSet);
  } else {
    ReadLegacyColour(archive);
  }
  if (v >= 2) {
    ReadChangedUInt32(archive, sizeEnvelope.riseEnd);
    ReadChangedUInt32(archive, sizeEnvelope.fallStart);
    ReadChangedUInt32(archive, opacityEnvelope.riseEnd);
    ReadChangedUInt32(archive, opacityEnvelope.fallStart);
    ReadChangedUInt32(archive, sizeSpread);
    ReadChangedUInt32(archive, opacitySpread);
    io.ReadInt32(spinDirection.RawValue());
    ReadChangedUInt32(archive, spinSpeed);
    io.ReadUInt32(spinSpread.RawValue());
    io.ReadInt32(blend.RawValue());
  }
  if (v >= 3) {
    ReadChangedUInt32(archive, sizeEnvelope.startFactor);
    ReadChangedUInt32(archive, sizeEnvelope.endFactor);
    // The fourth factor is the opacity's start factor again, and the later value wins: the end
    // factor keeps what it was (0 when read into a new appearance), as projects have always
    // played.
    ReadChangedUInt32(archive, opacityEnvelope.startFactor);
    ReadChangedUInt32(archive, opacityEnvelope.startFactor);
  }
  if (v >= 4) {
    io.ReadInt32(orientation.RawValue());
    io.ReadUInt32(startAngle.RawValue());
    io.ReadUInt32(angleSpread.RawValue());
  } else {
    orientation.RawValue() = spinSpeed.Value() != 0 ? kSpinning : kFixed;
    startAngle.RawValue() = 0;
    angleSpread.RawValue() = 0;
  }
  if (v >= 5) {
    io.ReadInt32(glowMode.RawValue());
    io.ReadUInt32(glowSurface.reduction.RawValue());
    io.ReadDword(glowColour.RawValue());
    ReadChangedUInt32(archive, glowBrightness);
    io.ReadInt32(glowPasses.RawValue());
  }
  if (v >= 6) {
    DS_HLSLEffectFile dropped;
    ReadEffectLink(archive, dropped);
  }
  if (v >= 8) {
    ReadOscillationParams(archive, opacityOscillation);
    ReadOscillationParams(archive, sizeOscillation);
  }
  if (v >= 9) {
    io.ReadDword(flags);
    io.ReadInt32(gravityDirection.RawValue());
    ReadChangedUInt32(archive, gravity);
    ReadChangedUInt32(archive, airResistance);
  }
  if (v >= 10) {
    ReadOscillationParams(archive, alongOscillation);
    ReadOscillationParams(archive, acrossOscillation);
  }
}

void ParticleAppearance::Assign(const ParticleAppearance& o) {
  shapeName.SetValue(o.shapeName.Value());
  picture.SetValue(o.picture.Value());
  effectLink.name = o.effectLink.name;
  effectLink.id = o.effectLink.id;
  frameSpeed.SetValue(o.frameSpeed.Value());
  framesBackwards.SetValue(o.framesBackwards.Value());
  flipVertical.SetValue(o.flipVertical.Value());
  flipHorizontal.SetValue(o.flipHorizontal.Value());
  colorSet.mode1.SetValue(o.colorSet.mode1.Value());
  colorSet.mode2.SetValue(o.colorSet.mode2.Value());
  colorSet.colors.SetValue(o.colorSet.colors.Value());
  colorSet.opacity.SetValue(o.colorSet.opacity.Value());
  size.SetValue(o.size.Value());
  sizeEnvelope = o.sizeEnvelope;
  sizeSpread.SetValue(o.sizeSpread.Value());
  opacityEnvelope = o.opacityEnvelope;
  opacitySpread.SetValue(o.opacitySpread.Value());
  spinDirection.SetValue(o.spinDirection.Value());
  spinSpeed.SetValue(o.spinSpeed.Value());
  spinSpread.SetValue(o.spinSpread.Value());
  blend.SetValue(o.blend.Value());
  orientation.SetValue(o.orientation.Value());
  startAngle.SetValue(o.startAngle.Value());
  angleSpread.SetValue(o.angleSpread.Value());
  glowMode.SetValue(o.glowMode.Value());
  glowSurface.reduction.SetValue(o.glowSurface.reduction.Value());
  glowColour.SetValue(o.glowColour.Value());
  glowBrightness.SetValue(o.glowBrightness.Value());
  glowPasses.SetValue(o.glowPasses.Value());
  AssignOscillation(opacityOscillation, o.opacityOscillation);
  AssignOscillation(sizeOscillation, o.sizeOscillation);
  flags = o.flags;
  gravityDirection.SetValue(o.gravityDirection.Value());
  gravity.SetValue(o.gravity.Value());
  airResistance.SetValue(o.airResistance.Value());
  AssignOscillation(alongOscillation, o.alongOscillation);
  AssignOscillation(acrossOscillation, o.acrossOscillation);
}
