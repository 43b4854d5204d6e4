#include "tools/project_writer/demo_particles.h"

#include <memory>

#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_looks.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 10.0f;

// Colours are COLORREF words, 0x00BBGGRR.
constexpr uint32_t kYellow = 0x40E0FF;
constexpr uint32_t kOrange = 0x0080FF;
constexpr uint32_t kDeepRed = 0x0010A0;
constexpr uint32_t kGrey = 0x909090;
constexpr uint32_t kWater = 0xFFD090;
constexpr uint32_t kPaleLight = 0xC0F0FF;

// Where and how fast: the emitter in picture units, the direction and spread in degrees, the
// start speed (stored x 4 units a second) and the distance a particle flies.
void Aim(ZKW_BurstPtclSys& kind, float x, float y, unsigned direction, unsigned spread,
         unsigned speed, unsigned distance) {
  kind.emitter.point.RawValue() = {x, y, 0.0f};
  kind.sector.SetValue(direction);
  kind.sector.spread.SetValue(spread);
  kind.startSpeed.SetValue(speed);
  kind.distance.SetValue(distance);
}

// Gravity down the picture (stored x 5 units a second squared).
void Fall(ParticleAppearance& look, unsigned gravity) {
  look.flags |= ParticleAppearance::kGravity;
  look.gravityDirection.SetValue(1);
  look.gravity.SetValue(gravity);
}

std::unique_ptr<ZKW_FontainPtclSys> Sparks(const DemoParticlePictures& p) {
  auto sparks = std::make_unique<ZKW_FontainPtclSys>();
  ParticleAppearance& look = sparks->appearance;
  DressLook(look, p.sparkAtlas, 2, 2);
  look.size.SetValue(12);
  look.blend.SetValue(1);
  look.glowMode.SetValue(ParticleAppearance::kGlow);
  look.glowColour.SetValue(kOrange);
  FadeColours(look, kYellow, kOrange);
  look.opacityEnvelope.fallStart.SetValue(60);
  look.orientation.SetValue(ParticleAppearance::kSpinning);
  look.spinSpeed.SetValue(60);
  look.spinDirection.SetValue(2);
  Fall(look, 30);
  Aim(*sparks, 70, 215, 90, 35, 40, 150);
  sparks->counter.rate.SetValue(300);
  return sparks;
}

std::unique_ptr<DS_PtclFire> Fire(const DemoParticlePictures& p) {
  auto fire = std::make_unique<DS_PtclFire>();
  ParticleAppearance& look = fire->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(34);
  look.blend.SetValue(1);
  FadeColours(look, kOrange, kDeepRed);
  look.sizeEnvelope.fallStart.SetValue(30);
  look.sizeEnvelope.endFactor.SetValue(20);
  look.opacityEnvelope.riseEnd.SetValue(15);
  look.opacityEnvelope.fallStart.SetValue(50);
  look.gravity.SetValue(8);  // the flame speeds up along its direction
  look.sizeOscillation.mode.SetValue(OscillationParams::kPerlin);
  Aim(*fire, 150, 235, 90, 25, 6, 55);
  fire->counter.rate.SetValue(250);
  return fire;
}

std::unique_ptr<DS_PtclFireStream> FireStream(const DemoParticlePictures& p) {
  auto stream = std::make_unique<DS_PtclFireStream>();
  ParticleAppearance& look = stream->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(18);
  look.blend.SetValue(1);
  FadeColours(look, kYellow, kDeepRed);
  look.sizeEnvelope.startFactor.SetValue(40);
  look.sizeEnvelope.riseEnd.SetValue(60);
  look.opacityEnvelope.fallStart.SetValue(70);
  Aim(*stream, 215, 240, 60, 8, 25, 130);
  stream->counter.rate.SetValue(300);
  return stream;
}

std::unique_ptr<DS_PtclSmoke> Smoke(const DemoParticlePictures& p) {
  auto smoke = std::make_unique<DS_PtclSmoke>();
  ParticleAppearance& look = smoke->appearance;
  DressLook(look, p.smokePuff, 1, 1);
  look.size.SetValue(46);
  look.colorSet.colors.RawValue() = {kGrey};
  look.colorSet.opacity.SetValue(45);
  look.sizeEnvelope.riseEnd.SetValue(100);
  look.sizeEnvelope.startFactor.SetValue(25);
  look.opacityEnvelope.riseEnd.SetValue(20);
  look.opacityEnvelope.fallStart.SetValue(50);
  look.orientation.SetValue(ParticleAppearance::kSpinning);
  look.spinSpeed.SetValue(10);
  look.spinDirection.SetValue(2);
  look.airResistance.SetValue(60);
  smoke->wind.SetValue(54);  // 40 units a second to the right
  Aim(*smoke, 300, 240, 90, 20, 5, 70);
  smoke->counter.rate.SetValue(70);
  return smoke;
}

std::unique_ptr<DS_WaterJet> WaterJet(const DemoParticlePictures& p) {
  auto jet = std::make_unique<DS_WaterJet>();
  ParticleAppearance& look = jet->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(7);
  look.colorSet.colors.RawValue() = {kWater};
  look.colorSet.opacity.SetValue(20);
  look.sizeSpread.SetValue(50);
  look.orientation.SetValue(ParticleAppearance::kAlongVelocity);
  Fall(look, 36);
  Aim(*jet, 380, 262, 75, 6, 40, 330);
  jet->counter.rate.SetValue(600);
  return jet;
}

std::unique_ptr<DS_LightBeams> LightBeams(const DemoParticlePictures& p) {
  auto beams = std::make_unique<DS_LightBeams>();
  ParticleAppearance& look = beams->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(40);
  look.colorSet.colors.RawValue() = {kPaleLight};
  look.colorSet.opacity.SetValue(70);
  look.opacityEnvelope.riseEnd.SetValue(30);
  look.opacityEnvelope.fallStart.SetValue(60);
  look.glowMode.SetValue(ParticleAppearance::kScreenGlow);
  look.glowColour.SetValue(kPaleLight);
  look.glowBrightness.SetValue(60);
  Aim(*beams, 470, 40, 275, 30, 12, 170);
  beams->counter.rate.SetValue(60);
  return beams;
}

std::unique_ptr<ZKW_BurstPtclSys> Burst(const DemoParticlePictures& p) {
  auto burst = std::make_unique<ZKW_BurstPtclSys>();
  ParticleAppearance& look = burst->appearance;
  DressLook(look, p.sparkAtlas, 2, 2);
  look.size.SetValue(10);
  look.blend.SetValue(1);
  FadeColours(look, kPaleLight, kOrange);
  look.opacityEnvelope.fallStart.SetValue(50);
  Fall(look, 6);
  Aim(*burst, 520, 120, 90, 360, 22, 110);
  burst->count.SetValue(160);
  // Shown and hidden by turns; each fade-in bursts anew.
  RandomPhases(*burst, 100, 200, 30, 150, 250, 50);
  return burst;
}

}  // namespace

void AddParticleSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                      const DemoParticlePictures& pictures) {
  DS_SlideContainer& slide = AddSlideOn(project, background, kFadeSeconds, kHoldSeconds);
  // The first object is drawn last, on top.
  slide.savedObjects.push_back(Burst(pictures));
  slide.savedObjects.push_back(Sparks(pictures));
  slide.savedObjects.push_back(Fire(pictures));
  slide.savedObjects.push_back(FireStream(pictures));
  slide.savedObjects.push_back(Smoke(pictures));
  slide.savedObjects.push_back(WaterJet(pictures));
  slide.savedObjects.push_back(LightBeams(pictures));
}
