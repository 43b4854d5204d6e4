#include "tools/project_writer/demo_lines.h"

#include <initializer_list>
#include <memory>

#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/lines/sliding_line.h"
#include "particles/classic/lines/waving_line.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_looks.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 12.0f;

// Colours are COLORREF words, 0x00BBGGRR.
constexpr uint32_t kGold = 0x50D0FF;
constexpr uint32_t kOrange = 0x0080FF;
constexpr uint32_t kCyan = 0xFFE060;
constexpr uint32_t kPaleBlue = 0xFFD0A0;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kViolet = 0xC06088;
constexpr uint32_t kRose = 0x8060FF;
constexpr uint32_t kGreen = 0x60FF90;

// A look of `size` units and one colour drawn with `picture` (an atlas of columns x rows).
void Dress(ParticleAppearance& look, const DS_ImageFileLink& picture, unsigned size,
           uint32_t colour, uint32_t columns = 1, uint32_t rows = 1) {
  DressLook(look, picture, columns, rows);
  look.size.SetValue(size);
  look.colorSet.colors.RawValue() = {colour};
}

// The path through `points` (picture units), smoothed by the automatic handles.
void Through(SplinePath& path, std::initializer_list<D3DXVECTOR3> points) {
  for (const D3DXVECTOR3& at : points) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    path.AppendPoint(point, nullptr);
  }
}

std::unique_ptr<ZKW_GrovingLine> GrowingLine(const DemoLinePictures& p) {
  auto line = std::make_unique<ZKW_GrovingLine>();
  Through(line->path, {{30, 70, 0}, {140, 30, 0}, {250, 85, 0}, {330, 40, 0}});
  Dress(line->lineAppearance, p.softStreak, 6, kGold);
  line->width.SetValue(7);
  line->widthEnvelope.fallStart.SetValue(60);  // thinning towards the start
  line->particlesOn.SetValue(1);
  Dress(line->appearance, p.softSpot, 22, kWhite);
  line->appearance.blend.SetValue(1);
  line->appearance.glowMode.SetValue(ParticleAppearance::kGlow);
  line->appearance.glowColour.SetValue(kOrange);
  line->retract.SetValue(1);
  RandomPhases(*line, 40, 80, 250, 150, 250, 200);
  return line;
}

std::unique_ptr<ZKW_SlidingLine> SlidingLine(const DemoLinePictures& p) {
  auto line = std::make_unique<ZKW_SlidingLine>();
  Through(line->path, {{40, 235, 0}, {200, 200, 0}, {380, 240, 0}, {545, 205, 0}});
  Dress(line->lineAppearance, p.softStreak, 8, kCyan);
  line->width.SetValue(8);
  line->widthEnvelope.riseEnd.SetValue(100);  // from nothing at the tail
  line->opacityEnvelope.riseEnd.SetValue(60);
  line->slideLength.SetValue(160);
  line->alternate.SetValue(1);
  line->particlesOn.SetValue(1);
  Dress(line->appearance, p.sparkAtlas, 16, kCyan, 2, 2);
  line->appearance.blend.SetValue(1);
  RandomPhases(*line, 30, 60, 0, 220, 280, 0);
  return line;
}

std::unique_ptr<ZKW_ShootingLine> ShootingLine(const DemoLinePictures& p) {
  auto line = std::make_unique<ZKW_ShootingLine>();
  Through(line->path, {{345, 20, 0}, {450, 65, 0}, {565, 30, 0}});
  Dress(line->lineAppearance, p.softStreak, 5, kWhite);
  line->lineAppearance.blend.SetValue(0);
  line->lineAppearance.opacityEnvelope.riseEnd.SetValue(100);  // fading out behind the shot
  line->width.SetValue(5);
  line->shotSpeed.SetValue(230);
  line->trailLength.SetValue(110);
  line->lateralOffset.SetValue(10);
  line->wobbleFrequency.SetValue(150);  // 0.03 radians a unit
  line->shotCounter.minimum.SetValue(0.3f);
  line->shotCounter.maximum.SetValue(0.9f);
  line->particlesOn.SetValue(1);
  Dress(line->appearance, p.softSpot, 12, kWhite);
  line->appearance.blend.SetValue(1);
  return line;
}

std::unique_ptr<ZKW_Tears> Tears(const DemoLinePictures& p) {
  auto tears = std::make_unique<ZKW_Tears>();
  Through(tears->path, {{505, 95, 0}, {512, 170, 0}, {498, 255, 0}});
  Dress(tears->lineAppearance, p.softStreak, 3, kPaleBlue);
  tears->lineAppearance.opacityEnvelope.riseEnd.SetValue(100);
  tears->width.SetValue(3);
  tears->shotSpeed.SetValue(90);
  tears->trailLength.SetValue(45);
  tears->lateralOffset.SetValue(3);
  tears->wobbleFrequency.SetValue(400);
  tears->shotCounter.minimum.SetValue(0.6f);
  tears->shotCounter.maximum.SetValue(1.6f);
  tears->particlesOn.SetValue(1);
  Dress(tears->appearance, p.tearDrop, 12, kWhite);
  return tears;
}

std::unique_ptr<ZKW_WavingLine> WavingLine(const DemoLinePictures& p) {
  auto line = std::make_unique<ZKW_WavingLine>();
  line->start.SetValue({60, 145, 0});
  line->end.SetValue({270, 145, 0});
  Dress(line->lineAppearance, p.softStreak, 6, kRose);
  line->width.SetValue(6);
  line->amplitude.SetValue(28);
  line->ripple.SetValue(45);
  line->particlesOn.SetValue(1);
  Dress(line->appearance, p.sparkAtlas, 18, kRose, 2, 2);
  line->appearance.blend.SetValue(1);
  line->appearance.orientation.SetValue(ParticleAppearance::kSpinning);
  line->appearance.spinSpeed.SetValue(40);
  return line;
}

// A broad violet band that darkens what lies below it.
std::unique_ptr<ZKW_GrovingLine> MultipliedLine(const DemoLinePictures& p) {
  auto line = std::make_unique<ZKW_GrovingLine>();
  Through(line->path, {{300, 135, 0}, {420, 110, 0}, {545, 150, 0}});
  Dress(line->lineAppearance, p.softStreak, 20, kViolet);
  line->lineAppearance.blend.SetValue(1);
  line->width.SetValue(22);
  return line;
}

std::unique_ptr<ZKW_ParticlePath> HarmonicPath(const DemoLinePictures& p) {
  auto path = std::make_unique<ZKW_ParticlePath>();
  Through(path->path, {{25, 205, 0}, {180, 110, 0}, {330, 185, 0}, {490, 95, 0}});
  Dress(path->appearance, p.softSpot, 9, kGold);
  FadeColours(path->appearance, kGold, kOrange);
  path->appearance.blend.SetValue(1);
  path->counter.rate.SetValue(200);  // 40 a second
  path->pathSpeed.SetValue(90);
  path->speedSpread.SetValue(40);
  path->lateralOffset.SetValue(44);
  path->wobbleFrequency.SetValue(250);  // 0.1 radians a unit
  path->rampInEnd.SetValue(15);
  path->rampOutStart.SetValue(85);
  return path;
}

std::unique_ptr<ZKW_ParticlePath> PerlinPath(const DemoLinePictures& p) {
  auto path = std::make_unique<ZKW_ParticlePath>();
  Through(path->path, {{40, 55, 0}, {250, 25, 0}, {545, 70, 0}});
  Dress(path->appearance, p.sparkAtlas, 11, kCyan, 2, 2);
  FadeColours(path->appearance, kWhite, kCyan);
  path->appearance.blend.SetValue(1);
  path->appearance.orientation.SetValue(ParticleAppearance::kSpinning);
  path->appearance.spinSpeed.SetValue(30);
  path->appearance.spinDirection.SetValue(2);
  path->counter.rate.SetValue(150);
  path->pathSpeed.SetValue(70);
  path->speedSpread.SetValue(30);
  path->lateralOffset.SetValue(70);
  path->wobbleMode.SetValue(1);
  path->wobbleFrequency.SetValue(600);
  path->startWidth.SetValue(20);
  path->endWidth.SetValue(100);
  path->rampInEnd.SetValue(10);
  path->rampOutStart.SetValue(90);
  return path;
}

std::unique_ptr<ZKW_ParticleTrace> Trace(const DemoLinePictures& p) {
  auto trace = std::make_unique<ZKW_ParticleTrace>();
  Through(trace->path, {{90, 250, 0}, {190, 165, 0}, {310, 235, 0}, {430, 150, 0}, {545, 225, 0}});
  Dress(trace->appearance, p.softSpot, 10, kGreen);
  FadeColours(trace->appearance, kWhite, kGreen);
  trace->appearance.blend.SetValue(1);
  trace->appearance.opacityEnvelope.fallStart.SetValue(40);
  trace->points.SetValue(140);
  trace->lifetime.SetValue(260);
  trace->scatter.SetValue(2);
  trace->drift.SetValue(6);
  RandomPhases(*trace, 50, 80, 40, 300, 380, 60);
  return trace;
}

}  // namespace

void AddLineSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                  const DemoLinePictures& pictures) {
  DS_SlideContainer& slide = AddSlideOn(project, background, kFadeSeconds, kHoldSeconds);
  // The first object is drawn last, on top; the multiplied band lies beneath the others.
  slide.savedObjects.push_back(GrowingLine(pictures));
  slide.savedObjects.push_back(SlidingLine(pictures));
  slide.savedObjects.push_back(ShootingLine(pictures));
  slide.savedObjects.push_back(Tears(pictures));
  slide.savedObjects.push_back(WavingLine(pictures));
  slide.savedObjects.push_back(MultipliedLine(pictures));
}

void AddPathSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                  const DemoLinePictures& pictures) {
  DS_SlideContainer& slide = AddSlideOn(project, background, kFadeSeconds, kHoldSeconds);
  slide.savedObjects.push_back(HarmonicPath(pictures));
  slide.savedObjects.push_back(PerlinPath(pictures));
  slide.savedObjects.push_back(Trace(pictures));
}
