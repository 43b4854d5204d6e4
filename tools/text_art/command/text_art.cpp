// text_art demo <output folder>
// text_art glyph-strip <out.png> <characters> <cell width> <cell height> [face file]
// Draws the text art of the demo project (tools/project_writer/demo_text.h) into the folder:
// the title's picture and its halo as DDS pictures, and the 3D line's glyph mesh in the stored
// form of a 3D text's glyphs (mesh block, text bounds, glyph bounds), and the picture packs of
// the festival line's glyphs.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/ds_iof_w.h"
#include "tools/project_writer/demo_text.h"
#include "tools/text_art/glyph_pack.h"
#include "tools/text_art/glyph_strip.h"
#include "tools/text_art/text_mesh.h"
#include "tools/text_art/text_picture.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::unique_ptr<TextFont> OpenFont(const char* program, std::u16string_view face, int weight) {
  std::string error;
  std::unique_ptr<TextFont> font = TextFont::Open(ChooseDejaVuFace(face, weight, false), &error);
  if (!font) std::fprintf(stderr, "%s: %s\n", program, error.c_str());
  return font;
}

// The whole canvas of a picture as a picture file: what a sprite text shows whole.
std::vector<uint8_t> CanvasAsDds(TextPicture picture) {
  picture.usedWidth = picture.width;
  picture.usedHeight = picture.height;
  return UsedPartAsDds(picture);
}

// The menu slide's pictures: the title, the scrolling line and the links as used parts, the
// ticker and the first link (sprite texts) as whole canvases.
void AddMenuPictures(const TextFont& font,
                     std::vector<std::pair<const char*, std::vector<uint8_t>>>& files) {
  TextPictureStyle style;
  style.pixelSize = kDemoMenuTitlePixels;
  files.emplace_back(kDemoMenuTitleFile,
                     UsedPartAsDds(DrawTextPicture(font, kDemoMenuTitle, style)));
  style.pixelSize = kDemoMenuTextPixels;
  style.colour = 0xFFFFE8B0;
  files.emplace_back(kDemoMenuLineFile, UsedPartAsDds(DrawTextPicture(font, kDemoMenuLine, style)));
  style.colour = 0xFFFFFFFF;
  files.emplace_back(kDemoMenuTickerFile,
                     CanvasAsDds(DrawTextPicture(font, kDemoMenuTicker, style)));
  TextPictureStyle linkStyle = style;
  linkStyle.padding = kDemoMenuLinkPadding;
  for (size_t i = 0; i < std::size(kDemoMenuLinks); ++i) {
    const TextPicture link = DrawTextPicture(font, kDemoMenuLinks[i], linkStyle);
    files.emplace_back(kDemoMenuLinkFiles[i], i == 0 ? CanvasAsDds(link) : UsedPartAsDds(link));
  }
  files.emplace_back(kDemoMenuBackFile, UsedPartAsDds(DrawTextPicture(font, kDemoMenuBack, style)));
}

int WriteDemo(const char* program, const std::filesystem::path& folder) {
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  auto titleFont = OpenFont(program, kDemoTitleFace, kDemoTitleWeight);
  auto lineFont = OpenFont(program, kDemoLineFace, kDemoLineWeight);
  auto glyphFont = OpenFont(program, kDemoGlyphFace, kDemoGlyphWeight);
  if (!titleFont || !lineFont || !glyphFont) return 1;

  TextPictureStyle style;
  style.pixelSize = kDemoTitlePixels;
  style.padding = 2 * kDemoTitleHalo;
  const TextPicture title = DrawTextPicture(*titleFont, kDemoTitle, style);
  const TextPicture halo = HaloOf(title, kDemoTitleHalo, 0xFF102040);

  GlyphSet line;
  std::string error;
  if (!BuildTextMesh(*lineFont, kDemoLine, TextMeshDepth(kDemoLineDepth), line, &error)) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return 1;
  }
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& bytes = *writer;
  DS_IOF_Archive archive(std::move(writer));
  WriteGlyphSet(archive, line);

  std::vector<std::pair<const char*, std::vector<uint8_t>>> files = {
      {kDemoTitleFile, UsedPartAsDds(title)},
      {kDemoTitleHaloFile, UsedPartAsDds(halo)},
      {kDemoLineFile, bytes.TakeBytes()}};
  AddMenuPictures(*titleFont, files);
  for (const auto& [name, content] : files) {
    if (content.empty() || !WriteFile(folder / name, content)) {
      std::fprintf(stderr, "%s: cannot write %s\n", program, (folder / name).c_str());
      return 1;
    }
  }
  // Warm tints, each glyph starting one tint further on, so that the line shimmers along.
  const std::vector<uint32_t> tints = {0xFFFFD040, 0xFFFF8030, 0xFFFFF0A0};
  const std::u16string_view letters = kDemoGlyphLine;
  for (size_t i = 0; i < letters.size(); ++i) {
    std::vector<uint32_t> turned;
    for (size_t k = 0; k < tints.size(); ++k)
      turned.push_back(tints[(i + k) % tints.size()]);
    const std::string name = kDemoGlyphFilePrefix + std::to_string(i) + ".pack";
    const std::vector<uint8_t> pack =
        GlyphPack(*glyphFont, letters[i], kDemoGlyphPixels, turned, kDemoGlyphDelay);
    if (pack.empty() || !WriteFile(folder / name, pack)) {
      std::fprintf(stderr, "%s: cannot write %s\n", program, (folder / name).c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "demo") == 0) return WriteDemo(argv[0], argv[2]);
  // The glyph strips among the player's own pictures (40.png, committed with them).
  if ((argc == 6 || argc == 7) && std::strcmp(argv[1], "glyph-strip") == 0) {
    std::string error;
    if (WriteGlyphStrip(argv[2], argv[3], unsigned(std::strtoul(argv[4], nullptr, 10)),
                        unsigned(std::strtoul(argv[5], nullptr, 10)),
                        argc == 7 ? argv[6] : "DejaVuSansMono.ttf", &error))
      return 0;
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  std::fprintf(stderr,
               "usage: %s demo <output folder>\n"
               "       %s glyph-strip <out.png> <characters> <cell width> <cell height> "
               "[face file]\n",
               argv[0], argv[0]);
  return 2;
}
