#include "tools/project_writer/demo_festival.h"

#include <memory>

#include "objects/sprites/generators/ds_animated_font.h"
#include "objects/sprites/generators/ds_firework.h"
#include "objects/sprites/generators/ds_lightning_gn.h"
#include "objects/sprites/generators/ds_radial_rays.h"
#include "objects/sprites/generators/ds_smoke.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_looks.h"
#include "tools/project_writer/demo_text.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 12.0f;
// The generators' effects: two masks for fireworks and lightning, one layer for smoke, the
// blend masks for the rays.
constexpr int64_t kTwoMasks = 1802;
constexpr int64_t kOneLayer = 1805;
constexpr int64_t kBlendMasks = 1801;

// Colours are COLORREF words, 0x00BBGGRR.
constexpr uint32_t kGold = 0x40C0FF;
constexpr uint32_t kRose = 0x8040FF;
constexpr uint32_t kSmokeGrey = 0xB0B0B0;
constexpr uint32_t kBoltWhite = 0xFFF0F0;
constexpr uint32_t kBoltBlue = 0xFFA060;

void Place(DS_StaticGenerator& g, const char16_t* name, int64_t effect, int64_t picture, float x,
           float y) {
  g.name = name;
  g.effectLink = DS_HLSLEffectFile(u"glimres.dll", effect);
  g.pictures = {DS_ImageFileLink(u"glimres.dll", picture)};
  g.position.SetValue(D3DXVECTOR3(x, y, 0));
}

std::unique_ptr<DS_FireworkSimple> Firework(float x, float y, uint32_t core, uint32_t glow,
                                            unsigned hiddenMin) {
  auto firework = std::make_unique<DS_FireworkSimple>();
  Place(*firework, u"Firework", kTwoMasks, 75, x, y);
  firework->sparkCount.SetValue(48);
  firework->sparkSize.SetValue(5);
  firework->sparkSpeed.SetValue(22);
  firework->glowSize.SetValue(75);
  firework->ownSpeed.SetValue(50);
  firework->lifetime.SetValue(60);
  firework->emissionRate.SetValue(6);
  firework->auxiliary.SetValue(10);
  firework->startSpeed.SetValue(6);
  firework->emissionSwitch.SetValue(1);
  firework->colour1.SetValue(core);
  firework->colour2.SetValue(glow);
  firework->colour2.alpha.SetValue(40);
  RandomPhases(*firework, hiddenMin, hiddenMin + 150, 20, 180, 260, 80);
  return firework;
}

std::unique_ptr<DS_Smoke> Smoke() {
  auto smoke = std::make_unique<DS_Smoke>();
  Place(*smoke, u"Smoke", kOneLayer, 2, 120.0f, 262.0f);
  smoke->originLife.SetValue(110);
  smoke->originRate.SetValue(6);
  smoke->originSize.SetValue(44);
  smoke->sector.SetValue(90);
  smoke->sector.spread.SetValue(12);
  smoke->ownSpeed.SetValue(30);
  smoke->wind.SetValue(58);
  smoke->colour1.SetValue(kSmokeGrey);
  smoke->colour1.alpha.SetValue(55);
  return smoke;
}

std::unique_ptr<DS_LightningGN> Lightning() {
  auto lightning = std::make_unique<DS_LightningGN>();
  lightning->name = u"Lightning";
  lightning->effectLink = DS_HLSLEffectFile(u"glimres.dll", kTwoMasks);
  // The bolt strip: a jagged white line in a blue glow, repeated along the bolt.
  lightning->pictures = {DS_ImageFileLink(u"glimres.dll", 95)};
  lightning->start.SetValue(D3DXVECTOR3(520, 4, 0));
  lightning->end.SetValue(D3DXVECTOR3(470, 200, 0));
  lightning->coreWidth.SetValue(5);
  lightning->glowWidth.SetValue(22);
  lightning->depth.SetValue(5);
  lightning->jitter.SetValue(45);
  lightning->seed.SetValue(2026);
  lightning->newShape.SetValue(1);
  lightning->branchLength.SetValue(45);
  lightning->branchAngle.SetValue(35);
  lightning->taper.SetValue(70);
  lightning->firstBranches.SetValue(3);
  lightning->secondBranches.SetValue(2);
  lightning->thirdBranches.SetValue(1);
  lightning->flicker.SetValue(35);
  lightning->colour1.SetValue(kBoltWhite);
  lightning->colour2.SetValue(kBoltBlue);
  lightning->colour2.alpha.SetValue(35);
  RandomPhases(*lightning, 200, 400, 15, 40, 90, 30);
  return lightning;
}

std::unique_ptr<DS_RadialRays> Rays() {
  auto rays = std::make_unique<DS_RadialRays>();
  Place(*rays, u"Radial rays", kBlendMasks, 76, 288.0f, 120.0f);
  rays->blendMode.SetValue(3);
  rays->rayLength.SetValue(260);
  rays->rayWidth.SetValue(40);
  rays->rayCount.SetValue(14);
  rays->random.SetValue(1);
  rays->seed.SetValue(14);
  rays->jitter.SetValue(45);
  rays->raySpeed.SetValue(8);
  rays->colour1.SetValue(kGold);
  rays->colour1.alpha.SetValue(75);
  return rays;
}

// The festival's name in glyphs of the player's own picture packs, each cycling its warm tints,
// the line a little larger than drawn.
std::unique_ptr<DS_AnimatedFont> GlyphLine() {
  auto font = std::make_unique<DS_AnimatedFont>();
  font->name = u"Festival glyphs";
  font->effectLink = DS_HLSLEffectFile(u"glimres.dll", kOneLayer);
  font->text.SetValue(kDemoGlyphLine);
  font->animationSpeed.SetValue(100);
  font->scale.SetValue(120);
  constexpr float kLeft = 222.0f, kTop = 196.0f, kAdvance = 32.0f;
  const std::u16string_view letters = kDemoGlyphLine;
  for (size_t i = 0; i < letters.size(); ++i) {
    const int64_t id = kDemoGlyphFirstId + static_cast<int64_t>(i);
    font->glyphPictures.emplace_back(u"glimres.dll", id);
    font->glyphMap.emplace(letters[i], DS_AnimatedFont::GlyphEntry{u"glimres.dll", id});
    font->sources.emplace_back(D3DXVECTOR3(kLeft + kAdvance * static_cast<float>(i), kTop, 0));
  }
  font->position.SetValue(D3DXVECTOR3(kLeft + kAdvance * 2.0f, kTop + 20.0f, 0));
  return font;
}

}  // namespace

void AddFestivalSlide(ProjectBuilder& project, const DS_ImageFileLink& background) {
  DS_SlideContainer& slide = AddSlideOn(project, background, kFadeSeconds, kHoldSeconds);
  // Drawn from the last to the first: the rays behind everything, the glyph line in front.
  slide.savedObjects.push_back(GlyphLine());
  slide.savedObjects.push_back(Smoke());
  slide.savedObjects.push_back(Firework(180.0f, 80.0f, 0xE0F0FF, kGold, 60));
  slide.savedObjects.push_back(Firework(390.0f, 60.0f, 0xFFE0F0, kRose, 120));
  slide.savedObjects.push_back(Lightning());
  slide.savedObjects.push_back(Rays());
}
