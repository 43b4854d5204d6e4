#include "tools/project_writer/demo_garden_generators.h"

#include <memory>

#include "objects/sprites/generators/ds_brown_animation.h"
#include "objects/sprites/generators/ds_falling_stars.h"
#include "objects/sprites/generators/ds_path_animtion.h"
#include "objects/sprites/generators/ds_plant.h"
#include "objects/sprites/generators/ds_static_animation.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_looks.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 12.0f;
// The single-layer effect of the generators, the plants' sway and the two masks of the stars.
constexpr int64_t kTwoMasks = 1802;
constexpr int64_t kOneLayer = 1805;
constexpr int64_t kSway = 1804;

// A small figure that walks a zigzag along the lawn and back, mirrored while it goes left.
std::unique_ptr<DS_PathAnimtion> Walker() {
  auto walker = std::make_unique<DS_PathAnimtion>();
  walker->name = u"Walker";
  walker->effectLink = DS_HLSLEffectFile(u"glimres.dll", kOneLayer);
  walker->pictures = {DS_ImageFileLink(u"glimres.dll", 84)};
  walker->pictureScale.SetValue(60);
  walker->pathSpeed.SetValue(20);
  walker->orientationMode.SetValue(2);
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(60, 230, 0), D3DXVECTOR3(200, 215, 0),
                                D3DXVECTOR3(330, 240, 0), D3DXVECTOR3(510, 220, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    walker->path.AppendPoint(point, nullptr);
  }
  return walker;
}

// A lamp by the path that flickers: its picture's frames played backwards, on a timeline that
// dims and brightens it now and then.
std::unique_ptr<DS_StaticAnimation> Lamp() {
  auto lamp = std::make_unique<DS_StaticAnimation>();
  lamp->name = u"Lamp";
  lamp->pictures = {DS_ImageFileLink(u"glimres.dll", 84)};
  lamp->rectangle.SetRect(40, 40, D3DXVECTOR3(470, 180, 0));
  lamp->frameSpeed.SetValue(150);
  lamp->reverse.SetValue(1);
  lamp->colour1.SetValue(0x80E0FF);
  RandomPhases(*lamp, 20, 60, 10, 80, 200, 10);
  return lamp;
}

// A stalk of light standing on the lawn at `x`, swaying at its own pace.
std::unique_ptr<DS_Plant> Stalk(float x, float height, unsigned frequency) {
  auto plant = std::make_unique<DS_Plant>();
  plant->name = u"Plant";
  plant->effectLink = DS_HLSLEffectFile(u"glimres.dll", kSway);
  plant->pictures = {DS_ImageFileLink(u"glimres.dll", 76)};
  plant->rectangle.SetRect(height * 0.4f, height, D3DXVECTOR3(x, 262.0f - height * 0.5f, 0));
  plant->plantSpeed.SetValue(50);
  plant->frequency.SetValue(frequency);
  plant->swayMagnitude.SetValue(60);
  plant->bendMagnitude.SetValue(40);
  return plant;
}

// Stars falling slantwise through the sky above the lawn, trailing sparks.
std::unique_ptr<DS_FallingStars> FallingStars() {
  auto stars = std::make_unique<DS_FallingStars>();
  stars->name = u"Falling stars";
  stars->effectLink = DS_HLSLEffectFile(u"glimres.dll", kTwoMasks);
  stars->pictures = {DS_ImageFileLink(u"glimres.dll", 80), DS_ImageFileLink(u"glimres.dll", 2),
                     DS_ImageFileLink(u"glimres.dll", 75), DS_ImageFileLink(u"glimres.dll", 75)};
  stars->region.SetRect(540.0f, 110.0f, D3DXVECTOR3(287.0f, 60.0f, 0));
  stars->fallSpeed.SetValue(12);
  stars->fallDirection.SetValue(240);
  stars->starRate.SetValue(60);
  stars->starSize.SetValue(12);
  stars->glowSize.SetValue(60);
  stars->shownTime.SetValue(120);
  stars->fadeInTime.SetValue(30);
  stars->fadeOutTime.SetValue(60);
  stars->emissionSwitch.SetValue(1);
  stars->emissionRate.SetValue(15);
  stars->lifetime.SetValue(60);
  stars->auxiliary.SetValue(35);
  stars->startSpeed.SetValue(4);
  stars->colour1.SetValue(0xE0F8FF);
  stars->colour2.SetValue(0xFFC080);
  stars->colour2.alpha.SetValue(50);
  return stars;
}

// Fireflies wandering over the flower beds.
std::unique_ptr<DS_BrownAnimation> Fireflies() {
  auto flies = std::make_unique<DS_BrownAnimation>();
  flies->name = u"Fireflies";
  flies->effectLink = DS_HLSLEffectFile(u"glimres.dll", kOneLayer);
  flies->pictures = {DS_ImageFileLink(u"glimres.dll", 84)};
  flies->region.SetRect(420.0f, 70.0f, D3DXVECTOR3(287.0f, 200.0f, 0));
  flies->wandererCount.SetValue(14);
  flies->pictureScale.SetValue(25);
  flies->motionScale.SetValue(12);
  flies->meanWait.SetValue(20);
  flies->impulseTime.SetValue(20);
  flies->colour1.SetValue(0x80FFE0);
  return flies;
}

}  // namespace

void AddGeneratorGardenSlide(ProjectBuilder& project, const DS_ImageFileLink& background) {
  DS_SlideContainer& slide = AddSlideOn(project, background, kFadeSeconds, kHoldSeconds);
  slide.savedObjects.push_back(FallingStars());
  slide.savedObjects.push_back(Fireflies());
  slide.savedObjects.push_back(Walker());
  slide.savedObjects.push_back(Lamp());
  slide.savedObjects.push_back(Stalk(90.0f, 70.0f, 14));
  slide.savedObjects.push_back(Stalk(250.0f, 90.0f, 10));
  slide.savedObjects.push_back(Stalk(420.0f, 60.0f, 18));
}
