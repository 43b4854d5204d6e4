#include "tools/project_writer/demo_generators.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "core/crt_rand.h"
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"
#include "platform/gfx/image/dds_writer.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 10.0f;
constexpr int kCameraDrifts = 1;
constexpr unsigned kCameraZoomPercent = 125;
constexpr float kPi = std::numbers::pi_v<float>;

// The moon of the night picture, kept clear of stars.
constexpr float kMoonX = 460.0f, kMoonY = 54.0f;

// Colours are COLORREF words, 0x00BBGGRR.
constexpr uint32_t kStarWhite = 0xFFF0E0;
constexpr uint32_t kPaleGold = 0x80D0FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kAuroraGreen = 0x90FF60;

// What every generator of the slide shares: the mask effect and its blend mode.
void Dress(DS_AirBrush& brush, const char16_t* name, int blendMode, unsigned size) {
  brush.name = name;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1801);
  brush.blendMode.SetValue(blendMode);
  brush.size.SetValue(size);
}

std::unique_ptr<DS_TwinklingStars> Stars() {
  auto stars = std::make_unique<DS_TwinklingStars>();
  Dress(*stars, u"Twinkling stars", 3, 9);
  stars->pictures = {DS_ImageFileLink(u"glimres.dll", 80)};
  stars->colour1.SetValue(kStarWhite);
  stars->twinkleSpeed.SetValue(50);
  while (stars->dabs.size() < 70) {
    const float x = 10.0f + crt_rand_unit() * 555.0f, y = 8.0f + crt_rand_unit() * 140.0f;
    const float scale = 0.5f + crt_rand_unit() * 0.7f;
    if (std::hypot(x - kMoonX, y - kMoonY) > 45.0f)
      stars->AddParticle(D3DXVECTOR3(x, y, 0), scale, 0, 0, 0);
  }
  return stars;
}

// Sparkles along an arc of light across the sky: a gold glow below each, its sparkle on top.
std::unique_ptr<DS_Bling> SparkleStroke() {
  auto bling = std::make_unique<DS_Bling>();
  Dress(*bling, u"Sparkle stroke", 3, 22);
  bling->pictures = {DS_ImageFileLink(u"glimres.dll", 75), DS_ImageFileLink(u"glimres.dll", 79)};
  bling->colour2.SetValue(kPaleGold);
  bling->colour2.alpha.SetValue(30);
  bling->colour1.SetValue(kWhite);
  bling->twinkleSpeed.SetValue(50);
  bling->riseTime.SetValue(40);
  bling->fallTime.SetValue(110);
  bling->spinSpeed.SetValue(25);
  bling->minimumSize.SetValue(10);
  constexpr int kSparkles = 22;
  for (int i = 0; i < kSparkles; ++i) {
    const float s = float(i) / float(kSparkles - 1);
    const float x = 60.0f + 260.0f * s;
    const float y = 110.0f - 80.0f * s + 40.0f * s * (1.0f - s);
    const float size = 0.6f + crt_rand_unit() * 0.6f;  // draws in this order on every compiler
    const float phase = crt_rand_unit();
    bling->AddParticle(D3DXVECTOR3(x, y, 0), size, 0, phase, 0);
  }
  return bling;
}

// Six 32 x 32 frames of a firefly's glow swelling and fading: a yellow-green dot with a soft
// halo, as A8R8G8B8 DDS pictures.
std::vector<std::vector<uint8_t>> FireflyFrames() {
  constexpr uint32_t kSize = 32;
  std::vector<std::vector<uint8_t>> frames;
  for (int frame = 0; frame < 6; ++frame) {
    const float glow = 0.35f + 0.65f * std::sin(kPi * float(frame) / 6.0f);
    gfx::image::DdsImage picture{gfx::Format::A8R8G8B8, kSize, kSize, {{}}};
    for (uint32_t y = 0; y < kSize; ++y) {
      for (uint32_t x = 0; x < kSize; ++x) {
        const float dx = (float(x) + 0.5f) / kSize * 2.0f - 1.0f;
        const float dy = (float(y) + 0.5f) / kSize * 2.0f - 1.0f;
        const float r = std::hypot(dx, dy);
        const float core = std::clamp(1.0f - r / 0.25f, 0.0f, 1.0f);
        const float halo = std::clamp(1.0f - r, 0.0f, 1.0f) * glow;
        const float alpha = std::clamp(core + halo * halo, 0.0f, 1.0f);
        const uint8_t bgra[4] = {80, 255, 200, uint8_t(std::lround(alpha * 255.0f))};
        picture.levels[0].insert(picture.levels[0].end(), bgra, bgra + 4);
      }
    }
    frames.push_back(gfx::image::WriteDds(picture));
  }
  return frames;
}

std::unique_ptr<DS_CustomAirBrush> Fireflies(ProjectBuilder& project) {
  auto fireflies = std::make_unique<DS_CustomAirBrush>();
  Dress(*fireflies, u"Fireflies", 3, 14);
  fireflies->ownPicture =
      project.StoreAnimatedPicture(u"firefly.dds", FireflyFrames(), std::vector<float>(6, 0.12f));
  fireflies->frameSpeed.SetValue(100);
  for (int i = 0; i < 14; ++i) {
    const float x = 30.0f + crt_rand_unit() * 515.0f;  // draws in this order on every compiler
    const float y = 200.0f + crt_rand_unit() * 55.0f;
    fireflies->AddParticle(D3DXVECTOR3(x, y, 0), 0, 0, 0, 0);
  }
  return fireflies;
}

// A 32 x 128 fold of an aurora curtain, white to take the curtain's colour: soft across, its
// light gathered near its lower edge and fading out towards the top, so that neither the top
// nor the bottom of a dab shows an edge however far the waves stretch it.
std::vector<uint8_t> CurtainPicture() {
  constexpr uint32_t kWidth = 32, kHeight = 128;
  gfx::image::DdsImage picture{gfx::Format::A8R8G8B8, kWidth, kHeight, {{}}};
  for (uint32_t y = 0; y < kHeight; ++y) {
    const float down = (float(y) + 0.5f) / kHeight;  // 0 at the top, 1 at the bottom
    const float rise = std::clamp((1.0f - down) / 0.12f, 0.0f, 1.0f);
    const float fade = std::pow(std::clamp(down / 0.85f, 0.0f, 1.0f), 1.6f);
    for (uint32_t x = 0; x < kWidth; ++x) {
      const float across = (float(x) + 0.5f) / kWidth * 2.0f - 1.0f;
      const float alpha = std::exp(-across * across / 0.3f) * (1.0f - across * across) * rise *
                          rise * (3.0f - 2.0f * rise) * fade;
      const uint8_t bgra[4] = {255, 255, 255, uint8_t(std::lround(alpha * 255.0f))};
      picture.levels[0].insert(picture.levels[0].end(), bgra, bgra + 4);
    }
  }
  return gfx::image::WriteDds(picture);
}

// A curtain of tall folds of light along a gentle wave over the sky, its dabs a quarter of a
// radian apart along the waves and fading in and out over the ten at either end.
std::unique_ptr<DS_Aurora> Aurora(ProjectBuilder& project) {
  auto aurora = std::make_unique<DS_Aurora>();
  Dress(*aurora, u"Aurora", 1, 28);
  aurora->pictures = {project.StorePicture(u"aurora_curtain.dds", CurtainPicture())};
  aurora->colour1.SetValue(kAuroraGreen);
  aurora->colour1.alpha.SetValue(60);
  aurora->curtainHeight.SetValue(100);
  aurora->stretchSpeed.SetValue(40);
  aurora->stretchAmount.SetValue(35);
  aurora->stretchLength.SetValue(2);
  aurora->glowSpeed.SetValue(30);
  aurora->glowAmount.SetValue(60);
  aurora->glowLength.SetValue(4);
  aurora->swaySpeed.SetValue(25);
  aurora->swayAmount.SetValue(10);
  aurora->swayLength.SetValue(3);
  constexpr int kBeams = 56;
  for (int i = 0; i < kBeams; ++i) {
    const float x = 20.0f + 7.0f * float(i);
    aurora->AddParticle(D3DXVECTOR3(x, 95.0f + 12.0f * std::sin(x / 60.0f), 0), 0, 0, 0, 0);
    GeneratorParticle& dab = aurora->dabs.back();
    dab.channels[GeneratorParticle::kLife] = float(i) / 4.0f;
    dab.channels[GeneratorParticle::kOpacity] =
        std::min({1.0f, float(i + 1) / 10.0f, float(kBeams - i) / 10.0f});
  }
  return aurora;
}

}  // namespace

void AddNightSkySlide(ProjectBuilder& project, const DS_ImageFileLink& background) {
  DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide)) {
    renderer->backgroundLink = background;
    renderer->camera.mode.SetValueSilently(kCameraDrifts);
    renderer->camera.zoom.SetValue(kCameraZoomPercent);
  }
  // The same sky on every run.
  crt_srand(1801);
  // The renderer draws the slide's objects from the last to the first: the aurora first.
  slide.savedObjects.push_back(Fireflies(project));
  slide.savedObjects.push_back(SparkleStroke());
  slide.savedObjects.push_back(Stars());
  slide.savedObjects.push_back(Aurora(project));
}
