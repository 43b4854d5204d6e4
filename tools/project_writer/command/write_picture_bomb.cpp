// write_picture_bomb <output> [pictures] [size]
// Writes a small project that asks for a lot of picture memory: `pictures` slides (6 by default)
// of 2.5 seconds each, each on its own grey PNG of size x size pixels (8192 by default), which
// compress to about a megabyte together. tools/picture_bomb.sh measures how much the player
// holds for it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx_image/library_pictures.h"
#include "player/entry/program_class_lists.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

namespace {

// A grey 8-bit PNG of one shade, each picture its own so that no cache can share them.
std::vector<uint8_t> GreyPng(int size, uint8_t shade) {
  return gfx_image_test::WritePng({size, size, PNG_COLOR_TYPE_GRAY, 8, false, 9},
                                  [&](int, uint8_t* row) { std::fill_n(row, size, shade); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s <output> [pictures] [size]\n", argv[0]);
    return 2;
  }
  const int pictures = argc > 2 ? std::atoi(argv[2]) : 6;
  const int size = argc > 3 ? std::atoi(argv[3]) : 8192;
  if (pictures < 1 || pictures > 64 || size < 1 || size > 16384) {
    std::fprintf(stderr, "%s: 1 to 64 pictures of 1 to 16384 pixels\n", argv[0]);
    return 2;
  }
  RegisterProgramClasses();
  ProjectBuilder project;
  for (int i = 0; i < pictures; ++i) {
    const std::string name = "grey" + std::to_string(i) + ".png";
    const DS_ImageFileLink link =
        project.StorePicture(FromUtf8(name), GreyPng(size, uint8_t(0x60 + 8 * i)));
    DS_SlideContainer& slide = project.AddSlide(0.5f, 1.5f, 0.5f);
    if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide)) renderer->backgroundLink = link;
  }
  const std::vector<uint8_t> bytes = project.Write();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  std::printf("%s: %d grey %dx%d PNGs, %zu bytes\n", argv[1], pictures, size, size, bytes.size());
  return 0;
}
