#include "tools/project_writer/demo_sprites.h"

#include <memory>

#include "core/timing/random_timeline.h"
#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_explosion_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "objects/sprites/ds_stat_obj_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/project_builder.h"

namespace {

// Pictures of the player's own that presets use.
constexpr int64_t kSoftDot = 2;
constexpr int64_t kRadialGradient = 66;
constexpr int64_t kNoise = 74;
constexpr int64_t kGlow = 75;
constexpr int64_t kFlare = 78;
// The explosion's effect: an id of ours, as its record links it.
constexpr int64_t kExplosionEffect = 1803;
// The timeline kind whose phases are drawn at random.
constexpr int kRandomTimeline = 1;

DS_ImageFileLink Builtin(int64_t id) {
  return DS_ImageFileLink(u"glimres.dll", id);
}

// The picture of file `name` stored in the project, or the player's picture `fallback`.
DS_ImageFileLink Picture(ProjectBuilder& project, const std::vector<NamedFile>& pictures,
                         const zkw_string& name, int64_t fallback = kSoftDot) {
  for (const NamedFile& file : pictures)
    if (file.name == name) return project.StorePicture(file.name, file.bytes);
  return Builtin(fallback);
}

// Appends a preset of kind Kind to the slide. The slide draws its objects from the last to the
// first, so each preset added lies under those added before it.
template <class Kind>
Kind& Add(DS_SlideContainer& slide, const char16_t* name, unsigned count, unsigned size) {
  auto preset = std::make_unique<Kind>();
  Kind& added = *preset;
  added.name = name;
  added.count.SetValue(count);
  added.size.SetValue(size);
  slide.savedObjects.push_back(std::move(preset));
  return added;
}

// The view rectangle as fractions of the scene.
void View(DS_ViewObjCtrl& preset, float left, float right, float top, float bottom) {
  preset.left = left;
  preset.right = right;
  preset.top = top;
  preset.bottom = bottom;
}

// The description's timeline becomes a random one of the given phases (hundredths of a second).
void RandomTimeline(DS_ABObj_Constructor& description, unsigned hiddenMin, unsigned hiddenMax,
                    unsigned shown, unsigned fadeIn, unsigned fadeOut) {
  description.timing.SetValue(kRandomTimeline);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(description.timing.Current());
  if (random == nullptr) return;
  random->params.hiddenMin.SetValue(hiddenMin);
  random->params.hiddenMax.SetValue(hiddenMax);
  random->params.shownMin.SetValue(shown);
  random->params.shownMax.SetValue(shown);
  random->params.fadeIn.SetValue(fadeIn);
  random->params.fadeOut.SetValue(fadeOut);
}

// A still object of `Kind` standing with its centre at (x, y) pixels.
template <class Kind>
Kind& Stand(DS_SlideContainer& slide, const char16_t* name, unsigned size, int x, int y) {
  Kind& still = Add<Kind>(slide, name, 1, size);
  still.placementRect.extra1.SetValue(x);
  still.placementRect.extra2.SetValue(y);
  return still;
}

}  // namespace

void AddSeaCreatures(ProjectBuilder& project, DS_SlideContainer& slide,
                     const std::vector<NamedFile>& pictures) {
  auto& fog = Add<DS_FogConstructor>(slide, u"Fog", 8, 200);
  fog.picture = Builtin(kGlow);
  fog.colour.SetValue(0xF0F0FF);
  fog.transparency.SetValue(25);
  fog.pulseRate = 0.25f;
  fog.horizontalSpeed = 18.0f;
  fog.verticalSpeed = 4.0f;
  View(fog, 0.0f, 1.0f, 0.42f, 0.62f);

  auto& ghosts = Add<DS_GhostConstructor>(slide, u"Ghosts", 4, 44);
  ghosts.picture = Picture(project, pictures, u"ghost.png");
  ghosts.transparency.SetValue(0);
  View(ghosts, 0.05f, 0.95f, 0.05f, 0.45f);
  RandomTimeline(ghosts, 50, 150, 200, 120, 120);

  auto& fish = Add<DS_FishConstructor>(slide, u"Fish", 9, 46);
  fish.picture = Picture(project, pictures, u"fish.png");
  fish.horizontalSpeed = 60.0f;
  fish.verticalSpeed = 12.0f;
  fish.sizeFactorMin = 0.6f;
  fish.sizeFactorMax = 1.1f;
  View(fish, 0.0f, 1.0f, 0.6f, 0.97f);
}

void AddDawnWeather(ProjectBuilder& project, DS_SlideContainer& slide,
                    const std::vector<NamedFile>& pictures) {
  auto& rain = Add<DS_RainConstructor>(slide, u"Rain", 140, 26);
  rain.picture = Picture(project, pictures, u"drop.png");
  rain.speed = 700.0f;
  rain.transparency.SetValue(25);
  rain.pulseRate = 0.6f;
  rain.pulseMin = 0.3f;

  auto& lights = Add<DS_LightingConstructor>(slide, u"Lights", 2, 150);
  lights.picture = Builtin(kFlare);
  lights.colour.SetValue(0xFFF4E8);
  lights.pauseMin.SetValue(40);
  lights.pauseMax.SetValue(220);
  View(lights, 0.05f, 0.95f, 0.0f, 0.5f);

  auto& birds = Add<DS_BirdConstructor>(slide, u"Birds", 6, 40);
  birds.picture = Picture(project, pictures, u"bird.png");
  birds.sizeFactorMin = 0.5f;
  birds.sizeFactorMax = 1.0f;
  View(birds, 0.0f, 1.0f, 0.05f, 0.5f);
}

void AddDawnMeadow(ProjectBuilder& project, DS_SlideContainer& slide,
                   const std::vector<NamedFile>& pictures) {
  auto& explosion = Add<DS_ExplosionConstructor>(slide, u"Explosion", 1, 150);
  explosion.effectLink = DS_HLSLEffectFile(u"glimres.dll", kExplosionEffect);
  explosion.picture = Builtin(kRadialGradient);
  explosion.secondPicture = Builtin(kNoise);
  explosion.colour.SetValue(0x60D8FF);        // yellow-orange at the heart
  explosion.secondColour.SetValue(0x1030C0);  // deep red at the rim
  explosion.position.SetValue(D3DXVECTOR3(400.0f, 75.0f, 0.0f));
  explosion.seed.SetValue(11);
  RandomTimeline(explosion, 150, 300, 40, 60, 90);

  auto& discharge = Stand<DS_DischargeConstructor>(slide, u"Discharge", 70, 200, 60);
  discharge.picture = Picture(project, pictures, u"crackle.png");
  discharge.frameStrip = true;
  discharge.frameCount = 4;
  discharge.frameRate = 14.0f;
  discharge.blendMode.SetValue(1);
  discharge.rotationAngle.SetValue(20);

  auto& tree = Stand<DS_StatObjConstructor>(slide, u"Tree", 110, 95, 175);
  tree.picture = Picture(project, pictures, u"tree.png");
  const struct {
    int x, y;
    unsigned angle, size;
  } flowers[] = {{300, 210, 0, 64}, {335, 222, 8, 52}, {455, 214, 350, 70}};
  const DS_ImageFileLink bloom = Picture(project, pictures, u"flower.png");
  for (const auto& at : flowers) {
    auto& flower = Stand<DS_FlowerConstructor>(slide, u"Flower", at.size, at.x, at.y);
    flower.picture = bloom;
    flower.rotationAngle.SetValue(at.angle);
    flower.swayAmplitude = 6.0f;
  }

  auto& grass = Add<DS_GrassConstructor>(slide, u"Grass", 90, 50);
  grass.bottom = 0.96f;
  grass.picture = Picture(project, pictures, u"blade.png");
  grass.sizeFactorMin = 0.6f;
  grass.sizeFactorMax = 1.2f;
  grass.swayAmplitude = 8.0f;
}
