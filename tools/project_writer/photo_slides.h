#pragma once

// A project of photo slides: `count` slides, each on its own photo-like JPEG of width x height
// (smooth colour fields with grain, quality 90), written with libjpeg. The load and memory
// benchmarks play it; the pictures are kept so that a baseline can decode the same bytes.
// Needs the tests' picture builders on the include path.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx_image/library_pictures.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

struct PhotoSlides {
  std::vector<std::vector<uint8_t>> pictures;  // the JPEG files, one a slide
  std::vector<uint8_t> project;                // the project file
};

// One photo; `seed` makes each picture its own, so that no cache can share them.
inline std::vector<uint8_t> PhotoJpeg(int width, int height, uint32_t seed) {
  gfx_image_test::Words pixels(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = int(seed >> 28) - 8;
      auto channel = [&](int v) { return uint32_t(std::clamp(v + grain, 0, 255)); };
      pixels[size_t(y) * width + x] = 0xFF000000u | channel(x / 8 % 256) << 16 |
                                      channel(y / 5 % 256) << 8 |
                                      channel(((x + y) / 16) ^ int(seed >> 24 & 0x0F));
    }
  return gfx_image_test::LibJpeg(width, height, pixels, {.quality = 90});
}

// Slides of 0.5 s fade in, `hold` s and 0.5 s fade out on the plain renderer.
inline PhotoSlides WritePhotoSlides(int count, int width, int height, float hold = 1.0f) {
  PhotoSlides out;
  ProjectBuilder project;
  for (int i = 0; i < count; ++i) {
    out.pictures.push_back(PhotoJpeg(width, height, uint32_t(i) * 7919u + 1u));
    const DS_ImageFileLink link =
        project.StorePicture(u"photo" + FromUtf8(std::to_string(i)) + u".jpg", out.pictures.back());
    DS_SlideContainer& slide = project.AddSlide(0.5f, hold, 0.5f);
    if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide)) renderer->backgroundLink = link;
  }
  out.project = project.Write();
  return out;
}
