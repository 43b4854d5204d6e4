#include "objects/sprites/ds_explosion_constructor.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/gfx/effect/effect.h"

namespace {

// A COLORREF 0x00BBGGRR as red, green and blue in 0..1.
void ColourFloats(uint32_t colour, float out[3]) {
  out[0] = static_cast<float>(colour & 0xFF) / 255.0f;
  out[1] = static_cast<float>(colour >> 8 & 0xFF) / 255.0f;
  out[2] = static_cast<float>(colour >> 16 & 0xFF) / 255.0f;
}

TimingState StateOf(const ZKW_SmartTiming& timing) {
  const ZKW_Timing* timeline = timing.Current();
  return timeline != nullptr ? timeline->GetState() : TimingState::Shown;
}

}  // namespace

DS_ExplosionConstructor::DS_ExplosionConstructor() {
  size.SetValue(250);
  motionRate.SetValue(100);
  driftSpeed.SetValue(50);
  driftSpeed.SetScale(0.005f, 0.0f);
}

bool DS_ExplosionConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ExplosionConstructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (const MediaParamT<unsigned>* value : std::initializer_list<const MediaParamT<unsigned>*>{
           &noiseAmount, &noiseScale1, &noiseScale2, &driftDirection, &driftSpeed})
    io.WriteUInt32(value->Value());
  io.WriteUInt32(seed.Value());
  io.WriteInt32(randomNoise.Value());
  io.WriteDword(secondColour.Value());
  return DS_StatBaseFXCtrl::Save(archive);
}

bool DS_ExplosionConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, noiseAmount);
  ReadChangedUInt32(archive, noiseScale1);
  ReadChangedUInt32(archive, noiseScale2);
  io.ReadUInt32(driftDirection.RawValue());
  driftDirection.Recompute();
  ReadChangedUInt32(archive, driftSpeed);
  // Fade-in, shown, fade-out and two parts of the hidden time, in milliseconds.
  uint32_t legacy[5] = {0, 0, 0, 0, 0};
  if (version < 2) {
    for (uint32_t& value : legacy)
      io.ReadUInt32(value);
  }
  io.ReadUInt32(seed.RawValue());
  io.ReadInt32(randomNoise.RawValue());
  io.ReadDword(secondColour.RawValue());
  const bool result = DS_StatBaseFXCtrl::ReadBody(archive, ReadBaseHeader(archive));
  if (version < 2) {
    const auto hundredths = [](uint64_t milliseconds) {
      return static_cast<unsigned>(milliseconds / 10);
    };
    UseFixedRandomTimeline(timing, hundredths(uint64_t{legacy[3]} + legacy[4]),
                           hundredths(legacy[1]), hundredths(legacy[0]), hundredths(legacy[2]));
  }
  return result;
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_ExplosionConstructor::Clone() const {
  return std::make_unique<DS_ExplosionConstructor>(*this);
}

void DS_ExplosionConstructor::Restart() {
  previousNoiseShift = noiseShift = D3DXVECTOR2(0, 0);
  explosionNumber = 1;
  driftSpeed.localTime = 0.0f;
  driftSpeed.lastTime = 0.0;
}

void DS_ExplosionConstructor::PrepareEffect() {
  DS_StatBaseFXCtrl::PrepareEffect();
  gradientTexture = CurrentPictureTexture(picture);
  noiseTexture = CurrentPictureTexture(secondPicture);
  NextNoiseShift();
}

void DS_ExplosionConstructor::NextNoiseShift() {
  if (randomNoise.Value() != 0) {
    const float x = crt_rand_unit();
    noiseShift = D3DXVECTOR2(x, crt_rand_unit());
    return;
  }
  // The n-th pair after seeding: the pairs before it are skipped at once.
  crt_srand(seed.Value());
  crt_rand_discard(2 * static_cast<uint64_t>(std::max(explosionNumber, 1) - 1));
  const float x = crt_rand_unit();
  noiseShift = D3DXVECTOR2(x, crt_rand_unit());
  explosionNumber += 1;
}

void DS_ExplosionConstructor::UpdateParticle(SpriteRecord& sprite) {
  driftSpeed.Advance(motionElapsed);
  const TimingState state = StateOf(timing);
  if (state == TimingState::Hidden) {
    previousNoiseShift = noiseShift = D3DXVECTOR2(0, 0);
    explosionNumber = 1;
    driftSpeed.lastTime = 0.0;
    driftSpeed.localTime = 0.0f;
  }
  sprite.centre = position.Value();
  float k = 1.0f;
  if (state == TimingState::FadingIn) {
    const float v = TimelineValue();
    sprite.alphaFactor = std::min(v * 5.0f, 1.0f);
    sprite.colour = SpriteColour(sprite.alphaFactor);
    k = v * 3.0f * 0.25f + 0.25f;
  }
  const float half = state == TimingState::Hidden ? 0.0f : static_cast<float>(size.Value() / 2) * k;
  sprite.halfWidth = sprite.halfHeight = half;
}

bool DS_ExplosionConstructor::SetEffectParameters(DS_2D_Light& /*renderer*/,
                                                  ParticleGeomArray& /*sprites*/) {
  float whole = 0.0f;
  const float fraction = std::modf(motionElapsed, &whole);
  if (whole > shiftSecond) {
    previousNoiseShift = noiseShift;
    NextNoiseShift();
    shiftSecond = whole;
  }
  gfx::Effect* e = effect.Get();
  if (e == nullptr) return true;
  float colour1[3], colour2[3];
  ColourFloats(colour.Value(), colour1);
  ColourFloats(secondColour.Value(), colour2);
  const D3DXVECTOR4& direction = driftDirection.Direction();
  const float dx = -direction.x * driftSpeed.localTime;
  const float dy = -direction.y * driftSpeed.localTime;
  const TimingState state = StateOf(timing);
  const float v = TimelineValue();
  const float p3 = state == TimingState::FadingOut ? 1.0f - v : 0.0f;
  const float p1 = state == TimingState::FadingIn ? (1.0f - v) * 2.0f : 0.0f;
  const float shift[4] = {previousNoiseShift.x + dx, previousNoiseShift.y + dy, noiseShift.x + dx,
                          noiseShift.y + dy};
  const float params[3] = {noiseAmount.Scaled(), noiseScale1.Scaled(), noiseScale2.Scaled()};
  const float time[2] = {fraction, 1.0f - fraction};
  const float phase3[2] = {p3, 1.0f - p3};
  e->SetTechnique("Main");
  e->SetTexture("GradientTex", gradientTexture.Get());
  e->SetTexture("NoiseTex", noiseTexture.Get());
  e->SetFloatArray("color1", colour1, 3);
  e->SetFloatArray("color2", colour2, 3);
  e->SetFloatArray("noise_shift", shift, 4);
  e->SetFloatArray("noise_params", params, 3);
  e->SetFloatArray("time", time, 2);
  e->SetFloatArray("phase_3rd", phase3, 2);
  e->SetFloat("phase_1st", p1);
  return true;
}
