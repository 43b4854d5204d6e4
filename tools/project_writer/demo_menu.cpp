#include "tools/project_writer/demo_menu.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "objects/text3d/ds_scrolling_tex.h"
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "objects/text3d/ds_text_link.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "platform/gfx/image/dds_reader.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_looks.h"
#include "tools/project_writer/demo_text.h"
#include "tools/project_writer/project_builder.h"

namespace {

// The GUIDs of the sprite texts' pictures, the same on every run.
constexpr char16_t kTickerGuid[] = u"{4D454E55-0000-0000-0000-000000000001}";
constexpr char16_t kLinkGuid[] = u"{4D454E55-0000-0000-0000-000000000002}";

const NamedFile* Find(const std::vector<NamedFile>& files, const char* name) {
  const zkw_string wanted = FromUtf8(name);
  for (const NamedFile& file : files)
    if (file.name == wanted) return &file;
  return nullptr;
}

// A picture of the menu's text art, stored once as a frame for the quad texts, with its size
// in pixels.
struct MenuPicture {
  DS_ImageFileLink link;
  float width = 0.0f, height = 0.0f;
};
std::optional<MenuPicture> FramePicture(ProjectBuilder& project, const NamedFile* file) {
  if (file == nullptr) return std::nullopt;
  auto decoded = gfx::image::ReadDds(file->bytes);
  if (!decoded) return std::nullopt;
  return MenuPicture{project.StoreFramePicture(file->name, file->bytes), float(decoded->width),
                     float(decoded->height)};
}

// The height in pixels of a DDS picture; 0 when it cannot be read.
float PictureHeight(const NamedFile& file) {
  const auto decoded = gfx::image::ReadDds(file.bytes);
  return decoded ? float(decoded->height) : 0.0f;
}

// The bottom-right corner of the part of a width x height picture that the slide's camera
// always shows: a drifting camera zoomed in by z shows a picture / z part whose centre stays
// within the middle (1 - 1 / z) of the picture, so it never shows the outer (1 - 1 / z) / 2 of
// any side.
D3DXVECTOR2 AlwaysShownCorner(DS_SlideContainer& slide, float width, float height) {
  const DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide);
  if (renderer == nullptr || renderer->camera.mode.Value() != 1) return {width, height};
  const float z = std::max(renderer->camera.Zoom(), 1.0f);
  return {width / z, height / z};
}

// A quad text of class X showing `picture` at its size about `centre` (no spin).
template <class X>
std::unique_ptr<X> QuadText(const MenuPicture& picture, D3DXVECTOR3 centre, float width = 0.0f) {
  auto text = std::make_unique<X>();
  text->appearance.picture.SetValue(DS_NamedFileLinkData({picture.link}));
  text->appearance.colorSet.colors.RawValue() = {0xFFFFFF};
  text->corners.SetRect(width != 0.0f ? width : picture.width, picture.height, centre);
  text->spinSpeed.SetValue(0);
  return text;
}

// A sprite text of class X showing the picture stored under `guid` (a whole canvas, the text
// in its top-left part) with its top-left corner at `topLeft`, `shownWidth` wide (0: the
// canvas's width) and the canvas's height; `canvas` gets the canvas's size.
template <class X>
std::unique_ptr<X> SpriteText(ProjectBuilder& project, const NamedFile& file, const char16_t* guid,
                              D3DXVECTOR2 topLeft, unsigned shownWidth, D3DXVECTOR2& canvas) {
  auto decoded = gfx::image::ReadDds(file.bytes);
  canvas = decoded ? D3DXVECTOR2(float(decoded->width), float(decoded->height)) : D3DXVECTOR2();
  const unsigned w = shownWidth != 0 ? shownWidth : unsigned(canvas.x);
  auto text = std::make_unique<X>();
  text->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
  text->pictureGuid = GUID::Parse(guid);
  project.StoreGuidPicture(text->pictureGuid, file.bytes);
  text->position.SetValue(
      D3DXVECTOR3(topLeft.x + float(w) * 0.5f, topLeft.y + canvas.y * 0.5f, 0.0f));
  text->width.SetValue(w);
  text->height.SetValue(unsigned(canvas.y));
  text->colour.SetValue(0xFFFFFF);
  return text;
}

}  // namespace

bool HasMenuArt(const std::vector<NamedFile>& files) {
  for (const char* name :
       {kDemoMenuTitleFile, kDemoMenuLineFile, kDemoMenuTickerFile, kDemoMenuBackFile})
    if (Find(files, name) == nullptr) return false;
  return std::all_of(std::begin(kDemoMenuLinkFiles), std::end(kDemoMenuLinkFiles),
                     [&](const char* name) { return Find(files, name) != nullptr; });
}

void AddMenuSlide(ProjectBuilder& project, const DS_ImageFileLink& background, float width,
                  float height, const std::array<size_t, 3>& targets,
                  const std::vector<NamedFile>& files) {
  if (!HasMenuArt(files)) return;
  const auto title = FramePicture(project, Find(files, kDemoMenuTitleFile));
  const auto line = FramePicture(project, Find(files, kDemoMenuLineFile));
  const auto back = FramePicture(project, Find(files, kDemoMenuBackFile));
  if (!title || !line || !back) return;
  const unsigned menu = static_cast<unsigned>(project.Root().slides.size());
  DS_SlideContainer& slide = AddSlideOn(project, background, 1.0f, 20.0f);
  const float x = width * 0.5f;

  // The title with a soft shadow down and to the right.
  auto heading = QuadText<DS_StaticText>(*title, D3DXVECTOR3(x, height * 0.16f, 0));
  heading->shadowOn.SetValue(1);
  heading->shadowDistance.SetValue(4);
  heading->shadowDirection.SetValue(315);
  heading->shadowColour.SetValue(0x301000);
  heading->shadowColour.alpha.SetValue(30);
  slide.savedObjects.push_back(std::move(heading));

  // The line runs right to left across the middle once every twelve seconds.
  auto scrolling =
      QuadText<DS_ScrollingTex>(*line, D3DXVECTOR3(x, height * 0.31f, 0), width * 0.7f);
  scrolling->direction.SetValue(2);
  RandomPhases(*scrolling, 0, 0, 0, 1200, 1200, 0);
  slide.savedObjects.push_back(std::move(scrolling));

  // The ticker under the line, left-aligned with the links below it: a sprite text whose phase
  // moves a tenth a second.
  const float left = x - width * 0.16f;
  D3DXVECTOR2 canvas;
  auto ticker = SpriteText<DS_ScrollingTextConstructor>(
      project, *Find(files, kDemoMenuTickerFile), kTickerGuid, D3DXVECTOR2(left, height * 0.4f),
      unsigned(width * 0.4f), canvas);
  ticker->pictureWidth = canvas.x;
  ticker->pictureHeight = canvas.y;
  ticker->direction.SetValue(3);
  ticker->scrollDivisor.SetValue(10);
  ticker->colour.SetValue(0x80FFFF);
  slide.savedObjects.push_back(std::move(ticker));

  // The links one under the other, a little more than the tallest apart so that no link is hit
  // where another is drawn, and a link back to the menu on each slide they show.
  float pitch = 0.0f;
  for (const char* name : kDemoMenuLinkFiles)
    pitch = std::max(pitch, PictureHeight(*Find(files, name)));
  pitch += 2.0f;
  for (size_t i = 0; i < targets.size(); ++i) {
    const float top = height * 0.54f + pitch * float(i);
    if (i == 0) {
      auto link = SpriteText<DS_TextLinkConstructor>(project, *Find(files, kDemoMenuLinkFiles[0]),
                                                     kLinkGuid, D3DXVECTOR2(left, top), 0, canvas);
      link->targetSlide.SetValue(static_cast<unsigned>(targets[i]));
      slide.savedObjects.push_back(std::move(link));
    } else if (const auto picture = FramePicture(project, Find(files, kDemoMenuLinkFiles[i]))) {
      auto link = QuadText<DS_TextLink>(
          *picture, D3DXVECTOR3(left + picture->width * 0.5f, top + picture->height * 0.5f, 0));
      link->targetSlide.SetValue(static_cast<unsigned>(targets[i]));
      slide.savedObjects.push_back(std::move(link));
    }
    if (targets[i] >= project.Root().slides.size()) continue;
    DS_SlideContainer& target = *project.Root().slides[targets[i]];
    const D3DXVECTOR2 corner = AlwaysShownCorner(target, width, height);
    auto home = QuadText<DS_TextLink>(*back, D3DXVECTOR3(corner.x - back->width * 0.5f - 8.0f,
                                                         corner.y - back->height * 0.5f - 8.0f, 0));
    home->targetSlide.SetValue(menu);
    target.savedObjects.push_back(std::move(home));
  }
}
