#include "tools/project_writer/demo_text_objects.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"
#include "core/timing/random_timeline.h"
#include "objects/text3d/zkw_2d_tex.h"
#include "objects/text3d/zkw_3d_tex.h"
#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/dds_writer.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_text.h"
#include "tools/project_writer/project_builder.h"

namespace {

const NamedFile* Find(const std::vector<NamedFile>& files, const char* name) {
  const zkw_string wanted = FromUtf8(name);
  for (const NamedFile& file : files)
    if (file.name == wanted) return &file;
  return nullptr;
}

// An A8R8G8B8 picture file of `width` x `height` pixels from a colour for each pixel.
template <class Pixel>
std::vector<uint8_t> Picture(uint32_t width, uint32_t height, Pixel pixel) {
  gfx::image::DdsImage image{gfx::Format::A8R8G8B8, width, height, {{}}};
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t argb = pixel(float(x) + 0.5f, float(y) + 0.5f);
      for (int shift : {0, 8, 16, 24})
        image.levels[0].push_back(static_cast<uint8_t>(argb >> shift));
    }
  }
  return gfx::image::WriteDds(image);
}

uint32_t Argb(float a, float r, float g, float b) {
  auto byte = [](float v) {
    return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
  };
  return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

// The title's plate: a rounded panel of deep blue, lighter at its top, half see-through.
std::vector<uint8_t> Plate(uint32_t width, uint32_t height) {
  const float radius = std::min(width, height) * 0.3f;
  return Picture(width, height, [&](float x, float y) {
    const float dx = std::max({radius - x, x - (float(width) - radius), 0.0f});
    const float dy = std::max({radius - y, y - (float(height) - radius), 0.0f});
    const float edge = std::clamp(radius - std::hypot(dx, dy), 0.0f, 1.0f);
    const float t = y / float(height);
    return Argb(0.6f * edge, 0.08f + 0.12f * (1 - t), 0.12f + 0.16f * (1 - t),
                0.3f + 0.2f * (1 - t));
  });
}

// The title's fill: eight frames of warm diagonal bands moving across a tile of 32 pixels.
std::vector<std::pair<std::vector<uint8_t>, float>> FillFrames() {
  constexpr uint32_t kTile = 32;
  constexpr int kFrames = 8;
  std::vector<std::pair<std::vector<uint8_t>, float>> frames;
  for (int frame = 0; frame < kFrames; ++frame) {
    frames.emplace_back(Picture(kTile, kTile,
                                [&](float x, float y) {
                                  const float phase = (x + y) / kTile + float(frame) / kFrames;
                                  const float band =
                                      0.5f + 0.5f * std::sin(2 * std::numbers::pi_v<float> * phase);
                                  return Argb(1, 1, 0.65f + 0.35f * band, 0.2f + 0.6f * band);
                                }),
                        0.1f);
  }
  return frames;
}

void AddTitle(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
              const NamedFile& title, const NamedFile& halo) {
  const auto picture = gfx::image::ReadDds(title.bytes);
  if (!picture) return;
  const float w = float(picture->width), h = float(picture->height);
  auto text = std::make_unique<ZKW_2DTex>();
  text->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1902);
  text->quad.SetRect(w, h, D3DXVECTOR3(width * 0.5f, height * 0.28f, 0.0f));
  const DS_ImageFileLink links[] = {
      project.StoreFrames(FromUtf8(kDemoTitleFile), {{title.bytes, 0.0f}}),
      project.StoreFrames(FromUtf8(kDemoTitleHaloFile), {{halo.bytes, 0.0f}}),
      project.StoreFrames(u"demo_title_plate.dds",
                          {{Plate(picture->width, picture->height), 0.0f}})};
  text->pictures.SetValue(DS_NamedFileLinkData({std::begin(links), std::end(links)}));
  text->fillWithPicture.SetValue(1);
  text->fillPicture.SetValue(
      DS_NamedFileLinkData({project.StoreFrames(u"demo_title_fill.dds", FillFrames())}));
  text->shadow.enabled.SetValue(1);
  text->shadow.color.SetValue(0x000000);
  text->shadow.color.alpha.SetValue(40);
  text->shadow.amount.SetValue(5);
  text->shadowDirection.SetValue(315);
  text->fadeInKind.SetValue(2);
  text->fadeOutKind.SetValue(1);
  text->text.text.SetValue(kDemoTitle);
  text->text.font.face.SetValue(kDemoTitleFace);
  text->text.font.size.SetValue(unsigned(kDemoTitlePixels));
  text->text.value1.SetValue(1);
  text->text.value2.SetValue(1);
  // Its own random timeline: in over 1.5 s, shown 6 s, out over 1 s, away half a second.
  if (auto* timeline = dynamic_cast<ZKW_RandomTimeLine*>(text->ownTimeline.Get())) {
    RandomTimeLineParams& p = timeline->params;
    p.hiddenMin.SetValue(50);
    p.hiddenMax.SetValue(50);
    p.shownMin.SetValue(600);
    p.shownMax.SetValue(600);
    p.fadeIn.SetValue(150);
    p.fadeOut.SetValue(100);
  }
  text->timing.SetValue(1);
  text->name = u"Title";
  slide.savedObjects.push_back(std::move(text));
}

void AddLine(DS_SlideContainer& slide, float width, float height, const NamedFile& glyphs) {
  auto line = std::make_unique<ZKW_3DTex>();
  ResourceBuffer buffer;
  buffer.SetMemory(glyphs.bytes.data(), glyphs.bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  line->ReadGlyphs(archive);
  if (archive.Failed() || line->glyphs.glyphBounds.empty()) return;
  const TextBox bounds = line->TextBounds();
  const float size = std::floor(width * 0.7f / std::max(bounds.x1 - bounds.x0, 1.0f));
  line->position.SetValue(D3DXVECTOR3(width * 0.5f, height * 0.68f, 0.0f));
  line->depth.SetValue(kDemoLineDepth);
  line->ambient.SetValue(70);
  line->lightAngleA.SetValue(70);
  line->lightAngleB.SetValue(120);
  line->rotationAxis.SetValue(1);
  line->objectMotion.SetValue(1);
  line->objectSpeed.SetValue(30);
  line->glyphMotion.SetValue(3);
  line->glyphLoop.SetValue(1);
  line->glyphAmplitude.SetValue(35);
  line->glyphDelay.SetValue(90);
  line->glyphPeriod.SetValue(12);
  line->arcAngle.SetValue(50);
  line->arcSide.SetValue(1);
  line->text.text.SetValue(kDemoLine);
  line->text.font.face.SetValue(kDemoLineFace);
  line->text.font.size.SetValue(unsigned(size));
  line->text.font.color.SetValue(0x30C8FF);
  line->name = u"3D line";
  slide.savedObjects.push_back(std::move(line));
}

}  // namespace

bool HasTextArt(const std::vector<NamedFile>& files) {
  return Find(files, kDemoTitleFile) != nullptr && Find(files, kDemoTitleHaloFile) != nullptr &&
         Find(files, kDemoLineFile) != nullptr;
}

bool AddTextObjects(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                    const std::vector<NamedFile>& files) {
  const NamedFile* title = Find(files, kDemoTitleFile);
  const NamedFile* halo = Find(files, kDemoTitleHaloFile);
  const NamedFile* glyphs = Find(files, kDemoLineFile);
  const size_t before = slide.savedObjects.size();
  if (title != nullptr && halo != nullptr) AddTitle(project, slide, width, height, *title, *halo);
  if (glyphs != nullptr) AddLine(slide, width, height, *glyphs);
  return slide.savedObjects.size() == before + 2;
}
