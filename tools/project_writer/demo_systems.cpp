#include "tools/project_writer/demo_systems.h"

#include <memory>

#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/field_ptcl_sys.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/kinds/single_object_path.h"
#include "particles/classic/kinds/splash_ptcl_sys.h"
#include "particles/classic/kinds/spray_presets.h"
#include "particles/classic/kinds/static_object.h"
#include "particles/classic/kinds/stream_ptcl_sys.h"
#include "particles/classic/kinds/through_space_ctrl.h"
#include "particles/classic/kinds/vortex_ptcl_sys.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_looks.h"
#include "tools/project_writer/demo_particles.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 10.0f;
constexpr float kWidth = 575.0f, kHeight = 269.0f;

// Colours are COLORREF words, 0x00BBGGRR.
constexpr uint32_t kGlassWhite = 0xFFF0E0;
constexpr uint32_t kFireflyGreen = 0x40FFC0;
constexpr uint32_t kStarWhite = 0xFFF8F0;
constexpr uint32_t kWarmWhite = 0xB0E8FF;
constexpr uint32_t kAmber = 0x3090FF;
constexpr uint32_t kRose = 0x9060FF;
constexpr uint32_t kMistWhite = 0xF0F0F0;
constexpr uint32_t kSmokeGrey = 0x808890;
constexpr uint32_t kSky = 0xFFC080;
constexpr uint32_t kGold = 0x40C0FF;

DS_SlideContainer& AddSlideOn(ProjectBuilder& project, const DS_ImageFileLink& background) {
  return AddSlideOn(project, background, kFadeSeconds, kHoldSeconds);
}

// One colour, seen through `transparency` percent.
void Colour(ParticleAppearance& look, uint32_t colour, unsigned transparency) {
  look.colorSet.colors.RawValue() = {colour};
  look.colorSet.mode1.SetValue(0);
  look.colorSet.opacity.SetValue(transparency);
}

// A fade in over the first `rise` percent of the life and out from `fall` percent on.
void Fade(ParticleAppearance& look, unsigned rise, unsigned fall) {
  look.opacityEnvelope.riseEnd.SetValue(rise);
  look.opacityEnvelope.fallStart.SetValue(fall);
}

// Rain on the glass in front of the sea: drops land, slide down, merge and run off.
std::unique_ptr<DS_RainOnGlass> Rain(const DemoSystemPictures& p) {
  auto rain = std::make_unique<DS_RainOnGlass>();
  ParticleAppearance& look = rain->appearance;
  DressLook(look, p.dropAtlas, 2, 2);
  look.size.SetValue(16);
  Colour(look, kGlassWhite, 10);
  look.angleSpread.SetValue(25);
  rain->pane.rect.SetRect(kWidth, kHeight, D3DXVECTOR3(kWidth / 2, kHeight / 2, 0));
  rain->counter.rate.SetValue(120);  // 24 drops a second
  rain->slideForce.SetValue(90);
  rain->flow.SetValue(270);  // down the glass
  return rain;
}

std::unique_ptr<ZKW_Firefly> Fireflies(const DemoSystemPictures& p) {
  auto flies = std::make_unique<ZKW_Firefly>();
  ParticleAppearance& look = flies->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(9);
  look.blend.SetValue(1);
  Colour(look, kFireflyGreen, 0);
  look.glowMode.SetValue(ParticleAppearance::kGlow);
  look.glowColour.SetValue(kFireflyGreen);
  ParticleAppearance& trail = flies->tracer.look;
  DressLook(trail, p.softSpot, 1, 1);
  trail.size.SetValue(5);
  trail.blend.SetValue(1);
  Colour(trail, kFireflyGreen, 40);
  Fade(trail, 0, 20);
  flies->tracer.lifetime.SetValue(90);  // 0.9 s
  flies->tracer.counter.rate.SetValue(40);
  flies->tracer.circleSize.SetValue(40);
  flies->tracer.expansion.SetValue(60);  // drifting off a little
  flies->count.SetValue(14);
  flies->walkSpeed.SetValue(12);
  flies->changeRate.SetValue(60);
  flies->accelerationTime.SetValue(30);
  flies->region.rect.SetRect(260, 90, D3DXVECTOR3(170, 190, 0));
  return flies;
}

std::unique_ptr<ZKW_BrownAnimation> Swarm(const DemoSystemPictures& p) {
  auto swarm = std::make_unique<ZKW_BrownAnimation>();
  ParticleAppearance& look = swarm->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(6);  // of the 64-pixel spot
  look.blend.SetValue(1);
  Colour(look, kWarmWhite, 20);
  swarm->count.SetValue(40);
  swarm->walkSpeed.SetValue(8);
  swarm->changeRate.SetValue(150);
  swarm->accelerationTime.SetValue(5);
  swarm->region.rect.SetRect(90, 50, D3DXVECTOR3(470, 200, 0));
  return swarm;
}

// Stars that come and go on fixed places of the sky.
std::unique_ptr<ZKW_FieldPtclSys> StarField(const DemoSystemPictures& p) {
  auto stars = std::make_unique<ZKW_FieldPtclSys>();
  ParticleAppearance& look = stars->appearance;
  DressLook(look, p.sparkAtlas, 2, 2);
  look.size.SetValue(9);
  look.blend.SetValue(1);
  Colour(look, kStarWhite, 0);
  Fade(look, 40, 60);
  std::vector<D3DXVECTOR3> places;
  uint32_t seed = 12345;
  for (int i = 0; i < 60; ++i) {
    seed = seed * 1103515245u + 12345u;
    const float x = float((seed >> 8) % 575);
    seed = seed * 1103515245u + 12345u;
    const float y = float((seed >> 8) % 110);
    places.push_back({x, y, 0});
  }
  stars->slots.SetPositions(places);
  stars->fill.SetValue(50);
  stars->lifetime.SetValue(300);
  return stars;
}

std::unique_ptr<DS_BokehLights> Bokeh(const DemoSystemPictures& p) {
  auto bokeh = std::make_unique<DS_BokehLights>();
  ParticleAppearance& look = bokeh->appearance;
  DressLook(look, p.bokehDisc, 1, 1);
  look.size.SetValue(34);
  look.blend.SetValue(1);
  look.colorSet.colors.RawValue() = {kAmber, kRose, kWarmWhite};
  look.colorSet.mode1.SetValue(2);
  look.colorSet.mode2.SetValue(1);  // a colour per light
  look.colorSet.opacity.SetValue(55);
  look.sizeSpread.SetValue(50);
  Fade(look, 30, 60);
  bokeh->rectEmitter.rect.SetRect(kWidth, 60, D3DXVECTOR3(kWidth / 2, 230, 0));
  bokeh->lifetime.SetValue(450);
  bokeh->flight.SetValue(90);
  bokeh->flight.spread.SetValue(40);
  bokeh->flightSpeed.SetValue(6);
  bokeh->counter.rate.SetValue(15);
  return bokeh;
}

// A flight through space towards the moonlit middle, its stars in a screen glow.
std::unique_ptr<ZKW_ThroughSpaceCtrl> Flight(const DemoSystemPictures& p) {
  auto flight = std::make_unique<ZKW_ThroughSpaceCtrl>();
  ParticleAppearance& look = flight->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(3);
  look.blend.SetValue(1);
  Colour(look, kStarWhite, 0);
  Fade(look, 10, 100);
  look.glowMode.SetValue(ParticleAppearance::kScreenGlow);
  look.glowColour.SetValue(kSky);
  look.glowBrightness.SetValue(40);
  flight->area.rect.SetRect(kWidth, kHeight, D3DXVECTOR3(kWidth / 2, kHeight / 2, 0));
  flight->centre.SetValue(D3DXVECTOR3(kWidth / 2, kHeight / 2, 0));
  flight->counter.rate.SetValue(150);
  flight->flightSpeed.SetValue(100);
  flight->rotationSpeed.SetValue(10);
  return flight;
}

std::unique_ptr<DS_PtclFog> Fog(const DemoSystemPictures& p) {
  auto fog = std::make_unique<DS_PtclFog>();
  ParticleAppearance& look = fog->appearance;
  DressLook(look, p.smokePuff, 1, 1);
  look.size.SetValue(170);
  Colour(look, kMistWhite, 80);
  Fade(look, 30, 70);
  look.orientation.SetValue(ParticleAppearance::kSpinning);
  look.spinSpeed.SetValue(300);  // 0.15 radians a second
  look.spinDirection.SetValue(2);
  fog->rectEmitter.rect.SetRect(kWidth + 100, 60, D3DXVECTOR3(kWidth / 2 - 50, 215, 0));
  fog->lifetime.SetValue(1200);
  fog->flight.SetValue(0);
  fog->flight.spread.SetValue(8);
  fog->flightSpeed.SetValue(1200);  // 12 units a second
  fog->counter.rate.SetValue(250);  // 2.5 a second
  return fog;
}

// Smoke rising through a widening quad from a chimney at `x`.
template <class Stream>
std::unique_ptr<Stream> Chimney(const DemoSystemPictures& p, float x) {
  auto smoke = std::make_unique<Stream>();
  ParticleAppearance& look = smoke->appearance;
  DressLook(look, p.smokePuff, 1, 1);
  look.size.SetValue(34);
  Colour(look, kSmokeGrey, 50);
  look.sizeEnvelope.riseEnd.SetValue(100);
  look.sizeEnvelope.startFactor.SetValue(30);
  Fade(look, 15, 50);
  // From a narrow edge at the chimney to a wide one high above it.
  smoke->area.corners[0].SetValue(D3DXVECTOR3(x - 6, 235, 0));
  smoke->area.corners[2].SetValue(D3DXVECTOR3(x + 6, 235, 0));
  smoke->area.corners[1].SetValue(D3DXVECTOR3(x - 80, 30, 0));
  smoke->area.corners[3].SetValue(D3DXVECTOR3(x + 40, 30, 0));
  smoke->lifetime.SetValue(400);
  smoke->speed.value.SetValue(25);  // 50 units a second
  smoke->speed.jitter.SetValue(40);
  smoke->scatter.SetValue(60);
  smoke->counter.rate.SetValue(60);
  return smoke;
}

std::unique_ptr<DS_PtclSmoke3> RisingSmoke(const DemoSystemPictures& p) {
  auto smoke = std::make_unique<DS_PtclSmoke3>();
  ParticleAppearance& look = smoke->appearance;
  DressLook(look, p.smokePuff, 1, 1);
  look.size.SetValue(28);
  Colour(look, kSmokeGrey, 60);
  look.sizeEnvelope.riseEnd.SetValue(100);
  look.sizeEnvelope.startFactor.SetValue(40);
  Fade(look, 20, 40);
  smoke->rectEmitter.rect.SetRect(20, 4, D3DXVECTOR3(520, 240, 0));
  smoke->lifetime.SetValue(350);
  smoke->flight.SetValue(100);
  smoke->flight.spread.SetValue(12);
  smoke->flightSpeed.SetValue(35);
  smoke->counter.rate.SetValue(50);
  return smoke;
}

std::unique_ptr<DS_Shimmer> Shimmer(const DemoSystemPictures& p) {
  auto shimmer = std::make_unique<DS_Shimmer>();
  ParticleAppearance& look = shimmer->appearance;
  DressLook(look, p.sparkAtlas, 2, 2);
  look.size.SetValue(7);
  look.blend.SetValue(1);
  Colour(look, kGold, 0);
  Fade(look, 50, 50);
  shimmer->rectEmitter.rect.SetRect(400, 30, D3DXVECTOR3(300, 250, 0));
  shimmer->lifetime.SetValue(80);
  shimmer->counter.rate.SetValue(200);
  return shimmer;
}

std::unique_ptr<ZKW_VortexPtclSys> Vortex(const DemoSystemPictures& p) {
  auto vortex = std::make_unique<ZKW_VortexPtclSys>();
  ParticleAppearance& look = vortex->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(7);
  look.blend.SetValue(1);
  look.colorSet.colors.RawValue() = {kGold, kRose};
  look.colorSet.mode1.SetValue(1);
  look.colorSet.mode2.SetValue(0);
  Fade(look, 10, 60);
  vortex->emitter.point.RawValue() = {420, 80, 0};
  vortex->radialSpeed.SetValue(12);  // 24 units a second
  vortex->swirl.SetValue(120);       // 1.2 radians a second
  vortex->arms.SetValue(3);
  vortex->sector.spread.SetValue(10);
  vortex->armRotation.SetValue(20);  // 40 degrees a second
  vortex->armDirection.SetValue(1);
  vortex->distance.SetValue(60);
  vortex->counter.rate.SetValue(300);
  return vortex;
}

// Water thrown up in a splash each time the object shows again.
std::unique_ptr<ZKW_SplashPtclSys> Splash(const DemoSystemPictures& p) {
  auto splash = std::make_unique<ZKW_SplashPtclSys>();
  ParticleAppearance& look = splash->appearance;
  DressLook(look, p.softSpot, 1, 1);
  look.size.SetValue(6);
  Colour(look, kMistWhite, 30);
  Fade(look, 0, 50);
  look.flags |= ParticleAppearance::kGravity;
  look.gravityDirection.SetValue(1);
  look.gravity.SetValue(30);
  splash->source.SetValue(1);
  splash->sectorEmitter.point.RawValue() = {150, 250, 0};
  splash->sectorEmitter.radius = 12;
  splash->sectorEmitter.opening = 360;
  splash->count.SetValue(70);
  splash->lifetime.SetValue(110);
  splash->flight.SetValue(90);
  splash->flight.spread.SetValue(35);
  splash->flightSpeed.SetValue(110);
  RandomPhases(*splash, 50, 100, 10, 150, 200, 30);
  return splash;
}

std::unique_ptr<ZKW_SprayPtclSys> Spray(const DemoSystemPictures& p) {
  auto spray = std::make_unique<ZKW_SprayPtclSys>();
  ParticleAppearance& look = spray->appearance;
  DressLook(look, p.sparkAtlas, 2, 2);
  look.size.SetValue(6);
  look.blend.SetValue(1);
  Colour(look, kMistWhite, 20);
  Fade(look, 0, 40);
  look.flags |= ParticleAppearance::kGravity;
  look.gravityDirection.SetValue(1);
  look.gravity.SetValue(25);
  spray->rectEmitter.rect.SetRect(8, 4, D3DXVECTOR3(250, 255, 0));
  spray->lifetime.SetValue(140);
  spray->flight.SetValue(70);
  spray->flight.spread.SetValue(10);
  spray->flightSpeed.SetValue(95);
  spray->counter.rate.SetValue(250);
  return spray;
}

std::unique_ptr<DS_RayOfLight> Rays(const DemoSystemPictures& p) {
  auto rays = std::make_unique<DS_RayOfLight>();
  ParticleAppearance& look = rays->appearance;
  DressLook(look, p.lightBand, 1, 1);
  look.blend.SetValue(1);
  Colour(look, kWarmWhite, 55);
  // From the sky above the picture down to the ground, widening.
  rays->area.corners[0].SetValue(D3DXVECTOR3(120, -10, 0));
  rays->area.corners[2].SetValue(D3DXVECTOR3(380, -10, 0));
  rays->area.corners[1].SetValue(D3DXVECTOR3(20, kHeight, 0));
  rays->area.corners[3].SetValue(D3DXVECTOR3(560, kHeight, 0));
  rays->count.SetValue(7);
  rays->lifetime.value.SetValue(70);  // 7 s
  rays->lifetime.jitter.SetValue(50);
  rays->width.value.SetValue(26);
  rays->width.jitter.SetValue(60);
  rays->drift.value.SetValue(250);  // 0.05 of the edge a second
  rays->drift.jitter.SetValue(100);
  rays->farWidth.SetValue(40);  // three times as wide below
  rays->head.SetValue(10);
  rays->tail.SetValue(45);
  rays->edgeFade.SetValue(20);
  return rays;
}

std::unique_ptr<ZKW_StaticObject> SpinningPicture(const DemoSystemPictures& p) {
  auto still = std::make_unique<ZKW_StaticObject>();
  ParticleAppearance& look = still->appearance;
  DressLook(look, p.sparkAtlas, 1, 1);
  look.blend.SetValue(1);
  Colour(look, kGold, 0);
  still->corners.SetRect(70, 70, D3DXVECTOR3(480, 70, 0));
  still->spinSpeed.SetValue(50);  // 20 degrees a second
  return still;
}

std::unique_ptr<ZKW_SigleObjectPath> PictureOnAPath(const DemoSystemPictures& p) {
  auto moving = std::make_unique<ZKW_SigleObjectPath>();
  ParticleAppearance& look = moving->appearance;
  DressLook(look, p.bokehDisc, 1, 1);
  look.size.SetValue(50);  // of the 64-pixel disc
  look.blend.SetValue(1);
  Colour(look, kAmber, 20);
  moving->pathSpeed.SetValue(12);  // 1.2 units a frame
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(60, 150, 0), D3DXVECTOR3(200, 90, 0),
                                D3DXVECTOR3(330, 140, 0), D3DXVECTOR3(470, 170, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    moving->path.AppendPoint(point, nullptr);
  }
  return moving;
}

}  // namespace

void AddParticleSystemSlides(ProjectBuilder& project, const DS_ImageFileLink& sea,
                             const DS_ImageFileLink& night, const DS_ImageFileLink& dawn,
                             const DemoSystemPictures& pictures) {
  // The first object of a slide is drawn last, on top.
  AddSlideOn(project, sea).savedObjects.push_back(Rain(pictures));

  DS_SlideContainer& dark = AddSlideOn(project, night);
  dark.savedObjects.push_back(Fireflies(pictures));
  dark.savedObjects.push_back(Swarm(pictures));
  dark.savedObjects.push_back(Bokeh(pictures));
  dark.savedObjects.push_back(StarField(pictures));
  dark.savedObjects.push_back(Flight(pictures));

  DS_SlideContainer& mist = AddSlideOn(project, dawn);
  mist.savedObjects.push_back(Fog(pictures));
  mist.savedObjects.push_back(Splash(pictures));
  mist.savedObjects.push_back(Spray(pictures));
  mist.savedObjects.push_back(Shimmer(pictures));
  mist.savedObjects.push_back(Vortex(pictures));
  mist.savedObjects.push_back(Chimney<DS_StreamPtclSys>(pictures, 90));
  mist.savedObjects.push_back(Chimney<DS_PtclSmoke2>(pictures, 330));
  mist.savedObjects.push_back(RisingSmoke(pictures));

  DS_SlideContainer& light = AddSlideOn(project, dawn);
  light.savedObjects.push_back(PictureOnAPath(pictures));
  light.savedObjects.push_back(SpinningPicture(pictures));
  light.savedObjects.push_back(Rays(pictures));
}
